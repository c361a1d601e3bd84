#pragma once

#include <QString>

// One channel of the device being edited on the channel details screen, as display texts.
struct ChannelDetailsRow
{
    QString channelNo;
    QString BandName;
    QString ChannelName;
    QString Frequencycode;
    QString Broadband;
    QString LocalFrequency;
    QString PowerSupply;
    QString LevelMin;
    QString LevelMax;
    QString Mer;
    QString Ber;
    QString HikariLevelMin;
    QString HikariLevelMax;
    QString ConvCNR;
};
