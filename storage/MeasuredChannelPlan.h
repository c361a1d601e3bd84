#pragma once

#include "monitor/ChannelSettingRow.h"

#include <QVector>

// The measured channels of one channel-plan file, as a device measures them, with the two
// CATV plan variants the file shows. Both variants start at 0 for every file.
struct MeasuredChannelPlan
{
    QVector<ChannelSettingRow> channels;
    // 0: channel C24 at 231 MHz, 1: at 233 MHz.
    int c24FrequencyType = 0;
    // 0: channel 8 at 195 MHz, 1: at 191 MHz.
    int ch8FrequencyType = 0;
};
