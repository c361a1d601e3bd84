// ctest-label: results
// Cost of one stored result in the GUI thread: parse, store, the result and history log
// lines, the list update and the threshold judgement (with the error log line and message
// when a threshold breaks), on a full list of 50 devices with 50 channels each.
// Reports figures only; it never fails on time.

#include "ResultListHost.h"
#include "support/TimeFigures.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {
constexpr int kDevices = 50;
constexpr int kChannels = 50;
constexpr int kResults = 2000;
}

class TestBenchStoreResult : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_host.prepare());
        QVERIFY(m_host.addDevices(kDevices, kChannels));
        m_handler = m_host.createHandler();
        QCOMPARE(m_host.model()->rowCount(), kDevices * (kChannels + 1));
    }

    void cleanupTestCase() { m_host.teardown(); }

    void storedResult_data()
    {
        QTest::addColumn<QString>("level");
        QTest::newRow("good values") << QStringLiteral("60.0");
        QTest::newRow("threshold broken") << QStringLiteral("30.0");
    }

    void storedResult()
    {
        QFETCH(QString, level);
        const QVector<QString> texts = replies(level);
        QSignalSpy stored(m_handler, &NotifyResponse::setResponseValueEnd);
        QVector<qint64> ns;
        ns.reserve(kResults);
        QElapsedTimer timer;
        for (int i = 0; i < kResults; ++i) {
            const uint device = uint((i / kChannels) % kDevices);
            timer.start();
            m_handler->onNotifyResponse(device, texts.at(i));
            ns << timer.nsecsElapsed();
        }
        QCOMPARE(stored.count(), kResults);
        const TimeFigures f = TimeFigures::ofNanoseconds(ns);
        qInfo("%s: one stored result over %d results: median %.1f us, p90 %.1f us, max %.1f us",
              QTest::currentDataTag(), kResults, f.median, f.p90, f.max);
    }

    // The same path under QBENCHMARK, for the usual benchmark output (the body is repeated).
    void storedResultBenchmark()
    {
        const QVector<QString> texts = replies(QStringLiteral("60.0"));
        int i = 0;
        QBENCHMARK {
            m_handler->onNotifyResponse(uint((i / kChannels) % kDevices), texts.at(i % kResults));
            ++i;
        }
    }

private:
    static QVector<QString> replies(const QString &level)
    {
        QVector<QString> texts;
        texts.reserve(kResults);
        for (int i = 0; i < kResults; ++i) {
            const QString time = QTime(9, 0).addSecs(i).toString(QStringLiteral("hh:mm:ss"));
            texts << ResultListHost::reply("2026/12/10 " + time, "ISDBT", QString::number(13 + i % kChannels),
                                           level, "30.1", "<1.0E-8");
        }
        return texts;
    }

    ResultListHost m_host;
    NotifyResponse *m_handler = nullptr;
};

QTEST_MAIN(TestBenchStoreResult)
#include "tst_bench_storeresult.moc"
