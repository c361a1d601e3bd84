#pragma once

#include <QString>

class LevelChecker;

// Puts a device's committed channel plan and alert thresholds into its LevelChecker, as the
// start-up, the apply and the details save each do. The device's worker must be outside
// its polling loop. Plan and thresholds are loaded apart: the stored results are moved onto
// the new plan between the two.
class DevicePlanLoader
{
public:
    // When the device takes the plan's file name as its setting file name.
    enum class Naming {
        EveryPlan,       // any plan read, empty or not
        PlanWithChannels // only a plan with channels: an empty one keeps the name it had
    };

    // Reads the committed plan of device number deviceNo into device. False, the device
    // keeping the plan it has, when the plan cannot be read (or device is null); *named
    // tells whether the device took the plan's file name.
    static bool loadPlan(LevelChecker *device, int deviceNo, Naming naming, bool *named = nullptr);
    // Reads the committed thresholds of device number deviceNo into device; false, the
    // device untouched, when they cannot be read.
    static bool loadThresholds(LevelChecker *device, int deviceNo);

    // The log lines of a plan or thresholds that could not be read.
    static QString planErrorText(int deviceNo);
    static QString thresholdsErrorText(int deviceNo);
};
