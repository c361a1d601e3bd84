#pragma once

#include <QString>

// One row of a channel-plan file, measured or not, as the channel setting screens edit it.
struct ChannelSettingEntry
{
    int bandTabIndex = 0;
    // As in the file, e.g. "C24", "8", "UL 8".
    QString channel;
    // kHz as received at the input, kept as the decimal text of the file.
    QString frequency;
    // 0 ISDB-T, 3 ISDB-C; other values as stored.
    int broadbandSystem = 0;
    // kHz of the local oscillator, 0 when there is none.
    int localFrequency = 0;
    int powerSupply = 0;
    bool measuring = false;
};
