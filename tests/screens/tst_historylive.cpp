// ctest-label: history
// The history screen reads its files while the window goes on: a result of the channel that
// arrives during the read is shown once, after the rows read, and not again when its line
// already reached the file. A screen left during the read is not filled afterwards.
#include "FrameHost.h"

#include "core/IndividualResultListModel.h"
#include "core/MeasureResultModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "screens/MeasurementResultIndividualViewModel.h"
#include "support/HistoryFixture.h"

namespace {
const QString kDay = QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));

QString at(int minute)
{
    return QStringLiteral("%1 09:%2:00").arg(kDay).arg(minute, 2, 10, QLatin1Char('0'));
}
} // namespace

class TestHistoryLive : public QObject
{
    Q_OBJECT

private:
    FrameRoot root;
    std::unique_ptr<FrameHost> host;

    LevelChecker *device() const { return host->app->deviceList()->device(0); }
    MeasurementResultIndividualViewModel *screen() const
    {
        return qobject_cast<MeasurementResultIndividualViewModel *>(
            host->frame->viewModelOf(QStringLiteral("ResultIndividual")));
    }
    IndividualResultListModel *table() const
    {
        return qobject_cast<IndividualResultListModel *>(host->find(QStringLiteral("individualResultListModel")));
    }

    QStringList tableDates() const
    {
        QStringList dates;
        for (int i = 0; i < table()->count(); ++i)
            dates.append(table()->data(table()->index(i), IndividualResultListModel::DateRole).toString());
        return dates;
    }

    // The channel's latest result becomes one dated at minute, announced by a queued call that
    // the screen takes while it reads its files; then the screen is opened.
    void openWithResultDuringTheRead(int minute)
    {
        ChannelResultRow latest = device()->latestResult(0);
        latest.dateTime = at(minute);
        latest.level = QStringLiteral("61.0");
        latest.merCn = QStringLiteral("30.0");
        latest.ber = QStringLiteral("<1.0E-8");
        QVERIFY(device()->updateLatestResult(latest) == 0);
        screen()->onDataPassChannelData(1, BandTerrestrial, QStringLiteral("13"), 0,
                                        qobject_cast<MeasureResultModel *>(host->find(QStringLiteral("measureResultModel"))),
                                        QString(), false, false);
        QMetaObject::invokeMethod(screen(), "onSetResponseValueEnd", Qt::QueuedConnection, Q_ARG(int, 0),
                                  Q_ARG(int, 0));
        host->transit(QStringLiteral("Home.qml"));
        host->transit(QStringLiteral("MeasurementResultIndividual.qml"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root.prepare());
        host.reset(new FrameHost);
        QVERIFY(host->isValid());
        QVERIFY(host->waitForBoot());
        const quint32 ip = 0x0100007f;
        host->app->addDevice(1, "受信点", "", &ip, 0, nullptr, 0, "常時", "常時", 3, "kv52gate", 161);
        device()->setMeasurementState(0);
        ChannelSettingRow plan;
        plan.channel = QStringLiteral("13");
        plan.frequency = 473143;
        plan.broadbandSystem = QStringLiteral("0");
        device()->addChannelSetting(plan);
        ChannelResultRow initial;
        initial.channel = plan.channel;
        device()->addLatestResult(initial);

        QByteArray rows;
        for (int minute = 0; minute < 3; ++minute)
            rows += HistoryFixture::dataLine(1, at(minute), QStringLiteral("13"), QStringLiteral("地デジ"),
                                             QStringLiteral("60.0"), QStringLiteral("30.0"), QStringLiteral("<1.0E-8"));
        const QString file = HistoryFixture::folder(1) + QLatin1Char('/')
                             + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
        QVERIFY(HistoryFixture::writeFile(file, HistoryFixture::headerLine() + rows));
    }

    void cleanupTestCase() { host.reset(); }

    // A screen change taken by the read's event loop (the start-up's own switch to the home
    // screen can come then): the opening that started the read must not go on filling a
    // screen that was left.
    void leftDuringTheRead()
    {
        const int logFrom = root.logLines().size();
        screen()->onDataPassChannelData(1, BandTerrestrial, QStringLiteral("13"), 0,
                                        qobject_cast<MeasureResultModel *>(host->find(QStringLiteral("measureResultModel"))),
                                        QString(), false, false);
        host->transit(QStringLiteral("Home.qml"));
        QMetaObject::invokeMethod(host->window, "transit", Qt::QueuedConnection,
                                  Q_ARG(QVariant, QVariant(QStringLiteral("Home.qml"))));
        host->transit(QStringLiteral("MeasurementResultIndividual.qml"));

        QCOMPARE(host->currentPageName(), QStringLiteral("Home"));
        QCOMPARE(table()->count(), 0);
        QCOMPARE(root.logMessages(logFrom).filter(QStringLiteral("history read dropped")).size(), 1);
    }

    void resultAlreadyInTheFileIsShownOnce()
    {
        openWithResultDuringTheRead(2);
        QCOMPARE(tableDates(), (QStringList {at(2), at(1), at(0)}));
    }

    void newResultFollowsTheRowsRead()
    {
        openWithResultDuringTheRead(5);
        QCOMPARE(tableDates(), (QStringList {at(5), at(2), at(1), at(0)}));
    }
};

QTEST_MAIN(TestHistoryLive)
#include "tst_historylive.moc"
