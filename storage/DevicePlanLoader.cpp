#include "storage/DevicePlanLoader.h"

#include "monitor/LevelChecker.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"

bool DevicePlanLoader::loadPlan(LevelChecker *device, int deviceNo, Naming naming, bool *named)
{
    if (named)
        *named = false;
    // Each plan starts from the first CATV variants: one device's plan never leaks into the
    // next device's variants.
    MeasuredChannelPlan plan;
    if (!ChannelSettingFile::loadCommitted(device, deviceNo, &plan))
        return false;
    if (naming == Naming::EveryPlan || !plan.channels.isEmpty()) {
        device->setSettingFileName(ChannelSettingFile::fileName(deviceNo));
        if (named)
            *named = true;
    }
    return true;
}

bool DevicePlanLoader::loadThresholds(LevelChecker *device, int deviceNo)
{
    return AlertSettingFile::loadCommitted(device, deviceNo);
}

QString DevicePlanLoader::planErrorText(int deviceNo)
{
    return QStringLiteral("MeasurementChannel %1.csv read ERROR").arg(deviceNo);
}

QString DevicePlanLoader::thresholdsErrorText(int deviceNo)
{
    return QStringLiteral("AlertSetting alert_%1.csv read ERROR").arg(deviceNo);
}
