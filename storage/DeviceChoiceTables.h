#pragma once

#include <QMap>
#include <QString>

// The texts shown and stored for a device's input type, measuring cycle and optical
// wavelength, and the codes the device record holds. The registration file, the device
// setting table and the device-list import all translate through these tables. The empty
// text is a key with the code -1.
extern const QMap<QString, int> inputTypeMap;        // "同軸" 0, "光" 1
extern const QMap<QString, int> cycleIntervalMap;    // "連続" 0, "5分" 1 ... "60分" 4
extern const QMap<QString, int> hikariWaveLengthMap; // "1300" 0 ... "1625" 4

class DeviceChoiceTables
{
public:
    // The code of text as the registration file reads it: a text the table lacks gives 0.
    static int codeOf(const QMap<QString, int> &table, const QString &text);
    // The text whose code is code; the empty text when no entry has it.
    static QString textOf(const QMap<QString, int> &table, int code);
};
