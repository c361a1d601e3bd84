// ctest-label: settings
// Saving channel details opened from the result list, against a simulated level checker:
// the pending pair goes into service, the device is stopped, waited for, reloaded with its
// stored results moved to their channels' new positions, and restarted; the next pass asks
// for the new plan and the result list shows its rows. A stopped device stays stopped, a
// device left without channels is marked stopped, and a failed replacement changes nothing.
// The save's progress pop-up takes the operator's clicks until the save has ended.
#include "DetailsHost.h"

#include "core/MeasureResultModel.h"
#include "monitor/NotifyResponse.h"
#include "support/ResultListSetup.h"
#include "support/SimDevices.h"
#include "support/WorkerTicks.h"

#include <QTimer>

namespace {
constexpr int Patience = 40000;
// 13 measured; 20 and 14 listed for the channel setting page but not measured.
const QByteArray CommittedPlan = "0,20,515143,0,0,0,0\n0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n";
const QByteArray CommittedAlert = "0,13,47.0,90.0,20.0,2.0E-4,-10.0,0.0,20.0\n";
} // namespace

class TestChannelDetailsApply : public QObject
{
    Q_OBJECT

private:
    SimDevices sim;
    std::unique_ptr<DetailsHost> fx;
    LevelChecker *device = nullptr;

    QStringList requests() const { return sim.requests(1); }

    MeasureResultModel *results() const
    {
        return qobject_cast<MeasureResultModel *>(fx->host->find(QStringLiteral("measureResultModel")));
    }

    // The channels of device 1's rows in the result list, in order.
    QStringList resultChannels() const
    {
        QStringList channels;
        MeasureResultModel *m = results();
        for (int r = 0; r < m->rowCount(); ++r) {
            const MeasureResultRow row = m->row(r);
            if (!row.latestData && row.deviceNo == QLatin1String("1"))
                channels.append(row.channel);
        }
        return channels;
    }

    // The level shown in device 1's row of a channel.
    QString levelOf(const QString &channel) const
    {
        MeasureResultModel *m = results();
        for (int r = 0; r < m->rowCount(); ++r) {
            const MeasureResultRow row = m->row(r);
            if (!row.latestData && row.deviceNo == QLatin1String("1") && row.channel == channel)
                return row.level;
        }
        return QString();
    }

    static QStringList historyChannels(LevelChecker *d, int position)
    {
        QStringList channels;
        for (int i = 0; i < d->measurementHistoryCount(position); ++i)
            channels.append(d->measurementHistory(position, i).channel);
        channels.removeDuplicates();
        return channels;
    }

    // The device measures its plan; the first pass has asked for channel 13.
    void startMeasuring()
    {
        device->setMeasurementState(0);
        fx->host->app->deviceList()->startMonitoringAt(0);
        QTRY_VERIFY_WITH_TIMEOUT(requests().contains(QStringLiteral("SET 3.1.6 13")), Patience);
    }

private slots:
    void initTestCase()
    {
        QmlMessageGuard::install();
        QVERIFY2(sim.start(1), qPrintable(sim.lastError()));
    }

    // Device 1 measures its committed plan (地デジ 13) from the result list's point of view.
    void init()
    {
        QVERIFY(sim.setFault(1, SimDevices::Fault::None));
        QVERIFY(sim.clearLog(1));
        fx.reset(new DetailsHost);
        QVERIFY(fx->root.prepare());
        QVERIFY(ResultListSetup::writeSettings(QStringLiteral("C:\\VELMORA\\NRT52\\Data"), 0, 0));
        fx->host.reset(new FrameHost);
        QVERIFY(fx->host->isValid() && fx->host->waitForBoot());
        device = fx->addDevice(QStringLiteral("本社"), sim.host(1), sim.port(1));
        QVERIFY(device);
        QVERIFY(fx->writePlan(1, ChannelSettingFile::Copy::Committed, CommittedPlan));
        QVERIFY(fx->writeAlert(1, AlertSettingFile::Copy::Committed, DetailsHost::alertHeader() + CommittedAlert));
        MeasuredChannelPlan plan;
        QVERIFY(ChannelSettingFile::readMeasured(fx->planPath(1, ChannelSettingFile::Copy::Committed), &plan));
        ChannelSettingFile::applyTo(device, plan);
        QVector<AlertSettingRow> thresholds;
        QVERIFY(AlertSettingFile::read(fx->alertPath(1, AlertSettingFile::Copy::Committed), &thresholds));
        AlertSettingFile::applyTo(device, thresholds);
        device->setMeasurable(1);
        fx->host->frame->responseHandler()->onMakeMeasurementResultModel();
        QCOMPARE(resultChannels(), QStringList({"13"}));
    }

