#include "settings/IdentityReadout.h"

#include "core/OperationGate.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"

#include <QTimer>

namespace {

const QString Unknown = QStringLiteral("---");
// Between the starts of the devices of an applied import.
constexpr int ImportStartPauseMs = 500;
// How soon the first of them is tried again while an operation runs.
constexpr int ImportStartRetryMs = 20;

} // namespace

IdentityReadout::IdentityReadout(QObject *parent)
    : QObject(parent)
    , boundTimer(new QTimer(this))
{
    boundTimer->setSingleShot(true);
    connect(boundTimer, &QTimer::timeout, this, &IdentityReadout::boundReached);
    pacer = new QTimer(this);
    connect(pacer, &QTimer::timeout, this, &IdentityReadout::startNextPaced);
}

void IdentityReadout::startDevicesPaced(DeviceList *list, OperationGate *gate)
{
    beginStarting();
    pacedList = list;
    pacedGate = gate;
    nextPacedStart = 0;
    pacer->start(0);
}

void IdentityReadout::stopPacedStarts()
{
    pacer->stop();
}

bool IdentityReadout::isStartingDevices() const
{
    return pacer->isActive();
}

void IdentityReadout::startNextPaced()
{
    DeviceList *list = pacedList;
    if (!list || (pacedGate && pacedGate->isClosing())) {
        stopPacedStarts();
        return;
    }
    // Not inside the apply that began the series, nor inside any other operation.
    if (pacedGate && pacedGate->isBusy()) {
        if (nextPacedStart == 0)
            pacer->setInterval(ImportStartRetryMs);
        return;
    }
    pacer->setInterval(ImportStartPauseMs);
    while (nextPacedStart < list->deviceCount()) {
        const int index = nextPacedStart++;
        LevelChecker *device = list->device(index);
        if (!device || !device->optionId() || list->isDeviceInUse(device))
            continue;
        list->startMonitoringAt(index);
        if (nextPacedStart < list->deviceCount())
            return;
        break;
    }
    stopPacedStarts();
    startBound();
    emit devicesStarted();
}

quint64 IdentityReadout::supersede()
{
    boundTimer->stop();
    return ++readoutId;
}

void IdentityReadout::beginStarting()
{
    boundTimer->stop();
    current = State::Starting;
}

// A bound still running from an earlier apply is restarted, not duplicated.
void IdentityReadout::startBound()
{
    boundTimer->start(boundMs);
    current = State::Running;
}

void IdentityReadout::stop()
{
    boundTimer->stop();
    current = State::Idle;
}

bool IdentityReadout::finish(int position)
{
    if (position >= 0 && position < informationPending.size())
        informationPending[position] = false;
    return !informationPending.contains(true);
}

LevelChecker *IdentityReadout::pendingDevice(DeviceList *list, quint64 readout, int position) const
{
    // Late replies (after the end, for a device no longer pending or no longer listed) are
    // ignored: they would end the readout a second time. So are the replies of a pass that
    // an apply has restarted since: they tell of the device as it was.
    if (!isActive() || !list || position < 0 || position >= list->deviceCount() || !isPending(position))
        return nullptr;
    LevelChecker *device = list->device(position);
    if (!device || (readout != 0 && device->identityReadout() != readout))
        return nullptr;
    return device;
}

IdentityReadout::Reply IdentityReadout::store(LevelChecker *device, const QString &response)
{
    if (!device)
        return Reply::Ignored;
    const auto setUnknown = [device] {
        device->setSerialNumber(Unknown);
        device->setMacAddress(Unknown);
        device->setFirmwareVersion(Unknown);
    };
    const QString marker = QStringLiteral("STRING: ");
    if (response.contains(QLatin1String("Timeout")) || response.contains(QLatin1String("Error"))) {
        setUnknown();
        device->setOptionId(false);
        return Reply::Failed;
    }
    if (response.contains(QLatin1String("lcSerialnum"))) {
        const int p = response.indexOf(marker);
        if (p <= 0) {
            setUnknown();
        } else {
            QString value = response.mid(p).remove(marker);
            if (value == QLatin1String("\\"))
                value = QStringLiteral("NoSerial");
            value.remove(QLatin1Char('\n'));
            device->setSerialNumber(value);
        }
        return Reply::Stored;
    }
    if (response.contains(QLatin1String("lcPhysAddress"))) {
        const int p = response.indexOf(marker);
        if (p <= 0)
            setUnknown();
        else
            device->setMacAddress(response.mid(p).remove(marker));
        return Reply::Stored;
    }
    if (response.contains(QLatin1String("lcVersionPRODUCT"))) {
        const int p = response.indexOf(marker);
        if (p <= 0)
            setUnknown();
        else
            device->setFirmwareVersion(response.mid(p).remove(marker).remove(QLatin1Char('\n')));
        return Reply::Stored;
    }
    if (response.contains(QLatin1String("lcOptionID"))) {
        device->setOptionId(false);
        return Reply::Finished;
    }
    return Reply::Ignored;
}
