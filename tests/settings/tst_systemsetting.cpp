// ctest-label: settings
// The system setting screen in the real main window: the sliders show the file's values in
// whole seconds, the save writes them back (other groups kept) and hands them to the running
// devices without a restart, a failed write is reported, leaving with changes asks first.
#include "SystemSettingFixture.h"

#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QDir>

namespace {

const QByteArray kIni =
    "[PollingInterval]\nFirstRecv=3000\nPowerRecv=2500\nUhfRecv=7000\nBsRecv=4000\nCsRecv=4000\n"
    "CatvRecv=4500\nSkyperfectvRecv=5000\nJcsatRecv=6000\nSccRecv=8000\nLteRecv=9000\nFmRecv=10000\n"
    "PilotRecv=20000\n[Thread]\nThreadSleep=100\n[ChMonitoring]\nChMonitoring=1\n"
    "[Reboot]\nRebootFlg=false\nRebootTime=03:00\n[MeasureResultLog]\nData=C:\\\\Data\\\\Log\nOneYearFlg=1\n"
    "[ChannelCountChange]\nChannelCountFlg=1\n";

} // namespace

class TestSystemSetting : public QObject
{
    Q_OBJECT

    SystemSettingFixture f;

private slots:
    void initTestCase()
    {
        QmlMessageGuard::install();
        QVERIFY(f.root.prepare());
        QVERIFY(f.writeIni(kIni));
        QVERIFY(f.writeDevices({QStringLiteral("127.0.0.1:16999"), QStringLiteral("127.0.0.1:16998")}, false));
        QVERIFY(f.start());
    }

    void cleanup()
    {
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
    }

    void slidersShowTheFileInWholeSeconds()
    {
        f.open();
        QCOMPARE(f.topPageName(), QStringLiteral("SystemSetting"));
        const QStringList names = SystemSettingViewModel::intervalSliderNames();
        // Bounded as every reader bounds them; 4500 shows rounded down.
        const QList<int> expected {3, 2, 7, 4, 4, 4, 5, 6, 8, 9, 10, 10};
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(f.shown(names.at(i)), expected.at(i));
        QCOMPARE(f.shown(QStringLiteral("chMonitoring")), 1);
        QCOMPARE(f.page()->property("devicename").toStringList(),
                 QStringList({QStringLiteral("機器No.1\u3000 受信点1"), QStringLiteral("機器No.2\u3000 受信点2")}));
        // Nothing moved: home without a question.
        QVERIFY(!f.screen()->isChanged());
        f.host->frame->onHomeButtonClicked();
        QVERIFY(!f.popupShown());
        QCOMPARE(f.topPageName(), QStringLiteral("Home"));
    }

    void movingBackLeavesTheScreenUnchanged()
    {
        f.open();
        QVERIFY(f.move(QStringLiteral("bs"), 6));
        QVERIFY(f.screen()->isChanged());
        QVERIFY(f.move(QStringLiteral("bs"), 4));
        QVERIFY(!f.screen()->isChanged());
        f.host->frame->onHomeButtonClicked();
        QCOMPARE(f.topPageName(), QStringLiteral("Home"));
    }

    void leavingWithChangesAsks()
    {
        f.open();
        QVERIFY(f.move(QStringLiteral("bs"), 6));
        QCOMPARE(f.shown(QStringLiteral("bs")), 6);
        f.host->frame->onHomeButtonClicked();
        QCOMPARE(f.popupText(), QStringLiteral("変更を破棄しますか？"));
        QVERIFY(f.click(QStringLiteral("popupNoButton")));
        QVERIFY(!f.popupShown());
        QCOMPARE(f.topPageName(), QStringLiteral("SystemSetting"));
        QCOMPARE(f.shown(QStringLiteral("bs")), 6);

        f.host->frame->onHomeButtonClicked();
        QVERIFY(f.click(QStringLiteral("popupYesButton")));
        QCOMPARE(f.topPageName(), QStringLiteral("Home"));
        // Nothing was written; the next visit reads the file again.
        QCOMPARE(f.iniValue(QStringLiteral("PollingInterval/BsRecv")).toInt(), 4000);
        f.open();
        QCOMPARE(f.shown(QStringLiteral("bs")), 4);
    }

