#pragma once

#include <QString>

// One row of a device's channel plan on the channel details screen, with the thresholds
// merged in from the alert file (empty until then).
struct ChannelDetailsEntry
{
    int bandTabIndex = 0;
    QString channel;
    // kHz as in the file.
    QString frequency;
    // 0 ISDB-T, 3 ISDB-C; other values as stored.
    int broadbandSystem = 0;
    // kHz of the local oscillator as in the file, "0" when there is none.
    QString localFrequency;
    bool powerSupply = false;
    bool measuring = false;
    QString levelMin;
    QString levelMax;
    QString merCn;
    QString ber;
    QString hikariLevelMin;
    QString hikariLevelMax;
    QString convertCnr;
};
