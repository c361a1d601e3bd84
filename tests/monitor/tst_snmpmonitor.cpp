// ctest-label: monitor
// The polling worker against simulated level checkers: the request sequence of a pass, the
// waits before each result, the stop and reboot branches, cycle mode, the identity readout,
// and a silent device next to a healthy one.
#include "PollingFixture.h"

#include "core/SharedTypes.h"
#include "monitor/SNMPMonitor.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

namespace {
constexpr int SimCount = 3;
constexpr int HealthyA = 1;
constexpr int HealthyB = 2;
constexpr int Faulty = 3;   // gets a fault mode in the tests that need one

const QString StopBand = QStringLiteral("SET 3.1.1 ISDBT");
const QString StopChannel = QStringLiteral("SET 3.1.6 0");
const QString ResultGet = QStringLiteral("GET 4.1");

qint64 gapMs(const PollingFixture::Request &from, const PollingFixture::Request &to)
{
    return from.time.msecsTo(to.time);
}
} // namespace

class TestSnmpMonitor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void threadSleepIsClamped_data();
    void threadSleepIsClamped();
    void cycleTextsAndWaits();
    void opticalPassSequenceAndWaits();
    void bandSelectionsOfEveryKind();
    void stopMeasurementSendsStopSelection();
    void stopDuringPushSkipsTheRest();
    void stopMonitoringSendsNothing();
    void restartDropsTheOldWait();
    void singleChannelMonitoringRereads();
    void rebootAddsRebootRequest();
    void cycleModeRestsAfterPass();
    void informationReadoutOnce();
    void silentDeviceDoesNotBlockOthers();

private:
    QTemporaryDir root;
    SimDevices sim;
    bool faultSet = false;
};

void TestSnmpMonitor::initTestCase()
{
    QVERIFY(root.isValid());
    qputenv("NRT52_ROOT", root.path().toUtf8());
    QVERIFY(!SimDevices::installMib(root.path()).isEmpty());
    QVERIFY2(sim.start(SimCount), qPrintable(sim.lastError()));
}

void TestSnmpMonitor::cleanup()
{
    // Only what a test touched: every simctl call costs a process start.
    if (faultSet) {
        sim.setFault(Faulty, SimDevices::Fault::None);
        faultSet = false;
    }
    for (int i = 1; i <= SimCount; ++i) {
        if (!sim.requestLog(i).isEmpty())
            sim.clearLog(i);
    }
}

void TestSnmpMonitor::cleanupTestCase()
{
    QVERIFY2(sim.stop(), qPrintable(sim.lastError()));
}

void TestSnmpMonitor::threadSleepIsClamped_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<int>("pause");
    QTest::newRow("below range") << 50 << 100;
    QTest::newRow("lowest") << 100 << 100;
    QTest::newRow("inside") << 750 << 750;
    QTest::newRow("highest") << 3000 << 3000;
    QTest::newRow("above range") << 5000 << 3000;
}

void TestSnmpMonitor::threadSleepIsClamped()
{
    QFETCH(int, setting);
    QFETCH(int, pause);
    const int level = 2;
    SNMPMonitor worker(level, 0, QStringLiteral("127.0.0.1"), setting, nullptr);
    QCOMPARE(worker.threadSleep(), pause);
}

void TestSnmpMonitor::cycleTextsAndWaits()
{
    QCOMPARE(SNMPMonitor::cycleIntervalValue(QString()), -1);
    QCOMPARE(SNMPMonitor::cycleIntervalValue(QStringLiteral("連続")), 0);
    QCOMPARE(SNMPMonitor::cycleIntervalValue(QStringLiteral("15分")), 2);
    QCOMPARE(SNMPMonitor::cycleIntervalValue(QStringLiteral("2時間")), 0);
    QCOMPARE(SNMPMonitor::cycleIntervalMsec(0), 0);
    QCOMPARE(SNMPMonitor::cycleIntervalMsec(1), 300000);
    QCOMPARE(SNMPMonitor::cycleIntervalMsec(2), 900000);
    QCOMPARE(SNMPMonitor::cycleIntervalMsec(3), 1800000);
    QCOMPARE(SNMPMonitor::cycleIntervalMsec(4), 3600000);
    QCOMPARE(SNMPMonitor::cycleIntervalMsec(-1), 0);

    // A BS channel that feeds power right after a band change waits all three terms.
    ApplicationSetting s = PollingFixture::shortSetting();
    s.csRecv = 9999;   // the CS bands take the BS interval
    const ChannelSettingRow bs = PollingFixture::row(BandBsRight, QStringLiteral("BS1"), 1);
    QCOMPARE(SNMPMonitor::channelWaitMs(s, bs, true), s.firstRecv + s.powerRecv + s.bsRecv);
    QCOMPARE(SNMPMonitor::channelWaitMs(s, bs, false), s.powerRecv + s.bsRecv);
    const ChannelSettingRow cs = PollingFixture::row(BandCsLeft, QStringLiteral("CS2"));
    QCOMPARE(SNMPMonitor::channelWaitMs(s, cs, false), s.bsRecv);
    QCOMPARE(SNMPMonitor::channelWaitMs(s, PollingFixture::row(BandCount, QStringLiteral("X")), false), 0);
}

