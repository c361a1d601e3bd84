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

// Every setting of the screen mid-track, so that either end is a change.
const QByteArray kMiddleIni =
    "[PollingInterval]\nFirstRecv=5000\nPowerRecv=5000\nUhfRecv=7000\nBsRecv=7000\nCsRecv=7000\n"
    "CatvRecv=7000\nSkyperfectvRecv=7000\nJcsatRecv=7000\nSccRecv=7000\nLteRecv=7000\nFmRecv=7000\n"
    "PilotRecv=7000\n[Thread]\nThreadSleep=100\n[ChMonitoring]\nChMonitoring=1\n"
    "[Reboot]\nRebootFlg=false\nRebootTime=03:00\n[MeasureResultLog]\nData=C:\\\\Data\\\\Log\nOneYearFlg=1\n"
    "[ChannelCountChange]\nChannelCountFlg=1\n";

// The file's keys of the screen's controls, in the order of its interval sliders, then
// the monitoring mode.
const QStringList &ownKeys()
{
    static const QStringList keys {
        "PollingInterval/FirstRecv", "PollingInterval/PowerRecv", "PollingInterval/UhfRecv",
        "PollingInterval/BsRecv", "PollingInterval/CsRecv", "PollingInterval/CatvRecv",
        "PollingInterval/SkyperfectvRecv", "PollingInterval/JcsatRecv", "PollingInterval/SccRecv",
        "PollingInterval/LteRecv", "PollingInterval/FmRecv", "PollingInterval/PilotRecv",
        "ChMonitoring/ChMonitoring"};
    return keys;
}

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
        f.host->transit(QStringLiteral("Home.qml"));
    }

    // Each control, moved with the mouse to the end of its track and saved, sets its own
    // value in the file and no other.
    void eachControlSetsItsOwnValue_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("toTheRight");
        QTest::addColumn<int>("written");
        const QStringList names = SystemSettingViewModel::intervalSliderNames();
        for (int i = 0; i < names.size(); ++i)
            QTest::newRow(qPrintable(names.at(i))) << names.at(i) << ownKeys().at(i) << true << 10000;
        QTest::newRow("chMonitoring") << QStringLiteral("chMonitoring") << ownKeys().last() << false << 0;
    }

    void eachControlSetsItsOwnValue()
    {
        QFETCH(QString, control);
        QFETCH(QString, key);
        QFETCH(bool, toTheRight);
        QFETCH(int, written);
        QVERIFY(f.writeIni(kMiddleIni));
        f.open();
        QCOMPARE(f.topPageName(), QStringLiteral("SystemSetting"));
        QMap<QString, QVariant> before;
        QStringList keys;
        {
            QSettings ini(f.iniPath(), QSettings::IniFormat);
            keys = ini.allKeys();
        }
        QVERIFY(keys.contains(key));
        for (const QString &other : keys)
            before.insert(other, f.iniValue(other));

        // Pressed at the end of its track, as a person clicks or drags it there.
        auto *slider = qobject_cast<QQuickItem *>(f.pageChild(control + QStringLiteral("Slider")));
        QVERIFY(slider && slider->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(f.host->window));
        const QPointF end = slider->mapToScene(QPointF(toTheRight ? slider->width() - 1 : 1, slider->height() / 2));
        QTest::mouseClick(f.host->window, Qt::LeftButton, Qt::NoModifier, end.toPoint());
        QVERIFY(f.screen()->isChanged());
        QVERIFY(f.click(QStringLiteral("settingButton")));
        QCOMPARE(f.popupText(), QStringLiteral("設定を変更しました。"));
        QVERIFY(f.click(QStringLiteral("popupOkButton")));

        for (const QString &other : keys) {
            if (other == key)
                QCOMPARE(f.iniValue(other).toInt(), written);
            else
                QVERIFY2(f.iniValue(other) == before.value(other), qPrintable(other + " changed"));
        }
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
