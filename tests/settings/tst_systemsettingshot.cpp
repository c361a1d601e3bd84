// ctest-label: settings display
// Pictures of the system setting screen: the sliders, the monitoring mode and the reboot
// list, then the reboot question on top, drawn on an Xvfb display of the test's own and
// checked (size, header, panels drawn, the pop-up over a dimmed page).
// The PNGs go to the build folder: system-setting-screen.png and system-setting-popup.png.
#include "support/PictureDisplay.h"
#include "SystemSettingFixture.h"
#include "support/TestPaths.h"

#include <QImage>

class TestSystemSettingShot : public QObject
{
    Q_OBJECT

    static QString picturePath(const QString &name)
    {
        return QDir(TestPaths::buildDir()).filePath(name);
    }

private slots:
    void screenshot()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QmlMessageGuard::install();
        SystemSettingFixture f;
        QVERIFY(f.root.prepare());
        QVERIFY(f.writeIni("[PollingInterval]\nFirstRecv=2000\nPowerRecv=1000\nUhfRecv=7000\nBsRecv=5000\n"
                           "CsRecv=5000\nCatvRecv=6000\nSkyperfectvRecv=4000\nJcsatRecv=8000\nSccRecv=8000\n"
                           "LteRecv=4000\nFmRecv=10000\nPilotRecv=4000\n[ChMonitoring]\nChMonitoring=1\n"));
        QVERIFY(f.writeDevices({QStringLiteral("192.168.10.21"), QStringLiteral("192.168.10.22")}, false));
        QVERIFY(f.start());
        f.open();
        QCOMPARE(f.topPageName(), QStringLiteral("SystemSetting"));
        f.pageChild(QStringLiteral("deviceSelect"))->setProperty("currentIndex", 1);

        QVERIFY(QTest::qWaitForWindowExposed(f.host->window));
        QTest::qWait(300);
        QImage image = f.host->window->grabWindow();
        QVERIFY(!image.isNull());
        VERIFY_PICTURE(PictureDisplay::frameProblems(image));
        // The sliders' panel, the monitoring mode and the reboot panel each show something.
        VERIFY_PICTURE(PictureDisplay::blankness(image, QRect(17, 96, 637, 258)));
        VERIFY_PICTURE(PictureDisplay::blankness(image, QRect(673, 96, 320, 146)));
        VERIFY_PICTURE(PictureDisplay::blankness(image, QRect(673, 258, 320, 96)));
        QVERIFY(image.save(picturePath(QStringLiteral("system-setting-screen.png"))));
        qInfo("picture: %s", qPrintable(picturePath(QStringLiteral("system-setting-screen.png"))));

        QVERIFY(f.click(QStringLiteral("rebootButton")));
        QCOMPARE(f.popupText(), QStringLiteral("チェッカーを再起動しますか？"));
        QTest::qWait(300);
        image = f.host->window->grabWindow();
        VERIFY_PICTURE(PictureDisplay::frameProblems(image, true));
        VERIFY_PICTURE(PictureDisplay::blankness(image, QRect(405, 200, 200, 100)));
        QVERIFY(image.save(picturePath(QStringLiteral("system-setting-popup.png"))));
        QVERIFY(f.click(QStringLiteral("popupNoButton")));

        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
    }
};

PICTURE_TEST_MAIN(TestSystemSettingShot)
#include "tst_systemsettingshot.moc"
