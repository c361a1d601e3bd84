#include "screens/PendingMeasurementStarts.h"

#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"

#include <QTimer>

PendingMeasurementStarts::PendingMeasurementStarts(DeviceList *devices, QObject *parent)
    : QObject(parent)
    , devices(devices)
    , timer(new QTimer(this))
{
    timer->setInterval(PollMs);
    connect(timer, &QTimer::timeout, this, &PendingMeasurementStarts::poll);
}

PendingMeasurementStarts::~PendingMeasurementStarts() = default;

bool PendingMeasurementStarts::isWorkerBusy(const DeviceList &devices, const LevelChecker *device)
{
    // A device the list still counts as monitoring was not stopped since its last start: a
    // further start only renews it. Otherwise its worker must have left its loop.
    return device && !device->isMonitoring() && devices.isDeviceInUse(device);
}

bool PendingMeasurementStarts::startOrHold(int deviceNo, QDeadlineTimer deadline)
{
    cancel(deviceNo);
    LevelChecker *device = devices ? devices->device(deviceNo - 1) : nullptr;
    if (!device)
        return false;
    if (!isWorkerBusy(*devices, device)) {
        startNow(deviceNo, device);
        return true;
    }
    held.append({deviceNo, device, deadline});
    if (!timer->isActive())
        timer->start();
    return false;
}

void PendingMeasurementStarts::cancel(int deviceNo)
{
    for (int i = held.size() - 1; i >= 0; --i) {
        if (held.at(i).deviceNo == deviceNo)
            held.removeAt(i);
    }
    if (held.isEmpty())
        timer->stop();
}

bool PendingMeasurementStarts::isHeld(int deviceNo) const
{
    for (const Held &entry : held) {
        if (entry.deviceNo == deviceNo)
            return true;
    }
    return false;
}

void PendingMeasurementStarts::startNow(int deviceNo, LevelChecker *device)
{
    // The next run begins with a pass start, which pushes the configuration again.
    device->setCurrentChannelIndex(LevelChecker::NoChannel);
    devices->startMonitoringAt(deviceNo - 1);
    emit started(deviceNo);
}

void PendingMeasurementStarts::poll()
{
    QList<int> failed;
    // Entries are taken off before a start: the start may run events that change the list.
    for (int i = 0; i < held.size();) {
        const Held entry = held.at(i);
        LevelChecker *current = devices ? devices->device(entry.deviceNo - 1) : nullptr;
        if (!current || current != entry.device) {
            // The device list was rebuilt meanwhile, which decides on its own which devices
            // start: this start no longer names its device.
            held.removeAt(i);
            continue;
        }
        if (!isWorkerBusy(*devices, current)) {
            held.removeAt(i);
            startNow(entry.deviceNo, current);
            continue;
        }
        if (entry.deadline.hasExpired()) {
            held.removeAt(i);
            failed.append(entry.deviceNo);
            continue;
        }
        ++i;
    }
    if (held.isEmpty())
        timer->stop();
    if (!failed.isEmpty())
        emit startsFailed(failed);
}
