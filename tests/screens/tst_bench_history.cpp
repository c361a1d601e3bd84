// ctest-label: history
// Benchmark, reports figures only: opening the history screen of one channel of a 100-channel
// device on a month (about 600 000 lines) and on a year (about 7 million lines) of history.
// Reported: the time until the newest date is on show and the peak memory it took.
// Aims on the development machine: a month in under 0.3 s, a year in under 2 s.
#include "core/ConstantTables.h"
#include "screens/HistoryFileReader.h"
#include "screens/HistoryPaging.h"
#include "support/HistoryFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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
        QVERIFY(root.isValid());
        qputenv("NRT52_ROOT", root.path().toUtf8());
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

private:
    static constexpr int kMonthDevice = 1;
    static constexpr int kYearDevice = 2;
    QTemporaryDir root;
};

QTEST_GUILESS_MAIN(BenchHistory)
#include "tst_bench_history.moc"
