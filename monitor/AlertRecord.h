#pragma once

#include <QString>

// One judged result that broke a threshold, or whose device gave no values at all.
// Measured texts come from the channel's result-list row, thresholds from its alert row.
struct AlertRecord
{
    // Short band name, followed by "(換算)" when the converted C/N threshold applied.
    QString band;
    QString channel;
    QString dateTime;
    QString level;
    QString merCn;
    QString ber;
    QString hikariLevel;
    QString levelMin;
    QString levelMax;
    QString merCnThreshold;
    QString berThreshold;
    QString hikariLevelMin;
    QString hikariLevelMax;
    bool levelError = false;
    bool merCnError = false;
    bool berError = false;
    bool hikariLevelError = false;
    // All four values were "---"; the four flags above are then set as well.
    bool connectionError = false;
};
