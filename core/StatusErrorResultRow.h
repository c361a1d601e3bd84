#pragma once

#include <QMetaType>
#include <QString>

// One status error: the measured values, which of them broke a threshold, and the thresholds.
struct StatusErrorResultRow
{
    QString deviceNo;
    QString band;
    QString channel;
    QString datatime;
    QString level;
    QString mer;
    QString ber;
    bool errorLevel = false;
    bool errorMer = false;
    bool errorBer = false;
    QString alertLevelMin;
    QString alertLevelMax;
    QString alertMer;
    QString alertBer;
    bool display = false;
    bool clicked = false;
};

Q_DECLARE_METATYPE(StatusErrorResultRow)
