// ctest-label: settings display
// Pictures of the channel setting screen with the template plan of a device: the terrestrial
// group and the BS/CS group, a few channels ticked, drawn on an Xvfb display of the test's
// own and checked (size, header, page drawn, pop-ups over a dimmed page).
// The PNGs go to the build folder (NRT52_BUILD_DIR): channel-setting-terrestrial.png,
// -bs.png, -catv.png, -fm.png, and two pop-ups: -popup.png and -discard.png.
#include "support/PictureDisplay.h"
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
    // The picture checked (a pop-up open or not), then kept under name.
    static void save(FrameHost &host, const QString &name, bool popupOpen = false)
    {
        QTest::qWait(300);
        const QImage image = host.window->grabWindow();
        VERIFY_PICTURE(PictureDisplay::frameProblems(image, popupOpen));
        if (popupOpen)
            VERIFY_PICTURE(PictureDisplay::blankness(image, QRect(405, 200, 200, 100)));
        QVERIFY(host.savePicture(name));
    }

private slots:
    void screenshot()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
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
        save(host, QStringLiteral("channel-setting-terrestrial.png"));
        if (QTest::currentTestFailed())
            return;

        QVERIFY(host.click(QStringLiteral("groupButton1")));
        QTRY_COMPARE(page->property("chName1").toStringList().value(0), QStringLiteral("BS1"));
        save(host, QStringLiteral("channel-setting-bs.png"));
        if (QTest::currentTestFailed())
            return;

        QVERIFY(host.click(QStringLiteral("groupButton5")));
        QTRY_COMPARE(page->property("chName1").toStringList().value(0), QStringLiteral("1"));
        save(host, QStringLiteral("channel-setting-catv.png"));
        if (QTest::currentTestFailed())
            return;

        QVERIFY(host.click(QStringLiteral("groupButton16")));
        QTRY_COMPARE(page->property("chName2").toStringList().value(0), QStringLiteral("FM 1"));
        save(host, QStringLiteral("channel-setting-fm.png"));
        if (QTest::currentTestFailed())
            return;

        // A two-line message and the discard question over the page.
        emit screen->openPopup(ChannelSettingViewModel::PopupOutOfRange);
        save(host, QStringLiteral("channel-setting-popup.png"), true);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(host.click(QStringLiteral("messageOkButton")));
        emit screen->openPopup(ChannelSettingViewModel::PopupDiscard);
        save(host, QStringLiteral("channel-setting-discard.png"), true);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(host.click(QStringLiteral("discardNoButton")));

        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
    }
};

PICTURE_TEST_MAIN(TestChannelSettingShot)
#include "tst_channelsettingshot.moc"