    void saveWritesTheFileAndTheDevices()
    {
        f.open();
        QVERIFY(f.move(QStringLiteral("first"), 1));
        QVERIFY(f.move(QStringLiteral("uhf"), 9));
        QVERIFY(f.move(QStringLiteral("chMonitoring"), 0));
        // Edited by hand since the start (which read 1): the save hands the new flag on.
        {
            QSettings ini(f.iniPath(), QSettings::IniFormat);
            ini.setValue(QStringLiteral("ChannelCountChange/ChannelCountFlg"), 0);
        }
        QCOMPARE(f.host->app->deviceList()->device(0)->applicationSetting().channelCountFlg, 1);
        QVERIFY(f.click(QStringLiteral("settingButton")));
        QCOMPARE(f.popupText(), QStringLiteral("設定を変更しました。"));
        QVERIFY(f.click(QStringLiteral("popupOkButton")));
        QVERIFY(!f.screen()->isChanged());

        const QByteArray text = f.root.readFile(f.iniPath());
        QVERIFY2(text.contains("FirstRecv=1000") && text.contains("UhfRecv=9000"), text.constData());
        QCOMPARE(f.iniValue(QStringLiteral("ChMonitoring/ChMonitoring")).toInt(), 0);
        // Untouched settings keep what was read: 4500 (shown as 4) stays, 20000 was bounded.
        QCOMPARE(f.iniValue(QStringLiteral("PollingInterval/CatvRecv")).toInt(), 4500);
        QCOMPARE(f.iniValue(QStringLiteral("PollingInterval/PilotRecv")).toInt(), 10000);
        // Other groups stay.
        QCOMPARE(f.iniValue(QStringLiteral("Reboot/RebootTime")).toString(), QStringLiteral("03:00"));
        QCOMPARE(f.iniValue(QStringLiteral("MeasureResultLog/Data")).toString(), QStringLiteral("C:\\Data\\Log"));
        QCOMPARE(f.iniValue(QStringLiteral("Thread/ThreadSleep")).toInt(), 100);

        DeviceList *devices = f.host->app->deviceList();
        QCOMPARE(devices->deviceCount(), 2);
        for (int i = 0; i < devices->deviceCount(); ++i) {
            const ApplicationSetting s = devices->device(i)->applicationSetting();
            QCOMPARE(s.firstRecv, 1000);
            QCOMPARE(s.uhfRecv, 9000);
            QCOMPARE(s.chMonitoring, 0);
            // Read from the file at the save.
            QCOMPARE(s.channelCountFlg, 0);
            // Not the screen's business.
            QCOMPARE(s.threadSleep, 100);
        }
        QVERIFY(TestFiles::readShiftJis(f.root.workLogPath()).contains(QStringLiteral("システム設定を変更")));
        QVERIFY(f.root.logMessages().filter(QStringLiteral("[SystemSettingViewModel] Enter onSettingButtonClicked")).size() >= 1);
        f.host->transit(QStringLiteral("Home.qml"));
    }

    void failedWriteIsReported()
    {
        // A folder in the file's place: nothing can be written there, whoever runs the test.
        const QByteArray before = f.root.readFile(f.iniPath());
        QVERIFY(QFile::remove(f.iniPath()));
        QVERIFY(QDir().mkpath(f.iniPath()));
        f.open();
        const int deviceFirst = f.host->app->deviceList()->device(0)->applicationSetting().firstRecv;
        QVERIFY(f.move(QStringLiteral("first"), 5));
        QVERIFY(f.click(QStringLiteral("settingButton")));
        QCOMPARE(f.popupText(), QStringLiteral("設定を反映できませんでした。"));
        QVERIFY(f.click(QStringLiteral("popupOkButton")));
        QVERIFY(f.screen()->isChanged());
        QCOMPARE(f.host->app->deviceList()->device(0)->applicationSetting().firstRecv, deviceFirst);
        QVERIFY(!f.root.logMessages().filter(QStringLiteral("application_setting.ini write ERROR")).isEmpty());
        f.host->frame->onHomeButtonClicked();
        QVERIFY(f.click(QStringLiteral("popupYesButton")));
        QVERIFY(QDir(f.iniPath()).removeRecursively());
        QVERIFY(f.writeIni(before));
    }

    // Last: the devices go away.
    void withoutDevicesTheListHasOneEmptyEntry()
    {
        f.host->app->stopDevices();
        QVERIFY(f.host->app->deviceList()->waitForPollingLoops(-1));
        f.host->app->deleteDevices();
        f.open();
        QCOMPARE(f.page()->property("devicename").toStringList(), QStringList({QString()}));
        f.pageChild(QStringLiteral("deviceSelect"))->setProperty("currentIndex", 0);
        QVERIFY(f.click(QStringLiteral("rebootButton")));
        QCOMPARE(f.popupText(), QStringLiteral("登録機器を選択してください。"));
        QVERIFY(f.click(QStringLiteral("popupOkButton")));
        // A request naming no device starts nothing.
        f.screen()->onReboot(0);
        QVERIFY(!f.screen()->isRebootRunning());
        f.host->transit(QStringLiteral("Home.qml"));
    }
};

QTEST_MAIN(TestSystemSetting)
#include "tst_systemsetting.moc"
