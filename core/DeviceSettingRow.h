#pragma once

#include <QString>

// One row of the device registration list.
struct DeviceSettingRow
{
    QString deviceno;
    QString devicename;
    QString ipaddress;
    QString inputtype;
    QString settingfile;
    QString validtime;
    QString cycleInterval;
    QString hikariWaveLength;
};
