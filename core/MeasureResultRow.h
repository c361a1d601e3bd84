#pragma once

#include <QMetaType>
#include <QString>

// One row of the result list: a device's top row (its latest result) or one of its channels.
struct MeasureResultRow
{
    bool latestData = false;
    bool topDataVisible = false;
    bool updateData = false;
    QString no;
    QString measurementStart;
    QString deviceNo;
    QString name;
    QString datatime;
    QString band;
    QString channel;
    QString frequency;
    QString level;
    QString mer;
    QString ber;
    QString hikari;
    int status = 0;
    int channelStatus = 0;
    int checkbox = 0;
    int statusPoopupCheckbox = 0;
    QString settingcheck;
    bool display = false;
    bool clicked = false;
    bool statusPopupClicked = false;
    bool errorLevel = false;
    bool errorMer = false;
    bool errorBer = false;
    bool errorHikari = false;
    QString broadbandSystem;
    QString localFrequency;
    QString modulation;
    QString layer;
    QString polarization;
};

Q_DECLARE_METATYPE(MeasureResultRow)
