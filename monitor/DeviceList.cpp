#include "monitor/DeviceList.h"

#include "core/SharedTypes.h"
#include "core/SystemLog.h"
#include "monitor/LevelChecker.h"
#include "monitor/SNMPMonitor.h"
#include "monitor/SNMPReceiver.h"
#include "monitor/SnmpLibrary.h"
#include "monitor/ThreadBase.h"
#include "platform/PlatformPaths.h"
#include "platform/PlatformSleep.h"
#include "platform/SocketLayer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdlib>

namespace {
constexpr int WorkerTickMs = 2000;
constexpr int ReceiverTickMs = 100;
constexpr int StartPollingInterval = 2000;
constexpr int StartTimeOutInterval = 5000;
constexpr unsigned long ThreadStartPauseMs = 10;
constexpr unsigned long DeviceStartPauseMs = 500;
constexpr int WaitStepMs = 20;
constexpr int HeldDeviceCheckMs = 200;
} // namespace

DeviceList::DeviceList(const int &logLevel, SystemLog *log, QObject *parent)
    : QObject(parent)
    , logLevel(logLevel)
    , log(log)
{
    receiver = new SNMPReceiver(logLevel, log, nullptr);

    setObjectName(QStringLiteral("DeviceList"));
    qRegisterMetaType<RequestMode>("RequestMode");

    // The socket layer comes before every SNMP session.
    socketOpen = SocketLayer::start();

    if (!SnmpLibrary::start(PlatformPaths::mibFolder()))
        writeLog(QStringLiteral("read_module"));

    receiverThread = new ThreadBase(true, ReceiverTickMs);
    connect(this, &DeviceList::requestToStartReceiving, receiver, &SNMPReceiver::onRequestToStartReceiving,
            Qt::QueuedConnection);
    connect(this, &DeviceList::requestToStopReceiving, receiver, &SNMPReceiver::onRequestToStopReceiving,
            Qt::QueuedConnection);
    connect(receiverThread, &QThread::finished, receiver, &QObject::deleteLater);
    connect(receiverThread, &QThread::finished, receiverThread, &QObject::deleteLater);
    receiver->attachToThread(receiverThread, QStringLiteral("Trap Receiver"));

    heldDeviceTimer = new QTimer(this);
    heldDeviceTimer->setInterval(HeldDeviceCheckMs);
    connect(heldDeviceTimer, &QTimer::timeout, this, &DeviceList::releaseHeldDevices);

    restartTimer = new QTimer(this);
    restartTimer->setSingleShot(true);
    restartTimer->setTimerType(Qt::PreciseTimer);
    restartTimer->setInterval(int(DeviceStartPauseMs));
    connect(restartTimer, &QTimer::timeout, this, &DeviceList::restartNextAfterReboot);
}

DeviceList::~DeviceList()
{
    heldDeviceTimer->stop();
    restartTimer->stop();
    for (LevelChecker *item : qAsConst(devices)) {
        if (item)
            disconnectRelays(item);
    }

    // Every loop ends at its next check and no new one starts; then the threads are joined
    // within one shared bound.
    QList<RetiringThread> joins = retiringThreads;
    for (int i = 0; i < monitors.size(); ++i) {
        if (!monitors.at(i))
            continue;
        joins.append({monitorThreads.value(i), monitors.at(i)->monitoredDevice()});
        monitors.at(i)->cancelMonitoring();
    }
    monitors.clear();
    monitorThreads.clear();
    retiringThreads.clear();
    emit requestToStopReceiving();

    QList<ThreadBase *> threads;
    for (const RetiringThread &entry : qAsConst(joins)) {
        if (entry.thread && !threads.contains(entry.thread.data()))
            threads.append(entry.thread.data());
    }
    if (receiverThread)
        threads.append(receiverThread);
    const int stillRunning = ThreadBase::quitAndWait(threads, ThreadJoinMs);
    if (stillRunning > 0)
        writeLog(QStringLiteral("%1 thread(s) still running after %2 ms").arg(stillRunning).arg(ThreadJoinMs));

    // A device that a still running worker may reach stays alive: leaking it at the end is
    // better than a worker writing into freed memory.
    QList<LevelChecker *> all = devices;
    all.append(heldDevices);
    for (LevelChecker *item : qAsConst(all)) {
        if (!item)
            continue;
        bool inUse = item->pollingLoopActive() != 0;
        for (const RetiringThread &entry : qAsConst(joins)) {
            if (entry.device == item && entry.thread && entry.thread->isRunning())
                inUse = true;
        }
        if (inUse) {
            item->setParent(nullptr);
            writeLog(QStringLiteral("device %1 is kept: its worker has not ended").arg(item->deviceNo()));
        } else if (heldDevices.contains(item)) {
            delete item;
        }
    }
    heldDevices.clear();
    // The rest of the list goes with this object, as its children.
    devices.clear();

    // No event loop may be left to run the deleteLater of a joined thread object; its
    // worker was deleted when the thread finished.
    for (ThreadBase *thread : qAsConst(threads)) {
        if (thread->isFinished())
            delete thread;
    }
    receiverThread = nullptr;
    receiver = nullptr;

    if (socketOpen)
        SocketLayer::stop();
}

