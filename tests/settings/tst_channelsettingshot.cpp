// ctest-label: settings
// Pictures of the channel setting screen with the template plan of a device: the terrestrial
// group and the BS/CS group, a few channels ticked. Needs a display that can be grabbed;
// offscreen it skips. Run it under Xvfb to get the pictures:
//   xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb tests/tst_channelsettingshot
// The PNGs go to the build folder (NRT52_BUILD_DIR): channel-setting-terrestrial.png,
// -bs.png, -catv.png, -fm.png, and two pop-ups: -popup.png and -discard.png.
#include "screens/FrameHost.h"

#include "settings/ChannelSettingViewModel.h"
#include "storage/ChannelSettingFile.h"
#include "support/TestFiles.h"

#include <QImage>
#include <QQuickItem>

class TestChannelSettingShot : public QObject
{
    Q_OBJECT

private:
    static bool save(FrameHost &host, const QString &name)
    {
        QTest::qWait(300);
        return host.savePicture(name);
    }

private slots:
    void screenshot()
    {
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            QSKIP("no display to take a picture of");
        QmlMessageGuard::install();
        FrameRoot root;
        QVERIFY(root.prepare());
        QVERIFY(TestFiles::installTemplatePlan());
        // The template with a few channels ticked, as the device's committed plan.
        QByteArray plan = TestFiles::readBytes(ChannelSettingFile::templatePath());
        for (const char *row : {"0,13,473143,0,0,0,", "0,16,491143,0,0,0,", "0,21,521143,0,0,0,", "0,27,557143,0,0,0,",
                                "1,BS1,1049480,0,0,1,", "1,BS3,1087840,0,0,1,", "3,ND2,1613000,0,0,1,",
                                "5,C24,231000,3,0,0,"})
            plan.replace(QByteArray(row) + "0\n", QByteArray(row) + "1\n");
        QVERIFY(TestFiles::writeBytes(ChannelSettingFile::filePath(1), plan));

        FrameHost host;
        QVERIFY(host.isValid());
        QVERIFY(host.waitForBoot());
        const quint32 ip = 0x0100007f;
        host.app->addDevice(1, "受信点1", "", &ip, 0, nullptr, 0, "08:00", "20:00", 3, "public", 161);
        auto *screen = qobject_cast<ChannelSettingViewModel *>(host.frame->viewModelOf(QStringLiteral("ChannelSetting")));
        QVERIFY(screen);
        screen->onDataPassMerCnr(1, QStringLiteral("MER"), QStringLiteral("CNR"), false);
        screen->onDataPassDeviceData(1, QStringLiteral("受信点1"), ScreenDeviceSetting);
        host.transit(QStringLiteral("ChannelSetting.qml"));
        QObject *page = host.find(QStringLiteral("ChannelSetting"));
        QVERIFY(page);
        QVERIFY(QTest::qWaitForWindowExposed(host.window));
        QTRY_COMPARE(page->property("hertz1").toList().size(), 50);
        QCOMPARE(page->property("countCheck").toInt(), 8);
        QVERIFY(save(host, QStringLiteral("channel-setting-terrestrial.png")));

        QVERIFY(host.click(QStringLiteral("groupButton1")));
        QTRY_COMPARE(page->property("chName1").toStringList().value(0), QStringLiteral("BS1"));
        QVERIFY(save(host, QStringLiteral("channel-setting-bs.png")));

        QVERIFY(host.click(QStringLiteral("groupButton5")));
        QTRY_COMPARE(page->property("chName1").toStringList().value(0), QStringLiteral("1"));
        QVERIFY(save(host, QStringLiteral("channel-setting-catv.png")));

        QVERIFY(host.click(QStringLiteral("groupButton16")));
        QTRY_COMPARE(page->property("chName2").toStringList().value(0), QStringLiteral("FM 1"));
        QVERIFY(save(host, QStringLiteral("channel-setting-fm.png")));

        // A two-line message and the discard question over the page.
        emit screen->openPopup(ChannelSettingViewModel::PopupOutOfRange);
        QVERIFY(save(host, QStringLiteral("channel-setting-popup.png")));
        QVERIFY(host.click(QStringLiteral("messageOkButton")));
        emit screen->openPopup(ChannelSettingViewModel::PopupDiscard);
        QVERIFY(save(host, QStringLiteral("channel-setting-discard.png")));
        QVERIFY(host.click(QStringLiteral("discardNoButton")));

        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
    }
};

QTEST_MAIN(TestChannelSettingShot)
#include "tst_channelsettingshot.moc"
