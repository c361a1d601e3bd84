// ctest-label: frame
// Loading a device's committed plan and thresholds: when the device takes the plan's file
// name, and that a file which cannot be read leaves the device as it was.
#include "monitor/LevelChecker.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"
#include "storage/DevicePlanLoader.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kPlanHeader =
    "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n";
const QByteArray kAlertHeader =
    "'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,HikariLevelMax,ConvertCNR\n";
const QString kGivenName = QStringLiteral("given.csv");

using Naming = DevicePlanLoader::Naming;

} // namespace

class TestDevicePlanLoader : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(root.isValid());
        savedRoot = qgetenv("NRT52_ROOT");
        hadRoot = qEnvironmentVariableIsSet("NRT52_ROOT");
        qputenv("NRT52_ROOT", root.path().toUtf8());
    }

    void cleanupTestCase()
    {
        if (hadRoot)
            qputenv("NRT52_ROOT", savedRoot);
        else
            qunsetenv("NRT52_ROOT");
    }

    void loadPlan_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no file
        QTest::addColumn<int>("naming");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("channels");

        const QByteArray twoChannels = kPlanHeader + "5,C24,233000,3,0,0,1\n0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n";
        QTest::newRow("channels, every plan named") << twoChannels << int(Naming::EveryPlan) << true << "4.csv" << 2;
        QTest::newRow("channels, named with channels") << twoChannels << int(Naming::PlanWithChannels) << true << "4.csv" << 2;
        // An empty plan replaces the device's channels either way; only the name differs.
        QTest::newRow("empty plan, every plan named") << kPlanHeader << int(Naming::EveryPlan) << true << "4.csv" << 0;
        QTest::newRow("empty plan, keeps its name") << kPlanHeader << int(Naming::PlanWithChannels) << true << kGivenName << 0;
        QTest::newRow("no file, every plan") << QByteArray() << int(Naming::EveryPlan) << false << kGivenName << 1;
        QTest::newRow("no file, with channels") << QByteArray() << int(Naming::PlanWithChannels) << false << kGivenName << 1;
    }

    void loadPlan()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, naming);
        QFETCH(bool, loaded);
        QFETCH(QString, name);
        QFETCH(int, channels);

        const int deviceNo = 4;
        QFile::remove(ChannelSettingFile::filePath(deviceNo));
        if (!file.isEmpty())
            QVERIFY(TestFiles::writeBytes(ChannelSettingFile::filePath(deviceNo), file));
        LevelChecker device(deviceNo, QStringLiteral("A"), nullptr, 0, kGivenName, 0, QString(), QString(), 3);
        ChannelSettingRow old;
        old.channel = QStringLiteral("old");
        device.addChannelSetting(old);

        bool named = !loaded;
        QCOMPARE(DevicePlanLoader::loadPlan(&device, deviceNo, Naming(naming), &named), loaded);
        QCOMPARE(named, name != kGivenName);
        QCOMPARE(device.settingFileName(), name);
        QCOMPARE(device.channelSettingCount(), channels);
        QVERIFY(!DevicePlanLoader::loadPlan(nullptr, deviceNo, Naming(naming)));
    }

    void loadThresholds()
    {
        const int deviceNo = 6;
        LevelChecker device(deviceNo, QStringLiteral("A"), nullptr, 0, kGivenName, 0, QString(), QString(), 3);
        AlertSettingRow kept;
        kept.channel = QStringLiteral("kept");
        device.addAlertSetting(kept);
        QVERIFY(!DevicePlanLoader::loadThresholds(&device, deviceNo));
        QCOMPARE(device.alertSettingCount(), 1);

        QVERIFY(TestFiles::writeBytes(AlertSettingFile::filePath(deviceNo),
                                      kAlertHeader + "0,13,40,80,30,1.0E-4,,,\n0,14,40,80,30,1.0E-4,,,\n"));
        QVERIFY(DevicePlanLoader::loadThresholds(&device, deviceNo));
        QCOMPARE(device.alertSettingCount(), 2);
        QVERIFY(!DevicePlanLoader::loadThresholds(nullptr, deviceNo));
    }

private:
    QTemporaryDir root;
    QByteArray savedRoot;
    bool hadRoot = false;
};

QTEST_GUILESS_MAIN(TestDevicePlanLoader)
#include "tst_deviceplanloader.moc"
