#pragma once

#include <QString>

// One entry of the work history; which fields a kind uses is fixed by WorkLog.
struct WorkLogEntry
{
    int screenId = 0;   // kind 0
    int deviceNo = 0;   // kinds 1-7, 9, 11-14
    bool started = false; // kinds 11, 12
    QString band;       // kind 14
    QString channel;    // kind 14
};
