// ctest-label: frame
// Benchmark, reports figures only: the longest time the GUI thread's event loop went without
// turning while the real main window runs 50 simulated level checkers: start-up (loading,
// boot pages, every device measuring), a change to the result list, and the opening of a
// channel's history with a month of history files, then the device setting screen's opening
// with its fifty rows, the apply that reads the identity of all fifty devices and the apply of an imported list of
// the fifty devices, each until its readout has ended. A 2 ms timer of the GUI thread marks each
// turn; the longest gap between two marks, less the 2 ms, is the stall. The loading before
// the event loop first runs (main's own start-up) is reported on its own. The simulated
// devices share this machine and can keep every core busy while fifty of them answer their
// first polls, so each stall also reports how much of it the GUI thread spent on a core:
// that part is the program's own work, the rest is waiting for the scheduler.

#include "FrameHost.h"

#include "core/MeasureResultModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "screens/MeasurementResultIndividualViewModel.h"
#include "settings/DeviceSettingViewModel.h"
#include "support/HistoryFixture.h"
#include "support/SimDevices.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

#include <time.h>

namespace {
constexpr int kDevices = 50;
constexpr int kChannels = 10;
constexpr int kTickMs = 2;

const QString Header14 = QStringLiteral(
    "No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
    "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n");
const QString PlanHeader = QStringLiteral(
    "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n");
const QString AlertHeader = QStringLiteral(
    "'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,HikariLevelMax,ConvertCNR\n");

qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The longest gap between turns of the event loop, per phase of the run.
class StallMeter : public QObject
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(kTickMs);
        connect(&m_timer, &QTimer::timeout, this, [this]() { mark(); });
        m_clock.start();
        m_last = m_clock.nsecsElapsed();
        m_lastCpu = threadCpuNs();
        m_timer.start();
    }

    void phase(const QString &name)
    {
        mark();
        m_phase = name;
        if (!m_longest.contains(name)) {
            m_order.append(name);
            m_longest.insert(name, Stall());
        }
    }

    void report() const
    {
        Stall longest;
        qint64 longestBusy = 0;
        for (const QString &name : m_order) {
            const Stall stall = m_longest.value(name);
            if (stall.wall > longest.wall)
                longest = stall;
            longestBusy = std::max(longestBusy, m_longestBusy.value(name));
            qInfo("stall during %s: %.1f ms (GUI thread on a core for %.1f ms of it; longest work "
                  "without a turn %.1f ms)",
                  qPrintable(name), stall.wall / 1e6, stall.cpu / 1e6, m_longestBusy.value(name) / 1e6);
        }
        qInfo("longest stall: %.1f ms (GUI thread on a core for %.1f ms of it)", longest.wall / 1e6,
              longest.cpu / 1e6);
        qInfo("longest GUI work without a turn: %.1f ms", longestBusy / 1e6);
    }

private:
    void mark()
    {
        const qint64 now = m_clock.nsecsElapsed();
        const qint64 cpuNow = threadCpuNs();
        const Stall stall{std::max<qint64>(0, now - m_last - kTickMs * 1000000LL), cpuNow - m_lastCpu};
        m_last = now;
        m_lastCpu = cpuNow;
        if (m_phase.isEmpty())
            return;
        if (stall.wall > m_longest.value(m_phase).wall)
            m_longest[m_phase] = stall;
        if (stall.cpu > m_longestBusy.value(m_phase))
            m_longestBusy[m_phase] = stall.cpu;
    }

    struct Stall
    {
        qint64 wall = 0;
        qint64 cpu = 0;
    };

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_lastCpu = 0;
    QString m_phase;
    QStringList m_order;
    QHash<QString, Stall> m_longest;
    QHash<QString, qint64> m_longestBusy;
};

QByteArray crlf(const QString &text)
{
    return text.toUtf8().replace("\n", "\r\n");
}
} // namespace

