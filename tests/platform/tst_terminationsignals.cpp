// ctest-label: core
// Termination signals become one Qt signal in the event loop; after it, and once the object
// is gone, the signals have their default action again.
#include "platform/TerminationSignals.h"

#include <QSignalSpy>
#include <QtTest>

#include <csignal>

namespace {
bool hasDefaultAction(int signalNumber)
{
    struct sigaction current {};
    return ::sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_DFL;
}
}

class TestTerminationSignals : public QObject
{
    Q_OBJECT

private slots:
    void signalBecomesOneRequest_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    void signalBecomesOneRequest()
    {
        QFETCH(int, signalNumber);
        TerminationSignals handler;
        QVERIFY(handler.isInstalled());
        QVERIFY(!hasDefaultAction(SIGTERM) && !hasDefaultAction(SIGINT) && !hasDefaultAction(SIGHUP));
        QSignalSpy requests(&handler, &TerminationSignals::terminationRequested);

        QCOMPARE(::raise(signalNumber), 0);
        QVERIFY(requests.wait(5000));
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.at(0).at(0).toInt(), signalNumber);
        // A second signal during the close would end the process at once.
        QVERIFY(hasDefaultAction(SIGTERM) && hasDefaultAction(SIGINT) && hasDefaultAction(SIGHUP));
    }

    void defaultsComeBackWithTheObject()
    {
        {
            TerminationSignals handler;
            QVERIFY(!hasDefaultAction(SIGTERM));
            // One per process: a second one installs nothing and leaves the first in place.
            TerminationSignals second;
            QVERIFY(!second.isInstalled());
        }
        QVERIFY(hasDefaultAction(SIGTERM) && hasDefaultAction(SIGINT) && hasDefaultAction(SIGHUP));
    }
};

QTEST_GUILESS_MAIN(TestTerminationSignals)
#include "tst_terminationsignals.moc"
