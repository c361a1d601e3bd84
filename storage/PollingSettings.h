#pragma once

#include "core/ApplicationSetting.h"

#include <QString>

#include <array>

class DeviceList;

// The measuring pace that the screens read from "application_setting.ini" whenever they
// need it and hand to the running devices: the twelve polling intervals (ms), the
// one-channel monitoring flag and the channel-count flag. Reading applies the fixed bounds;
// a missing file, group or key reads as 0 and so as the lower bound.
struct PollingSettings
{
    // Bounds of "FirstRecv" and "PowerRecv", and of the ten band intervals (ms).
    static constexpr int ShortIntervalMin = 1000;
    static constexpr int BandIntervalMin = 4000;
    static constexpr int IntervalMax = 10000;

    int firstRecv = ShortIntervalMin;
    int powerRecv = ShortIntervalMin;
    int uhfRecv = BandIntervalMin;
    int bsRecv = BandIntervalMin;
    int csRecv = BandIntervalMin;
    int catvRecv = BandIntervalMin;
    int skyperfectvRecv = BandIntervalMin;
    int jcsatRecv = BandIntervalMin;
    int sccRecv = BandIntervalMin;
    int lteRecv = BandIntervalMin;
    int fmRecv = BandIntervalMin;
    int pilotRecv = BandIntervalMin;
    int chMonitoring = 0;
    // Passed on as read: 1 means 100 channels per device, anything else 50.
    int channelCountFlg = 0;

    // Reads the file anew, bounds applied.
    static PollingSettings read(const QString &iniPath);
    // Writes the twelve intervals to group "PollingInterval" and the monitoring flag to
    // "ChMonitoring/ChMonitoring"; every other group and key stays. False when the file
    // could not be written.
    bool write(const QString &iniPath) const;

    // Puts these values into setting; its other fields stay.
    void copyInto(ApplicationSetting *setting) const;
    // Gives every registered device these values without stopping it; each worker takes
    // them from its next wait on.
    void copyIntoDevices(DeviceList *devices) const;

    bool sameIntervalsAndMode(const PollingSettings &other) const;

    // The twelve intervals in the order of the settings file's keys.
    std::array<int *, 12> intervals();
};
