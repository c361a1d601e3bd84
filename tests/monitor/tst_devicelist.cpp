// ctest-label: monitor
// The device list: reply relays, index edge cases, start/stop/reboot control of every
// device, and teardown (rebuild, deletion, destruction) with workers stuck on silent devices.
#include "PollingFixture.h"

#include "core/SharedTypes.h"
#include "monitor/SNMPMonitor.h"
#include "monitor/ThreadBase.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {
constexpr int Healthy = 1;
constexpr int SilentA = 2;
constexpr int SilentB = 3;

const QList<ChannelSettingRow> OneChannel = {PollingFixture::row(BandTerrestrial, QStringLiteral("13"))};
} // namespace

class TestDeviceList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void relaysFindTheDevice_data();
    void relaysFindTheDevice();
    void indexEdgeCases();
    void startAndStopEveryDevice();
    void rebootTouchesOnlyMonitoringDevices();
    void restartAfterRebootIsPacedByATimer();
    void rebuildWithSilentDevices();
    void deleteWhileWorkerBusyKeepsDevice();
    void removeLastWhileWorkerBusyKeepsDevice();
    void destroyWhileSilentDevicesPoll();

private:
    QTemporaryDir root;
    SimDevices sim;
};

void TestDeviceList::initTestCase()
{
    QVERIFY(root.isValid());
    qputenv("NRT52_ROOT", root.path().toUtf8());
    QVERIFY(!SimDevices::installMib(root.path()).isEmpty());
    QVERIFY2(sim.start(3), qPrintable(sim.lastError()));
    QVERIFY(sim.setFault(SilentA, SimDevices::Fault::Silent));
    QVERIFY(sim.setFault(SilentB, SimDevices::Fault::Silent));
}

void TestDeviceList::cleanupTestCase()
{
    QVERIFY2(sim.stop(), qPrintable(sim.lastError()));
}

void TestDeviceList::relaysFindTheDevice_data()
{
    QTest::addColumn<QString>("peer");
    QTest::addColumn<int>("index");
    QTest::newRow("address and port") << QStringLiteral("127.0.0.2:161") << 0;
    QTest::newRow("address without port") << QStringLiteral("127.0.0.2") << 0;
    QTest::newRow("first with the address, any port") << QStringLiteral("127.0.0.3") << 1;
    QTest::newRow("port picks the device") << QStringLiteral("127.0.0.3:1161") << 2;
    QTest::newRow("same address and port: first wins") << QStringLiteral("127.0.0.4:161") << 4;
    QTest::newRow("unknown port") << QStringLiteral("127.0.0.3:162") << -1;
    QTest::newRow("unknown address") << QStringLiteral("127.0.0.9:161") << -1;
    QTest::newRow("no session") << QStringLiteral("adress_err") << -1;
    QTest::newRow("colon first") << QStringLiteral(":161") << -1;
    QTest::newRow("port not a number reads 0") << QStringLiteral("127.0.0.2:abc") << -1;
    QTest::newRow("port 0 matches port 0") << QStringLiteral("0.0.0.0:x") << 6;
}

void TestDeviceList::relaysFindTheDevice()
{
    QFETCH(QString, peer);
    QFETCH(int, index);

    DeviceList list(2, nullptr, nullptr);
    PollingFixture::addDevice(list, QStringLiteral("127.0.0.2"), 161);
    PollingFixture::addDevice(list, QStringLiteral("127.0.0.3"), 161);
    PollingFixture::addDevice(list, QStringLiteral("127.0.0.3"), 1161);
    PollingFixture::addDevice(list, QStringLiteral("127.0.0.3"), 1161);
    PollingFixture::addDevice(list, QStringLiteral("127.0.0.4"), 161);
    PollingFixture::addDevice(list, QStringLiteral("127.0.0.4"), 161);
    PollingFixture::addDevice(list, QStringLiteral("0.0.0.0"), 0);

    QSignalSpy measurement(&list, &DeviceList::notifyResponse);
    QSignalSpy information(&list, &DeviceList::notifyInfomation);
    list.notifyRcvSnmp(peer, QStringLiteral("m"));
    list.notifyRcvInfomationSnmp(peer, QStringLiteral("i"));
    if (index < 0) {
        QCOMPARE(measurement.size(), 0);
        QCOMPARE(information.size(), 0);
        return;
    }
    QCOMPARE(measurement.size(), 1);
    QCOMPARE(measurement.at(0).at(0).toUInt(), uint(index));
    QCOMPARE(measurement.at(0).at(1).toString(), QStringLiteral("m"));
    QCOMPARE(information.size(), 1);
    QCOMPARE(information.at(0).at(0).toUInt(), uint(index));
    QCOMPARE(information.at(0).at(1).toString(), QStringLiteral("i"));
}

