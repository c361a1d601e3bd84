// ctest-label: frame display
// A termination signal while the operator applies the device settings, in the program
// itself on a display of its own (Xvfb) with the demo's simulated devices: during the apply
// the close waits for the apply to end, so the registration written by the close and the
// plans the apply put into service are of one version; during the identity readout that
// follows, the close ends the readout and the program is gone within a few seconds. The
// program ends with code 0 both times. Fails where Xvfb is missing.
#include "support/ProgramOnDisplay.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/types.h>

namespace {

QByteArray readAll(const QString &path) { return TestFiles::readBytes(path); }

// Where the window, at the screen's top left, shows the home screen's device setting
// button and the device setting screen's apply button.
const QStringList DeviceSettingButton {QStringLiteral("165"), QStringLiteral("156")};
const QStringList ApplyButton {QStringLiteral("865"), QStringLiteral("385")};

} // namespace

class TestProgramSignals : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir root;
    ProgramOnDisplay screen;

    static QString logPath(const QString &path) { return path + "/work/pcapplication.log"; }
    static QString settingsPath(const QString &path) { return path + "/InternalReadOnly/CheckerSettings"; }
    static QString day() { return QDate::currentDate().toString("yyyyMMdd") + ".csv"; }

    static bool simFault(const QString &path, int device, const QString &mode, int delayMs)
    {
        return QProcess::execute(TestPaths::sourceDir() + "/sim/simctl",
                                 {"fault", "--dir", path + "/sim", "--device", QString::number(device), "--delay-ms",
                                  QString::number(delayMs), mode})
               == 0;
    }

    // A root made by the demo script (devices started), the program started on it and
    // measuring, then the device setting screen opened.
    void startOnDeviceSetting(const QString &path, QProcess &program)
    {
        QVERIFY(ProgramOnDisplay::makeDemoRoot(path));
        QVERIFY(screen.startProgram(path, program));

        const QString log1 = path + "/work/Data/LOG/機器No1/" + day();
        QTRY_VERIFY2_WITH_TIMEOUT(readAll(log1).count('\n') > 0,
                                  qPrintable("no result line of device 1 (the program's window or its measuring did not come)" + ProgramOnDisplay::lastWords(path)), 90000);
        QVERIFY(screen.runTool(QStringList {"click"} + DeviceSettingButton));
        // The device setting screen drawn: its apply button in its blue.
        const QString shown = screen.waitForColour(QPoint(ApplyButton.at(0).toInt(), ApplyButton.at(1).toInt()),
                                                   QColor(53, 80, 110), QStringLiteral("the device setting screen"));
        QVERIFY2(shown.isEmpty(), qPrintable(shown));
    }

    static void stopDevices(const QString &path) { ProgramOnDisplay::stopDevices(path); }

private slots:
    void initTestCase()
    {
        QVERIFY2(ProgramOnDisplay::hasXvfb(), "Xvfb is not installed (scripts/install-deps.sh installs it)");
        QVERIFY(root.isValid());
        QVERIFY2(screen.startDisplay(), "Xvfb did not come up");
    }

    // SIGTERM while the apply waits for a slow device: the apply ends first (its plan goes
    // into service), then the close stops the devices and writes the registration.
    void signalDuringApply()
    {
        const QString path = root.path() + "/apply";
        QProcess program;
        startOnDeviceSetting(path, program);
        if (QTest::currentTestFailed())
            return stopDevices(path);
        const QString plans = settingsPath(path) + "/MeasurementChannelSetting/";
        // Device 2 is given device 1's channels, with its own thresholds.
        const QByteArray newPlan = readAll(plans + "1.csv");
        QVERIFY(!newPlan.isEmpty() && newPlan != readAll(plans + "2.csv"));
        QVERIFY(TestFiles::writeBytes(plans + "2_new.csv", newPlan));
        const QString alerts = settingsPath(path) + "/AlertSetting/";
        QVERIFY(QFile::copy(alerts + "alert_2.csv", alerts + "alert_2_new.csv"));
        // Its stop selection takes the device a while.
        QVERIFY(simFault(path, 1, QStringLiteral("slow"), 800));

        QVERIFY(screen.runTool(QStringList {"click"} + ApplyButton));
        QTRY_VERIFY_WITH_TIMEOUT(readAll(logPath(path)).contains("[DeviceSettingViewModel] Enter applySettings"), 20000);
        QVERIFY(!readAll(logPath(path)).contains("[DeviceSettingViewModel] Leave applySettings"));
        QCOMPARE(::kill(pid_t(program.processId()), SIGTERM), 0);
        QVERIFY2(program.waitForFinished(30000), "the program did not end within 30 s");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);

        const QByteArray log = readAll(logPath(path));
        const int applied = log.indexOf("[DeviceSettingViewModel] Leave applySettings");
        const int closed = log.indexOf("[MainFrameViewModel] ウィンドウを閉じる");
        QVERIFY(applied > 0);
        QVERIFY2(closed > applied, "the close ran inside the apply");
        QVERIFY(log.contains("[main] アプリケーション終了"));
        QCOMPARE(readAll(plans + "2.csv"), newPlan);
        QVERIFY(!QFile::exists(plans + "2_new.csv"));
        // Written once, by the close, after the apply: all three devices, the ones the
        // apply restarted stopped by the close.
        const QByteArray registration = readAll(settingsPath(path) + "/DeviceRegistSetting.csv");
        QCOMPARE(registration.count('\n'), 4);
        stopDevices(path);
    }

    // SIGTERM while a device reads its identity slowly after the apply: the close ends the
    // readout instead of waiting for it, and the program is gone within 3 s.
    void signalDuringReadout()
    {
        const QString path = root.path() + "/readout";
        QProcess program;
        startOnDeviceSetting(path, program);
        if (QTest::currentTestFailed())
            return stopDevices(path);
        QVERIFY(simFault(path, 1, QStringLiteral("slow"), 700));
        QVERIFY(screen.runTool(QStringList {"click"} + ApplyButton));
        QTRY_VERIFY_WITH_TIMEOUT(readAll(logPath(path)).contains("[DeviceSettingViewModel] Leave applySettings"), 30000);
        QVERIFY(!readAll(logPath(path)).contains("[DeviceSettingViewModel] Enter endInformationReadout"));

        QElapsedTimer clock;
        clock.start();
        QCOMPARE(::kill(pid_t(program.processId()), SIGTERM), 0);
        QVERIFY2(program.waitForFinished(30000), "the program did not end within 30 s");
        const qint64 endMs = clock.elapsed();
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(endMs < 3000, qPrintable(QString::number(endMs)));
        QVERIFY(readAll(logPath(path)).contains("[main] アプリケーション終了"));
        stopDevices(path);
    }
};

QTEST_GUILESS_MAIN(TestProgramSignals)
#include "tst_programsignals.moc"
