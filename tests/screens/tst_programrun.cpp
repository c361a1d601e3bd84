// ctest-label: frame
// The program end to end on a display of its own (Xvfb), as ./run.sh shows it: three
// simulated devices from the demo script (one silent) are measured from the start, the
// window is closed with "はい", and the program ends having written the registration and
// its end lines. Skips where Xvfb is missing.
#include "support/TestPaths.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <csignal>
#include <sys/types.h>

namespace {

QString sourceDir() { return TestPaths::sourceDir(); }
QString buildDir() { return TestPaths::buildDir(); }

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int lineCount(const QString &path)
{
    return readAll(path).count('\n');
}

bool copyTree(const QString &from, const QString &to)
{
    QDir source(from);
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo &entry : source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            if (!copyTree(entry.filePath(), target))
                return false;
        } else if (entry.fileName() != QLatin1String(".keep") && !QFile::copy(entry.filePath(), target)) {
            return false;
        }
    }
    return true;
}

} // namespace

class TestProgramRun : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir root;
    QProcess xvfb;
    QString display;

    bool runTool(const QStringList &arguments)
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("python3"), QStringList {sourceDir() + "/tests/screens/xwindow.py"} + arguments);
        return tool.waitForFinished(60000) && tool.exitCode() == 0;
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            QSKIP("Xvfb is not installed");
        QVERIFY(root.isValid());
        xvfb.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-ac"});
        QVERIFY(xvfb.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(xvfb.canReadLine(), 10000);
        display = QLatin1Char(':') + QString::fromLatin1(xvfb.readLine().trimmed());
    }

    void cleanupTestCase()
    {
        QProcess::execute(sourceDir() + "/sim/simctl", {"stop", "--dir", root.path() + "/sim"});
        if (xvfb.state() != QProcess::NotRunning) {
            xvfb.terminate();
            xvfb.waitForFinished(5000);
        }
    }

private:
    // A root made by the demo script (devices started), and the program started on it.
    void startProgram(const QString &path, QProcess &program, QByteArray *registration)
    {
        QVERIFY(copyTree(sourceDir() + "/demo/root", path));
        QVERIFY(QFile::copy(sourceDir() + "/sim/VEDIRUDO-ZER", path + "/InternalReadOnly/Mibs/Vm/VEDIRUDO-ZER"));
        QVERIFY(QDir().mkpath(path + "/work") && QDir().mkpath(path + "/tmp"));
        QCOMPARE(QProcess::execute(sourceDir() + "/scripts/demo-devices.sh", {path}), 0);
        *registration = readAll(registrationPath(path));
        QCOMPARE(registration->count('\n'), 4);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        env.remove("QT_QUICK_BACKEND");
        env.insert("DISPLAY", display);
        env.insert("NRT52_ROOT", path);
        env.insert("TMPDIR", path + "/tmp");
        // Under the sanitizer suite the program is checked for memory errors; its leaks are
        // checked in-process by the frame tests, whose fully unwound stacks would make this
        // run too slow.
        if (env.contains("ASAN_OPTIONS"))
            env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":fast_unwind_on_malloc=1:detect_leaks=0");
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(path + "/work");
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.setStandardOutputFile(path + "/program.out");
        program.start(buildDir() + "/nrt52", QStringList());
        QVERIFY(program.waitForStarted());

        // Measured from the start: the result logs of the answering devices grow.
        const QString log1 = path + "/work/Data/LOG/機器No1/" + day();
        const QString log2 = path + "/work/Data/LOG/機器No2/" + day();
        QTRY_VERIFY_WITH_TIMEOUT(lineCount(log1) > 0 && lineCount(log2) > 0, 120000);
        const int before = lineCount(log1);
        QTRY_VERIFY_WITH_TIMEOUT(lineCount(log1) > before, 60000);
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
        QProcess::execute(sourceDir() + "/sim/simctl", {"stop", "--dir", path + "/sim"});
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
        QProcess::execute("import", {"-display", display, "-window", "root", buildDir() + "/program-home.png"});
        QVERIFY(runTool({"close", "NRT52"}));
        QTest::qWait(1000);
        QCOMPARE(program.state(), QProcess::Running);
        QVERIFY(runTool({"click", "443", "314"}));
        QVERIFY(program.waitForFinished(60000));
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
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        verifyEnded(path, registration);
        QVERIFY(readAll(path + "/work/pcapplication.log").contains("[main] Signal 15: closing"));
    }
};

QTEST_GUILESS_MAIN(TestProgramRun)
#include "tst_programrun.moc"
