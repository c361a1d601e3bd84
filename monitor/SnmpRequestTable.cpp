#include "monitor/SnmpRequestTable.h"

#include "core/ValueFormat.h"
#include "monitor/LevelChecker.h"
#include "monitor/SnmpObject.h"
#include "platform/PlatformSleep.h"

namespace {
constexpr unsigned long AddressRetryMs = 100;

bool isInside(int index) { return index >= 0 && index < SnmpRequestTable::EntryCount; }
} // namespace

QString SnmpRequestTable::oidText(const QString &oidSuffix)
{
    return QLatin1String(SnmpObject::EnterprisePrefix) + oidSuffix + QLatin1String(SnmpObject::Instance);
}

void SnmpRequestTable::clear()
{
    for (SnmpRequestEntry &entry : m_entries) {
        entry.enabled = false;
        entry.group = 0;
        entry.waitMs = 0;
    }
}

void SnmpRequestTable::clearEnabledFlags()
{
    for (SnmpRequestEntry &entry : m_entries)
        entry.enabled = false;
}

void SnmpRequestTable::setEntry(int index, bool enabled, int group, int waitMs, char type,
                                const QString &oidSuffix, const QString &value)
{
    if (!isInside(index))
        return;
    SnmpRequestEntry &entry = m_entries[size_t(index)];
    entry.enabled = enabled;
    entry.group = group;
    entry.waitMs = waitMs;
    entry.type = type;
    entry.oidSuffix = oidSuffix;
    entry.value = value;
}

SnmpRequestEntry SnmpRequestTable::entry(int index) const
{
    return isInside(index) ? m_entries[size_t(index)] : SnmpRequestEntry();
}

int SnmpRequestTable::addRequestGroup(LevelChecker *device, int index) const
{
    if (!device || !isInside(index) || !m_entries[size_t(index)].enabled)
        return 0;

    const SnmpRequestEntry &first = m_entries[size_t(index)];
    device->addPduVariable(!first.value.isEmpty(), oidText(first.oidSuffix), first.type, first.value, true);
    int count = 1;
    for (int i = index + 1; i < EntryCount; ++i) {
        const SnmpRequestEntry &entry = m_entries[size_t(i)];
        if (!entry.enabled)
            continue;
        // The group ends where the number changes from the entry before, enabled or not.
        if (entry.group != m_entries[size_t(i - 1)].group)
            break;
        device->addPduVariable(!entry.value.isEmpty(), oidText(entry.oidSuffix), entry.type, entry.value, false);
        ++count;
    }
    return count;
}

QString SnmpRequestTable::refreshAddressText(const LevelChecker *device)
{
    QString text = device->ipAddressText();
    if (!ValueFormat::isIpAddressText(text)) {
        PlatformSleep::sleepMs(AddressRetryMs);
        text = device->ipAddressText();
    }
    return text;
}

int SnmpRequestTable::sendGroup(LevelChecker *device, int deviceIndex, int index, QString &ipAddressText,
                                int *variableCount) const
{
    const int count = addRequestGroup(device, index);
    if (variableCount)
        *variableCount = count;
    if (!device)
        return int(SendResult::NotSent);
    ipAddressText = refreshAddressText(device);
    if (count == 0)
        return int(SendResult::NotSent);
    return device->sendRequest(deviceIndex, ipAddressText.toLocal8Bit().constData(), device->community());
}

int SnmpRequestTable::sendRequestTable(LevelChecker *device, int deviceIndex, QString &ipAddressText) const
{
    return sendGroup(device, deviceIndex, 0, ipAddressText);
}
