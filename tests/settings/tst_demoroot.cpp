// ctest-label: settings
// The demo equipment of ./run.sh on a later start: what the operator set in the demo root
// stays, and only the demo devices' addresses in the registration follow their new ports.
#include "support/TestFiles.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString run(const QString &program, const QStringList &arguments, int *exitCode)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

class TestDemoRoot : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString settings(const QString &relative) const
    {
        return dir.path() + QStringLiteral("/InternalReadOnly/CheckerSettings/") + relative;
    }

    QStringList startDevices()
    {
        int code = -1;
        run(TestPaths::sourceDir() + QStringLiteral("/scripts/demo-devices.sh"), {dir.path()}, &code);
        if (code != 0)
            return {};
        const QString addresses = run(TestPaths::sourceDir() + QStringLiteral("/sim/simctl"),
                                      {QStringLiteral("addresses"), QStringLiteral("--dir"), dir.path() + QStringLiteral("/sim")},
                                      &code);
        return addresses.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    void stopDevices()
    {
        int code = -1;
        run(TestPaths::sourceDir() + QStringLiteral("/sim/simctl"),
            {QStringLiteral("stop"), QStringLiteral("--dir"), dir.path() + QStringLiteral("/sim")}, &code);
    }

private slots:
    void cleanupTestCase() { stopDevices(); }

    void laterStartKeepsSettings()
    {
        QVERIFY(dir.isValid());
        const QStringList first = startDevices();
        QCOMPARE(first.size(), 3);
        const QByteArray registration = TestFiles::readBytes(settings(QStringLiteral("DeviceRegistSetting.csv")));
        QVERIFY(registration.contains(QStringLiteral("1,光受信点,%1,").arg(first.at(0)).toUtf8()));

        // The operator renames device 2, adds a device elsewhere, changes device 1's
        // thresholds and plan and removes device 3's plan.
        QByteArray edited = registration;
        edited.replace(QStringLiteral("2,衛星受信点,").toUtf8(), QStringLiteral("2,改名,").toUtf8());
        edited += "4,other,10.0.0.4,同軸,連続,常時,常時,1550,---,---,---,0,MER,MER\n";
        QVERIFY(TestFiles::writeBytes(settings(QStringLiteral("DeviceRegistSetting.csv")), edited));
        const QByteArray alert = "'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,HikariLevelMax,ConvertCNR\n"
                                 "0,13,40.0,95.0,22.0,3.0E-5,-12.0,1.0,23.0\n";
        QVERIFY(TestFiles::writeBytes(settings(QStringLiteral("AlertSetting/alert_1.csv")), alert));
        const QByteArray plan = "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n"
                                "0,13,473143,0,0,0,1\n";
        QVERIFY(TestFiles::writeBytes(settings(QStringLiteral("MeasurementChannelSetting/1.csv")), plan));
        QVERIFY(QFile::remove(settings(QStringLiteral("MeasurementChannelSetting/3.csv"))));
        stopDevices();

        const QStringList second = startDevices();
        QCOMPARE(second.size(), 3);
        QByteArray expected = edited;
        for (int i = 0; i < 3; ++i)
            expected.replace(QStringLiteral(",%1,").arg(first.at(i)).toUtf8(), QStringLiteral(",%1,").arg(second.at(i)).toUtf8());
        QCOMPARE(TestFiles::readBytes(settings(QStringLiteral("DeviceRegistSetting.csv"))), expected);
        QCOMPARE(TestFiles::readBytes(settings(QStringLiteral("AlertSetting/alert_1.csv"))), alert);
        QCOMPARE(TestFiles::readBytes(settings(QStringLiteral("MeasurementChannelSetting/1.csv"))), plan);
        QVERIFY(!QFile::exists(settings(QStringLiteral("MeasurementChannelSetting/3.csv"))));
    }
};

QTEST_MAIN(TestDemoRoot)
#include "tst_demoroot.moc"