void TestSnmpMonitor::opticalPassSequenceAndWaits()
{
    DeviceList list(2, SystemLog::instance(), nullptr);
    const QList<ChannelSettingRow> plan = {PollingFixture::row(BandTerrestrial, QStringLiteral("13"), 0),
                                           PollingFixture::row(BandTerrestrial, QStringLiteral("20"), 1)};
    LevelChecker *device = PollingFixture::addSimDevice(list, sim, HealthyA, 1, 0, 4, plan);
    device->setC24FrequencyType(1);
    device->setCatvMerCn(1);
    QSignalSpy replies(&list, &DeviceList::notifyResponse);

    list.startMonitoringAt(0);
    // Until the second pass has pushed its configuration again.
    QTRY_VERIFY_WITH_TIMEOUT(PollingFixture::countOf(sim.requests(HealthyA), QStringLiteral("SET 2.2 1")) >= 2,
                             20000);
    list.stopMonitoringAt(0);
    QVERIFY(list.waitForPollingLoops(0));

    const QList<PollingFixture::Request> log = PollingFixture::timedRequests(sim, HealthyA);
    QStringList lines;
    for (const auto &request : log)
        lines << request.text;
    const QStringList expected = {
        StopBand, StopChannel,
        QStringLiteral("SET 2.2 1"), QStringLiteral("SET 2.6 4"), QStringLiteral("SET 2.4 1"),
        QStringLiteral("SET 2.5 0"), QStringLiteral("SET 2.7.1 0"), QStringLiteral("SET 2.7.2 1"),
        QStringLiteral("SET 3.1.1 ISDBT"), QStringLiteral("SET 3.1.6 13"), QStringLiteral("SET 3.8 0"), ResultGet,
        QStringLiteral("SET 3.1.1 ISDBT"), QStringLiteral("SET 3.1.6 20"), QStringLiteral("SET 3.8 1"), ResultGet,
        StopBand, StopChannel, QStringLiteral("SET 2.2 1"),
    };
    QCOMPARE(lines.mid(0, expected.size()), expected);

    const ApplicationSetting s = PollingFixture::shortSetting();
    // 1000 ms between the stop selection and the push.
    QVERIFY(gapMs(log.at(1), log.at(2)) >= 1000 - 50);
    // First channel of a pass: FirstRecv + UhfRecv after its selection.
    QVERIFY2(gapMs(log.at(10), log.at(11)) >= s.firstRecv + s.uhfRecv - 50,
             qPrintable(QString::number(gapMs(log.at(10), log.at(11)))));
    // Same band, power fed: PowerRecv + UhfRecv.
    QVERIFY2(gapMs(log.at(14), log.at(15)) >= s.powerRecv + s.uhfRecv - 50,
             qPrintable(QString::number(gapMs(log.at(14), log.at(15)))));

    // Each result reached the relay with the device's position.
    QVERIFY(replies.size() >= 2);
    QCOMPARE(replies.at(0).at(0).toUInt(), 0u);
    QVERIFY(replies.at(0).at(1).toString().contains(QStringLiteral("lcMeasResult.0")));
    QCOMPARE(device->pollingLoopActive(), 0);
}

