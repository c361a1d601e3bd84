// ctest-label: settings
// The channel setting page in the real main window, used with the mouse and keyboard: its
// contract with the view model (signals, functions, properties), opened from the result
// list's row button and from the device setting screen, a group chosen, channels ticked,
// a frequency typed, the reset and discard questions, and "次へ" reaching the details page.
#include "screens/FrameHost.h"

#include "monitor/DeviceList.h"
#include "monitor/NotifyResponse.h"
#include "settings/ChannelSettingViewModel.h"
#include "settings/DeviceSettingViewModel.h"
#include "storage/ChannelSettingFile.h"
#include "support/TestFiles.h"

#include <QQuickItem>
#include <QSignalSpy>

namespace {

const QByteArray kHeader =
    "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n";

} // namespace

class TestChannelSettingPage : public QObject
{
    Q_OBJECT

private:
    FrameRoot root;
    std::unique_ptr<FrameHost> host;
    ChannelSettingViewModel *screen = nullptr;

    QObject *page() const { return host->find(QStringLiteral("ChannelSetting")); }

    QString topPageName() const { return host->currentPageName(); }
    QQuickItem *item(const QString &name) const { return host->visibleItem(name); }

    void click(const QString &name)
    {
        QTRY_VERIFY2(item(name), qPrintable(name));
        QVERIFY(host->click(name));
    }

    bool popupOpen(const char *name) const
    {
        QObject *popup = page() ? page()->findChild<QObject *>(QLatin1String(name)) : nullptr;
        return popup && popup->property("opened").toBool();
    }

private slots:
    void initTestCase()
    {
        QmlMessageGuard::install();
        QVERIFY(root.prepare());
        QVERIFY(TestFiles::installTemplatePlan());
        QVERIFY(TestFiles::writeBytes(ChannelSettingFile::filePath(1),
                                      kHeader + "0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n"
                                                "1,BS1,1049480,0,0,1,0\n1,BS3,1087840,0,0,1,0\n"
                                                "2,BS2,2241660,0,0,1,0\n3,ND2,1613000,0,0,1,0\n"
                                                "4,ND1,2766000,0,0,1,0\n7,UL 1,14000,0,0,0,1\n"));
        host.reset(new FrameHost);
        QVERIFY(host->isValid());
        QVERIFY(host->waitForBoot());
        screen = qobject_cast<ChannelSettingViewModel *>(host->frame->viewModelOf(QStringLiteral("ChannelSetting")));
        QVERIFY(screen);
        const quint32 ip = 0x0100007f;
        host->app->addDevice(1, "受信点1", "", &ip, 0, nullptr, 0, "08:00", "20:00", 3, "public", 161);
        QCOMPARE(host->app->deviceList()->deviceCount(), 1);
    }

    void cleanup()
    {
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
        ChannelSettingFile::removeCopy(1, ChannelSettingFile::Copy::Working);
        host->transit(QStringLiteral("Home.qml"));
    }

