#include "settings/DeviceApplyPlan.h"

#include <QtGlobal>

namespace {

bool sameSettings(const DeviceEditRecord &a, const DeviceEditRecord &b)
{
    return a.name == b.name && a.ipAddress == b.ipAddress && a.inputType == b.inputType
           && a.cycleInterval == b.cycleInterval && a.settingFile == b.settingFile && a.wavelength == b.wavelength;
}

} // namespace

bool DeviceApplyPlan::hasAddress(const QString &text)
{
    return !text.isEmpty() && text != QLatin1String("0.0.0.0") && text != DeviceEditRecord::blankAddress();
}

int DeviceApplyPlan::clearedTailCount(const QVector<DeviceEditRecord> &edited)
{
    int k = 0;
    for (int j = 0; j + 1 < edited.size(); ++j) {
        const DeviceEditRecord &record = edited.at(j);
        if (hasAddress(record.ipAddress))
            k = 0;
        else if (!record.name.isEmpty()) {
            if (!record.ipAddress.isEmpty())
                k = 0;
        } else {
            ++k;
        }
    }
    return k;
}

DeviceApplyPlan DeviceApplyPlan::make(const QVector<DeviceEditRecord> &edited, const QVector<DeviceEditRecord> &saved,
                                      const QVector<Device> &devices, bool readAll, bool imported)
{
    DeviceApplyPlan plan;
    plan.registerAll = imported;
    const int rowsBefore = qMax(0, edited.size() - 1);
    int deviceCount = imported ? rowsBefore : devices.size();
    if (imported) {
        for (int j = 0; j < rowsBefore; ++j)
            plan.registered.append(j);
    }

    // The cleared rows go from the end; a device goes with its row once the rows past the
    // devices are gone.
    plan.clearedRows = clearedTailCount(edited);
    const int rows = rowsBefore - plan.clearedRows;
    // The saved records left, the blank one included.
    int savedSize = saved.size();
    for (int r = rowsBefore - 1; r >= rows; --r) {
        if (r == deviceCount - 1) {
            plan.removed.append(r);
            --deviceCount;
            if (r < savedSize)
                --savedSize;
        }
    }
    if (imported)
        return plan;

    if (!readAll && rows + 1 > savedSize) {
        for (int j = deviceCount; j < rows; ++j)
            plan.registered.append(j);
    }
    const int known = deviceCount;
    deviceCount += plan.registered.size();

    for (int i = 0; i < rows && i < deviceCount; ++i) {
        bool restart = readAll;
        if (!readAll) {
            const Device device = i < known ? devices.value(i) : Device {false, false};
            restart = i >= savedSize - 1 || !sameSettings(edited.at(i), saved.at(i)) || !device.identityKnown
                      || device.planPending;
        }
        (restart ? plan.restarted : plan.updated).append(i);
    }
    return plan;
}
