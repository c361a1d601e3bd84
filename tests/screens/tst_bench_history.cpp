// ctest-label: history
// Benchmark, reports figures only: opening the history screen of one channel of a 100-channel
// device on a month (about 600 000 lines) and on a year (about 7 million lines) of history.
// Reported: the time until the newest date is on show and the peak memory it took.
// Aims on the development machine: a month in under 0.3 s, a year in under 2 s.
// The files are read from the page cache: they were written just before.
#include "FrameHost.h"

#include "core/ConstantTables.h"
#include "core/IndividualResultListModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "screens/HistoryFileReader.h"
#include "screens/HistoryPaging.h"
#include "screens/MeasurementResultIndividualViewModel.h"
#include "support/HistoryFixture.h"

#include <QElapsedTimer>
#include <QFile>

namespace {

// kB of a line of /proc/self/status ("VmHWM", "VmRSS"); 0 where there is none.
qint64 statusKb(const char *key)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// Starts a new peak: the high-water mark falls back to the present resident size.
void resetPeak()
{
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly))
        file.write("5");
}

} // namespace

class BenchHistory : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(root.prepare());
        // The main view first: its result screen purges old history files when it is made.
        host.reset(new FrameHost);
        QVERIFY(host->isValid());
        QVERIFY(host->waitForBoot());
        const quint32 ip = 0x0100007f;
        for (int number = 1; number <= kYearDevice; ++number) {
            host->app->addDevice(number, "受信点", "", &ip, 0, nullptr, 0, "常時", "常時", 3, "kv52gate", 161);
            LevelChecker *device = host->app->deviceList()->device(number - 1);
            device->setMeasurementState(0);
            for (const HistoryFixture::Channel &c : HistoryFixture::hundredChannels()) {
                ChannelSettingRow plan;
                plan.bandTabIndex = c.band;
                plan.channel = c.channel;
                device->addChannelSetting(plan);
                ChannelResultRow latest;
                latest.bandTabIndex = c.band;
                latest.channel = c.channel;
                device->addLatestResult(latest);
            }
        }

        const QVector<HistoryFixture::Channel> channels = HistoryFixture::hundredChannels();
        QElapsedTimer timer;
        timer.start();
        const qint64 month = HistoryFixture::generate(kMonthDevice, channels, QDate(2026, 11, 1), 30, 200);
        QVERIFY(month > 0);
        const qint64 year = HistoryFixture::generate(kYearDevice, channels, QDate(2025, 12, 1), 365, 192);
        QVERIFY(year > 0);
        qInfo("fixture: month %lld lines, year %lld lines, written in %.2f s", month, year,
              timer.elapsed() / 1000.0);
    }

    void open_data()
    {
        QTest::addColumn<int>("deviceNo");
        QTest::newRow("month") << kMonthDevice;
        QTest::newRow("year") << kYearDevice;
    }

    // The reader and the choice of the newest date with its first page, as the screen does
    // them at its opening.
    void open()
    {
        QFETCH(int, deviceNo);
        for (int run = 1; run <= 3; ++run) {
            const qint64 before = statusKb("VmRSS");
            resetPeak();
            QElapsedTimer timer;
            timer.start();
            HistoryFileReader::Result result =
                HistoryFileReader(BandShortName110Table.value(BandTerrestrial), QStringLiteral("13")).readDevice(deviceNo);
            const qint64 readMs = timer.elapsed();
            HistoryPaging::sortNewestFirst(&result.dates);
            const QVector<IndividualResultListRow> dateRows = HistoryPaging::rowsOfDate(result.rows, result.dates.value(0));
            const QVector<IndividualResultListRow> page = HistoryPaging::pageRows(dateRows, 1);
            const qint64 totalMs = timer.elapsed();
            const qint64 peak = statusKb("VmHWM");
            qInfo("%s run %d: %d rows, %d dates, newest date %d rows; read %lld ms, newest date on show %lld ms; "
                  "peak memory %lld MB above %lld MB",
                  QTest::currentDataTag(), run, result.rows.size(), result.dates.size(), dateRows.size(),
                  readMs, totalMs, (peak - before) / 1024, before / 1024);
            QVERIFY(!page.isEmpty());
        }
    }

    // The whole opening of the screen in the main view: from the request for the page until
    // the newest date is in the table and the graphs are drawn.
    void openScreen_data()
    {
        open_data();
    }

    void openScreen()
    {
        QFETCH(int, deviceNo);
        auto *screen = qobject_cast<MeasurementResultIndividualViewModel *>(
            host->frame->viewModelOf(QStringLiteral("ResultIndividual")));
        auto *table = qobject_cast<IndividualResultListModel *>(host->find(QStringLiteral("individualResultListModel")));
        QVERIFY(screen && table);
        screen->onDataPassChannelData(deviceNo, BandTerrestrial, QStringLiteral("13"), 0, nullptr, QString(), false, false);
        for (int run = 1; run <= 3; ++run) {
            host->transit(QStringLiteral("Home.qml"));
            const qint64 before = statusKb("VmRSS");
            resetPeak();
            QElapsedTimer timer;
            timer.start();
            host->transit(QStringLiteral("MeasurementResultIndividual.qml"));
            const qint64 openMs = timer.elapsed();
            const qint64 peak = statusKb("VmHWM");
            qInfo("%s screen run %d: %d rows, newest date %d rows in the table; on show after %lld ms; "
                  "peak memory %lld MB above %lld MB",
                  QTest::currentDataTag(), run, screen->historyRows().size(), table->count(), openMs,
                  (peak - before) / 1024, before / 1024);
            QVERIFY(table->count() > 0);
        }
        host->transit(QStringLiteral("Home.qml"));
    }

    void cleanupTestCase()
    {
        host.reset();
    }

private:
    static constexpr int kMonthDevice = 1;
    static constexpr int kYearDevice = 2;
    FrameRoot root;
    std::unique_ptr<FrameHost> host;
};

QTEST_MAIN(BenchHistory)
#include "tst_bench_history.moc"
