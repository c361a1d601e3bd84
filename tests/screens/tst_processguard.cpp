// ctest-label: frame display
// Whatever a test starts ends with it, however the test ends: a test process killed with
// SIGKILL while its program, the program's display and the demo devices run, and a test
// aborted by Qt's function timeout, leave none of their processes behind. The test runs
// itself as the helper that is killed (NRT52_GUARD_HELPER names what the helper does).
#include "support/ProcessGuard.h"
#include "support/ProgramOnDisplay.h"
#include "support/SimDevices.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <sys/types.h>

namespace {

const char *const HelperVariable = "NRT52_GUARD_HELPER";

void announce(const char *what, qint64 pid)
{
    std::printf("guard-test %s %lld\n", what, static_cast<long long>(pid));
    std::fflush(stdout);
}

// The helper that is killed: the program on its display with the demo devices, under root.
int runProgramHelper(const QString &root)
{
    ProgramOnDisplay screen;
    QProcess program;
    if (!screen.startDisplay() || !ProgramOnDisplay::makeDemoRoot(root) || !screen.startProgram(root, program))
        return 2;
    announce("guard", ProcessGuard::guardPid());
    announce("xvfb", screen.displayProcessId());
    announce("program", program.processId());
    const QJsonArray devices = QJsonDocument::fromJson(TestFiles::readBytes(root + "/sim/pids")).array();
    for (const QJsonValue &device : devices)
        announce("device", device.toObject().value("pid").toVariant().toLongLong());
    // Running: its log is written once it has its window.
    if (!QTest::qWaitFor([&] { return QFile::exists(root + "/work/pcapplication.log"); }, 60000))
        return 3;
    announce("ready", 0);
    QTest::qWait(600000);
    return 0;
}

// The helper aborted by Qt's function timeout while a display and a plain child run.
class TimedOutHelper : public QObject
{
    Q_OBJECT

private slots:
    void waitsPastTheTimeout()
    {
        ProgramOnDisplay screen;
        QVERIFY(screen.startDisplay());
        QProcess sleeper;
        sleeper.start(QStringLiteral("sleep"), {QStringLiteral("600")});
        QVERIFY(sleeper.waitForStarted());
        announce("guard", ProcessGuard::guardPid());
        announce("xvfb", screen.displayProcessId());
        announce("sleep", sleeper.processId());
        announce("ready", 0);
        QTest::qWait(600000);
    }
};

} // namespace

class TestProcessGuard : public QObject
{
    Q_OBJECT

private:
    // The helper run as mode; its announced PIDs by what they are, once it says "ready"
    // (empty with a failure when it never does).
    QMultiMap<QString, qint64> startHelper(QProcess &helper, const QString &mode, const QStringList &arguments,
                                           const QProcessEnvironment &extra = QProcessEnvironment())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(HelperVariable, mode);
        for (const QString &key : extra.keys())
            env.insert(key, extra.value(key));
        helper.setProcessEnvironment(env);
        helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        helper.start(QCoreApplication::applicationFilePath(), arguments);
        QMultiMap<QString, qint64> pids;
        bool ready = false;
        const bool came = QTest::qWaitFor([&] {
            while (helper.canReadLine()) {
                const QList<QByteArray> words = helper.readLine().trimmed().split(' ');
                if (words.size() == 3 && words[0] == "guard-test") {
                    ready = ready || words[1] == "ready";
                    pids.insert(QString::fromLatin1(words[1]), words[2].toLongLong());
                }
            }
            return ready || helper.state() == QProcess::NotRunning;
        }, 120000);
        if (!came || !ready) {
            QTest::qFail(qPrintable(QStringLiteral("the %1 helper did not say it was ready (exit %2)")
                                        .arg(mode).arg(helper.exitCode())),
                         __FILE__, __LINE__);
            return {};
        }
        pids.remove(QStringLiteral("ready"));
        return pids;
    }

    // Every announced process gone within a few seconds (the devices look for their owner
    // twice a second); the names of those still running otherwise.
    static QStringList leftBehind(const QMultiMap<QString, qint64> &pids)
    {
        QStringList left;
        // The names say what stays; whether the wait ended in time says nothing more.
        (void)QTest::qWaitFor([&] {
            left.clear();
            for (auto it = pids.cbegin(); it != pids.cend(); ++it) {
                if (SimDevices::isProcessRunning(it.value()))
                    left << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
            }
            return left.isEmpty();
        }, 15000);
        return left;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(ProgramOnDisplay::hasXvfb(), "Xvfb is not installed (scripts/install-deps.sh installs it)");
    }

    void killedTestLeavesNothing()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        QProcess helper;
        const QMultiMap<QString, qint64> pids = startHelper(helper, QStringLiteral("program"), {root.path() + "/demo"});
        if (QTest::currentTestFailed())
            return;
        QVERIFY(pids.value("guard") > 0);
        QVERIFY(pids.value("xvfb") > 0);
        QVERIFY(pids.value("program") > 0);
        QCOMPARE(pids.values("device").size(), 12); // three devices and the spare: agent, relay, FTP each
        for (qint64 pid : pids)
            QVERIFY2(SimDevices::isProcessRunning(pid), qPrintable(QString::number(pid)));

        QCOMPARE(::kill(pid_t(helper.processId()), SIGKILL), 0);
        QVERIFY(helper.waitForFinished(10000));
        const QStringList left = leftBehind(pids);
        QVERIFY2(left.isEmpty(), qPrintable("still running: " + left.join(", ")));
    }

    void timedOutTestLeavesNothing()
    {
        QProcess helper;
        QProcessEnvironment extra;
        extra.insert("QTEST_FUNCTION_TIMEOUT", "5000");
        const QMultiMap<QString, qint64> pids = startHelper(helper, QStringLiteral("timeout"), {}, extra);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(pids.size(), 3);
        // Qt's watchdog ends it, not this test.
        QVERIFY2(helper.waitForFinished(60000), "the timed-out helper did not end");
        QCOMPARE(helper.exitStatus(), QProcess::CrashExit);
        const QStringList left = leftBehind(pids);
        QVERIFY2(left.isEmpty(), qPrintable("still running: " + left.join(", ")));
    }
};

int main(int argc, char **argv)
{
    const QByteArray mode = qgetenv(HelperVariable);
    QCoreApplication app(argc, argv);
    if (mode == "program")
        return runProgramHelper(QCoreApplication::arguments().value(1));
    if (mode == "timeout") {
        TimedOutHelper helper;
        return QTest::qExec(&helper, QStringList {QCoreApplication::applicationFilePath()});
    }
    TestProcessGuard test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_processguard.moc"