    // What the view model connects by name exists on the page, with the types it writes.
    void contract()
    {
        host->transit(QStringLiteral("ChannelSetting.qml"));
        QObject *p = page();
        QVERIFY(p);
        const QMetaObject *meta = p->metaObject();
        const char *const signalList[] = {
            "bandChange(int)", "channelSignal(int,QString,bool)", "allCheckInfo(int,bool)",
            "broadbandChange(int,int)", "catvSetting2(bool)", "catvSetting4(bool)",
            "convertMerCnr(int,QString)", "frequencyChange(int,QString,QString)", "resetSignal(bool)",
            "saveSignal(bool)", "changeDestroy()", "notChangeDestroy()", "channelFileSelect(int,QString)",
            "returnSignal()"};
        for (const char *signature : signalList)
            QVERIFY2(meta->indexOfSignal(signature) >= 0, signature);
        QVERIFY(meta->indexOfMethod("onOpenPopup(QVariant)") >= 0);
        QVERIFY(meta->indexOfMethod("transit(QVariant)") >= 0);
        const char *const properties[] = {
            "channelNumber", "chName1", "chName2", "chName3", "chName4", "hertz1", "hertz2", "countTrue1",
            "countTrue2", "countTrue3", "countTrue4", "allcheckState1", "allcheckState2", "allcheckState3",
            "allcheckState4", "bandInfo", "checkbutton", "countCheck", "maxCheckNum", "shb", "vhf", "popupmsg",
            "filename", "currentfile", "scaling", "bandSelect", "title"};
        for (const char *name : properties)
            QVERIFY2(meta->indexOfProperty(name) >= 0, name);
        QVERIFY(p->findChild<QObject *>(QStringLiteral("radioButton5")));
        QVERIFY(p->findChild<QObject *>(QStringLiteral("radioButton6")));
        QCOMPARE(p->property("title").toString(), QStringLiteral("チャンネル設定"));
        // The view model's signals reach the page: a pop-up opens, a switch happens.
        emit screen->openPopup(5);
        QVERIFY(popupOpen("messagePopup"));
        click(QStringLiteral("messageOkButton"));
        QTRY_VERIFY(!popupOpen("messagePopup"));
        // Every pop-up number has its text.
        for (int number : {1, 2, 3, 4, 5, 6, 7, 8, 10, 11}) {
            QVariant text;
            QVERIFY(QMetaObject::invokeMethod(p, "popupText", Q_RETURN_ARG(QVariant, text), Q_ARG(QVariant, number)));
            QVERIFY2(!text.toString().isEmpty(), qPrintable(QString::number(number)));
        }
    }

    // The result list's row button opens the screen for its device; a group chosen and a
    // channel ticked with the mouse; "次へ" reaches the details page with the working copy.
    void fromResultList()
    {
        host->frame->responseHandler()->onMakeMeasurementResultModel();
        host->transit(QStringLiteral("MeasurementResult.qml"));
        QCOMPARE(topPageName(), QStringLiteral("MeasurementResult"));
        click(QStringLiteral("settingButton"));
        QTRY_COMPARE(topPageName(), QStringLiteral("ChannelSetting"));
        QCOMPARE(screen->selectedDeviceNo(), 1);
        QCOMPARE(screen->originScreen(), ScreenMeasurementResult);
        QCOMPARE(page()->property("currentfile").toString(), QStringLiteral("機器No.1: 受信点1 を編集中"));
        // The page asks for its first group's frequencies once it is connected.
        QTRY_COMPARE(page()->property("hertz1").toList().value(0).toString(), QStringLiteral("473.143"));

        click(QStringLiteral("groupButton1"));
        QTRY_COMPARE(page()->property("bandSelect").toInt(), 1);
        QCOMPARE(page()->property("chName1").toStringList(), (QStringList {"BS1", "BS3"}));
        QCOMPARE(page()->property("chName4").toStringList(), QStringList {"ND1"});
        click(QStringLiteral("tick_1_BS3"));
        QTRY_COMPARE(page()->property("countCheck").toInt(), 3);
        QCOMPARE(page()->property("checkbutton").toStringList(), (QStringList {"13", "BS3", "UL 1"}));
        QCOMPARE(page()->property("bandInfo").toStringList(), (QStringList {"地デジ", "BS", "CATV上り"}));
        // The column's all-check box ticks the whole column.
        click(QStringLiteral("allCheck2"));
        QTRY_COMPARE(page()->property("countCheck").toInt(), 4);
        QVERIFY(page()->property("allcheckState2").toBool());

        click(QStringLiteral("nextButton"));
        QTRY_COMPARE(topPageName(), QStringLiteral("ChannelDetails"));
        const QByteArray sub = TestFiles::readBytes(ChannelSettingFile::filePath(1, ChannelSettingFile::Copy::Working));
        QVERIFY(sub.contains("1,BS3,1087840,0,0,1,1\n"));
        QVERIFY(sub.contains("2,BS2,2241660,0,0,1,1\n"));
    }