bool DeviceList::addDevice(LevelChecker *newDevice)
{
    if (!newDevice)
        return false;
    devices.append(newDevice);
    const int index = devices.size() - 1;

    auto *worker = new SNMPMonitor(logLevel, index, newDevice->ipAddressText(),
                                   newDevice->applicationSetting().threadSleep, log.data(), nullptr);
    auto *thread = new ThreadBase(true, WorkerTickMs);
    monitors.append(worker);
    monitorThreads.append(thread);
    if (monitors.size() != monitorThreads.size())
        std::exit(1);

    connect(thread, &QThread::finished, worker, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    worker->attachToThread(thread, QStringLiteral("SNMP Monitor"));
    return true;
}

int DeviceList::deviceCount() const
{
    return devices.size();
}

LevelChecker *DeviceList::device(int index) const
{
    return index >= 0 && index < devices.size() ? devices.at(index) : nullptr;
}

SNMPMonitor *DeviceList::monitor(int index) const
{
    return index >= 0 && index < monitors.size() ? monitors.at(index) : nullptr;
}

bool DeviceList::removeDevice(LevelChecker *item)
{
    const int index = devices.indexOf(item);
    if (index < 0)
        return false;
    devices.removeAt(index);
    return true;
}

void DeviceList::updateMeasurableFlags()
{
    for (LevelChecker *item : qAsConst(devices))
        updateMeasurableFlag(item);
}

void DeviceList::updateMeasurableFlag(LevelChecker *device)
{
    if (!device)
        return;
    const QString address = device->ipAddressText();
    const bool measurable = device->channelSettingCount() > 0 && address != QLatin1String("0.0.0.0")
                            && address != QLatin1String("   .   .   .   ");
    device->setMeasurable(measurable ? 1 : 0);
}

bool DeviceList::removeLastDevice()
{
    if (devices.isEmpty())
        return false;
    const int position = devices.size() - 1;
    LevelChecker *item = devices.takeLast();
    if (item)
        disconnectRelays(item);
    if (position < monitors.size()) {
        SNMPMonitor *worker = monitors.takeAt(position);
        ThreadBase *thread = monitorThreads.takeAt(position);
        if (worker) {
            retiringThreads.append({thread, item});
            worker->cancelMonitoring();
        }
        if (thread)
            thread->quitThread();
    }
    if (deleteOrHold(item))
        heldDeviceTimer->start();
    return true;
}

bool DeviceList::deleteOrHold(LevelChecker *item)
{
    if (!item)
        return false;
    if (!isDeviceInUse(item)) {
        delete item;
        return false;
    }
    item->setParent(nullptr);
    heldDevices.append(item);
    writeLog(QStringLiteral("device %1 is still used by its worker; deleted when the worker lets go")
                 .arg(item->deviceNo()));
    return true;
}

void DeviceList::deleteAllDevices()
{
    restartTimer->stop();
    for (LevelChecker *item : qAsConst(devices))
        deleteOrHold(item);
    devices.clear();
    if (!heldDevices.isEmpty())
        heldDeviceTimer->start();
}

void DeviceList::clearMonitors()
{
    quitAllThreads();
}

void DeviceList::quitAllThreads()
{
    for (int i = 0; i < monitors.size(); ++i) {
        SNMPMonitor *worker = monitors.at(i);
        if (!worker)
            continue;
        retiringThreads.append({monitorThreads.value(i), worker->monitoredDevice()});
        // A thread quits only when its work call returns; a loop left running would keep
        // it, and its device, forever.
        worker->cancelMonitoring();
    }
    for (ThreadBase *thread : qAsConst(monitorThreads)) {
        if (thread)
            thread->quitThread();
    }
    // The workers delete themselves when their threads finish: no position may keep them.
    monitors.clear();
    monitorThreads.clear();
    emit requestToStopReceiving();
}

// --- Monitoring control ---

void DeviceList::startMonitoringAt(int index)
{
    if (index < deviceCount())
        startMonitoring(index);
}

void DeviceList::stopMonitoringAt(int index)
{
    if (index < deviceCount())
        stopMonitoring(index);
}

void DeviceList::stopMeasurementAt(int index)
{
    if (index < deviceCount())
        stopMeasurement(index);
}

void DeviceList::startMonitoring(int index)
{
    if (index >= 0) {
        startOne(index, false);
        return;
    }
    for (int i = 0; i < monitors.size(); ++i)
        startOne(i, true);
}

void DeviceList::stopMonitoring(int index)
{
    if (index >= 0) {
        stopMonitoringOne(index);
        return;
    }
    restartTimer->stop();
    for (int i = 0; i < devices.size(); ++i)
        stopMonitoringOne(i);
}

void DeviceList::stopMeasurement(int index)
{
    if (index >= 0) {
        stopMeasurementOne(index);
        return;
    }
    for (int i = 0; i < devices.size(); ++i)
        stopMeasurementOne(i);
}

void DeviceList::stopAll(bool monitoring, bool receiving)
{
    if (monitoring)
        stopMonitoring(-1);
    if (receiving)
        emit requestToStopReceiving();
}

void DeviceList::stopAllForReboot()
{
    restartTimer->stop();
    for (int i = 0; i < devices.size(); ++i) {
        LevelChecker *item = devices.at(i);
        SNMPMonitor *worker = monitor(i);
        if (!item || !worker || !item->isMonitoring())
            continue;
        item->setRebootRequested(true);
        const QMetaObject::Connection once = connect(this, &DeviceList::requestToStopMonitoringAndReboot, worker,
                                                     &SNMPMonitor::onRequestToStopAndRebootChecker,
                                                     Qt::DirectConnection);
        emit requestToStopMonitoringAndReboot();
        // Whatever the device answers while it stops and reboots reaches no relay; its
        // monitoring flag stays set.
        disconnectRelays(item);
        disconnect(once);
    }
}

void DeviceList::restartAllAfterReboot()
{
    restartPosition = 0;
    restartNextAfterReboot();
}

void DeviceList::restartNextAfterReboot()
{
    for (; restartPosition < monitors.size(); ++restartPosition) {
        LevelChecker *item = device(restartPosition);
        if (item && item->isRebootRequested()) {
            startOne(restartPosition++, false);
            restartTimer->start();
            return;
        }
    }
}

void DeviceList::startOne(int position, bool pause)
{
    LevelChecker *item = device(position);
    SNMPMonitor *worker = monitor(position);
    ThreadBase *thread = monitorThreads.value(position);
    if (!item || !worker || !thread)
        return;

    if (!thread->isRunning()) {
        thread->startThread();
        PlatformSleep::sleepMs(ThreadStartPauseMs);
    }
    // The slot runs here, in the GUI thread, and only sets the worker's flags; its loop
    // starts at the next tick.
    const QMetaObject::Connection once = connect(this, &DeviceList::requestToStartMonitoring, worker,
                                                 &SNMPMonitor::onRequestToStartMonitoring, Qt::DirectConnection);
    emit requestToStartMonitoring(item, StartPollingInterval, StartTimeOutInterval);
    disconnect(once);

    connectRelays(item);
    item->setMonitoring(true);
    item->setRebootRequested(false);
    if (pause)
        PlatformSleep::sleepMs(DeviceStartPauseMs);
}

void DeviceList::stopMonitoringOne(int position)
{
    LevelChecker *item = device(position);
    SNMPMonitor *worker = monitor(position);
    QMetaObject::Connection once;
    if (worker)
        once = connect(this, &DeviceList::requestToStopMonitoring, worker, &SNMPMonitor::onRequestToStopMonitoring,
                       Qt::DirectConnection);
    emit requestToStopMonitoring();
    if (item) {
        item->setMonitoring(false);
        disconnectRelays(item);
    }
    disconnect(once);
}

void DeviceList::stopMeasurementOne(int position)
{
    LevelChecker *item = device(position);
    SNMPMonitor *worker = monitor(position);
    QMetaObject::Connection once;
    if (worker)
        once = connect(this, &DeviceList::requestToStopMeasurement, worker, &SNMPMonitor::onRequestToStopMeasurement,
                       Qt::DirectConnection);
    emit requestToStopMeasurement();
    if (item)
        item->setMonitoring(false);
    disconnect(once);
    if (item)
        disconnectRelays(item);
}

void DeviceList::connectRelays(LevelChecker *item)
{
    // Unique: a second start of a monitoring device must not relay every text twice.
    connect(item, &LevelChecker::notifyRcvToList, this, &DeviceList::notifyRcvSnmp, Qt::UniqueConnection);
    // A relay whose device has gone is no longer connected (a new device may reuse its address).
    if (informationRelays.value(item))
        return;
    // Runs in the worker's thread as it emits, where the pass the reply belongs to is known;
    // the reply then travels to this thread with it.
    informationRelays.insert(
        item, connect(item, &LevelChecker::notifyRcvInfomationToList, this,
                      [this, item](QString ipV4, QString data) {
                          const quint64 readout = item->identityPassReadout();
                          QMetaObject::invokeMethod(
                              this, [this, ipV4, data, readout] { relayInformation(readout, ipV4, data); },
                              Qt::QueuedConnection);
                      },
                      Qt::DirectConnection));
}

void DeviceList::disconnectRelays(LevelChecker *item)
{
    disconnect(informationRelays.take(item));
    disconnect(item, &LevelChecker::notifyRcvToList, this, &DeviceList::notifyRcvSnmp);
}

// --- Waiting for the workers ---

bool DeviceList::isDeviceInUse(const LevelChecker *item) const
{
    if (!item)
        return false;
    // Pairs with the worker's store of its work mark before it reads its monitoring flag.
    std::atomic_thread_fence(std::memory_order_seq_cst);
    if (item->pollingLoopActive() != 0)
        return true;
    for (SNMPMonitor *worker : monitors) {
        if (worker && worker->monitoredDevice() == item && worker->isUsingDevice())
            return true;
    }
    for (const RetiringThread &entry : retiringThreads) {
        if (entry.device == item && entry.thread && entry.thread->isRunning())
            return true;
    }
    return false;
}

bool DeviceList::waitForPollingLoops(int index, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        bool busy = false;
        if (index >= 0) {
            busy = isDeviceInUse(device(index));
        } else {
            for (const LevelChecker *item : qAsConst(devices))
                busy = busy || isDeviceInUse(item);
            for (const LevelChecker *item : qAsConst(heldDevices))
                busy = busy || isDeviceInUse(item);
        }
        if (!busy)
            return true;
        if (deadline.hasExpired()) {
            writeLog(QStringLiteral("ThreadWaitTimeout: a polling loop did not end within %1 ms").arg(timeoutMs));
            return false;
        }
        // Worker ticks and reply texts pass through this thread's event loop.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, WaitStepMs);
        QThread::msleep(WaitStepMs);
    }
}

