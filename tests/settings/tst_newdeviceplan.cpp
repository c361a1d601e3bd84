// ctest-label: settings
// A device added on the device setting screen gets its channels and thresholds before its
// first apply, all through the real pages with keys and the mouse: typed row, チャンネル設定,
// channels ticked, 次へ, a threshold typed, 完了, 適用. The device then measures those
// channels with those thresholds.
#include "settings/DeviceSettingPage.h"

#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"
#include "support/SimDevices.h"
#include "support/TestFiles.h"

#include <QQuickItem>
#include <QtTest>

#include <memory>

namespace {

const QByteArray Header = QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
                                         "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n")
                              .toUtf8();
constexpr int Patience = 40000;

} // namespace

class TestNewDevicePlan : public QObject, DeviceSettingPage
{
    Q_OBJECT

    SimDevices sim;

private slots:
    void initTestCase()
    {
        QmlMessageGuard::install();
        // A typed row gets the standard port: the simulated device listens there.
        if (!sim.startAtPort(1, 161))
            QSKIP(qPrintable(QStringLiteral("no simulated device on port 161: %1").arg(sim.lastError())));
    }

    void cleanup()
    {
        if (host) {
            host->app->stopDevices();
            host->app->deviceList()->waitForPollingLoops(-1, 30000);
        }
        close();
    }

    void planBeforeFirstApply()
    {
        QVERIFY(makeRoot(Header + "1,一号,0.0.0.0,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"));
        QVERIFY(TestFiles::installTemplatePlan());
        QVERIFY(start());
        QVERIFY(openScreen());
        vm()->setReadoutBoundMs(5000);

        // The new row: name and address typed, then its channel setting button at once.
        typeInto(inRepeater("settingListRowsRepeater", 1, "nameField"), "SIMDEV");
        typeInto(inRepeater("settingListRowsRepeater", 1, "addressField"), "127.0.0.1");
        clickItem(inRepeater("settingListRowsRepeater", 1, "channelSettingButton"));
        QTRY_COMPARE(host->currentPageName(), QStringLiteral("ChannelSetting"));

        // 13 and 20 ticked, 次へ.
        clickNamed("tick_0_13");
        clickNamed("tick_0_20");
        QObject *channelPage = host->find(QStringLiteral("ChannelSetting"));
        QTRY_COMPARE(channelPage->property("countCheck").toInt(), 2);
        clickNamed("nextButton");
        QTRY_COMPARE(host->currentPageName(), QStringLiteral("ChannelDetails"));

        // The level minimum of the first channel typed, 完了.
        QTRY_VERIFY(inRepeater("settingListRowsRepeater", 0, "detailsLevelMinTextInput"));
        typeInto(inRepeater("settingListRowsRepeater", 0, "detailsLevelMinTextInput"), "45.0");
        clickNamed("nextbutton");
        QTRY_COMPARE(host->currentPageName(), QStringLiteral("DeviceSetting"));
        QVERIFY(ChannelSettingFile::exists(2, ChannelSettingFile::Copy::Pending));
        QVERIFY(AlertSettingFile::exists(2, AlertSettingFile::Copy::Pending));

        // 適用, nothing applied before.
        QCOMPARE(host->app->deviceList()->deviceCount(), 1);
        QVERIFY(sim.clearLog(1));
        clickNamed("applyButton");
        QTRY_COMPARE(host->app->deviceList()->deviceCount(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(!vm()->isReadoutRunning(), Patience);
        LevelChecker *device = host->app->deviceList()->device(1);
        QCOMPARE(device->name(), QStringLiteral("SIMDEV"));
        QCOMPARE(device->ipAddressText(), QStringLiteral("127.0.0.1"));
        QCOMPARE(device->channelSettingCount(), 2);
        QStringList channels;
        for (int i = 0; i < device->channelSettingCount(); ++i)
            channels.append(device->channelSetting(i).channel);
        std::sort(channels.begin(), channels.end());
        QCOMPARE(channels, (QStringList {QStringLiteral("13"), QStringLiteral("20")}));
        QCOMPARE(device->alertSettingCount(), 2);
        QStringList minimums {device->alertSetting(0).levelMin, device->alertSetting(1).levelMin};
        QVERIFY2(minimums.contains(QStringLiteral("45.0")), qPrintable(minimums.join(QLatin1Char(' '))));
        QVERIFY(!ChannelSettingFile::exists(2, ChannelSettingFile::Copy::Pending));
        QVERIFY(!AlertSettingFile::exists(2, AlertSettingFile::Copy::Pending));
        // Its identity was read; a new device waits stopped until measuring is started, and
        // then measures those channels.
        QCOMPARE(device->serialNumber(), QStringLiteral("VZ52-00001"));
        QCOMPARE(device->measurementState(), 1);
        device->setMeasurementState(0);
        host->app->deviceList()->startMonitoringAt(1);
        QTRY_VERIFY_WITH_TIMEOUT(sim.requests(1).contains(QStringLiteral("SET 3.1.6 13")), Patience);
        QTRY_VERIFY_WITH_TIMEOUT(sim.requests(1).contains(QStringLiteral("SET 3.1.6 20")), Patience);
        QCOMPARE(QmlMessageGuard::take(), QStringList());
    }
};

QTEST_MAIN(TestNewDevicePlan)
#include "tst_newdeviceplan.moc"
