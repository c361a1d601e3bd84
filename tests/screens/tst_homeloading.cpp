// ctest-label: frame
// Start-up loading by the home view model from a settings folder as Windows leaves it:
// CR LF files, both registration layouts, ports, blank and short lines, files missing here
// and there, settings clamped, and which devices start measuring.
#include "FrameHost.h"

#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "screens/HomeViewModel.h"

namespace {

QByteArray crlf(const QString &text)
{
    return text.toUtf8().replace("\n", "\r\n");
}

const QString Header14 = QStringLiteral(
    "No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
    "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n");
const QString Header11 = QStringLiteral(
    "No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,"
    "シリアルナンバー,MACアドレス,バージョン,測定状態\n");
const QString PlanHeader = QStringLiteral(
    "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n");
const QString AlertHeader = QStringLiteral(
    "'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,HikariLevelMax,ConvertCNR\n");

} // namespace

class TestHomeLoading : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FrameRoot> root;

    DeviceList *list(ApplicationModel &app) { return app.deviceList(); }

    void writePlansAndAlerts()
    {
        // Device 1: CATV C24 at 233 MHz, one channel not measured, a short and a blank line.
        QVERIFY(root->writeSetting("MeasurementChannelSetting/1.csv",
                                   crlf(PlanHeader + "5,C24,233000,3,0,0,1\n"
                                                     "5,C25,237000,3,0,0,0\n"
                                                     "5,C26\n"
                                                     "\n"
                                                     "0,13,473142,0,0,1,yes\n")));
        // Device 2: CATV without C24 or 8: its variants start at 0, not at device 1's.
        QVERIFY(root->writeSetting("MeasurementChannelSetting/2.csv",
                                   crlf(PlanHeader + "5,C27,243000,3,0,0,1\n"
                                                     "8,JD1,11727000,0,10678000,1,1\n")));
        // Device 3 has a plan but no address; device 4 has no plan file at all.
        QVERIFY(root->writeSetting("MeasurementChannelSetting/3.csv", crlf(PlanHeader + "0,20,515142,0,0,0,1\n")));
        // Thresholds: device 1 full, then an older short row and every later row short too.
        QVERIFY(root->writeSetting("AlertSetting/alert_1.csv",
                                   crlf(AlertHeader + "5,C24,<47.0,>81.0,<30.0,>1.0E-4,<-8.0,>2.0,<25.0\n"
                                                      "0,1 3,<47.0,>81.0,<25.0,>2.0E-4\n"
                                                      "\n"
                                                      "5,C9,<47.0,>81.0,<30.0,>1.0E-4,<-8.0,>2.0,<25.0\n"
                                                      "5,X\n")));
        QVERIFY(root->writeSetting("AlertSetting/alert_3.csv", crlf(AlertHeader + "0,20,40,90,20,1.0E-3,-9,1,22\n")));
        QVERIFY(root->writeSetting("application_setting.ini",
                                   "[PollingInterval]\r\nFirstRecv=500\r\nUhfRecv=12000\r\nBsRecv=6000\r\n"
                                   "[ChMonitoring]\r\nChMonitoring=3\r\n"
                                   "[ChannelCountChange]\r\nChannelCountFlg=1\r\n"));
    }

