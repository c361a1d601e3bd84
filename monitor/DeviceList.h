#pragma once

#include "monitor/RequestMode.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class LevelChecker;
class QTimer;
class SNMPMonitor;
class SNMPReceiver;
class SystemLog;
class ThreadBase;

// The one way to the level checkers: the devices, each with its polling worker on its own
// "SNMP Monitor" thread at the same position, and the relays of their reply texts. Its
// constructor starts the socket layer, the SNMP library with the device MIB module, and the
// idle "Trap Receiver" thread. GUI thread only.
//
// A device is never deleted while a worker may still use it: deleteAllDevices() keeps such a
// device until its worker has let go, and the destructor joins the worker threads (bounded)
// and keeps alive what a worker still holds. Callers that stop devices and then need every
// worker out of its loop (rebuilding the devices, the end of the program) wait with
// waitForPollingLoops().
class DeviceList : public QObject
{
    Q_OBJECT

public:
    // Bound of waitForPollingLoops(): a worker leaves its loop after its pause (up to 3 s),
    // the request in progress (up to about 7 s) and, after a stop of the measurement, the stop
    // selection and a reboot request (1 s + 7 s + 0.5 s + 7 s).
    static constexpr int PollingLoopWaitMs = 30000;
    // Bound of the destructor's join of all threads together.
    static constexpr int ThreadJoinMs = 30000;

    DeviceList(const int &logLevel, SystemLog *log, QObject *parent = nullptr);
    ~DeviceList() override;

    // Appends the device and gives it a worker on its own thread; false for null.
    bool addDevice(LevelChecker *device);
    int deviceCount() const;
    // Null outside the list.
    LevelChecker *device(int index) const;
    // The worker at index, null outside the list.
    SNMPMonitor *monitor(int index) const;
    // Removes the first entry that is this device, without deleting it or touching workers.
    bool removeDevice(LevelChecker *device);
    // Marks each device measurable when it has a channel to measure and an address.
    void updateMeasurableFlags();
    // The same for one device.
    static void updateMeasurableFlag(LevelChecker *device);
    // Takes the last device out of the list with its worker, whose thread is told to quit.
    // The device is deleted at once, or, while its worker may still use it, once the worker
    // has let go. False for an empty list.
    bool removeLastDevice();
    // Deletes every device and empties the list. A device that a worker still uses is taken
    // out of the list and deleted once the worker has let go of it.
    void deleteAllDevices();
    // Ends every worker thread and empties the worker list; the devices stay.
    void clearMonitors();
    // Asks every worker thread to quit (their loops end at the next check) and stops the
    // receiver; the threads and workers delete themselves when the threads have finished.
    void quitAllThreads();

    // Monitoring control. A negative index means every device; the "At" forms ignore an
    // index that is not below deviceCount().
    void startMonitoringAt(int index);
    void stopMonitoringAt(int index);
    void stopMeasurementAt(int index);
    void startMonitoring(int index);
    // The worker ends its loop without telling the device anything.
    void stopMonitoring(int index);
    // The worker sends the device its stop selection, then ends its loop.
    void stopMeasurement(int index);
    void stopAll(bool monitoring, bool receiving);
    // Daily reboot: every monitoring device is marked, stopped and rebooted by its worker.
    void stopAllForReboot();
    // Starts again every device marked for the reboot, in list order: the first at once,
    // each next one 500 ms after the one before, by a timer, so the GUI thread never waits.
    // A stop of every device, a new reboot or the removal of the devices ends the series.
    void restartAllAfterReboot();

    // Waits, processing events and checking every 20 ms, until no worker is inside its
    // polling loop or about to enter it: of the device at index, or of every device for a
    // negative index (devices still held after deleteAllDevices() included). Stop the devices
    // first. False, logged, when timeoutMs ran out.
    bool waitForPollingLoops(int index = -1, int timeoutMs = PollingLoopWaitMs);
    // Whether a worker may still use the device (its loop runs or is about to run).
    bool isDeviceInUse(const LevelChecker *device) const;

    // While notifyInfomation is emitted: the identity readout its reply answers (the pass's
    // tag, LevelChecker::identityPassReadout), 0 for a reply without one.
    quint64 informationReplyReadout() const { return replyReadout; }

signals:
    void notifyResponse(uint index, QString response);
    void notifyInfomation(uint index, QString response);
    void requestToStartMonitoring(LevelChecker *device, int pollingInterval, int timeOutInterval);
    void requestToStopMonitoring();
    void requestToStopMonitoringAndReboot();
    void requestToStopMeasurement();
    void requestToStartReceiving();
    void requestToStopReceiving();

public slots:
    void notifyRcvSnmp(QString ipV4, QString data);
    void notifyRcvInfomationSnmp(QString ipV4, QString data);

private:
    // A worker thread that has been told to quit, and the device its worker last served.
    struct RetiringThread {
        QPointer<ThreadBase> thread;
        const LevelChecker *device;
    };

    void startOne(int position, bool pause);
    void stopMonitoringOne(int position);
    void stopMeasurementOne(int position);
    void relayInformation(quint64 readout, const QString &ipV4, const QString &data);
    void connectRelays(LevelChecker *device);
    void disconnectRelays(LevelChecker *device);
    // Position of the first device that the peer text names, -1 when none.
    int findPeer(const QString &peer) const;
    void releaseHeldDevices();
    // Deletes a device its worker has let go; one still in use is held (true) until it does.
    bool deleteOrHold(LevelChecker *item);
    // Starts the next device of the series from restartPosition on that is marked for the
    // reboot, and times the one after it.
    void restartNextAfterReboot();
    void writeLog(const QString &message) const;

    int logLevel;
    QPointer<SystemLog> log;               // not owned; may go before this object
    SNMPReceiver *receiver = nullptr;      // deletes itself when its thread finishes
    QList<LevelChecker *> devices;
    ThreadBase *receiverThread = nullptr;  // deletes itself when finished
    QList<SNMPMonitor *> monitors;         // no parent; deleted when their threads finish
    QList<ThreadBase *> monitorThreads;    // named "SNMP Monitor"
    bool socketOpen = false;

    QList<RetiringThread> retiringThreads;
    // Devices taken out of the list while a worker still used them.
    QList<LevelChecker *> heldDevices;
    QTimer *heldDeviceTimer = nullptr;
    QTimer *restartTimer = nullptr;
    int restartPosition = 0;
    // The identity relay of each device whose relays are connected.
    QHash<const LevelChecker *, QMetaObject::Connection> informationRelays;
    quint64 replyReadout = 0;
};
