// ctest-label: resultlist display
// A picture of the result list for a person to look at: three simulated devices measuring,
// the third one silent, drawn on an Xvfb display of the test's own and checked (size, the
// table and its header colour, a measuring row's green). The pictures go to $NRT52_SHOT_PNG,
// or resultlist.png in the build
// folder, and the status popup beside it ("-popup.png").

#include "support/PictureDisplay.h"
#include "ResultListFixture.h"
#include "screens/ViewFonts.h"
#include "support/TestPaths.h"

#include <QGuiApplication>
#include <QImage>
#include <QQuickWindow>
#include <QtTest>

class TestResultListShot : public QObject
{
    Q_OBJECT

private slots:
    void resultListWithLiveValues()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QCoreApplication::setOrganizationName(QStringLiteral("VELMORA"));
        QCoreApplication::setOrganizationDomain(QStringLiteral("velmora.example"));
        ViewFonts::installSubstitutes();

        SimDevices sim;
        QVERIFY2(sim.start(3), qPrintable(sim.lastError()));
        QVERIFY(sim.setFault(3, SimDevices::Fault::Silent));

        ResultListFixture fx;
        QVERIFY(fx.prepare());
        LevelChecker *one = fx.addDevice(QStringLiteral("本社 受信点"), sim.address(1));
        ResultListFixture::addChannel(one, 0, QStringLiteral("13"), 473143);
        ResultListFixture::addChannel(one, 0, QStringLiteral("21"), 521143);
        ResultListFixture::addChannel(one, 1, QStringLiteral("BS1"), 1049480);
        LevelChecker *two = fx.addDevice(QStringLiteral("支社 分配点"), sim.address(2));
        ResultListFixture::addChannel(two, 5, QStringLiteral("C24"), 231000, 0, QStringLiteral("3"));
        LevelChecker *three = fx.addDevice(QStringLiteral("中継局 (応答なし)"), sim.address(3));
        ResultListFixture::addChannel(three, 0, QStringLiteral("27"), 557143);
        fx.createHandler();
        fx.createViewModel();
        QQuickItem *page = fx.showPage();
        QVERIFY(page);
        auto *window = qobject_cast<QQuickWindow *>(fx.window());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        QVERIFY(QMetaObject::invokeMethod(page, "measurementSelectStartStop", Q_ARG(bool, true), Q_ARG(bool, true)));
        QVERIFY(QMetaObject::invokeMethod(page, "listButtonClicked", Q_ARG(QString, QStringLiteral("rowSelectionSingleClicke")),
                                          Q_ARG(int, 0), Q_ARG(int, 1)));
        MeasureResultModel *model = fx.model();
        const int silentTop = fx.topRow(3);
        QTRY_VERIFY_WITH_TIMEOUT(model->row(3).level != QLatin1String("---") && !model->row(3).level.isEmpty()
                                     && model->row(fx.topRow(2)).level != QLatin1String("---")
                                     && model->row(silentTop).status == 3,
                                 90000);
        QTest::qWait(500);

        const QImage image = window->grabWindow();
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(1010, 504));
        // The table's heading row in its blue, a row's "測定中" in green, rows and the save
        // button drawn.
        VERIFY_PICTURE(PictureDisplay::colourMismatch(image, QPoint(60, 100), QColor(53, 80, 110)));
        VERIFY_PICTURE(PictureDisplay::colourMismatch(image, QPoint(60, 130), QColor(60, 141, 90)));
        VERIFY_PICTURE(PictureDisplay::blankness(image, QRect(16, 115, 975, 120)));
        VERIFY_PICTURE(PictureDisplay::blankness(image, QRect(150, 455, 116, 42)));
        const QString path = TestPaths::picturePath("NRT52_SHOT_PNG", QStringLiteral("resultlist.png"));
        QVERIFY(image.save(path));
        qInfo("picture: %s", qPrintable(path));

        // The status popup with the first error row selected, beside it.
        QVERIFY(QMetaObject::invokeMethod(page, "listButtonClicked", Q_ARG(QString, QStringLiteral("statusButton")),
                                          Q_ARG(int, silentTop), Q_ARG(int, 0)));
        QVERIFY(QMetaObject::invokeMethod(page, "statusPopupOpen"));
        QTest::qWait(500);
        const QImage popup = window->grabWindow();
        VERIFY_PICTURE(PictureDisplay::blankness(popup, QRect(235, 90, 510, 60)));
        VERIFY_PICTURE(PictureDisplay::blankness(popup, QRect(235, 285, 520, 125)));
        const QString popupPath = path.left(path.size() - 4) + QStringLiteral("-popup.png");
        QVERIFY(popup.save(popupPath));
        qInfo("picture: %s", qPrintable(popupPath));
        fx.app()->stopDevices();
    }
};

PICTURE_TEST_MAIN(TestResultListShot)
#include "tst_resultlistshot.moc"