void TestSnmpMonitor::bandSelectionsOfEveryKind()
{
    ApplicationSetting fast = PollingFixture::shortSetting();
    fast.firstRecv = 50;
    fast.powerRecv = 50;
    fast.uhfRecv = fast.bsRecv = fast.catvRecv = fast.jcsatRecv = fast.fmRecv = 50;
    DeviceList list(2, SystemLog::instance(), nullptr);
    const QList<ChannelSettingRow> plan = {
        PollingFixture::row(BandBsRight, QStringLiteral("BS1")),
        PollingFixture::row(BandCatv, QStringLiteral("C24"), 0, 231000, QStringLiteral("3")),
        PollingFixture::row(BandCatv, QStringLiteral("C30"), 0, 267000, QStringLiteral("0")),
        PollingFixture::row(BandJcsat3aVertical, QStringLiteral("J1"), 1, 1000000, QStringLiteral("0"), 11300000),
        PollingFixture::row(BandSccBHorizontal, QStringLiteral("S1"), 0, 1000000, QStringLiteral("0"), 0),
        PollingFixture::row(BandFm, QStringLiteral("FM1"), 0, 80000),
        PollingFixture::row(BandCatvUpstream, QStringLiteral("U1"), 0, 10000),
    };
    LevelChecker *device = PollingFixture::addSimDevice(list, sim, HealthyB, 0, 0, 3, plan, fast);
    list.startMonitoringAt(0);
    QTRY_VERIFY_WITH_TIMEOUT(PollingFixture::countOf(sim.requests(HealthyB), ResultGet) >= plan.size(), 30000);
    list.stopMonitoringAt(0);
    QVERIFY(list.waitForPollingLoops(0));
    QCOMPARE(device->pollingLoopActive(), 0);

    const QStringList expected = {
        StopBand, StopChannel,
        // Coaxial input: no wavelength.
        QStringLiteral("SET 2.2 0"), QStringLiteral("SET 2.4 0"), QStringLiteral("SET 2.5 0"),
        QStringLiteral("SET 2.7.1 0"), QStringLiteral("SET 2.7.2 0"),
        QStringLiteral("SET 3.1.1 BS"), QStringLiteral("SET 3.1.3 0"), QStringLiteral("SET 3.1.6 BS1"),
        QStringLiteral("SET 3.8 0"), ResultGet,
        QStringLiteral("SET 3.1.1 CATV_ALL"), QStringLiteral("SET 3.1.2 1"), QStringLiteral("SET 3.1.6 C24"),
        QStringLiteral("SET 3.8 0"), ResultGet,
        QStringLiteral("SET 3.1.1 CATV_ALL"), QStringLiteral("SET 3.1.2 0"), QStringLiteral("SET 3.1.6 C30"),
        QStringLiteral("SET 3.8 0"), ResultGet,
        QStringLiteral("SET 3.1.1 JCSAT-3A"), QStringLiteral("SET 3.1.3 3"), QStringLiteral("SET 3.1.4 2"),
        QStringLiteral("SET 3.1.6 J1"), QStringLiteral("SET 3.8 1"), ResultGet,
        QStringLiteral("SET 3.1.1 SCC-B"), QStringLiteral("SET 3.1.3 2"), QStringLiteral("SET 3.1.4 0"),
        QStringLiteral("SET 3.1.6 S1"), QStringLiteral("SET 3.8 0"), ResultGet,
        QStringLiteral("SET 3.1.1 FM"), QStringLiteral("SET 3.1.5 80.0"), QStringLiteral("SET 3.1.6 FM1"),
        QStringLiteral("SET 3.8 0"), ResultGet,
        QStringLiteral("SET 3.1.1 UL"), QStringLiteral("SET 3.1.5 10.00"), QStringLiteral("SET 3.1.6 U1"),
        QStringLiteral("SET 3.8 0"), ResultGet,
    };
    QCOMPARE(sim.requests(HealthyB).mid(0, expected.size()), expected);
}

void TestSnmpMonitor::stopMeasurementSendsStopSelection()
{
    DeviceList list(2, SystemLog::instance(), nullptr);
    LevelChecker *device = PollingFixture::addSimDevice(
        list, sim, HealthyA, 0, 0, 3, {PollingFixture::row(BandTerrestrial, QStringLiteral("13"))});
    list.startMonitoringAt(0);
    QTRY_VERIFY_WITH_TIMEOUT(sim.requests(HealthyA).contains(ResultGet), 15000);
    QCOMPARE(device->pollingLoopActive(), 1);

    list.stopMeasurementAt(0);
    QVERIFY(!device->isMonitoring());
    QTRY_COMPARE_WITH_TIMEOUT(device->pollingLoopActive(), 0, 15000);
    QVERIFY(list.waitForPollingLoops(0));
    const QStringList lines = sim.requests(HealthyA);
    QCOMPARE(lines.mid(lines.size() - 2), (QStringList{StopBand, StopChannel}));
    QVERIFY(!lines.contains(QStringLiteral("SET 3.11 1")));
}