class BenchGuiStall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(m_sim.start(kDevices), qPrintable(m_sim.lastError()));
        QVERIFY(m_root.prepare());
        QString registration = Header14;
        for (int n = 1; n <= kDevices; ++n) {
            registration += QStringLiteral("%1,局%1,%2,同軸,連続,常時,常時,1310,SN%1,MAC%1,FW1,0,MER,MER\n")
                                .arg(n)
                                .arg(m_sim.address(n));
            QString plan = PlanHeader;
            QString alerts = AlertHeader;
            for (int k = 0; k < kChannels; ++k) {
                plan += QStringLiteral("0,%1,%2,0,0,0,1\n").arg(13 + k).arg(473142 + 6000 * k);
                alerts += QStringLiteral("0,%1,40,90,20,1.0E-3,-9,1,22\n").arg(13 + k);
            }
            QVERIFY(m_root.writeSetting(QStringLiteral("MeasurementChannelSetting/%1.csv").arg(n), crlf(plan)));
            QVERIFY(m_root.writeSetting(QStringLiteral("AlertSetting/alert_%1.csv").arg(n), crlf(alerts)));
        }
        QVERIFY(m_root.writeSetting(QStringLiteral("DeviceRegistSetting.csv"), crlf(registration)));
        // A month of history of the channel the run opens.
        QVector<HistoryFixture::Channel> channels;
        for (int k = 0; k < kChannels; ++k)
            channels.append({0, QString::number(13 + k), false});
        QVERIFY(HistoryFixture::generate(1, channels, QDate::currentDate().addDays(-30), 30, 200) > 0);
    }

    void cleanupTestCase() { m_sim.stop(); }

    void longestStall()
    {
        StallMeter meter;
        QElapsedTimer loading;
        loading.start();
        // As main: the application object, the main view and its frame, the first screen.
        FrameHost host;
        const qint64 loadingMs = loading.elapsed();
        QVERIFY(host.isValid());
        DeviceList *devices = host.app->deviceList();
        QCOMPARE(devices->deviceCount(), kDevices);

        meter.phase(QStringLiteral("start-up"));
        QVERIFY(host.waitForBoot());
        // Every device measuring and its results on their way.
        QTRY_VERIFY_WITH_TIMEOUT(devices->device(kDevices - 1)->measurementHistoryCount(0) > 0, 60000);

        meter.phase(QStringLiteral("measuring"));
        QTest::qWait(2000);

        meter.phase(QStringLiteral("screen change"));
        host.transit(QStringLiteral("MeasurementResult.qml"));
        QTest::qWait(3000);

        meter.phase(QStringLiteral("history opening"));
        auto *history = qobject_cast<MeasurementResultIndividualViewModel *>(
            host.frame->viewModelOf(QStringLiteral("ResultIndividual")));
        QVERIFY(history);
        auto *resultList = qobject_cast<MeasureResultModel *>(host.find(QStringLiteral("measureResultModel")));
        history->onDataPassChannelData(1, BandTerrestrial, QStringLiteral("13"), 0, resultList, QString(),
                                       false, false);
        host.transit(QStringLiteral("Home.qml"));
        host.transit(QStringLiteral("MeasurementResultIndividual.qml"));
        QTest::qWait(3000);

        meter.phase(QStringLiteral("back to the result list"));
        host.transit(QStringLiteral("MeasurementResult.qml"));
        QTest::qWait(2000);
        // The device setting screen: built with its fifty rows in a phase of its own, then
        // every device read again until they all measure again, then an exported list
        // imported and applied until its readout has ended.
        meter.phase(QStringLiteral("device setting screen opening"));
        host.transit(QStringLiteral("DeviceSetting.qml"));
        QObject *page = host.find(QStringLiteral("DeviceSetting"));
        auto *setting = qobject_cast<DeviceSettingViewModel *>(host.frame->viewModelOf(QStringLiteral("DeviceSetting")));
        QVERIFY(page && setting);
        QTest::qWait(2000);
        const auto measuringAgain = [devices]() {
            for (int i = 0; i < devices->deviceCount(); ++i) {
                if (!devices->device(i)->isMonitoring() || devices->device(i)->requestMode() != 0)
                    return false;
            }
            return devices->deviceCount() == kDevices;
        };
        meter.phase(QStringLiteral("apply of 50 devices"));
        QMetaObject::invokeMethod(page, "buttonClicked", Q_ARG(QString, QStringLiteral("settingConfirmedAll")));
        QTRY_VERIFY_WITH_TIMEOUT(!setting->isReadoutRunning() && !setting->isOperationRunning(), 120000);
        QTRY_VERIFY_WITH_TIMEOUT(measuringAgain(), 60000);

        meter.phase(QStringLiteral("export and import of the list"));
        const QString listUrl = QUrl::fromLocalFile(m_root.path() + QStringLiteral("/devices.csv")).toString();
        QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QStringLiteral("bulkexport")),
                                  Q_ARG(QString, listUrl), Q_ARG(int, 0));
        QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QStringLiteral("bulkLoading")),
                                  Q_ARG(QString, listUrl), Q_ARG(int, 0));
        QVERIFY(setting->isImportPending());
        meter.phase(QStringLiteral("applied import of 50 devices"));
        QMetaObject::invokeMethod(page, "buttonClicked", Q_ARG(QString, QStringLiteral("settingConfirmed")));
        QTRY_VERIFY_WITH_TIMEOUT(!setting->isReadoutRunning() && !setting->isOperationRunning(), 120000);
        meter.phase(QStringLiteral("end"));

        qInfo("loading before the event loop: %lld ms", loadingMs);
        meter.report();
        QMetaObject::invokeMethod(host.window, "buttonClicked", Q_ARG(QString, QStringLiteral("closewindow")));
    }

private:
    SimDevices m_sim;
    FrameRoot m_root;
};

QTEST_MAIN(BenchGuiStall)
#include "tst_bench_guistall.moc"