    void cleanup()
    {
        if (fx && fx->host) {
            fx->host->app->stopDevices();
            fx->host->app->deviceList()->waitForPollingLoops(-1, 30000);
        }
        fx.reset();
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    // The whole editing path from the result list: channel setting, details, "完了" puts the
    // new plan into service, the device asks for it at its next pass and the result list
    // shows its rows.
    void savePutsPlanIntoService()
    {
        startMeasuring();
        if (QTest::currentTestFailed())
            return;
        // Results of channel 13 stored at its present position 0.
        QTRY_VERIFY_WITH_TIMEOUT(device->measurementHistoryCount(0) > 0, Patience);

        // The result list's channel setting button of the device.
        fx->host->transit(QStringLiteral("MeasurementResult.qml"));
        QObject *resultPage = fx->host->find(QStringLiteral("MeasurementResult"));
        QVERIFY(resultPage);
        QMetaObject::invokeMethod(resultPage, "listButtonClicked", Q_ARG(QString, QStringLiteral("settingButton")),
                                  Q_ARG(int, 1), Q_ARG(int, 0));
        QCOMPARE(fx->topPageName(), QStringLiteral("ChannelSetting"));
        ChannelSettingViewModel *channelSetting = fx->channelSetting();
        QCOMPARE(channelSetting->selectedDeviceNo(), 1);
        QCOMPARE(channelSetting->originScreen(), ScreenMeasurementResult);

        // On the channel setting page 20 is ticked beside 13; "次へ" writes the working copy
        // and hands device, name and origin over to the details page.
        QTRY_VERIFY(fx->host->visibleItem(QStringLiteral("tick_0_20")));
        QVERIFY(fx->host->click(QStringLiteral("tick_0_20")));
        QVERIFY(fx->host->click(QStringLiteral("nextButton")));
        QTRY_COMPARE(fx->topPageName(), QStringLiteral("ChannelDetails"));
        QCOMPARE(TestFiles::readBytes(fx->planPath(1, ChannelSettingFile::Copy::Working)),
                 DetailsHost::planHeader() + "0,20,515143,0,0,0,1\n0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n");
        QCOMPARE(fx->model()->rowCount(), 2);
        fx->send(QString(), QString(), QStringLiteral("detailsLevelMinText"), QStringLiteral("45"), QString(), 0);
        const int logFrom = fx->root.logLines().size();
        fx->save();

        QCOMPARE(fx->topPageName(), QStringLiteral("MeasurementResult"));
        QCOMPARE(TestFiles::readBytes(fx->planPath(1, ChannelSettingFile::Copy::Committed)),
                 DetailsHost::planHeader() + "0,20,515143,0,0,0,1\n0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n");
        QCOMPARE(TestFiles::readBytes(fx->alertPath(1, AlertSettingFile::Copy::Committed)),
                 DetailsHost::alertHeader() + "0,20,45.0,90.0,20.0,2.0E-4,-10.0,0.0,20.0\n" + CommittedAlert);
        for (auto copy : {ChannelSettingFile::Copy::Working, ChannelSettingFile::Copy::Pending})
            QVERIFY(!ChannelSettingFile::exists(1, copy));
        QVERIFY(!AlertSettingFile::exists(1, AlertSettingFile::Copy::Pending));

        // The device holds the new plan and thresholds; 13's results moved with it to 1.
        QCOMPARE(device->channelSettingCount(), 2);
        QCOMPARE(device->channelSetting(0).channel, QStringLiteral("20"));
        QCOMPARE(device->channelSetting(1).channel, QStringLiteral("13"));
        QCOMPARE(device->alertSetting(0).levelMin, QStringLiteral("45.0"));
        QCOMPARE(historyChannels(device, 1), QStringList({"13"}));
        QVERIFY(historyChannels(device, 0).isEmpty() || historyChannels(device, 0) == QStringList({"20"}));
        QCOMPARE(device->measurementState(), 0);
        QCOMPARE(resultChannels(), QStringList({"20", "13"}));
        // It was reloaded only after its worker had left its loop.
        QVERIFY(fx->root.logMessages(logFrom).filter(QStringLiteral("[ChannelDetailsViewModel] ThreadWaitTimes!===")).size() == 1);

        // The next pass asks for the new plan.
        QVERIFY(sim.clearLog(1));
        QTRY_VERIFY_WITH_TIMEOUT(requests().contains(QStringLiteral("SET 3.1.6 20")), Patience);
        QTRY_VERIFY_WITH_TIMEOUT(levelOf(QStringLiteral("20")) != QLatin1String("---"), Patience);
    }

    void stoppedDeviceStaysStopped()
    {
        QVERIFY(fx->writePlan(1, ChannelSettingFile::Copy::Working, "0,20,515143,0,0,0,1\n"));
        QVERIFY(fx->open(1, QStringLiteral("本社"), ScreenMeasurementResult));
        fx->save();
        QCOMPARE(fx->topPageName(), QStringLiteral("MeasurementResult"));
        QCOMPARE(device->channelSettingCount(), 1);
        QCOMPARE(device->measurementState(), 1);
        QVERIFY(!device->isMonitoring());
        const QString ticked = WorkerTicks::waitFor(fx->host->app->deviceList(), 0);
        QVERIFY2(ticked.isEmpty(), qPrintable(ticked));
        QVERIFY(requests().filter(QStringLiteral("SET 3.1.6 20")).isEmpty());
    }

    // A measuring device whose new plan measures nothing is marked stopped, in the work
    // history too.
    void noChannelLeftStopsDevice()
    {
        startMeasuring();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(fx->writePlan(1, ChannelSettingFile::Copy::Working, "0,13,473143,0,0,0,0\n"));
        QVERIFY(fx->open(1, QStringLiteral("本社"), ScreenMeasurementResult));
        QCOMPARE(fx->model()->rowCount(), 0);
        fx->save();
        QCOMPARE(fx->topPageName(), QStringLiteral("MeasurementResult"));
        QCOMPARE(device->channelSettingCount(), 0);
        QCOMPARE(device->measurementState(), 1);
        QVERIFY(!device->isMeasurable());
        QVERIFY(TestFiles::readShiftJis(fx->root.workLogPath()).contains(QStringLiteral(",機器No.1,測定を停止")));
    }

    // A device without an address is not measurable after a save, whatever its plan: the
    // result list must keep refusing to start it.
    void addresslessDeviceStaysUnmeasurable()
    {
        const quint32 none = 0;
        device->setIpAddress(&none);
        QVERIFY(fx->writePlan(1, ChannelSettingFile::Copy::Working, "0,13,473143,0,0,0,1\n"));
        QVERIFY(fx->open(1, QStringLiteral("本社"), ScreenMeasurementResult));
        fx->save();
        QCOMPARE(fx->topPageName(), QStringLiteral("MeasurementResult"));
        QCOMPARE(device->channelSettingCount(), 1);
        QVERIFY(!device->isMeasurable());
    }

    // A worker that does not leave its loop in time: the device's lists stay as they are,
    // the device is left stopped, the operator is told and may save again.
    void workerThatDoesNotLeave()
    {
        device->setMeasurementState(0);
        // As if the worker were still inside its loop.
        device->setPollingLoopActive(1);
        QVERIFY(fx->writePlan(1, ChannelSettingFile::Copy::Working, "0,20,515143,0,0,0,1\n"));
        QVERIFY(fx->open(1, QStringLiteral("本社"), ScreenMeasurementResult));
        fx->save();
        QCOMPARE(fx->topPageName(), QStringLiteral("ChannelDetails"));
        QVERIFY(fx->popupText().startsWith(QStringLiteral("機器の測定を停止できなかったため")));
        QCOMPARE(device->channelSettingCount(), 1);
        QCOMPARE(device->channelSetting(0).channel, QStringLiteral("13"));
        QCOMPARE(device->measurementState(), 1);
        QVERIFY(TestFiles::readShiftJis(fx->root.workLogPath()).contains(QStringLiteral(",機器No.1,測定を停止")));

        // Once the worker is out, saving again puts the plan in; the device stays stopped.
        fx->closePopups();
        device->setPollingLoopActive(0);
        fx->save();
        QCOMPARE(fx->topPageName(), QStringLiteral("MeasurementResult"));
        QCOMPARE(device->channelSetting(0).channel, QStringLiteral("20"));
        QCOMPARE(device->measurementState(), 1);
        QCOMPARE(resultChannels(), QStringList({"20"}));
    }

    // When the thresholds cannot replace the committed ones, neither file changes, the
    // device keeps measuring its old plan and the operator is told.
    void failedReplacementChangesNothing()
    {
        startMeasuring();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(fx->writePlan(1, ChannelSettingFile::Copy::Working, "0,20,515143,0,0,0,1\n"));
        QVERIFY(fx->open(1, QStringLiteral("本社"), ScreenMeasurementResult));
        // The committed thresholds cannot be replaced.
        QVERIFY(QFile::remove(fx->alertPath(1, AlertSettingFile::Copy::Committed)));
        QVERIFY(QDir().mkpath(fx->alertPath(1, AlertSettingFile::Copy::Committed) + QStringLiteral("/busy")));
        fx->save();
        QCOMPARE(fx->topPageName(), QStringLiteral("ChannelDetails"));
        QVERIFY(fx->popupText().startsWith(QStringLiteral("設定ファイルを保存できませんでした。")));
        QCOMPARE(TestFiles::readBytes(fx->planPath(1, ChannelSettingFile::Copy::Committed)),
                 DetailsHost::planHeader() + CommittedPlan);
        QCOMPARE(device->channelSettingCount(), 1);
        QCOMPARE(device->channelSetting(0).channel, QStringLiteral("13"));
        QCOMPARE(device->measurementState(), 0);
        QVERIFY(device->isMonitoring());
        fx->closePopups();
        QVERIFY(QDir(fx->alertPath(1, AlertSettingFile::Copy::Committed)).removeRecursively());
    }

    // While the save runs its pop-up has no OK and stays up: the operator's clicks on OK's
    // place and on HOME and an Escape act on nothing, and the save ends on its own screen
    // (the result list, or the details with the failure and then an OK that closes it).
    void progressPopupTakesClicks_data()
    {
        QTest::addColumn<bool>("workerStays");
        QTest::addColumn<QString>("endPage");
        QTest::addColumn<QString>("endText");
        QTest::newRow("saved") << false << QStringLiteral("MeasurementResult") << QString();
        QTest::newRow("device not stopped") << true << QStringLiteral("ChannelDetails")
                                            << QStringLiteral("機器の測定を停止できなかったため");
    }
    void progressPopupTakesClicks()
    {
        QFETCH(bool, workerStays);
        QFETCH(QString, endPage);
        QFETCH(QString, endText);
        device->setMeasurementState(0);
        // As if the worker were still inside its loop: the save waits for it, then gives up.
        device->setPollingLoopActive(workerStays ? 1 : 0);
        QVERIFY(fx->writePlan(1, ChannelSettingFile::Copy::Working, "0,20,515143,0,0,0,1\n"));
        QVERIFY(fx->open(1, QStringLiteral("本社"), ScreenMeasurementResult));
        QTRY_VERIFY(fx->host->window->isExposed());
        const int logFrom = fx->root.logLines().size();

        QString runningText;
        bool okShown = true;
        bool stillUp = false;
        // Runs inside the save's first pause.
        QTimer::singleShot(0, [&] {
            runningText = fx->popupText();
            okShown = fx->host->visibleItem(QStringLiteral("popupOkButton")) != nullptr;
            auto *ok = qobject_cast<QQuickItem *>(fx->pageChild(QStringLiteral("popupOkButton")));
            if (ok) {
                const QPointF centre = ok->mapToScene(QPointF(ok->width() / 2, ok->height() / 2));
                QTest::mouseClick(fx->host->window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
            }
            QTest::keyClick(fx->host->window, Qt::Key_Escape);
            auto *home = fx->host->visibleItem(QStringLiteral("homeButton"));
            if (home) {
                const QPointF centre = home->mapToScene(QPointF(home->width() / 2, home->height() / 2));
                QTest::mouseClick(fx->host->window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
            }
            stillUp = !fx->popupText().isEmpty();
        });
        fx->save();

        QCOMPARE(runningText, QStringLiteral("設定中です。\nしばらくお待ちください。"));
        QVERIFY(!okShown);
        QVERIFY(stillUp);
        QCOMPARE(fx->topPageName(), endPage);
        QVERIFY(fx->root.logMessages(logFrom).filter(QStringLiteral("閉じる画面の遷移確認")).isEmpty());
        QTest::qWait(200);
        QCOMPARE(fx->topPageName(), endPage);
        if (endText.isEmpty()) {
            QCOMPARE(device->channelSetting(0).channel, QStringLiteral("20"));
            return;
        }
        // The failure can be read and closed.
        QVERIFY(fx->popupText().startsWith(endText));
        QVERIFY(fx->host->click(QStringLiteral("popupOkButton")));
        QTRY_VERIFY(fx->popupText().isEmpty());
        device->setPollingLoopActive(0);
    }
};

QTEST_MAIN(TestChannelDetailsApply)
#include "tst_channeldetailsapply.moc"