void TestSnmpMonitor::stopDuringPushSkipsTheRest()
{
    // Slow answers keep the worker inside the configuration push long enough to stop it there.
    faultSet = true;
    QVERIFY(sim.setFault(Faulty, SimDevices::Fault::Slow, 700));
    DeviceList list(2, SystemLog::instance(), nullptr);
    LevelChecker *device = PollingFixture::addSimDevice(
        list, sim, Faulty, 0, 0, 3, {PollingFixture::row(BandTerrestrial, QStringLiteral("13"))});
    list.startMonitoringAt(0);
    QTRY_VERIFY_WITH_TIMEOUT(sim.requests(Faulty).contains(QStringLiteral("SET 2.2 0")), 15000);
    list.stopMeasurementAt(0);
    QTRY_COMPARE_WITH_TIMEOUT(device->pollingLoopActive(), 0, 15000);

    const QStringList lines = sim.requests(Faulty);
    QCOMPARE(lines.mid(lines.size() - 2), (QStringList{StopBand, StopChannel}));
    QVERIFY(!lines.contains(QStringLiteral("SET 2.7.2 0")));
    QVERIFY(!lines.contains(QStringLiteral("SET 3.1.6 13")));
    QVERIFY(!lines.contains(QStringLiteral("SET 3.8 0")));
    QCOMPARE(device->currentChannelIndex(), LevelChecker::NoChannel);
}

void TestSnmpMonitor::stopMonitoringSendsNothing()
{
    ApplicationSetting slow = PollingFixture::shortSetting();
    slow.firstRecv = 4000;   // a long wait to stop in
    DeviceList list(2, SystemLog::instance(), nullptr);
    LevelChecker *device = PollingFixture::addSimDevice(
        list, sim, HealthyA, 0, 0, 3, {PollingFixture::row(BandTerrestrial, QStringLiteral("13"))}, slow);
    list.startMonitoringAt(0);
    QTRY_VERIFY_WITH_TIMEOUT(sim.requests(HealthyA).contains(QStringLiteral("SET 3.8 0")), 15000);
    list.stopMonitoringAt(0);
    QTRY_COMPARE_WITH_TIMEOUT(device->pollingLoopActive(), 0, 5000);
    const QStringList lines = sim.requests(HealthyA);
    QCOMPARE(lines.last(), QStringLiteral("SET 3.8 0"));
    QCOMPARE(PollingFixture::countOf(lines, StopChannel), 1);
}

void TestSnmpMonitor::restartDropsTheOldWait()
{
    ApplicationSetting slow = PollingFixture::shortSetting();
    slow.firstRecv = 2500;
    DeviceList list(2, SystemLog::instance(), nullptr);
    LevelChecker *device = PollingFixture::addSimDevice(
        list, sim, HealthyA, 0, 0, 3, {PollingFixture::row(BandTerrestrial, QStringLiteral("13"))}, slow);
    list.startMonitoringAt(0);
    QTRY_VERIFY_WITH_TIMEOUT(sim.requests(HealthyA).contains(QStringLiteral("SET 3.8 0")), 15000);

    // Stopped in the middle of the wait and started again at once, as the result screen does.
    list.stopMonitoringAt(0);
    device->setCurrentChannelIndex(LevelChecker::NoChannel);
    list.startMonitoringAt(0);
    QTRY_VERIFY_WITH_TIMEOUT(sim.requests(HealthyA).contains(ResultGet), 15000);
    list.stopMonitoringAt(0);
    QVERIFY(list.waitForPollingLoops(0));

    // The old wait made nothing due: the only result read follows the new pass start and
    // its full wait.
    const auto log = PollingFixture::timedRequests(sim, HealthyA);
    QStringList lines;
    for (const auto &request : log)
        lines << request.text;
    const int secondSelect = PollingFixture::indexOfNth(lines, QStringLiteral("SET 3.8 0"), 1);
    QVERIFY2(secondSelect > 0, qPrintable(lines.join(QLatin1Char('|'))));
    const int result = lines.indexOf(ResultGet);
    QCOMPARE(result, secondSelect + 1);
    QCOMPARE(PollingFixture::countOf(lines, StopChannel), 2);
    QVERIFY2(gapMs(log.at(secondSelect), log.at(result)) >= slow.firstRecv + slow.uhfRecv - 50,
             qPrintable(QString::number(gapMs(log.at(secondSelect), log.at(result)))));
}

