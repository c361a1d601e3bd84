// ctest-label: settings
// The connection test of a device table row: the address as the table holds it, a real
// bounded ping of a live and of an unreachable address without blocking the event loop, the
// verdict on ping's output, and no process at all for a row without an address.
#include "settings/ConnectionTest.h"
#include "support/SilentLoopback.h"
#include "support/TestPaths.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

class TestConnectionTest : public QObject
{
    Q_OBJECT

    // Runs one test to its end; the verdict, or -1 when none came within the limit. startMs
    // is how long start() kept the caller: the window must not wait for ping.
    static int verdictOf(const QString &addressText, qint64 *startMs = nullptr)
    {
        ConnectionTest test;
        QSignalSpy done(&test, &ConnectionTest::finished);
        QElapsedTimer clock;
        clock.start();
        if (test.start(addressText) != ConnectionTest::Start::Started)
            return -1;
        if (startMs)
            *startMs = clock.elapsed();
        if (!done.wait(ConnectionTest::LimitMs + 2000) && done.isEmpty())
            return -1;
        return done.first().first().toBool() ? 1 : 0;
    }

private slots:
    void initTestCase()
    {
        const QString missing = TestPaths::missingPrograms({QStringLiteral("ping")});
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }

    void normalisedAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("leading zeros") << "192.168.001.010" << "192.168.1.10";
        QTest::newRow("blank mask") << "   .   .   .   " << "0.0.0.0";
        QTest::newRow("part typed with blanks") << "10 .0  .  1.2  " << "10.0.1.2";
        QTest::newRow("parts after the fourth") << "1.2.3.4.5" << "1.2.3.4";
        QTest::newRow("no numbers") << "a.b.c.d" << "0.0.0.0";
        QTest::newRow("cleared") << "" << "";
        QTest::newRow("three parts") << "192.168.1" << "";
        QTest::newRow("imported without dots") << "19216811" << "";
    }

    void normalisedAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(ConnectionTest::normalisedAddress(text), expected);
    }

    void verdict_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<bool>("answered");
        const QByteArray reply = "PING 192.168.100.200 (192.168.100.200) 56(84) bytes of data.\n"
                                 "64 bytes from 192.168.100.200: icmp_seq=1 ttl=64 time=0.4 ms\n\n"
                                 "--- 192.168.100.200 ping statistics ---\n1 packets transmitted, 1 received\n";
        QTest::newRow("reply, address past the 16th character") << 0 << reply << true;
        QTest::newRow("reply but failed status") << 1 << reply << false;
        QTest::newRow("no reply") << 1
            << QByteArray("PING 192.168.100.200 (192.168.100.200) 56(84) bytes of data.\n\n"
                          "--- 192.168.100.200 ping statistics ---\n1 packets transmitted, 0 received\n")
            << false;
        QTest::newRow("unreachable, told by a router") << 1
            << QByteArray("From 192.168.100.1 icmp_seq=1 Destination Host Unreachable\n") << false;
        QTest::newRow("reply from another host") << 0
            << QByteArray("64 bytes from 127.0.0.1: icmp_seq=1 ttl=64 time=0.03 ms\n") << false;
        QTest::newRow("nothing read") << 0 << QByteArray() << false;
    }

    void verdict()
    {
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QFETCH(bool, answered);
        QCOMPARE(ConnectionTest::isAnswered(exitCode, output, QStringLiteral("192.168.100.200")), answered);
    }

    void liveAddressAnswers()
    {
        qint64 startMs = -1;
        QCOMPARE(verdictOf(QStringLiteral("127.000.000.001"), &startMs), 1);
        QVERIFY2(startMs < 500, qPrintable(QString::number(startMs)));
    }

    void unreachableAddressFailsWithoutBlocking()
    {
        {
            // The ping goes out on loopback and no reply comes back.
            SilentLoopback silent;
            if (!silent.isActive())
                QSKIP(qPrintable(QStringLiteral("no network of its own: ") + silent.error()));
            qint64 startMs = -1;
            QElapsedTimer clock;
            clock.start();
            QCOMPARE(verdictOf(QStringLiteral("127.0.0.1"), &startMs), 0);
            QVERIFY2(startMs < 500, qPrintable(QString::number(startMs)));
            QVERIFY(clock.elapsed() < ConnectionTest::LimitMs);
        }
        // Back in the test's own network the same address answers again.
        QCOMPARE(verdictOf(QStringLiteral("127.0.0.1")), 1);
    }

    void blankMaskFails()
    {
        // ping on this platform takes 0.0.0.0 for the local host: its reply is not the row's.
        QCOMPARE(verdictOf(QStringLiteral("   .   .   .   ")), 0);
    }

    void rowWithoutAddressStartsNothing()
    {
        ConnectionTest test;
        QSignalSpy done(&test, &ConnectionTest::finished);
        QCOMPARE(test.start(QString()), ConnectionTest::Start::NoAddress);
        QCOMPARE(test.start(QStringLiteral("192.168.1")), ConnectionTest::Start::NoAddress);
        QVERIFY(!test.isRunning());
        QCOMPARE(test.processId(), qint64(0));
        QTest::qWait(100);
        QVERIFY(done.isEmpty());
    }

    void oneTestAtATime()
    {
        ConnectionTest test;
        QSignalSpy done(&test, &ConnectionTest::finished);
        QCOMPARE(test.start(QStringLiteral("127.0.0.1")), ConnectionTest::Start::Started);
        QCOMPARE(test.start(QStringLiteral("127.0.0.2")), ConnectionTest::Start::Busy);
        QVERIFY(done.wait(5000));
        QCOMPARE(test.address(), QStringLiteral("127.0.0.1"));
        QCOMPARE(done.size(), 1);
    }
};

QTEST_MAIN(TestConnectionTest)
#include "tst_connectiontest.moc"
