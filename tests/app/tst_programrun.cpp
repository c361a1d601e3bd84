// ctest-label: frame display
// The program end to end on a display of its own (Xvfb), as ./run.sh shows it: three
// simulated devices from the demo script (one silent) are measured from the start, the
// window is closed with "はい", and the program ends having written the registration and
// its end lines. Fails where Xvfb is missing.
#include "support/ProgramOnDisplay.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <csignal>
#include <sys/types.h>

namespace {

QByteArray readAll(const QString &path) { return TestFiles::readBytes(path); }

int lineCount(const QString &path)
{
    return readAll(path).count('\n');
}

} // namespace

class TestProgramRun : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir root;
    ProgramOnDisplay screen;

private slots:
    void initTestCase()
    {
        QVERIFY2(ProgramOnDisplay::hasXvfb(), "Xvfb is not installed (scripts/install-deps.sh installs it)");
        QVERIFY(root.isValid());
        QVERIFY2(screen.startDisplay(), "Xvfb did not come up");
    }

    void cleanupTestCase()
    {
        ProgramOnDisplay::stopDevices(root.path());
    }

private:
    // A root made by the demo script (devices started), and the program started on it.
    void startProgram(const QString &path, QProcess &program, QByteArray *registration)
    {
        QVERIFY(ProgramOnDisplay::makeDemoRoot(path));
        *registration = readAll(registrationPath(path));
        QCOMPARE(registration->count('\n'), 4);
        QVERIFY(screen.startProgram(path, program));

        // Measured from the start: the result logs of the answering devices grow.
        const QString log1 = path + "/work/Data/LOG/機器No1/" + day();
        const QString log2 = path + "/work/Data/LOG/機器No2/" + day();
        QTRY_VERIFY2_WITH_TIMEOUT(lineCount(log1) > 0 && lineCount(log2) > 0,
                                  qPrintable("no result lines of devices 1 and 2 (the program's window or its measuring did not come)" + ProgramOnDisplay::lastWords(path)),
                                  90000);
        const int before = lineCount(log1);
        QTRY_VERIFY2_WITH_TIMEOUT(lineCount(log1) > before, "no further result line of device 1", 30000);
    }

    // What every end of the program leaves: the registration written back as read
    // (numbered by position, addresses with their ports, measuring), the end lines of both
    // logs, and no lock file.
    void verifyEnded(const QString &path, const QByteArray &registration)
    {
        QCOMPARE(readAll(registrationPath(path)), registration);
        const QString logText = QString::fromUtf8(readAll(path + "/work/pcapplication.log"));
        QVERIFY(logText.contains("[MainFrameViewModel] ウィンドウを閉じる"));
        QVERIFY(logText.contains("[main] アプリケーション終了"));
        const QString workLog = QTextCodec::codecForName("Shift-JIS")->toUnicode(
            readAll(path + "/InternalReadOnly/WORK_LOG/" + day()));
        for (int n = 1; n <= 3; ++n) {
            QVERIFY(workLog.contains(QStringLiteral(",機器No.%1,自動で測定開始\r\n").arg(n)));
            QVERIFY(workLog.contains(QStringLiteral(",機器No.%1,開始状態で終了\r\n").arg(n)));
        }
        QVERIFY(workLog.endsWith(QStringLiteral(",,アプリケーションを終了\r\n")));
        QCOMPARE(QDir(path + "/tmp").entryList(QDir::Files | QDir::Hidden), QStringList());
        ProgramOnDisplay::stopDevices(path);
    }

    static QString registrationPath(const QString &path)
    {
        return path + "/InternalReadOnly/CheckerSettings/DeviceRegistSetting.csv";
    }

    static QString day() { return QDate::currentDate().toString("yyyyMMdd") + ".csv"; }

private slots:
    void measureAndClose()
    {
        const QString path = root.path() + "/closed";
        QProcess program;
        QByteArray registration;
        startProgram(path, program, &registration);
        if (QTest::currentTestFailed())
            return;

        // The window, as shown (kept in the build folder for a look); then the close
        // request and "はい" of the question, which is centred in the page area of the
        // window at the screen's top left.
        QProcess::execute("import", {"-display", screen.display(), "-window", "root", TestPaths::buildDir() + "/program-home.png"});
        QVERIFY(screen.runTool({"close", "NRT52"}));
        // The question over the dimmed window (its header bar greyed), and the program still
        // running under it.
        const QString asked = screen.waitForColour(QPoint(500, 20), QColor(38, 49, 63), QStringLiteral("the close question"));
        QVERIFY2(asked.isEmpty(), qPrintable(asked));
        QCOMPARE(program.state(), QProcess::Running);
        QVERIFY(screen.runTool({"click", "443", "314"}));
        QVERIFY2(program.waitForFinished(30000), "the program did not end within 30 s");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        verifyEnded(path, registration);
    }

    // SIGTERM, as at logout or from a service manager, takes the same close path without
    // the question.
    void terminatedBySignal()
    {
        const QString path = root.path() + "/terminated";
        QProcess program;
        QByteArray registration;
        startProgram(path, program, &registration);
        if (QTest::currentTestFailed())
            return;

        QCOMPARE(::kill(pid_t(program.processId()), SIGTERM), 0);
        QVERIFY2(program.waitForFinished(30000), "the program did not end within 30 s");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        verifyEnded(path, registration);
        QVERIFY(readAll(path + "/work/pcapplication.log").contains("[main] Signal 15: closing"));
    }
};

QTEST_GUILESS_MAIN(TestProgramRun)
#include "tst_programrun.moc"