void TestSnmpMonitor::singleChannelMonitoringRereads()
{
    ApplicationSetting watch = PollingFixture::shortSetting();
    watch.chMonitoring = 1;
    DeviceList list(2, SystemLog::instance(), nullptr);
    PollingFixture::addSimDevice(list, sim, HealthyA, 0, 0, 3,
                                 {PollingFixture::row(BandTerrestrial, QStringLiteral("13"))}, watch);
    list.startMonitoringAt(0);
    QTRY_VERIFY_WITH_TIMEOUT(PollingFixture::countOf(sim.requests(HealthyA), ResultGet) >= 3, 15000);
    list.stopMonitoringAt(0);
    QVERIFY(list.waitForPollingLoops(0));

    // After the first wait the first device reads the same channel on every turn.
    const QStringList lines = sim.requests(HealthyA);
    const int first = lines.indexOf(ResultGet);
    QCOMPARE(PollingFixture::countOf(lines, QStringLiteral("SET 3.1.6 13")), 1);
    for (const QString &line : lines.mid(first))
        QCOMPARE(line, ResultGet);
}

void TestSnmpMonitor::rebootAddsRebootRequest()
{
    DeviceList list(2, SystemLog::instance(), nullptr);
    LevelChecker *device = PollingFixture::addSimDevice(
        list, sim, HealthyA, 0, 0, 3, {PollingFixture::row(BandTerrestrial, QStringLiteral("13"))});
    list.startMonitoringAt(0);
    QTRY_VERIFY_WITH_TIMEOUT(sim.requests(HealthyA).contains(ResultGet), 15000);

    list.stopAllForReboot();
    QVERIFY(device->isRebootRequested());
    QVERIFY(device->isMonitoring());
    QTRY_COMPARE_WITH_TIMEOUT(device->pollingLoopActive(), 0, 15000);
    QStringList lines = sim.requests(HealthyA);
    QCOMPARE(lines.mid(lines.size() - 3), (QStringList{StopBand, StopChannel, QStringLiteral("SET 3.11 1")}));
    const auto timed = PollingFixture::timedRequests(sim, HealthyA);
    QVERIFY(gapMs(timed.at(timed.size() - 2), timed.last()) >= 500 - 50);

    // The restart after the reboot begins with a full pass start.
    const int before = lines.size();
    list.restartAllAfterReboot();
    QVERIFY(!device->isRebootRequested());
    QVERIFY(device->isMonitoring());
    QTRY_VERIFY_WITH_TIMEOUT(sim.requests(HealthyA).mid(before).contains(QStringLiteral("SET 2.2 0")), 15000);

    // The reboot was a one-off: the next stop sends no reboot.
    list.stopMeasurementAt(0);
    QTRY_COMPARE_WITH_TIMEOUT(device->pollingLoopActive(), 0, 15000);
    lines = sim.requests(HealthyA);
    QCOMPARE(PollingFixture::countOf(lines, QStringLiteral("SET 3.11 1")), 1);
    QCOMPARE(lines.mid(lines.size() - 2), (QStringList{StopBand, StopChannel}));
}

void TestSnmpMonitor::cycleModeRestsAfterPass()
{
    DeviceList list(2, SystemLog::instance(), nullptr);
    // "5分": one channel, then a 300 000 ms pause.
    LevelChecker *device = PollingFixture::addSimDevice(
        list, sim, HealthyB, 0, 1, 3, {PollingFixture::row(BandTerrestrial, QStringLiteral("13"))});
    // The same plan measured continuously beside it: its passes show when a next one is due.
    PollingFixture::addSimDevice(list, sim, HealthyA, 0, 0, 3, {PollingFixture::row(BandTerrestrial, QStringLiteral("13"))});
    list.startMonitoringAt(0);
    list.startMonitoringAt(1);
    // The pass ends with a stop selection right after its result.
    QTRY_VERIFY_WITH_TIMEOUT(PollingFixture::countOf(sim.requests(HealthyB), StopChannel) >= 2, 15000);
    QStringList lines = sim.requests(HealthyB);
    const int result = lines.indexOf(ResultGet);
    QVERIFY(result > 0);
    QCOMPARE(lines.mid(result + 1, 2), (QStringList{StopBand, StopChannel}));

    // Two more passes of the continuous device begun after this pass ended: a next pass
    // would have begun by now.
    const int continuousPasses = PollingFixture::countOf(sim.requests(HealthyA), QStringLiteral("SET 2.2 0"));
    QTRY_VERIFY_WITH_TIMEOUT(
        PollingFixture::countOf(sim.requests(HealthyA), QStringLiteral("SET 2.2 0")) >= continuousPasses + 2, 15000);
    lines = sim.requests(HealthyB);
    QCOMPARE(PollingFixture::countOf(lines, QStringLiteral("SET 2.2 0")), 1);
    QCOMPARE(PollingFixture::countOf(lines, ResultGet), 1);
    QCOMPARE(device->measurementActive(), 1);

    list.stopMonitoringAt(-1);
    QVERIFY(list.waitForPollingLoops(-1));
}