private slots:
    void init()
    {
        root.reset(new FrameRoot);
        QVERIFY(root->prepare());
    }

    void cleanup()
    {
        root.reset();
    }

    void loadRoot_data()
    {
        QTest::addColumn<QString>("registration");
        QTest::addColumn<bool>("currentLayout");

        // Device 1 on its own port; a blank line; a number that is no number; a device without
        // address; a device cut short, with a cycle the device setting screen does not offer.
        QTest::newRow("14 columns")
            << Header14 + QStringLiteral("1,光受信点,127.0.0.2:16161,光,連続,常時,常時,1310,SN1,MAC1,FW1,0,CNR,MER\n"
                                         "\n"
                                         "No2,衛星,127.0.0.3,同軸,5分,08:00,20:00,1550,SN2,MAC2,FW2,0,MER,CNR\n"
                                         "3,無アドレス,0.0.0.0,同軸,15分,常時,常時,1625,---,---,---,0,MER,MER\n"
                                         "9,計画なし,127.0.0.5,同軸,10分,常時,常時,1550,SN4,MAC4,FW4\n")
            << true;
        QTest::newRow("11 columns")
            << Header11 + QStringLiteral("1,光受信点,127.0.0.2:16161,光,連続,常時,常時,SN1,MAC1,FW1,0\n"
                                         "\n"
                                         "No2,衛星,127.0.0.3,同軸,5分,08:00,20:00,SN2,MAC2,FW2,0\n"
                                         "3,無アドレス,0.0.0.0,同軸,15分,常時,常時,---,---,---,0\n"
                                         "9,計画なし,127.0.0.5,同軸,10分,常時,常時,SN4,MAC4,FW4,0\n")
            << false;
    }

    void loadRoot()
    {
        QFETCH(QString, registration);
        QFETCH(bool, currentLayout);
        QVERIFY(root->writeSetting("DeviceRegistSetting.csv", crlf(registration)));
        writePlansAndAlerts();

        ApplicationModel app(0, nullptr);
        HomeViewModel home(ScreenHome, &app, nullptr);
        QVERIFY(!home.isLockFailed());
        DeviceList *devices = list(app);
        QCOMPARE(devices->deviceCount(), 4);

        const QStringList names {"光受信点", "衛星", "無アドレス", "計画なし"};
        // The kept-stopped device is given no address, so that nothing polls it.
        const QStringList addresses {"127.0.0.2", "127.0.0.3", "0.0.0.0", "0.0.0.0"};
        const QList<int> ports {16161, 161, 161, 161};
        const QList<bool> measurable {true, true, false, false};
        for (int i = 0; i < 4; ++i) {
            LevelChecker *device = devices->device(i);
            QCOMPARE(device->deviceNo(), i + 1);
            QCOMPARE(device->name(), names.at(i));
            QCOMPARE(device->ipAddress(), addresses.at(i));
            QCOMPARE(device->port(), ports.at(i));
            QCOMPARE(QString::fromLatin1(device->community()), QStringLiteral("kv52gate"));
            // A row with values the device setting screen refuses is kept stopped.
            QCOMPARE(device->measurementState(), i == 3 ? 1 : 0);
            QCOMPARE(device->isMeasurable(), measurable.at(i));
            // Only what can be measured starts, in list order.
            QCOMPARE(device->isMonitoring(), measurable.at(i));
        }

        LevelChecker *first = devices->device(0);
        QCOMPARE(first->inputTypeText(), QStringLiteral("光"));
        QCOMPARE(first->cycleIntervalText(), QStringLiteral("連続"));
        QCOMPARE(first->wavelengthText(), currentLayout ? QStringLiteral("1310") : QStringLiteral("1550"));
        QCOMPARE(first->terrestrialMerCnText(), currentLayout ? QStringLiteral("CNR") : QStringLiteral("MER"));
        QCOMPARE(first->serialNumber(), QStringLiteral("SN1"));
        QCOMPARE(first->firmwareVersion(), QStringLiteral("FW1"));
        // Each row's columns went to its own device.
        QCOMPARE(devices->device(1)->serialNumber(), QStringLiteral("SN2"));
        QCOMPARE(devices->device(1)->startTime(), QStringLiteral("08:00"));
        QCOMPARE(devices->device(1)->catvMerCnText(), currentLayout ? QStringLiteral("CNR") : QStringLiteral("MER"));
        QCOMPARE(devices->device(3)->serialNumber(), QStringLiteral("SN4"));
        // A cycle text the table lacks reads as "連続" (the device is kept stopped).
        QCOMPARE(devices->device(3)->cycleIntervalText(), QStringLiteral("連続"));

        // Plans: measured rows only; the frequency less the local oscillator.
        QCOMPARE(first->channelSettingCount(), 2);
        QCOMPARE(first->channelSetting(0).channel, QStringLiteral("C24"));
        QCOMPARE(first->channelSetting(1).channel, QStringLiteral("13"));
        QCOMPARE(first->settingFileName(), QStringLiteral("1.csv"));
        QCOMPARE(first->c24FrequencyType(), 1);
        LevelChecker *second = devices->device(1);
        QCOMPARE(second->channelSettingCount(), 2);
        QCOMPARE(second->c24FrequencyType(), 0);
        QCOMPARE(second->ch8FrequencyType(), 0);
        QCOMPARE(devices->device(3)->channelSettingCount(), 0);
        QCOMPARE(devices->device(3)->settingFileName(), QString());

        // Thresholds: marks removed; from the first short row on, the older defaults.
        QCOMPARE(first->alertSettingCount(), 3);
        QCOMPARE(first->alertSetting(0).levelMin, QStringLiteral("47.0"));
        QCOMPARE(first->alertSetting(0).ber, QStringLiteral("1.0E-4"));
        QCOMPARE(first->alertSetting(0).convertCnr, QStringLiteral("25.0"));
        QCOMPARE(first->alertSetting(1).channel, QStringLiteral("13"));
        QCOMPARE(first->alertSetting(1).hikariLevelMin, QStringLiteral("-10.0"));
        QCOMPARE(first->alertSetting(1).convertCnr, QStringLiteral("21.0"));
        QCOMPARE(first->alertSetting(2).convertCnr, QStringLiteral("21.0"));
        QCOMPARE(second->alertSettingCount(), 0);

        const QStringList log = root->logMessages();
        QVERIFY(log.contains("[HomeViewModel] MeasurementChannel 4.csv read ERROR"));
        QVERIFY(log.contains("[HomeViewModel] AlertSetting alert_2.csv read ERROR"));
        QVERIFY(log.contains("[HomeViewModel] AlertSetting alert_4.csv read ERROR"));
        QVERIFY(log.contains("[HomeViewModel] Leave DeviceListFileRead"));
    }

    void settingsAreClampedIntoEveryDevice()
    {
        QVERIFY(root->writeSetting("DeviceRegistSetting.csv",
                                   crlf(Header14 + "1,A,127.0.0.2:16161,同軸,連続,常時,常時,1550,,,,1,MER,MER\n")));
        writePlansAndAlerts();
        ApplicationModel app(0, nullptr);
        HomeViewModel home(ScreenHome, &app, nullptr);
        const ApplicationSetting settings = home.currentSettings();
        QCOMPARE(settings.firstRecv, 1000);
        QCOMPARE(settings.powerRecv, 1000);
        QCOMPARE(settings.uhfRecv, 10000);
        QCOMPARE(settings.bsRecv, 6000);
        QCOMPARE(settings.csRecv, 4000);
        QCOMPARE(settings.chMonitoring, 1);
        QCOMPARE(settings.channelCountFlg, 1);
        const ApplicationSetting copy = app.deviceList()->device(0)->applicationSetting();
        QCOMPARE(copy.firstRecv, 1000);
        QCOMPARE(copy.uhfRecv, 10000);
        QCOMPARE(copy.bsRecv, 6000);
        QCOMPARE(copy.pilotRecv, 4000);
        QCOMPARE(copy.chMonitoring, 1);
        // A stopped device is not started even though it can be measured.
        QVERIFY(app.deviceList()->device(0)->isMeasurable());
        QVERIFY(!app.deviceList()->device(0)->isMonitoring());
    }

    void missingFiles()
    {
        ApplicationModel app(0, nullptr);
        HomeViewModel home(ScreenHome, &app, nullptr);
        QCOMPARE(app.deviceList()->deviceCount(), 0);
        const QStringList log = root->logMessages();
        QVERIFY(log.contains("[HomeViewModel] DeviceRegistSetting.csv read ERROR"));
        QVERIFY(!log.contains("[HomeViewModel] Leave DeviceListFileRead"));
        QVERIFY(log.contains("[HomeViewModel] Leave HomeViewModel"));
        // No settings file: every interval at its lower bound.
        QCOMPARE(home.currentSettings().firstRecv, 1000);
        QCOMPARE(home.currentSettings().fmRecv, 4000);
        QCOMPARE(home.currentSettings().chMonitoring, 0);
    }

    void withoutApplicationObject()
    {
        // Nothing is loaded and the lock is not even tried.
        HomeViewModel home(ScreenHome, nullptr, nullptr);
        QVERIFY(!home.isLockFailed());
        QVERIFY(!QFile::exists(HomeViewModel::lockFilePath()));
        QCOMPARE(home.objectName(), QStringLiteral("HomeViewModel"));
    }
};

QTEST_MAIN(TestHomeLoading)
#include "tst_homeloading.moc"
