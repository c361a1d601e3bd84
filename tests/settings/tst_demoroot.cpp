// ctest-label: settings
// The demo equipment of ./run.sh: three registered devices told apart by their addresses
// (each its own loopback address at port 161 where that can be bound) and a spare one left
// for the operator to add. On a later start what the operator set in the demo root stays,
// and only the demo devices' addresses in the registration follow their new ports.
#include "support/TestFiles.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QHostAddress>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

namespace {

QString run(const QString &program, const QStringList &arguments, int *exitCode, QString *errors = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// An address as the registration holds it: the standard port left off.
QString registered(const QString &address)
{
    return address.endsWith(QLatin1String(":161")) ? address.chopped(4) : address;
}

// Whether this process could serve the standard SNMP port on the demo's first address.
bool port161Free()
{
    QUdpSocket socket;
    return socket.bind(QHostAddress(QStringLiteral("127.0.0.11")), 161);
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

    QString output;
    QString errors;

    // Every device's address, the spare last.
    QStringList startDevices()
    {
        int code = -1;
        output = run(TestPaths::sourceDir() + QStringLiteral("/scripts/demo-devices.sh"), {dir.path()}, &code, &errors);
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
        const bool ownAddresses = port161Free();
        const QStringList first = startDevices();
        QCOMPARE(first.size(), 4);
        const QByteArray registration = TestFiles::readBytes(settings(QStringLiteral("DeviceRegistSetting.csv")));
        const QList<QByteArray> rows = registration.trimmed().split('\n');
        QCOMPARE(rows.size(), 4);
        QSet<QString> hosts;
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(rows.at(i + 1).split(',').value(2) == registered(first.at(i)).toUtf8(), rows.at(i + 1).constData());
            hosts.insert(first.at(i).section(QLatin1Char(':'), 0, 0));
        }
        QVERIFY(!registration.contains(QStringLiteral(",%1").arg(registered(first.at(3))).toUtf8()));
        if (ownAddresses) {
            // Each its own address, all at the port a typed row gets; the spare named to the operator.
            QCOMPARE(first, (QStringList {"127.0.0.11:161", "127.0.0.12:161", "127.0.0.13:161", "127.0.0.14:161"}));
            QVERIFY2(output.contains(QStringLiteral("spare device, not registered: 127.0.0.14")), qPrintable(output));
            QVERIFY2(errors.isEmpty(), qPrintable(errors));
        } else {
            // Where the port is taken or forbidden: free ports of one address, and said so.
            QCOMPARE(hosts, QSet<QString> {QStringLiteral("127.0.0.1")});
            QVERIFY2(errors.contains(QStringLiteral("port 161 cannot be bound")), qPrintable(errors));
        }
        QCOMPARE(QSet<QString>(first.begin(), first.end()).size(), 4);

        // The operator renames device 2, adds the spare and a device elsewhere, changes device 1's
        // thresholds and plan and removes device 3's plan. The demo devices are named by
        // addresses of an earlier start, on free ports of one address, so that the next start
        // has to move them wherever it puts the devices.
        const QStringList earlier {"127.0.0.1:40001", "127.0.0.1:40002", "127.0.0.1:40003", first.at(3)};
        QByteArray edited = registration;
        for (int i = 0; i < 3; ++i)
            edited.replace(QStringLiteral(",%1,").arg(registered(first.at(i))).toUtf8(), QStringLiteral(",%1,").arg(earlier.at(i)).toUtf8());
        QVERIFY(TestFiles::writeBytes(dir.path() + QStringLiteral("/demo-peers"), earlier.join(QLatin1Char('\n')).toUtf8() + '\n'));
        edited.replace(QStringLiteral("2,衛星受信点,").toUtf8(), QStringLiteral("2,改名,").toUtf8());
        edited += "4,other,10.0.0.4,同軸,連続,常時,常時,1550,---,---,---,0,MER,MER\n";
        edited += QStringLiteral("5,予備,%1,同軸,連続,常時,常時,1550,---,---,---,0,MER,MER\n").arg(first.at(3)).toUtf8();
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
        QCOMPARE(second.size(), 4);
        QByteArray expected = edited;
        // A device that kept its address keeps its row as written.
        for (int i = 0; i < 4; ++i)
            if (registered(earlier.at(i)) != registered(second.at(i)))
                expected.replace(QStringLiteral(",%1,").arg(earlier.at(i)).toUtf8(), QStringLiteral(",%1,").arg(registered(second.at(i))).toUtf8());
        QCOMPARE(TestFiles::readBytes(settings(QStringLiteral("DeviceRegistSetting.csv"))), expected);
        QCOMPARE(TestFiles::readBytes(settings(QStringLiteral("AlertSetting/alert_1.csv"))), alert);
        QCOMPARE(TestFiles::readBytes(settings(QStringLiteral("MeasurementChannelSetting/1.csv"))), plan);
        QVERIFY(!QFile::exists(settings(QStringLiteral("MeasurementChannelSetting/3.csv"))));
    }
};

QTEST_MAIN(TestDemoRoot)
#include "tst_demoroot.moc"