void TestDeviceList::indexEdgeCases()
{
    DeviceList list(2, nullptr, nullptr);
    QVERIFY(!list.addDevice(nullptr));
    QCOMPARE(list.deviceCount(), 0);
    LevelChecker *first = PollingFixture::addDevice(list, sim.host(Healthy), sim.port(Healthy), 0, 0, 3, OneChannel);
    // An unset address still gets its worker and thread.
    LevelChecker *unset = PollingFixture::addDevice(list, QStringLiteral("0.0.0.0"), 161);
    QCOMPARE(unset->ipAddressText(), QStringLiteral("0.0.0.0"));
    QCOMPARE(list.deviceCount(), 2);
    QVERIFY(list.monitor(1));
    QVERIFY(list.monitor(1)->attachedThread());
    QVERIFY(list.monitor(1)->attachedThread()->isRunning());
    QCOMPARE(list.monitor(1)->attachedThread()->objectName(), QStringLiteral("SNMP Monitor"));
    QCOMPARE(list.monitor(1)->index(), 1);

    QCOMPARE(list.device(-1), nullptr);
    QCOMPARE(list.device(2), nullptr);
    QCOMPARE(list.device(0), first);
    QCOMPARE(list.monitor(2), nullptr);

    list.startMonitoringAt(2);
    list.stopMonitoringAt(2);
    list.stopMeasurementAt(7);
    QVERIFY(!first->isMonitoring());
    QVERIFY(!unset->isMonitoring());

    LevelChecker stranger(9, QStringLiteral("x"), nullptr, 0, QString(), 0, QString(), QString(), 3);
    QVERIFY(!list.removeDevice(&stranger));
    QVERIFY(list.removeDevice(unset));
    QCOMPARE(list.deviceCount(), 1);
    QCOMPARE(list.device(0), first);
}

void TestDeviceList::startAndStopEveryDevice()
{
    DeviceList list(2, nullptr, nullptr);
    LevelChecker *a = PollingFixture::addSimDevice(list, sim, Healthy, 0, 0, 3, OneChannel);
    LevelChecker *b = PollingFixture::addSimDevice(list, sim, SilentA, 0, 0, 3, OneChannel);
    QSignalSpy relayed(&list, &DeviceList::notifyResponse);

    QElapsedTimer clock;
    clock.start();
    list.startMonitoringAt(-1);
    QVERIFY(clock.elapsed() >= 2 * 500 - 20);
    QVERIFY(a->isMonitoring());
    QVERIFY(b->isMonitoring());
    QVERIFY(!a->isRebootRequested());

    // A device still monitoring is never reported as out of its loop.
    QVERIFY(!list.waitForPollingLoops(0, 100));

    // A second start of a monitoring device adds no second relay.
    list.startMonitoringAt(1);
    emit b->notifyRcvToList(sim.address(SilentA), QStringLiteral("text"));
    QCOMPARE(relayed.size(), 1);
    QCOMPARE(relayed.at(0).at(0).toUInt(), 1u);

    list.stopMeasurementAt(-1);
    QVERIFY(!a->isMonitoring());
    QVERIFY(!b->isMonitoring());
    // The devices' own relays are gone; the list's slot still serves others.
    emit a->notifyRcvToList(sim.address(Healthy), QStringLiteral("late"));
    emit b->notifyRcvToList(sim.address(SilentA), QStringLiteral("late"));
    QCOMPARE(relayed.size(), 1);
    QVERIFY(list.waitForPollingLoops(-1, 15000));
    QCOMPARE(a->pollingLoopActive(), 0);
    QCOMPARE(b->pollingLoopActive(), 0);
}