void DeviceList::releaseHeldDevices()
{
    for (int i = retiringThreads.size() - 1; i >= 0; --i) {
        const RetiringThread &entry = retiringThreads.at(i);
        if (!entry.thread || entry.thread->isFinished())
            retiringThreads.removeAt(i);
    }
    for (int i = heldDevices.size() - 1; i >= 0; --i) {
        LevelChecker *item = heldDevices.at(i);
        if (!isDeviceInUse(item)) {
            heldDevices.removeAt(i);
            delete item;
        }
    }
    if (heldDevices.isEmpty())
        heldDeviceTimer->stop();
}

// --- Reply relays ---

int DeviceList::findPeer(const QString &peer) const
{
    QString address = peer;
    QString portText;
    const int colon = peer.indexOf(QLatin1Char(':'));
    if (colon > 0) {
        address = peer.left(colon);
        portText = peer.mid(colon + 1);
    }
    bool ok = false;
    uint port = portText.toUInt(&ok);
    if (!ok)
        port = 0;

    for (int i = 0; i < devices.size(); ++i) {
        const LevelChecker *item = devices.at(i);
        if (!item || item->ipAddressText() != address)
            continue;
        if (!portText.isEmpty() && uint(item->port()) != port)
            continue;
        return i;
    }
    return -1;
}

void DeviceList::notifyRcvSnmp(QString ipV4, QString data)
{
    const int index = findPeer(ipV4);
    if (index >= 0)
        emit notifyResponse(uint(index), data);
}

void DeviceList::notifyRcvInfomationSnmp(QString ipV4, QString data)
{
    relayInformation(0, ipV4, data);
}

void DeviceList::relayInformation(quint64 readout, const QString &ipV4, const QString &data)
{
    const int index = findPeer(ipV4);
    if (index < 0)
        return;
    const quint64 outer = replyReadout;
    replyReadout = readout;
    emit notifyInfomation(uint(index), data);
    replyReadout = outer;
}

void DeviceList::writeLog(const QString &message) const
{
    if (log)
        log->write(objectName(), message, LogNormal);
}
