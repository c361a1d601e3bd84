// ctest-label: resultlist
// Starting and stopping from the result list against simulated level checkers: one device
// by its row button, the ticked devices and all devices in bulk, a start asked for while the
// worker still runs its stop, and a start that could not happen.

#include "ResultListFixture.h"
#include "screens/PendingMeasurementStarts.h"
#include "support/WorkerTicks.h"

#include <QtTest>

namespace {
const QString StopBand = QStringLiteral("SET 3.1.1 ISDBT");
const QString StopChannel = QStringLiteral("SET 3.1.6 0");
const QString PassStart = QStringLiteral("SET 2.2 0");
const QString ResultGet = QStringLiteral("GET 4.1");
constexpr int Patience = 30000;

// The stop selection: the two varbinds of one SET, as the device logs them.
bool endsWithStopSelection(const QStringList &requests)
{
    return requests.size() >= 2 && requests.at(requests.size() - 2) == StopBand && requests.last() == StopChannel;
}

int indexAfter(const QStringList &requests, const QString &request, int from)
{
    const int at = requests.indexOf(request, from + 1);
    return at < 0 ? requests.size() + 1 : at;
}
} // namespace

class TestResultListStartStop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The page's file dialog keeps its settings under these names.
        QCoreApplication::setOrganizationName(QStringLiteral("VELMORA"));
        QCoreApplication::setOrganizationDomain(QStringLiteral("velmora.example"));
        QVERIFY2(m_sim.start(3), qPrintable(m_sim.lastError()));
    }

    void init()
    {
        for (int n = 1; n <= 3; ++n) {
            QVERIFY(m_sim.setFault(n, SimDevices::Fault::None));
            QVERIFY(m_sim.clearLog(n));
        }
        m_fx.reset(new ResultListFixture);
        QVERIFY(m_fx->prepare());
        const QStringList names = {QStringLiteral("本社"), QStringLiteral("支社"), QStringLiteral("中継局")};
        for (int n = 1; n <= 3; ++n) {
            LevelChecker *device = m_fx->addDevice(names.at(n - 1), m_sim.address(n), 1);
            QVERIFY(device);
            ResultListFixture::addChannel(device, 0, QStringLiteral("13"), 473143);
        }
        m_handler = m_fx->createHandler();
        m_view = m_fx->createViewModel();
        m_model = m_fx->model();
        m_page = m_fx->showPage();
        QVERIFY(m_page);
        m_messages.reset(new QSignalSpy(m_view, &MeasurementResultViewModel::messagePopupOpen));
    }

    void cleanup()
    {
        m_messages.reset();
        m_fx.reset();
    }

    // The row button starts a stopped device, which begins a pass and shows its results;
    // pressed again it stops it, and the device gets the stop selection.
    void startAndStopOne()
    {
        LevelChecker *device = m_fx->devices()->device(0);
        pressStartStop(1);
        QCOMPARE(device->measurementState(), 0);
        QCOMPARE(m_model->row(0).measurementStart, QStringLiteral("測定中"));
        QCOMPARE(m_model->row(1).measurementStart, QStringLiteral("測定中"));
        QCOMPARE(m_page->property("measurementSaveText").toBool(), true);
        QCOMPARE(ResultListFixture::workLogEntries().last(), QStringLiteral("機器No.1,測定を開始"));

        QTRY_VERIFY_WITH_TIMEOUT(m_sim.requests(1).contains(ResultGet), Patience);
        QCOMPARE(m_sim.requests(1).mid(0, 3), (QStringList {StopBand, StopChannel, PassStart}));
        QTRY_VERIFY_WITH_TIMEOUT(!m_model->row(1).datatime.isEmpty() && m_model->row(1).level != QLatin1String("---"),
                                 Patience);

        pressStartStop(1);
        QCOMPARE(device->measurementState(), 1);
        QCOMPARE(m_model->row(0).measurementStart, QStringLiteral("停止中"));
        QCOMPARE(m_page->property("measurementSaveText").toBool(), false);
        QCOMPARE(ResultListFixture::workLogEntries().last(), QStringLiteral("機器No.1,測定を停止"));
        QVERIFY(m_fx->devices()->waitForPollingLoops(0, Patience));
        QVERIFY(endsWithStopSelection(m_sim.requests(1)));
        QVERIFY(m_sim.requests(2).isEmpty());
        QVERIFY(m_sim.requests(3).isEmpty());
    }

    // Stop and start again at once, while the worker is still busy with a slow device: the
    // start waits for the worker to leave its loop and then runs a new pass.
    void startRightAfterStop()
    {
        LevelChecker *device = m_fx->devices()->device(0);
        pressStartStop(1);
        QTRY_VERIFY_WITH_TIMEOUT(m_sim.requests(1).contains(ResultGet), Patience);
        QVERIFY(m_sim.setFault(1, SimDevices::Fault::Slow, 1500));
        QVERIFY(m_sim.clearLog(1));
        QTRY_VERIFY_WITH_TIMEOUT(device->pollingLoopActive() == 1 && !m_sim.requests(1).isEmpty(), Patience);

        pressStartStop(1);
        pressStartStop(1);
        QCOMPARE(device->measurementState(), 0);
        QCOMPARE(m_model->row(0).measurementStart, QStringLiteral("測定中"));
        QVERIFY(m_view->pendingStarts()->isHeld(1));

        QTRY_VERIFY_WITH_TIMEOUT(m_view->pendingStarts()->heldCount() == 0, Patience);
        QVERIFY(device->isMonitoring());
        // The worker ended its run with the stop selection, then began a new pass.
        QTRY_VERIFY_WITH_TIMEOUT(m_sim.requests(1).lastIndexOf(ResultGet) > m_sim.requests(1).indexOf(PassStart)
                                     && m_sim.requests(1).indexOf(PassStart) >= 0,
                                 Patience);
        const QStringList requests = m_sim.requests(1);
        const int stop = requests.indexOf(StopChannel);
        QVERIFY(stop > 0 && requests.at(stop - 1) == StopBand);
        QVERIFY(indexAfter(requests, PassStart, stop) < requests.size());
        QCOMPARE(m_messages->count(), 0);
        QCOMPARE(m_model->row(0).measurementStart, QStringLiteral("測定中"));
    }

    // A start whose worker does not let go within the bound is reported and not claimed:
    // the device is shown stopped again and is not started later.
    void startThatCouldNotHappen()
    {
        LevelChecker *device = m_fx->devices()->device(1);
        m_view->setStartWaitMs(200);
        pressStartStop(2);
        QTRY_VERIFY_WITH_TIMEOUT(m_sim.requests(2).contains(ResultGet), Patience);
        QVERIFY(m_sim.setFault(2, SimDevices::Fault::Silent));
        QTRY_VERIFY_WITH_TIMEOUT(device->pollingLoopActive() == 1, Patience);

        pressStartStop(2);
        pressStartStop(2);
        QTRY_VERIFY_WITH_TIMEOUT(m_messages->count() == 1, Patience);
        QCOMPARE(m_messages->last().at(0).toString(),
                 QStringLiteral("機器No.2の測定を開始できませんでした。\n前回の測定の停止が終わっていません。もう一度開始してください。"));
        QCOMPARE(device->measurementState(), 1);
        QCOMPARE(m_model->row(2).measurementStart, QStringLiteral("停止中"));
        QCOMPARE(m_model->row(3).measurementStart, QStringLiteral("停止中"));
        QVERIFY(m_fx->devices()->waitForPollingLoops(1, Patience));
        QVERIFY(!device->isMonitoring());
        QVERIFY(m_sim.setFault(2, SimDevices::Fault::None));
        QVERIFY(m_sim.clearLog(2));
        // Whole worker turns: a start held anyway would show by now.
        const QString ticked = WorkerTicks::waitFor(m_fx->devices(), 1);
        QVERIFY2(ticked.isEmpty(), qPrintable(ticked));
        QVERIFY(!m_sim.requests(2).contains(PassStart));
    }

    // The ticked devices, then all devices (those measuring already are left alone), then a
    // bulk stop of all: every device gets its stop selection.
    void bulkStartAndStop()
    {
        m_handler->onCheckBoxClicked(m_fx->topRow(1));
        m_handler->onCheckBoxClicked(m_fx->topRow(3));
        bulk(true, false);
        QCOMPARE(ResultListFixture::workLogEntries().mid(1),
                 (QStringList {QStringLiteral("機器No.1,測定を開始"), QStringLiteral("機器No.3,測定を開始")}));
        for (int n : {1, 3}) {
            QCOMPARE(m_fx->devices()->device(n - 1)->measurementState(), 0);
            QCOMPARE(m_model->row(m_fx->topRow(n) + 1).measurementStart, QStringLiteral("測定中"));
            QTRY_VERIFY_WITH_TIMEOUT(m_sim.requests(n).contains(ResultGet), Patience);
        }
        QVERIFY(m_sim.requests(2).isEmpty());
        QCOMPARE(m_page->property("measurementSaveText").toBool(), true);

        bulk(true, true);
        QCOMPARE(ResultListFixture::workLogEntries().mid(3), QStringList {QStringLiteral("機器No.2,測定を開始")});
        QTRY_VERIFY_WITH_TIMEOUT(m_sim.requests(2).contains(ResultGet), Patience);

        bulk(false, true);
        QCOMPARE(ResultListFixture::workLogEntries().mid(4),
                 (QStringList {QStringLiteral("機器No.1,測定を停止"), QStringLiteral("機器No.2,測定を停止"),
                               QStringLiteral("機器No.3,測定を停止")}));
        QVERIFY(m_fx->devices()->waitForPollingLoops(-1, Patience));
        for (int n = 1; n <= 3; ++n) {
            QVERIFY2(endsWithStopSelection(m_sim.requests(n)), qPrintable(m_sim.requests(n).join(QLatin1Char('|'))));
            QCOMPARE(m_fx->devices()->device(n - 1)->measurementState(), 1);
            QCOMPARE(m_model->row(m_fx->topRow(n)).measurementStart, QStringLiteral("停止中"));
        }
        QCOMPARE(m_page->property("measurementSaveText").toBool(), false);
        QCOMPARE(m_messages->count(), 0);
    }

private:
    void pressStartStop(int deviceNo)
    {
        QVERIFY(QMetaObject::invokeMethod(m_page, "listButtonClicked", Q_ARG(QString, QStringLiteral("measurementStartButton")),
                                          Q_ARG(int, m_fx->topRow(deviceNo)), Q_ARG(int, 0)));
    }

    void bulk(bool start, bool all)
    {
        QVERIFY(QMetaObject::invokeMethod(m_page, "measurementSelectStartStop", Q_ARG(bool, start), Q_ARG(bool, all)));
    }

    SimDevices m_sim;
    std::unique_ptr<ResultListFixture> m_fx;
    NotifyResponse *m_handler = nullptr;
    MeasurementResultViewModel *m_view = nullptr;
    MeasureResultModel *m_model = nullptr;
    QQuickItem *m_page = nullptr;
    std::unique_ptr<QSignalSpy> m_messages;
};

QTEST_MAIN(TestResultListStartStop)
#include "tst_resultliststartstop.moc"
