// ctest-label: settings display
// A picture of the device setting screen with three registered devices and the identity
// pop-up open, drawn on an Xvfb display of the test's own and checked (size, header, page
// drawn, the pop-up over a dimmed page).
// The PNGs go to the build folder: device-setting-screen.png (the table) and
// device-setting-identity.png (the identity pop-up).

#include "support/PictureDisplay.h"
#include "screens/FrameHost.h"
#include "support/TestPaths.h"
#include "core/InformationListModel.h"
#include "monitor/DeviceList.h"
#include "settings/DeviceSettingViewModel.h"

#include <QImage>
#include <QQuickItem>

class TestDeviceSettingShot : public QObject
{
    Q_OBJECT

private slots:
    void screenshot()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QmlMessageGuard::install();
        FrameRoot root;
        QVERIFY(root.prepare());
        const QByteArray registration =
            QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
                           "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n"
                           "1,本社受信点,192.168.10.21,同軸,連続,常時,常時,1550,LC52-000121,00:1A:2B:3C:4D:01,2.04,1,MER,MER\n"
                           "2,光受信点,192.168.10.22,光,15分,08:00,20:00,1310,LC52-000122,00:1A:2B:3C:4D:02,2.04,1,MER,CNR\n"
                           "3,予備機,0.0.0.0,同軸,60分,常時,常時,1550,---,---,---,1,MER,MER\n")
                .toUtf8();
        QVERIFY(root.writeSetting(QStringLiteral("DeviceRegistSetting.csv"), registration));
        FrameHost host;
        QVERIFY(host.isValid());
        QVERIFY(host.waitForBoot());
        QCOMPARE(host.app->deviceList()->deviceCount(), 3);

        host.transit(QStringLiteral("DeviceSetting.qml"));
        QObject *page = host.find(QStringLiteral("DeviceSetting"));
        QVERIFY(page);
        QVERIFY(QTest::qWaitForWindowExposed(host.window));
        QTest::qWait(300);
        const QString folder = TestPaths::buildDir();
        const QImage table = host.window->grabWindow();
        QVERIFY(!table.isNull());
        VERIFY_PICTURE(PictureDisplay::frameProblems(table));
        QVERIFY(table.save(QDir(folder).filePath(QStringLiteral("device-setting-screen.png"))));

        // The identity list as the end of a readout leaves it.
        auto *screen = qobject_cast<DeviceSettingViewModel *>(host.frame->viewModelOf(QStringLiteral("DeviceSetting")));
        QVERIFY(screen->DeviceListFileWrite());
        auto *identities = qobject_cast<InformationListModel *>(host.find(QStringLiteral("informationListModel")));
        QCOMPARE(identities->rowCount(), 3);
        auto *popup = host.window->findChild<QObject *>(QStringLiteral("informationPopup"));
        QVERIFY(popup);
        QVERIFY(QMetaObject::invokeMethod(popup, "open"));
        QTRY_VERIFY(popup->property("opened").toBool());
        QTest::qWait(300);
        const QImage image = host.window->grabWindow();
        QVERIFY(!image.isNull());
        VERIFY_PICTURE(PictureDisplay::frameProblems(image, true));
        VERIFY_PICTURE(PictureDisplay::blankness(image, QRect(405, 200, 200, 100)));
        const QString path = QDir(folder).filePath(QStringLiteral("device-setting-identity.png"));
        QVERIFY(image.save(path));
        qInfo("picture: %s", qPrintable(path));
        QCOMPARE(QmlMessageGuard::take(), QStringList());
    }
};

PICTURE_TEST_MAIN(TestDeviceSettingShot)
#include "tst_devicesettingshot.moc"