void TestDeviceList::rebootTouchesOnlyMonitoringDevices()
{
    DeviceList list(2, nullptr, nullptr);
    LevelChecker *running = PollingFixture::addSimDevice(list, sim, Healthy, 0, 0, 3, OneChannel);
    LevelChecker *idle = PollingFixture::addSimDevice(list, sim, Healthy, 0, 0, 3, OneChannel);
    QSignalSpy relayed(&list, &DeviceList::notifyResponse);
    list.startMonitoringAt(0);

    list.stopAllForReboot();
    QVERIFY(running->isRebootRequested());
    QVERIFY(running->isMonitoring());
    QVERIFY(!idle->isRebootRequested());
    // Answers during the stop and the reboot reach nobody.
    emit running->notifyRcvToList(sim.address(Healthy), QStringLiteral("during reboot"));
    QCOMPARE(relayed.size(), 0);
    QVERIFY(list.waitForPollingLoops(-1, 15000));

    list.restartAllAfterReboot();
    QVERIFY(!running->isRebootRequested());
    QVERIFY(running->isMonitoring());
    QVERIFY(!idle->isMonitoring());
    QVERIFY(list.monitor(0)->isUsingDevice());
    QVERIFY(!list.monitor(1)->isUsingDevice());

    list.stopMonitoringAt(-1);
    QVERIFY(list.waitForPollingLoops(-1, 15000));
}

// The marked devices start again in list order, 500 ms apart, without the call holding the
// GUI thread; an unmarked device in between is skipped, and a stop of every device ends the
// series.
void TestDeviceList::restartAfterRebootIsPacedByATimer()
{
    DeviceList list(2, nullptr, nullptr);
    QList<LevelChecker *> devices;
    for (int i = 0; i < 4; ++i)
        devices << PollingFixture::addSimDevice(list, sim, Healthy, 0, 0, 3, OneChannel);
    for (int i : {0, 2, 3})
        devices.at(i)->setRebootRequested(true);

    QElapsedTimer clock;
    clock.start();
    list.restartAllAfterReboot();
    QVERIFY2(clock.elapsed() < 400, "the call waited for the pacing");
    QVERIFY(devices.at(0)->isMonitoring());
    QVERIFY(!devices.at(2)->isMonitoring());

    QTRY_VERIFY_WITH_TIMEOUT(devices.at(2)->isMonitoring(), 10000);
    const qint64 second = clock.elapsed();
    QVERIFY2(second >= 450, qPrintable(QString::number(second)));
    QVERIFY(!devices.at(1)->isMonitoring());
    QVERIFY(!devices.at(2)->isRebootRequested());
    // A stop of every device before the last start ends the series.
    if (!devices.at(3)->isMonitoring()) {
        list.stopMonitoringAt(-1);
        // A timer of the pacing's 500 ms started after the stop fires after any paced start
        // that was still due.
        QTimer paced;
        paced.setSingleShot(true);
        paced.setTimerType(Qt::PreciseTimer);
        QSignalSpy due(&paced, &QTimer::timeout);
        paced.start(500);
        QVERIFY(due.wait(10000));
        QCoreApplication::processEvents();
        QVERIFY(!devices.at(3)->isMonitoring());
        QVERIFY(devices.at(3)->isRebootRequested());
    }
    QVERIFY(!devices.at(1)->isMonitoring());
    list.stopMonitoringAt(-1);
    QVERIFY(list.waitForPollingLoops(-1, 15000));
}

void TestDeviceList::rebuildWithSilentDevices()
{
    DeviceList list(2, SystemLog::instance(), nullptr);
    QPointer<LevelChecker> silentA = PollingFixture::addSimDevice(list, sim, SilentA, 0, 0, 3, OneChannel);
    QPointer<LevelChecker> silentB = PollingFixture::addSimDevice(list, sim, SilentB, 1, 0, 3, OneChannel);
    QPointer<LevelChecker> healthy = PollingFixture::addSimDevice(list, sim, Healthy, 0, 0, 3, OneChannel);
    list.startMonitoringAt(-1);
    QTRY_VERIFY_WITH_TIMEOUT(silentA->pollingLoopActive() == 1 && silentB->pollingLoopActive() == 1, 10000);

    // The order the device settings screen uses.
    list.stopAll(true, true);
    list.clearMonitors();
    QCOMPARE(list.monitor(0), nullptr);
    QVERIFY(list.waitForPollingLoops());
    QCOMPARE(silentA->pollingLoopActive(), 0);
    list.deleteAllDevices();
    QCOMPARE(list.deviceCount(), 0);
    QVERIFY(silentA.isNull());
    QVERIFY(silentB.isNull());
    QVERIFY(healthy.isNull());

    // Registered again, the devices work as before.
    LevelChecker *again = PollingFixture::addSimDevice(list, sim, Healthy, 0, 0, 3, OneChannel);
    QCOMPARE(list.monitor(0)->monitoredDevice(), nullptr);
    list.startMonitoringAt(0);
    QTRY_COMPARE_WITH_TIMEOUT(again->pollingLoopActive(), 1, 10000);
    list.stopMeasurementAt(0);
    QVERIFY(list.waitForPollingLoops());
}