    // Opened from the device setting screen; a frequency typed off its step shows its pop-up;
    // the reset question clears the ticks; HOME with edits asks before leaving.
    void fromDeviceSetting()
    {
        auto *device = qobject_cast<DeviceSettingViewModel *>(host->frame->viewModelOf(QStringLiteral("DeviceSetting")));
        QVERIFY(device);
        emit device->dataPassMerCnr(1, QStringLiteral("MER"), QStringLiteral("CNR"), false);
        emit device->dataPassDeviceData(1, QStringLiteral("受信点1"), ScreenDeviceSetting);
        host->transit(QStringLiteral("ChannelSetting.qml"));
        QTRY_COMPARE(topPageName(), QStringLiteral("ChannelSetting"));
        QCOMPARE(screen->originScreen(), ScreenDeviceSetting);
        QVERIFY(page()->findChild<QObject *>(QStringLiteral("radioButton5"))->property("checked").toBool());

        click(QStringLiteral("tick_0_14"));
        QTRY_COMPARE(page()->property("countCheck").toInt(), 3);

        click(QStringLiteral("groupButton7"));
        QTRY_COMPARE(page()->property("chName1").toStringList(), QStringList {"UL 1"});
        click(QStringLiteral("frequency_7_UL 1"));
        QQuickItem *field = item(QStringLiteral("frequency_7_UL 1"));
        QVERIFY(field);
        QTRY_VERIFY(field->hasActiveFocus());
        QTest::keyClick(host->window, Qt::Key_A, Qt::ControlModifier);
        for (char c : QByteArray("10.07"))
            QTest::keyClick(host->window, c);
        QTest::keyClick(host->window, Qt::Key_Return);
        QTRY_VERIFY(popupOpen("messagePopup"));
        QCOMPARE(page()->findChild<QObject *>(QStringLiteral("messagePopupText"))->property("text").toString(),
                 QStringLiteral("周波数は0.05ずつ変更してください。"));
        click(QStringLiteral("messageOkButton"));
        QTRY_VERIFY(!popupOpen("messagePopup"));

        click(QStringLiteral("resetButton"));
        QTRY_VERIFY(popupOpen("resetPopup"));
        click(QStringLiteral("resetYesButton"));
        QTRY_COMPARE(page()->property("countCheck").toInt(), 0);

        click(QStringLiteral("homeButton"));
        QTRY_VERIFY(popupOpen("discardPopup"));
        click(QStringLiteral("discardNoButton"));
        QTRY_VERIFY(!popupOpen("discardPopup"));
        QCOMPARE(topPageName(), QStringLiteral("ChannelSetting"));

        // Ticked again, the typed 10.07 is refused by "次へ"; unticked, it goes on.
        click(QStringLiteral("tick_7_UL 1"));
        QTRY_COMPARE(page()->property("countCheck").toInt(), 1);
        click(QStringLiteral("nextButton"));
        QTRY_VERIFY(popupOpen("messagePopup"));
        click(QStringLiteral("messageOkButton"));
        QTRY_VERIFY(!popupOpen("messagePopup"));
        QCOMPARE(topPageName(), QStringLiteral("ChannelSetting"));
        click(QStringLiteral("tick_7_UL 1"));
        QTRY_COMPARE(page()->property("countCheck").toInt(), 0);
        click(QStringLiteral("groupButton0"));
        QTRY_COMPARE(page()->property("bandSelect").toInt(), 0);
        click(QStringLiteral("tick_0_13"));
        QTRY_COMPARE(page()->property("countCheck").toInt(), 1);
        click(QStringLiteral("nextButton"));
        QTRY_COMPARE(topPageName(), QStringLiteral("ChannelDetails"));
        const QByteArray sub = TestFiles::readBytes(ChannelSettingFile::filePath(1, ChannelSettingFile::Copy::Working));
        QVERIFY(sub.contains("0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n"));
        QVERIFY(sub.contains("7,UL 1,10070,0,0,0,0\n"));
    }

    void cleanupTestCase() { host.reset(); }
};

QTEST_MAIN(TestChannelSettingPage)
#include "tst_channelsettingpage.moc"
