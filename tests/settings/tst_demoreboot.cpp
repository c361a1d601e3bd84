// ctest-label: settings
// The demo equipment of ./run.sh accepts the reboot from the system setting screen: the
// devices the demo script starts, with the FTP ports that run.sh hands to the program,
// receive the marker and fall silent.
#include "SystemSettingFixture.h"
#include "support/TestPaths.h"

#include <QProcess>

namespace {


QString run(const QString &program, const QStringList &arguments, int *exitCode)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString requestLog(const QString &root, int device)
{
    QFile file(QStringLiteral("%1/sim/%2/requests.log").arg(root).arg(device));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestDemoReboot : public QObject
{
    Q_OBJECT

    SystemSettingFixture f;

private slots:
    void initTestCase()
    {
        const QString missing = TestPaths::missingPrograms({QStringLiteral("curl")});
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QmlMessageGuard::install();
        QVERIFY(f.root.prepare());
    }

    void cleanupTestCase()
    {
        int code = 0;
        run(TestPaths::sourceDir() + QStringLiteral("/sim/simctl"), {QStringLiteral("stop"), QStringLiteral("--dir"),
                                                         f.root.path() + QStringLiteral("/sim")}, &code);
    }

    void demoDeviceReboots()
    {
        int code = -1;
        run(TestPaths::sourceDir() + QStringLiteral("/scripts/demo-devices.sh"), {f.root.path()}, &code);
        QCOMPARE(code, 0);
        // As run.sh does.
        const QString ports = run(TestPaths::sourceDir() + QStringLiteral("/sim/simctl"),
                                  {QStringLiteral("ftpports"), QStringLiteral("--dir"), f.root.path() + QStringLiteral("/sim")},
                                  &code);
        QCOMPARE(code, 0);
        QCOMPARE(ports.split(QLatin1Char(',')).size(), 4);
        qputenv("NRT52_FTP_PORTS", ports.toUtf8());
        QVERIFY(f.start());
        f.open();
        QCOMPARE(f.page()->property("devicename").toStringList().size(), 3);

        f.pageChild(QStringLiteral("deviceSelect"))->setProperty("currentIndex", 1);
        QVERIFY(f.click(QStringLiteral("rebootButton")));
        QVERIFY(f.click(QStringLiteral("popupYesButton")));
        QTRY_VERIFY_WITH_TIMEOUT(requestLog(f.root.path(), 2).contains(QStringLiteral("FTP STOR /data/.reboot")), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!f.screen()->isRebootRunning(), 10000);
        QTest::qWait(200);
        QVERIFY(!f.popupShown());
        QVERIFY(!requestLog(f.root.path(), 1).contains(QStringLiteral("FTP")));
        f.host->transit(QStringLiteral("Home.qml"));
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
    }
};

QTEST_MAIN(TestDemoReboot)
#include "tst_demoreboot.moc"
