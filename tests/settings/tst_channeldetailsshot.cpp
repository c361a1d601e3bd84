// ctest-label: settings display
// A picture of the channel details page with channels of several bands and their
// thresholds, drawn on an Xvfb display of the test's own and checked (size, header, page
// drawn, the pop-ups over a dimmed page).
// The PNG goes to $NRT52_SCREENSHOT (default: channel-details.png in the build folder); a
// second one with the alert bulk pop-up open goes beside it.
#include "support/PictureDisplay.h"
#include "DetailsHost.h"
#include "support/TestPaths.h"

#include <QImage>

class TestChannelDetailsShot : public QObject
{
    Q_OBJECT
private slots:
    void screenshot()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QmlMessageGuard::install();
        DetailsHost fx;
        QVERIFY(fx.start());
        QVERIFY(fx.addDevice(QStringLiteral("第一受信点")));
        QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Working,
                             "0,13,473143,0,0,0,1\n0,27,557143,0,0,0,1\n1,BS1,1049480,0,0,1,1\n"
                             "3,ND2,1613000,0,0,1,1\n5,C13,111000,3,0,0,1\n5,C24,231143,0,0,0,1\n"
                             "6,OP1,1100000,0,0,0,1\n7,UL1,30000,0,0,0,1\n8,JD1,11727000,0,10678000,1,1\n"
                             "14,SC1,12291000,0,11200000,0,1\n16,LTE1,800000,0,0,0,1\n17,FM1,80000,0,0,0,1\n"
                             "18,PL1,70000,0,0,0,1\n"));
        QVERIFY(fx.writeAlert(1, AlertSettingFile::Copy::Committed,
                              DetailsHost::alertHeader() + "0,13,45.0,85.0,25.0,1.0E-4,-9.5,1.0,28.0\n"
                                                           "0,27,47.0,90.0,20.0,2.0E-4,-10.0,0.0,20.0\n"
                                                           "1,BS1,50.0,81.0,9.0,2.0E-4,-10.0,0.0,---\n"));
        QVERIFY(fx.open(1, QStringLiteral("第一受信点"), ScreenDeviceSetting, QStringLiteral("CNR"), QStringLiteral("CNR")));
        QCOMPARE(fx.model()->rowCount(), 13);
        fx.send(QString(), QString(), QStringLiteral("individualcheck"), QStringLiteral("true"), QString(), 1);

        QVERIFY(QTest::qWaitForWindowExposed(fx.host->window));
        QTest::qWait(300);
        const QString path = TestPaths::picturePath("NRT52_SCREENSHOT", QStringLiteral("channel-details.png"));
        QImage image = fx.host->window->grabWindow();
        QVERIFY(!image.isNull());
        VERIFY_PICTURE(PictureDisplay::frameProblems(image));
        QVERIFY(image.save(path));
        qInfo("picture: %s", qPrintable(path));

        QMetaObject::invokeMethod(fx.pageChild(QStringLiteral("alertPopup")), "open");
        QTest::qWait(300);
        image = fx.host->window->grabWindow();
        VERIFY_PICTURE(PictureDisplay::frameProblems(image, true));
        VERIFY_PICTURE(PictureDisplay::blankness(image, QRect(405, 200, 200, 100)));
        QVERIFY(image.save(QString(path).replace(QStringLiteral(".png"), QStringLiteral("-bulk.png"))));
        fx.closePopups();

        QMetaObject::invokeMethod(fx.page(), "onOpenPopup", Q_ARG(QVariant, 3));
        QTest::qWait(300);
        image = fx.host->window->grabWindow();
        VERIFY_PICTURE(PictureDisplay::frameProblems(image, true));
        VERIFY_PICTURE(PictureDisplay::blankness(image, QRect(405, 200, 200, 100)));
        QVERIFY(image.save(QString(path).replace(QStringLiteral(".png"), QStringLiteral("-popup.png"))));
        fx.closePopups();

        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }
};

PICTURE_TEST_MAIN(TestChannelDetailsShot)
#include "tst_channeldetailsshot.moc"
