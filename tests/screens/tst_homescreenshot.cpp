// ctest-label: frame display
// A picture of the home screen as the operator sees it, drawn on an Xvfb display of the
// test's own, checked (size, header, the three buttons drawn) and kept to look at
// (scripts/screenshot-home.sh names where).
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
        VERIFY_PICTURE(PictureDisplay::frameProblems(image));
        // The three buttons of the page drawn, each in its blue.
        for (int left : {35, 375, 715}) {
            VERIFY_PICTURE(PictureDisplay::blankness(image, QRect(left, 114, 260, 84)));
            VERIFY_PICTURE(PictureDisplay::colourMismatch(image, QPoint(left + 85, 185), QColor(42, 96, 154)));
        }
        const QString path = TestPaths::picturePath("NRT52_SCREENSHOT", QStringLiteral("home-screen.png"));
        QVERIFY(image.save(path));
        qInfo("home screen: %s", qPrintable(path));
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }
};

PICTURE_TEST_MAIN(TestHomeScreenshot)
#include "tst_homescreenshot.moc"
