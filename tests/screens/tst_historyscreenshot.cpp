// ctest-label: history display
// A picture of the history screen of one channel: the table and the three graphs with their
// points and lines, drawn on an Xvfb display of the test's own and checked (size, header,
// each graph's colour, the zoomed page).
// The PNG goes to $NRT52_SCREENSHOT (default: history-screen.png in the build folder).
#include "support/PictureDisplay.h"
#include "FrameHost.h"

#include "core/IndividualResultListModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "monitor/NotifyResponse.h"
#include "screens/MeasurementResultIndividualViewModel.h"
#include "support/HistoryFixture.h"
#include "support/TestPaths.h"

#include <QImage>
#include <QQuickItem>

namespace {

// Pixels of colour within the item's area of the image (colours compared loosely, since
// lines are drawn smoothed).
int pixelsOf(const QImage &image, QQuickItem *item, const QColor &colour)
{
    const QRectF area = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    const qreal ratio = image.devicePixelRatio();
    int count = 0;
    for (int y = int(area.top() * ratio); y < int(area.bottom() * ratio) && y < image.height(); ++y) {
        for (int x = int(area.left() * ratio); x < int(area.right() * ratio) && x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40
                && std::abs(c.blue() - colour.blue()) < 40)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestHistoryScreenshot : public QObject
{
    Q_OBJECT
private slots:
    void screenshot()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QmlMessageGuard::install();
        FrameRoot root;
        QVERIFY(root.prepare());
        FrameHost host;
        QVERIFY(host.isValid());
        QVERIFY(host.waitForBoot());

        // One measuring device with a terrestrial channel and two days of varied history.
        const quint32 ip = 0x0100007f;
        host.app->addDevice(1, "受信点1", "", &ip, 0, nullptr, 0, "08:00", "20:00", 3, "kv52gate", 161);
        LevelChecker *device = host.app->deviceList()->device(0);
        device->setMeasurementState(0);
        ChannelSettingRow plan;
        plan.bandTabIndex = BandTerrestrial;
        plan.channel = QStringLiteral("27");
        plan.frequency = 557143;
        plan.broadbandSystem = QStringLiteral("0");
        device->addChannelSetting(plan);
        ChannelResultRow initial;
        initial.bandTabIndex = BandTerrestrial;
        initial.channel = QStringLiteral("27");
        device->addLatestResult(initial);
        AlertSettingRow alert;
        alert.bandTabIndex = BandTerrestrial;
        alert.channel = QStringLiteral("27");
        alert.levelMin = QStringLiteral("45");
        alert.levelMax = QStringLiteral("80");
        alert.merCn = QStringLiteral("25");
        alert.ber = QStringLiteral("1.0E-4");
        alert.convertCnr = QStringLiteral("25");
        device->addAlertSetting(alert);
        host.frame->responseHandler()->onMakeMeasurementResultModel();

        const QStringList levels = {"62.4", "63.1", "61.8", "58.2", "44.5", "52.0", "60.3", "64.0", "65.2", "63.7", "---", "59.9"};
        const QStringList mers = {"31.2", "30.8", "29.5", "27.1", "22.4", "26.0", "30.1", "32.0", "33.4", "31.0", "---", "29.8"};
        const QStringList bers = {"<1.0E-8", "2.0E-8", "1.0E-7", "3.5E-6", "8.0E-4", "2.2E-5", "<1.0E-8", "<1.0E-8", "<1.0E-8", "5.0E-8", "---", "1.0E-7"};
        for (int day = 9; day <= 10; ++day) {
            QByteArray rows = HistoryFixture::headerLine();
            for (int i = 0; i < 40; ++i) {
                const int k = (i + day) % levels.size();
                const bool none = levels.at(k) == QLatin1String("---");
                const bool low = levels.at(k).toDouble() < 45 || mers.at(k).toDouble() < 25;
                rows += HistoryFixture::dataLine(1, QStringLiteral("2026/12/%1 %2:%3:00").arg(day, 2, 10, QLatin1Char('0')).arg(8 + i / 6, 2, 10, QLatin1Char('0')).arg(i % 6 * 10, 2, 10, QLatin1Char('0')),
                                                 "27", "地デジ", levels.at(k), mers.at(k), bers.at(k),
                                                 none ? "0000" : (low ? "0001" : "1111"));
            }
            QVERIFY(HistoryFixture::writeFile(HistoryFixture::folder(1) + QStringLiteral("/202612%1.csv").arg(day, 2, 10, QLatin1Char('0')), rows, true));
        }

        auto *screen = qobject_cast<MeasurementResultIndividualViewModel *>(host.frame->viewModelOf("ResultIndividual"));
        auto *resultList = qobject_cast<MeasureResultModel *>(host.find(QStringLiteral("measureResultModel")));
        screen->onDataPassChannelData(1, BandTerrestrial, QStringLiteral("27"), 0, resultList, QString(), false, false);
        host.transit(QStringLiteral("MeasurementResultIndividual.qml"));
        QObject *page = host.find(QStringLiteral("ResultIndividual"));
        QVERIFY(page);
        // A result arriving while the screen is on show.
        device->setCurrentChannelIndex(0);
        host.frame->responseHandler()->onNotifyResponse(
            0, QStringLiteral("VEDIRUDO-ZER::lcMeasResult.0 = STRING: \"2026/12/10 15:00:00,ISDBT,27,0,61.5,30.5,<1.0E-8,0,ISDBT,64QAM,A,---,\n\""));
        QCOMPARE(screen->rowsOfShownDate().size(), 41);

        QVERIFY(QTest::qWaitForWindowExposed(host.window));
        QTest::qWait(300);
        const QImage image = host.window->grabWindow();
        QVERIFY(!image.isNull());
        VERIFY_PICTURE(PictureDisplay::frameProblems(image));
        const QString path = TestPaths::picturePath("NRT52_SCREENSHOT", QStringLiteral("history-screen.png"));
        QVERIFY(image.save(path));
        qInfo("picture: %s", qPrintable(path));

        // Points and lines in each graph, in its own colour; rows in the table.
        auto *levelPlot = host.window->findChild<QQuickItem *>(QStringLiteral("levelPlot"));
        auto *merPlot = host.window->findChild<QQuickItem *>(QStringLiteral("merPlot"));
        auto *berPlot = host.window->findChild<QQuickItem *>(QStringLiteral("berPlot"));
        QVERIFY(levelPlot && merPlot && berPlot);
        QVERIFY(pixelsOf(image, levelPlot, QColor("#1f5fae")) > 200);
        QVERIFY(pixelsOf(image, merPlot, QColor("#2e8b57")) > 200);
        QVERIFY(pixelsOf(image, berPlot, QColor("#c0531f")) > 200);
        auto *table = host.window->findChild<QQuickItem *>(QStringLiteral("historyTable"));
        QVERIFY(table);
        QVERIFY(table->property("count").toInt() == 41);

        // At 120 %, scrolled to the far corner: the axis boxes and the graphs' right ends.
        emit host.frame->changeDialogScaleNotify(1.2);
        auto *area = host.window->findChild<QQuickItem *>(QStringLiteral("zoomArea"));
        QVERIFY(area);
        area->setProperty("contentX", area->property("contentWidth").toReal() - area->width());
        area->setProperty("contentY", area->property("contentHeight").toReal() - area->height());
        QTest::qWait(300);
        const QImage zoomed = host.window->grabWindow();
        VERIFY_PICTURE(PictureDisplay::frameProblems(zoomed));
        const QString zoomedPath = TestPaths::picturePath("NRT52_SCREENSHOT_ZOOMED", QStringLiteral("history-screen-120.png"));
        QVERIFY(zoomed.save(zoomedPath));
        qInfo("picture: %s", qPrintable(zoomedPath));
        emit host.frame->changeDialogScaleNotify(1.0);

        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }
};

PICTURE_TEST_MAIN(TestHistoryScreenshot)
#include "tst_historyscreenshot.moc"
