#pragma once

#include "monitor/SnmpRequestEntry.h"

#include <QString>

#include <array>

class LevelChecker;

// A polling worker's request table: 2000 entries filled from index 0 without gaps. The
// worker owns one for its whole work loop and the channel step has its own; a table is
// used by one thread only. Consecutive enabled entries of one group travel in one PDU,
// whose kind (GET or SET) the group's first entry decides.
class SnmpRequestTable
{
public:
    static constexpr int EntryCount = 2000;

    // ".1.3.6.1.4.1.52817.1.70." + suffix + ".0".
    static QString oidText(const QString &oidSuffix);

    // Every entry disabled, group 0, wait 0 (suffix and value are overwritten by the fill).
    void clear();
    // Only the enabled flags; the identity readout refills its list this way.
    void clearEnabledFlags();
    // Index outside the table: nothing happens.
    void setEntry(int index, bool enabled, int group, int waitMs, char type, const QString &oidSuffix,
                  const QString &value = QString());
    // Index outside the table: an empty, disabled entry.
    SnmpRequestEntry entry(int index) const;

    // Adds the group starting at index to the device's pending PDU; returns how many
    // variables were added (0 for no device, an index outside the table or a disabled entry).
    int addRequestGroup(LevelChecker *device, int index) const;

    // The device's address text for a send, read again once after 100 ms when it does not
    // look like an IPv4 address yet (it is used as it is then).
    static QString refreshAddressText(const LevelChecker *device);

    // addRequestGroup(index), then the exchange with the device. ipAddressText is the
    // worker's copy of the address and is refreshed first. variableCount receives the
    // number of variables sent. Returns LevelChecker::sendRequest's result (NotSent when
    // nothing was added).
    int sendGroup(LevelChecker *device, int deviceIndex, int index, QString &ipAddressText,
                  int *variableCount = nullptr) const;

    // The way every SET and the result GET are sent: the group at entry 0, once. Callers
    // do not repeat a request that failed; the result is returned for traces only.
    int sendRequestTable(LevelChecker *device, int deviceIndex, QString &ipAddressText) const;

private:
    std::array<SnmpRequestEntry, EntryCount> m_entries {};
};
