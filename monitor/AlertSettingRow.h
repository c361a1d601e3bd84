#pragma once

#include <QString>

// One alert-threshold row of a device, in the alert file's column order. The readers strip
// the "<" and ">" marks, so each text is a plain number or "---".
struct AlertSettingRow
{
    int bandTabIndex = 0;
    QString channel;
    QString levelMin;
    QString levelMax;
    QString merCn;
    QString ber;
    QString hikariLevelMin;
    QString hikariLevelMax;
    QString convertCnr;
};
