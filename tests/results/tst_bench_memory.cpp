// ctest-label: results
// Memory of the stored results after three days of 50 devices with 100 channels each, one
// result per device every 5 s, all through the response handler; then the nightly prune of
// that data. Reports figures only; it never fails on size or time.
//
// CI runs a part of the fill (NRT52_BENCH_MEMORY_PERCENT, default 5); the full fill is
// NRT52_BENCH_MEMORY_PERCENT=100. The figures printed are for the fill that ran.

#include "ResultListHost.h"
#include "screens/LogPurge.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

namespace {
constexpr int kDevices = 50;
constexpr int kChannels = 100;
constexpr int kSecondsPerResult = 5;
constexpr int kDays = 3;

// Resident set of this process in MB, from the kernel's status file.
double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// The full fill runs for minutes, past QtTest's default limit of 300 s per test function.
// The limit is read once, when the first test function starts, so it is set before main;
// a limit given from outside stays.
constexpr const char *kTimeoutVariable = "QTEST_FUNCTION_TIMEOUT";
const bool kOwnTimeout = [] {
    if (qEnvironmentVariableIsSet(kTimeoutVariable))
        return false;
    qputenv(kTimeoutVariable, "3600000");
    return true;
}();

int fillPercent()
{
    bool ok = false;
    const int percent = qEnvironmentVariableIntValue("NRT52_BENCH_MEMORY_PERCENT", &ok);
    return ok && percent > 0 ? qMin(percent, 100) : 5;
}
}

class TestBenchMemory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_host.prepare(QStringLiteral("C:\\VELMORA\\NRT52\\Data"), 1));
        QVERIFY(m_host.addDevices(kDevices, kChannels));
        m_handler = m_host.createHandler();
        QCOMPARE(m_host.model()->rowCount(), kDevices * (kChannels + 1));
    }

    void cleanupTestCase()
    {
        m_host.teardown();
        if (kOwnTimeout)
            qunsetenv(kTimeoutVariable);
    }

    void threeDaysThenPrune()
    {
        const int percent = fillPercent();
        // Three days ending yesterday: the prune at today's start drops the first of them.
        const QDateTime start(QDate::currentDate().addDays(-kDays - 1), QTime(0, 0));
        const qint64 steps = qint64(kDays) * 86400 / kSecondsPerResult * percent / 100;
        const double before = residentMb();
        QElapsedTimer fill;
        fill.start();
        for (qint64 step = 0; step < steps; ++step) {
            // Each step is one 5 s cycle; the devices take turns within it.
            const QDateTime at = start.addSecs(step * kSecondsPerResult * 100 / percent);
            const QString time = at.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
            const int channel = int(step % kChannels);
            for (int f = 0; f < kDevices; ++f) {
                const QString level = QString::number(55.0 + ((step + f) % 200) / 10.0, 'f', 1);
                m_handler->onNotifyResponse(uint(f), ResultListHost::reply(
                    time, "ISDBT", QString::number(13 + channel), level, "30.1", "<1.0E-8"));
            }
        }
        const qint64 fillMs = fill.elapsed();
        const qint64 results = steps * kDevices;
        qint64 held = 0;
        for (int f = 0; f < kDevices; ++f) {
            for (int c = 0; c < kChannels; ++c)
                held += m_host.devices()->device(f)->measurementHistoryCount(c);
        }
        QCOMPARE(held, results);
        const double after = residentMb();
        qInfo("fill: %d %% of 3 days, %lld results in %lld ms", percent, results, fillMs);
        qInfo("memory: %.0f MB", after);
        qInfo("memory of the results: %.0f MB (%.0f B per result)", after - before,
              (after - before) * 1024 * 1024 / double(results));

        QElapsedTimer purge;
        purge.start();
        const int removed = LogPurge::pruneDevices(m_host.devices(), QDate::currentDate());
        const qint64 purgeMs = purge.elapsed();
        qInfo("purge: %lld ms", purgeMs);
        qInfo("purge removed %d results; memory after it: %.0f MB", removed, residentMb());
        QVERIFY(removed > 0);
        QVERIFY(removed < results);
    }

private:
    ResultListHost m_host;
    NotifyResponse *m_handler = nullptr;
};

QTEST_MAIN(TestBenchMemory)
#include "tst_bench_memory.moc"
