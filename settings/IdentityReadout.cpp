#include "settings/IdentityReadout.h"

#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"

#include <QTimer>

namespace {

const QString Unknown = QStringLiteral("---");

} // namespace

IdentityReadout::IdentityReadout(QObject *parent)
    : QObject(parent)
    , boundTimer(new QTimer(this))
{
    boundTimer->setSingleShot(true);
    connect(boundTimer, &QTimer::timeout, this, &IdentityReadout::boundReached);
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