void TestDeviceList::deleteWhileWorkerBusyKeepsDevice()
{
    DeviceList list(2, SystemLog::instance(), nullptr);
    QPointer<LevelChecker> silent = PollingFixture::addSimDevice(list, sim, SilentA, 0, 0, 3, OneChannel);
    list.startMonitoringAt(0);
    QTRY_COMPARE_WITH_TIMEOUT(silent->pollingLoopActive(), 1, 10000);

    // No wait between the stop and the deletion: the worker is still in its request.
    list.stopAll(true, true);
    list.clearMonitors();
    const bool inUse = list.isDeviceInUse(silent);
    list.deleteAllDevices();
    QCOMPARE(list.deviceCount(), 0);
    if (inUse)
        QVERIFY(!silent.isNull());
    // Deleted once the worker has let go of it.
    QTRY_VERIFY_WITH_TIMEOUT(silent.isNull(), 15000);
}

void TestDeviceList::removeLastWhileWorkerBusyKeepsDevice()
{
    DeviceList list(2, SystemLog::instance(), nullptr);
    LevelChecker *healthy = PollingFixture::addSimDevice(list, sim, Healthy, 0, 0, 3, OneChannel);
    QPointer<LevelChecker> silent = PollingFixture::addSimDevice(list, sim, SilentA, 0, 0, 3, OneChannel);
    QPointer<ThreadBase> thread = list.monitor(1)->attachedThread();
    list.startMonitoringAt(1);
    QTRY_COMPARE_WITH_TIMEOUT(silent->pollingLoopActive(), 1, 10000);

    // No wait between the stop and the removal: the worker is still in its request.
    list.stopMonitoringAt(1);
    const bool inUse = list.isDeviceInUse(silent);
    QVERIFY(list.removeLastDevice());
    QCOMPARE(list.deviceCount(), 1);
    QCOMPARE(list.device(0), healthy);
    QVERIFY(list.monitor(0));
    QCOMPARE(list.monitor(1), nullptr);
    if (inUse)
        QVERIFY(!silent.isNull());
    // Deleted once the worker has let go of it; its thread ends.
    QTRY_VERIFY_WITH_TIMEOUT(silent.isNull(), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(thread.isNull() || thread->isFinished(), 15000);

    // The device left keeps its worker.
    list.startMonitoringAt(0);
    QTRY_COMPARE_WITH_TIMEOUT(healthy->pollingLoopActive(), 1, 10000);
    list.stopMeasurementAt(0);
    QVERIFY(list.waitForPollingLoops());
    QVERIFY(list.removeLastDevice());
    QVERIFY(!list.removeLastDevice());
}

void TestDeviceList::destroyWhileSilentDevicesPoll()
{
    auto list = std::make_unique<DeviceList>(2, SystemLog::instance(), nullptr);
    QPointer<LevelChecker> a = PollingFixture::addSimDevice(*list, sim, SilentA, 0, 0, 3, OneChannel);
    QPointer<LevelChecker> b = PollingFixture::addSimDevice(*list, sim, SilentB, 0, 0, 3, OneChannel);
    QPointer<LevelChecker> c = PollingFixture::addSimDevice(*list, sim, Healthy, 0, 0, 3, OneChannel);
    QPointer<SNMPMonitor> worker = list->monitor(0);
    QPointer<ThreadBase> thread = list->monitor(0)->attachedThread();
    list->startMonitoringAt(-1);
    QTRY_VERIFY_WITH_TIMEOUT(a->pollingLoopActive() == 1 && b->pollingLoopActive() == 1, 10000);

    // Never stopped: the destructor ends the loops and joins the threads itself.
    QElapsedTimer clock;
    clock.start();
    list.reset();
    QVERIFY(clock.elapsed() < DeviceList::ThreadJoinMs);
    QVERIFY(a.isNull());
    QVERIFY(b.isNull());
    QVERIFY(c.isNull());
    // Joined threads leave nothing behind.
    QVERIFY(worker.isNull());
    QVERIFY(thread.isNull());
}

QTEST_MAIN(TestDeviceList)
#include "tst_devicelist.moc"
