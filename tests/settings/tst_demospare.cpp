// ctest-label: settings
// What the README tells a newcomer to try in the demo, as a person does it on the pages:
// the spare device that the demo script started but did not register is typed into the
// blank row, its channels ticked, applied, started from the result list, and it measures.
#include "settings/DeviceSettingPage.h"

#include "core/MeasureResultModel.h"
#include "core/MeasureResultRow.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

#include <QProcess>
#include <QQuickItem>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

namespace {

constexpr int Patience = 60000;
const char *const SpareAddress = "127.0.0.14";

} // namespace

class TestDemoSpare : public QObject, DeviceSettingPage
{
    Q_OBJECT

    QString simDir() const { return root->path() + QStringLiteral("/sim"); }

    QString requests(int device) const
    {
        return QString::fromUtf8(root->readFile(QStringLiteral("%1/%2/requests.log").arg(simDir()).arg(device)));
    }

    // A control of the result list page or of its pop-up (outside the page's items), clicked
    // where it is drawn: its row lays it out only when the next frame is made.
    void clickOnResultList(const char *name) const
    {
        QObject *page = host->find(QStringLiteral("MeasurementResult"));
        QVERIFY(page);
        QQuickItem *item = nullptr;
        QTRY_VERIFY2((item = page->findChild<QQuickItem *>(QLatin1String(name))) && item->isVisible(), name);
        QSignalSpy drawn(host->window, &QQuickWindow::frameSwapped);
        host->window->update();
        QVERIFY(drawn.wait(5000));
        clickItem(item);
    }

    // Whether the result list shows a level of that device's channel.
    bool levelShown(const QString &deviceNo, const QString &channel) const
    {
        auto *model = qobject_cast<MeasureResultModel *>(host->find(QStringLiteral("measureResultModel")));
        for (int i = 0; model && i < model->rowCount(); ++i) {
            const MeasureResultRow row = model->row(i);
            if (row.deviceNo == deviceNo && row.channel == channel && !row.level.isEmpty() && row.level != QLatin1String("---"))
                return true;
        }
        return false;
    }

private slots:
    void initTestCase() { QmlMessageGuard::install(); }

    void cleanupTestCase()
    {
        if (host) {
            host->app->stopDevices();
            host->app->deviceList()->waitForPollingLoops(-1, 30000);
        }
        if (root)
            QProcess::execute(TestPaths::sourceDir() + QStringLiteral("/sim/simctl"), {QStringLiteral("stop"), QStringLiteral("--dir"), simDir()});
        close();
    }

    void spareAddedMeasures()
    {
        QVERIFY(makeRoot(QByteArray()));
        QVERIFY(TestFiles::installTemplatePlan());
        QProcess demo;
        demo.start(TestPaths::sourceDir() + QStringLiteral("/scripts/demo-devices.sh"), {root->path()});
        QVERIFY(demo.waitForFinished(60000));
        QCOMPARE(demo.exitCode(), 0);
        const QString said = QString::fromUtf8(demo.readAllStandardOutput() + demo.readAllStandardError());
        if (said.contains(QStringLiteral("port 161 cannot be bound")))
            QSKIP(qPrintable(QStringLiteral("the spare needs port 161: %1").arg(said)));
        QVERIFY2(said.contains(QStringLiteral("spare device, not registered: 127.0.0.14")), qPrintable(said));

        QVERIFY(start());
        QVERIFY(openScreen());
        vm()->setReadoutBoundMs(5000);
        // Three devices the table tells apart, the blank row after them.
        QCOMPARE(devices()->deviceCount(), 3);
        QSet<QString> shown;
        for (int i = 0; i < 3; ++i)
            shown.insert(devices()->device(i)->ipAddressText());
        QCOMPARE(shown, (QSet<QString> {"127.0.0.11", "127.0.0.12", "127.0.0.13"}));

        // The spare typed into the blank row, its channels 13 and 20 ticked, thresholds as
        // they come, applied.
        typeInto(inRow(3, "nameField"), "SPARE");
        typeInto(inRow(3, "addressField"), SpareAddress);
        clickItem(inRow(3, "channelSettingButton"));
        QTRY_COMPARE(host->currentPageName(), QStringLiteral("ChannelSetting"));
        clickNamed("tick_0_13");
        clickNamed("tick_0_20");
        QTRY_COMPARE(host->find(QStringLiteral("ChannelSetting"))->property("countCheck").toInt(), 2);
        clickNamed("nextButton");
        QTRY_COMPARE(host->currentPageName(), QStringLiteral("ChannelDetails"));
        clickNamed("nextbutton");
        QTRY_COMPARE(host->currentPageName(), QStringLiteral("DeviceSetting"));
        clickNamed("applyButton");
        QTRY_COMPARE(devices()->deviceCount(), 4);
        QTRY_VERIFY_WITH_TIMEOUT(!vm()->isReadoutRunning(), Patience);
        LevelChecker *spare = devices()->device(3);
        QCOMPARE(spare->ipAddressText(), QString::fromLatin1(SpareAddress));
        QCOMPARE(spare->serialNumber(), QStringLiteral("VZ52-00004"));
        QCOMPARE(spare->measurementState(), 1);

        // Started from the result list: 一括 測定開始, 全ての機器, はい.
        host->transit(QStringLiteral("MeasurementResult.qml"));
        QTRY_COMPARE(host->currentPageName(), QStringLiteral("MeasurementResult"));
        clickOnResultList("bulkStartButton");
        clickOnResultList("allDevicesRadio");
        clickOnResultList("startStopYesButton");
        QTRY_COMPARE(spare->measurementState(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(requests(4).contains(QStringLiteral("SET 3.1.6 13")), Patience);
        QTRY_VERIFY_WITH_TIMEOUT(requests(4).contains(QStringLiteral("SET 3.1.6 20")), Patience);
        QTRY_VERIFY_WITH_TIMEOUT(levelShown(QStringLiteral("4"), QStringLiteral("13")), Patience);
        QTRY_VERIFY_WITH_TIMEOUT(levelShown(QStringLiteral("4"), QStringLiteral("20")), Patience);
        QCOMPARE(QmlMessageGuard::take(), QStringList());
    }
};

QTEST_MAIN(TestDemoSpare)
#include "tst_demospare.moc"
