#pragma once

#include "settings/DeviceEditRecord.h"

#include <QList>
#include <QString>
#include <QVector>

// What an apply of the device table does to each device, decided before anything changes,
// from the edited rows, the rows of the last apply and what the devices report. Rows and
// devices share their index; the devices of the cleared rows go from the end of the list,
// so the other indexes stay as they are.
class DeviceApplyPlan
{
public:
    // What a registered device reports that bears on the decision.
    struct Device {
        // Serial number, MAC address and firmware version all read.
        bool identityKnown = true;
        // A channel plan waits to be put into service.
        bool planPending = false;
    };

    // edited and saved each end in the blank record.
    static DeviceApplyPlan make(const QVector<DeviceEditRecord> &edited, const QVector<DeviceEditRecord> &saved,
                                const QVector<Device> &devices, bool readAll, bool imported);

    // A row's address text names an address (not empty, "0.0.0.0" or the blank mask).
    static bool hasAddress(const QString &text);
    // The rows before the blank record that the apply drops as cleared: the run of rows at
    // the end without address and name (a named row without address ends the run unless its
    // address text is empty).
    static int clearedTailCount(const QVector<DeviceEditRecord> &edited);

    // An imported list: every device is deleted and every row registered afresh.
    bool registerAll = false;
    int clearedRows = 0;
    // Devices that go with the cleared rows, last first.
    QList<int> removed;
    // Rows that become new devices.
    QList<int> registered;
    // Devices restarted for an identity readout (new, changed, identity not read, plan pending).
    QList<int> restarted;
    // Devices that keep running and only take their alert window.
    QList<int> updated;
};