void TestSnmpMonitor::informationReadoutOnce()
{
    DeviceList list(2, SystemLog::instance(), nullptr);
    LevelChecker *device = PollingFixture::addSimDevice(list, sim, HealthyA);
    device->setRequestMode(int(RequestMode::Information));
    QSignalSpy info(&list, &DeviceList::notifyInfomation);
    QSignalSpy measurement(&list, &DeviceList::notifyResponse);
    list.startMonitoringAt(0);
    QTRY_COMPARE_WITH_TIMEOUT(info.size(), 8, 15000);
    QVERIFY(info.at(7).at(1).toString().contains(QStringLiteral("lcOptionID")));
    // A few more whole turns of the loop: nothing is read again.
    const quint64 turns = list.monitor(0)->turnCount();
    QTRY_VERIFY_WITH_TIMEOUT(list.monitor(0)->turnCount() >= turns + 4, 15000);
    const QStringList expected = {
        QStringLiteral("GET 1.2"), QStringLiteral("GET 1.3"), QStringLiteral("GET 1.4.1"),
        QStringLiteral("GET 1.4.2"), QStringLiteral("GET 1.4.3"), QStringLiteral("GET 1.4.4"),
        QStringLiteral("GET 1.4.5"), QStringLiteral("GET 1.4.6"),
    };
    QCOMPARE(sim.requests(HealthyA), expected);
    QCOMPARE(info.size(), 8);
    QCOMPARE(measurement.size(), 0);

    // A stop of the measurement ends an identity readout too (whoever waits for the loop
    // sees it leave), without sending anything.
    list.stopMeasurementAt(0);
    QVERIFY(list.waitForPollingLoops(0, 5000));
    QCOMPARE(device->pollingLoopActive(), 0);
    QCOMPARE(sim.requests(HealthyA), expected);
}

void TestSnmpMonitor::silentDeviceDoesNotBlockOthers()
{
    faultSet = true;
    QVERIFY(sim.setFault(Faulty, SimDevices::Fault::Silent));
    DeviceList list(2, SystemLog::instance(), nullptr);
    const QList<ChannelSettingRow> plan = {PollingFixture::row(BandTerrestrial, QStringLiteral("13")),
                                           PollingFixture::row(BandTerrestrial, QStringLiteral("20"))};
    PollingFixture::addSimDevice(list, sim, Faulty, 1, 0, 3, plan);
    LevelChecker *healthy = PollingFixture::addSimDevice(list, sim, HealthyB, 0, 0, 3, plan);
    list.startMonitoringAt(-1);

    QTRY_VERIFY_WITH_TIMEOUT(PollingFixture::countOf(sim.requests(HealthyB), ResultGet) >= 2, 20000);
    // Meanwhile the silent device is still pushing its configuration.
    QVERIFY(!sim.requests(Faulty).contains(QStringLiteral("SET 3.8 0")));
    QVERIFY(healthy->pollingLoopActive() == 1);

    // Every unanswered request holds its worker about 2 s (the 1000 ms pause adds to the first).
    const auto sendTimes = [this] {
        QList<QDateTime> sends;
        for (const auto &request : PollingFixture::timedRequests(sim, Faulty)) {
            if (sends.isEmpty() || sends.last().msecsTo(request.time) > 200)
                sends << request.time;
        }
        return sends;
    };
    QTRY_VERIFY_WITH_TIMEOUT(sendTimes().size() >= 3, 15000);
    const QList<QDateTime> sends = sendTimes();
    for (int i = 1; i < sends.size(); ++i)
        QVERIFY2(sends.at(i - 1).msecsTo(sends.at(i)) >= 1800,
                 qPrintable(QString::number(sends.at(i - 1).msecsTo(sends.at(i)))));

    list.stopMonitoringAt(-1);
    QVERIFY(list.waitForPollingLoops(-1, 10000));
}

QTEST_MAIN(TestSnmpMonitor)
#include "tst_snmpmonitor.moc"
