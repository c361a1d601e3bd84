#pragma once

#include <QString>

// The record of "application_setting.ini", copied field by field into the application
// object and into every device.
struct ApplicationSetting
{
    int firstRecv = 0;
    int powerRecv = 0;
    int uhfRecv = 0;
    int bsRecv = 0;
    int csRecv = 0;
    int catvRecv = 0;
    int skyperfectvRecv = 0;
    int jcsatRecv = 0;
    int sccRecv = 0;
    int lteRecv = 0;
    int fmRecv = 0;
    int pilotRecv = 0;
    int threadSleep = 0;
    int chMonitoring = 0;
    bool rebootFlg = false;
    QString rebootTime;
    int rebootStopSec = 0;
    QString data;
    int oneYearFlg = 0;
    int channelCountFlg = 0;

    // Reads every key of the INI file at iniPath (a local path); a missing file reads as
    // a file without keys. Clamps nothing.
    static ApplicationSetting readFile(const QString &iniPath);
    // The INI file's local path below the root folder.
    static QString filePath();
};
