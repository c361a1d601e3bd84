#pragma once

#include <QString>

// One channel of a device's channel plan, as read from its channel-plan file.
struct ChannelSettingRow
{
    int bandTabIndex = 0;
    // Channel text as in the file, e.g. "C24" or "8".
    QString channel;
    // kHz: the file's frequency minus its local frequency (the IF where a converter is used).
    int frequency = 0;
    // Broadcast standard code: "0" ISDB-T, "3" ISDB-C.
    QString broadbandSystem;
    // kHz: 0, 9505000, 10678000, 11200000 or 11300000.
    int localFrequency = 0;
    // 1 = feed power through the input while this channel is measured.
    int powerSupply = 0;
};
