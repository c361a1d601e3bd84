// ctest-label: frame display
// A picture of the home screen as the operator sees it, to look at: only on a real display
// (grabbing needs one; scripts/screenshot-home.sh runs this under Xvfb). Offscreen it skips.
#include "support/PictureDisplay.h"
#include "FrameHost.h"

#include <QGuiApplication>
#include <QImage>

class TestHomeScreenshot : public QObject
{
    Q_OBJECT
private slots:
    void grabHome()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QmlMessageGuard::install();
        FrameRoot root;
        QVERIFY(root.prepare());
        FrameHost host;
        QVERIFY(host.isValid());
        QVERIFY(host.waitForBoot());
        QTest::qWait(300);
        const QImage image = host.window->grabWindow();
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(1010, 504) * host.window->devicePixelRatio());
        const QString path = TestPaths::picturePath("NRT52_SCREENSHOT", QStringLiteral("home-screen.png"));
        QVERIFY(image.save(path));
        qInfo("home screen: %s", qPrintable(path));
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }
};

PICTURE_TEST_MAIN(TestHomeScreenshot)
#include "tst_homescreenshot.moc"
