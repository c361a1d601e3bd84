// ctest-label: history
// The single-channel history screen in the real main view: opening, dates and pages, the
// graphs around a selected row and the live update, on history files in a temporary root.
#include "FrameHost.h"

#include "core/IndividualResultListModel.h"
#include "core/IndividualResultsModel.h"
#include "core/MeasureResultModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "monitor/NotifyResponse.h"
#include "screens/MeasurementResultIndividualViewModel.h"
#include "support/HistoryFixture.h"

#include <QQuickItem>
#include <QSignalSpy>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265359;

double degrees(double d, double s)
{
    return std::atan2(d, s) * 180.0 / kPi;
}

QString at(int hour, int minute, int second = 0, const QString &day = QStringLiteral("2026/12/10"))
{
    return QStringLiteral("%1 %2:%3:%4")
        .arg(day)
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(minute, 2, 10, QLatin1Char('0'))
        .arg(second, 2, 10, QLatin1Char('0'));
}

ChannelResultRow result(int band, const QString &channel, const QString &dateTime, const QString &level,
                        const QString &mer = QStringLiteral("30.0"), const QString &ber = QStringLiteral("<1.0E-8"))
{
    ChannelResultRow r;
    r.bandTabIndex = band;
    r.channel = channel;
    r.dateTime = dateTime;
    r.level = level;
    r.merCn = mer;
    r.ber = ber;
    r.hikariLevel = QStringLiteral("---");
    r.modulation = QStringLiteral("64QAM");
    r.layer = QStringLiteral("A");
    r.broadcastStandard = QStringLiteral("ISDBT");
    return r;
}

} // namespace

class TestHistoryScreen : public QObject
{
    Q_OBJECT

private:
    FrameRoot root;
    std::unique_ptr<FrameHost> host;

    DeviceList *devices() const { return host->app->deviceList(); }
    LevelChecker *device(int number) const { return devices()->device(number - 1); }
    QObject *page() const { return host->find(QStringLiteral("ResultIndividual")); }
    IndividualResultListModel *table() const
    {
        return qobject_cast<IndividualResultListModel *>(host->find(QStringLiteral("individualResultListModel")));
    }
    IndividualResultsModel *graph() const
    {
        return qobject_cast<IndividualResultsModel *>(host->find(QStringLiteral("individualResultsModel")));
    }
    MeasureResultModel *resultList() const
    {
        return qobject_cast<MeasureResultModel *>(host->find(QStringLiteral("measureResultModel")));
    }
    MeasurementResultIndividualViewModel *screen() const
    {
        return qobject_cast<MeasurementResultIndividualViewModel *>(host->frame->viewModelOf(QStringLiteral("ResultIndividual")));
    }
    QVariant property(const char *name) const { return page()->property(name); }

    LevelChecker *addDevice(const QString &name, int measurementState, const QString &start = QStringLiteral("常時"),
                            const QString &end = QStringLiteral("常時"))
    {
        const int number = devices()->deviceCount() + 1;
        const quint32 ip = 0x0100007f;
        host->app->addDevice(number, name.toUtf8().constData(), "", &ip, 0, nullptr, 0, start.toUtf8().constData(),
                             end.toUtf8().constData(), 3, "kv52gate", 161);
        LevelChecker *d = device(number);
        d->setMeasurementState(measurementState);
        return d;
    }

    static void addChannel(LevelChecker *d, int band, const QString &channel, int localKHz = 0, bool thresholds = true)
    {
        ChannelSettingRow plan;
        plan.bandTabIndex = band;
        plan.channel = channel;
        plan.frequency = 473143;
        plan.broadbandSystem = QStringLiteral("0");
        plan.localFrequency = localKHz;
        d->addChannelSetting(plan);
        ChannelResultRow initial;
        initial.bandTabIndex = band;
        initial.channel = channel;
        initial.level = initial.merCn = initial.ber = QStringLiteral("---");
        d->addLatestResult(initial);
        if (thresholds) {
            AlertSettingRow a;
            a.bandTabIndex = band;
            a.channel = channel;
            a.levelMin = QStringLiteral("40");
            a.levelMax = QStringLiteral("80");
            a.merCn = QStringLiteral("25");
            a.ber = QStringLiteral("1.0E-4");
            a.hikariLevelMin = QStringLiteral("-10");
            a.hikariLevelMax = QStringLiteral("0");
            a.convertCnr = QStringLiteral("30");
            d->addAlertSetting(a);
        }
    }

    // A day of the channel's history: count rows, the newest last in the file, with levels
    // from a pattern.
    static QByteArray dayRows(int deviceNo, const QString &day, const QString &channel, const QString &bandColumn,
                              int count, const QVector<QString> &levels = {QStringLiteral("60.0")})
    {
        QByteArray bytes;
        for (int i = 0; i < count; ++i) {
            bytes += HistoryFixture::dataLine(deviceNo, at(i / 60, i % 60, 0, day), channel, bandColumn,
                                              levels.at(i % levels.size()), QStringLiteral("30.0"),
                                              QStringLiteral("<1.0E-8"), QStringLiteral("1111"));
        }
        return bytes;
    }

    static bool writeDay(int deviceNo, const QString &fileName, const QByteArray &rows)
    {
        return HistoryFixture::writeFile(HistoryFixture::folder(deviceNo) + QLatin1Char('/') + fileName,
                                         HistoryFixture::headerLine() + rows, true);
    }

    void open(int deviceNo, BandTabIndex band, const QString &channel, bool mercnr = false)
    {
        LevelChecker *d = device(deviceNo);
        const int position = d ? d->findLatestResult(band, channel) : 0;
        screen()->onDataPassChannelData(deviceNo, band, channel, position, resultList(), QString(), mercnr, false);
        host->transit(QStringLiteral("Home.qml"));
        host->transit(QStringLiteral("MeasurementResultIndividual.qml"));
        QVERIFY(page());
        QCOMPARE(host->frame->currentViewName(), QStringLiteral("MeasurementResultIndividualViewModel"));
    }

    void click(const QString &button, const QString &value = QString(), int row = 0)
    {
        QMetaObject::invokeMethod(page(), "rowbuttonclicked", Q_ARG(QString, button), Q_ARG(QString, value),
                                  Q_ARG(int, row));
    }

    QStringList tableDates() const
    {
        QStringList dates;
        for (int i = 0; i < table()->count(); ++i)
            dates.append(table()->data(table()->index(i), IndividualResultListModel::DateRole).toString());
        return dates;
    }

    QVariant point(int i, int role) const { return graph()->data(graph()->index(i), role); }
    double pointValue(int i, int role) const { return point(i, role).toDouble(); }

    QList<bool> tableSelection() const
    {
        QList<bool> marks;
        for (int i = 0; i < table()->count(); ++i)
            marks.append(table()->data(table()->index(i), IndividualResultListModel::SelectflagRole).toBool());
        return marks;
    }

    // A new result of a channel stored in its device as the reply handling stores it, then
    // announced.
    void deliver(int deviceNo, const ChannelResultRow &row)
    {
        LevelChecker *d = device(deviceNo);
        const int position = d->updateLatestResult(row);
        QVERIFY(position >= 0);
        screen()->onSetResponseValueEnd(deviceNo - 1, position);
    }

    static QStringList texts(const QVariant &list)
    {
        QStringList out;
        for (const QVariant &v : list.toList())
            out.append(v.toString());
        return out;
    }

private slots:
    void initTestCase()
    {
        QmlMessageGuard::install();
        QVERIFY(root.prepare());
        host.reset(new FrameHost);
        QVERIFY(host->isValid());
        QVERIFY(host->waitForBoot());

        // Device 1: measuring, alert window 08:00 to 20:00; its channel 13 third in the plan.
        LevelChecker *one = addDevice(QStringLiteral("受信点1"), 0, QStringLiteral("08:00"), QStringLiteral("20:00"));
        addChannel(one, BandCatv, QStringLiteral("C24"));
        addChannel(one, BandLte, QStringLiteral("LTE1"));
        addChannel(one, BandTerrestrial, QStringLiteral("13"));
        addChannel(one, BandCatvUpstream, QStringLiteral("U1"));
        addChannel(one, BandFm, QStringLiteral("80.0"));
        addChannel(one, BandPilot, QStringLiteral("P1"));
        // Device 2: stopped; a BS channel behind a converter.
        LevelChecker *two = addDevice(QStringLiteral("受信点2"), 1);
        addChannel(two, BandBsRight, QStringLiteral("BS1"), 11200000);
        // Device 3: measuring, many rows a day; no threshold rows at all.
        LevelChecker *three = addDevice(QStringLiteral("受信点3"), 0);
        addChannel(three, BandTerrestrial, QStringLiteral("20"), 0, false);
        // Device 4: measuring, no history folder.
        LevelChecker *four = addDevice(QStringLiteral("受信点4"), 0);
        addChannel(four, BandTerrestrial, QStringLiteral("13"));
        host->frame->responseHandler()->onMakeMeasurementResultModel();
        QVERIFY(resultList()->rowCount() > 0);

        // Device 1, channel 13: three days, the newest with 5 rows; other channels between.
        QVERIFY(writeDay(1, "20261208.csv", dayRows(1, "2026/12/08", "13", "地デジ", 3)
                                              + dayRows(1, "2026/12/08", "C24", "CATV", 3)));
        QVERIFY(writeDay(1, "20261209.csv", dayRows(1, "2026/12/09", "13", "地デジ(換算)", 25,
                                                    {"70.0", "65.0", "---", "<20.0", "125.0"})));
        QVERIFY(writeDay(1, "20261210.csv", dayRows(1, "2026/12/10", "13", "地デジ", 5, {"50.0", "55.0"})
                                              + dayRows(1, "2026/12/10", "LTE1", "LTE", 2)));
        // Device 3, channel 20: 601 rows on one day, 300 on the next.
        QVERIFY(writeDay(3, "20261201.csv", dayRows(3, "2026/12/01", "20", "地デジ", 601)));
        QVERIFY(writeDay(3, "20261202.csv", dayRows(3, "2026/12/02", "20", "地デジ", 300)));
        // The working folder holds history files that belong to no device's folder.
        QVERIFY(HistoryFixture::writeFile(root.workFolder() + QStringLiteral("/20261210.csv"),
                                          HistoryFixture::headerLine() + dayRows(4, "2026/12/10", "13", "地デジ", 7)));
        QVERIFY(QmlMessageGuard::take().isEmpty());
    }

    void cleanup()
    {
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    // At opening the newest date is on show with its first row selected, the graphs around it
    // and the header of the channel.
    void opening()
    {
        open(1, BandTerrestrial, QStringLiteral("13"), true);
        QCOMPARE(texts(property("datelist")), QStringList({"2026/12/10", "2026/12/09", "2026/12/08"}));
        QCOMPARE(tableDates(), QStringList({at(0, 4), at(0, 3), at(0, 2), at(0, 1), at(0, 0)}));
        QCOMPARE(property("rowindex").toInt(), 5);
        QCOMPARE(property("listCount").toInt(), 1);
        QCOMPARE(property("currentpage").toInt(), 1);
        QCOMPARE(property("updateflag").toBool(), true);
        QCOMPARE(property("bandcheck").toBool(), true);
        QCOMPARE(texts(property("headerstatus")), QStringList({"1", "受信点1", "地デジ(換算)", "13", "---"}));
        QCOMPARE(property("localfreq").toString(), QStringLiteral("---"));
        QCOMPARE(texts(property("measuerheaderlist")), QStringList({"ISDBT", "64QAM", "A", "---"}));
        QCOMPARE(tableSelection(), QList<bool>({true, false, false, false, false}));
        // Five points newest first, then five placeholders.
        QCOMPARE(graph()->count(), 10);
        QCOMPARE(point(0, IndividualResultsModel::TimeRole).toString(), QStringLiteral("00:04:00"));
        QCOMPARE(pointValue(0, IndividualResultsModel::GraphyvalueRole), (50.0 - 20.0) * 1.2);
        QCOMPARE(pointValue(1, IndividualResultsModel::GraphyvalueRole), (55.0 - 20.0) * 1.2);
        QCOMPARE(pointValue(0, IndividualResultsModel::LinelengthRole), std::sqrt(44.0 * 44.0 + 6.0 * 6.0));
        QCOMPARE(pointValue(0, IndividualResultsModel::RadRole), -degrees(6.0, 44.0));
        QCOMPARE(pointValue(4, IndividualResultsModel::LinelengthRole), 0.0);
        QCOMPARE(pointValue(5, IndividualResultsModel::GraphyvalueRole), -1.0);
        QCOMPARE(point(5, IndividualResultsModel::TimeRole).toString(), QStringLiteral("---"));
        QVERIFY(screen()->isFollowing());

        // A second visit without new data shows the same channel, read anew.
        QVERIFY(writeDay(1, "20261211.csv", dayRows(1, "2026/12/11", "13", "地デジ", 2)));
        open(1, BandTerrestrial, QStringLiteral("13"));
        QCOMPARE(texts(property("datelist")).first(), QStringLiteral("2026/12/11"));
        QCOMPARE(table()->count(), 2);
        QCOMPARE(texts(property("headerstatus")).at(2), QStringLiteral("地デジ"));
        QVERIFY(QFile::remove(HistoryFixture::folder(1) + QStringLiteral("/20261211.csv")));

        // A stopped device ends the opening without following; its local oscillator shows.
        open(2, BandBsRight, QStringLiteral("BS1"));
        QCOMPARE(property("updateflag").toBool(), false);
        QCOMPARE(property("localfreq").toString(), QStringLiteral("11.2"));
        QCOMPARE(texts(property("headerstatus")), QStringList({"2", "受信点2", "BS", "BS1", "右旋"}));
    }

    void bandCheck_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<bool>("graphs");
        QTest::newRow("terrestrial") << int(BandTerrestrial) << "13" << true;
        QTest::newRow("CATV") << int(BandCatv) << "C24" << true;
        QTest::newRow("LTE") << int(BandLte) << "LTE1" << false;
        QTest::newRow("CATV upstream") << int(BandCatvUpstream) << "U1" << false;
        QTest::newRow("FM") << int(BandFm) << "80.0" << false;
        QTest::newRow("PILOT") << int(BandPilot) << "P1" << false;
    }

    void bandCheck()
    {
        QFETCH(int, band);
        QFETCH(QString, channel);
        QFETCH(bool, graphs);
        open(1, BandTabIndex(band), channel);
        QCOMPARE(property("bandcheck").toBool(), graphs);
    }

    // Without history: no dates (the placeholder inside), one page, nothing to select. A
    // missing device folder never lists the working folder.
    void emptyHistory()
    {
        open(4, BandTerrestrial, QStringLiteral("13"));
        QCOMPARE(texts(property("datelist")), QStringList());
        QCOMPARE(screen()->dates(), QStringList({"未選択"}));
        QCOMPARE(property("listCount").toInt(), 1);
        QCOMPARE(table()->count(), 0);
        QCOMPARE(graph()->count(), 0);
        QVERIFY(screen()->historyRows().isEmpty());

        // Paging without rows does nothing.
        QSignalSpy pages(page(), SIGNAL(currentpageChanged()));
        click("nextlist", "plus");
        click("previouslist", "minus");
        click("inputenter", "2");
        QCOMPARE(pages.count(), 0);
        click("doubleClickListRow", "doubleClickListRow", 3);
        QCOMPARE(texts(property("measuerheaderlist")), QStringList());

        // A channel that is not in the plan, and a device that does not exist.
        open(1, BandTerrestrial, QStringLiteral("99"));
        QCOMPARE(property("localfreq").toString(), QString());
        QCOMPARE(table()->count(), 0);
        open(9, BandTerrestrial, QStringLiteral("13"));
        QCOMPARE(texts(property("headerstatus")), QStringList({"9", "", "地デジ", "13", "---"}));
        QCOMPARE(property("updateflag").toBool(), false);
        QCOMPARE(table()->count(), 0);
    }

    // 601 rows of a date are 3 pages; the arrows stop at the ends; a typed page is held
    // within them and written twice.
    void paging()
    {
        open(3, BandTerrestrial, QStringLiteral("20"));
        QCOMPARE(texts(property("datelist")), QStringList({"2026/12/02", "2026/12/01"}));
        // 300 rows: one page.
        QCOMPARE(property("listCount").toInt(), 1);
        QCOMPARE(table()->count(), 300);

        click("datechangelist", "2026/12/01");
        QCOMPARE(screen()->rowsOfShownDate().size(), 601);
        QCOMPARE(property("listCount").toInt(), 3);
        QCOMPARE(table()->count(), 300);
        QCOMPARE(property("updateflag").toBool(), false);
        // Choosing a date leaves the graphs of the selected row.
        QCOMPARE(point(0, IndividualResultsModel::DateRole).toString(), at(4, 59, 0, "2026/12/02"));

        click("nextlist", "plus");
        QCOMPARE(property("currentpage").toInt(), 2);
        QCOMPARE(tableDates().first(), at(5, 0, 0, "2026/12/01"));
        click("nextlist", "plus");
        QCOMPARE(property("currentpage").toInt(), 3);
        QCOMPARE(tableDates(), QStringList({at(0, 0, 0, "2026/12/01")}));
        QCOMPARE(property("rowindex").toInt(), 1);
        click("nextlist", "plus");
        QCOMPARE(property("currentpage").toInt(), 3);
        click("previouslist", "minus");
        click("previouslist", "minus");
        click("previouslist", "minus");
        QCOMPARE(property("currentpage").toInt(), 1);
        QCOMPARE(table()->count(), 300);

        QSignalSpy pages(page(), SIGNAL(currentpageChanged()));
        click("inputenter", "x");
        QCOMPARE(pages.count(), 2); // 0, then 1
        QCOMPARE(property("currentpage").toInt(), 1);
        click("inputenter", "999");
        QCOMPARE(property("currentpage").toInt(), 3);
        QCOMPARE(table()->count(), 1);
        click("inputenter", "2");
        QCOMPARE(property("currentpage").toInt(), 2);
        QCOMPARE(screen()->shownPage(), 2);

        // A row of page 2 is row 300 + r of the date.
        click("doubleClickListRow", "doubleClickListRow", 4);
        QCOMPARE(point(0, IndividualResultsModel::DateRole).toString(), at(5, 1, 0, "2026/12/01"));
        QCOMPARE(tableSelection().indexOf(true), 4);

        // A date without rows: an empty table, no pages.
        click("datechangelist", "2026/11/30");
        QCOMPARE(table()->count(), 0);
        QCOMPARE(property("listCount").toInt(), 0);
        QCOMPARE(property("currentpage").toInt(), 1);

        // Names are compared exactly.
        click("datechangelist", "2026/12/01");
        click("NextList", "plus");
        QCOMPARE(property("currentpage").toInt(), 1);
    }

    // A selected row and the window around it; the value conversions and line geometry.
    void rowSelection()
    {
        open(1, BandTerrestrial, QStringLiteral("13"));
        click("datechangelist", "2026/12/09");
        QCOMPARE(table()->count(), 25);
        // Rows newest first: row r holds the level pattern entry of file line 24 - r.
        click("doubleClickListRow", "doubleClickListRow", 22);
        QVERIFY(!screen()->isFollowing());
        QCOMPARE(property("updateflag").toBool(), false);
        QCOMPARE(tableSelection().indexOf(true), 22);
        QCOMPARE(tableSelection().count(true), 1);
        QCOMPARE(graph()->count(), 10);
        QCOMPARE(point(0, IndividualResultsModel::DateRole).toString(), at(0, 9, 0, "2026/12/09"));
        QCOMPARE(point(9, IndividualResultsModel::DateRole).toString(), at(0, 0, 0, "2026/12/09"));
        QCOMPARE(point(0, IndividualResultsModel::LevelRole).toString(), QStringLiteral("80"));
        QCOMPARE(point(0, IndividualResultsModel::MerRole).toString(), QStringLiteral("30"));
        QCOMPARE(point(0, IndividualResultsModel::BerRole).toString(), QStringLiteral("2.2e-2"));
        // Levels of file lines 9 .. 0: 125, <20, ---, 65, 70, 125, <20, ---, 65, 70.
        QCOMPARE(pointValue(0, IndividualResultsModel::GraphyvalueRole), 120.0); // 125, held at the top
        QCOMPARE(pointValue(1, IndividualResultsModel::GraphyvalueRole), 1.0);   // <20.0
        QCOMPARE(pointValue(2, IndividualResultsModel::GraphyvalueRole), 1.0);   // ---
        QCOMPARE(pointValue(3, IndividualResultsModel::GraphyvalueRole), 54.0);  // 65
        // 125 (shown at 120) down to the floor: d = |0 - 120|.
        QCOMPARE(pointValue(0, IndividualResultsModel::LinelengthRole), std::sqrt(44.0 * 44.0 + 120.0 * 120.0));
        QCOMPARE(pointValue(0, IndividualResultsModel::RadRole), degrees(120.0, 44.0));
        // The floor to the floor: a flat line.
        QCOMPARE(pointValue(1, IndividualResultsModel::LinelengthRole), 44.0);
        // The floor up to 65: d = |(65 - 20) * 1.2 - 1|, turned the other way.
        QCOMPARE(pointValue(2, IndividualResultsModel::LinelengthRole), std::sqrt(44.0 * 44.0 + 53.0 * 53.0));
        QCOMPARE(pointValue(2, IndividualResultsModel::RadRole), -degrees(53.0, 44.0));
        QCOMPARE(pointValue(9, IndividualResultsModel::LinelengthRole), 0.0);
        QCOMPARE(pointValue(4, IndividualResultsModel::MeryvalueRole), 62.5);
        QCOMPARE(pointValue(4, IndividualResultsModel::BeryvalueRole), 84.0);
        QCOMPARE(pointValue(4, IndividualResultsModel::MerlengthRole), 44.0);

        // 100 points: the page's settings follow, the graph holds every row of the date.
        click("comboboxchangedisplaypoint", "100");
        QCOMPARE(property("pointstring").toString(), QStringLiteral("100"));
        QCOMPARE(property("checkpoint").toBool(), true);
        QCOMPARE(property("graphinterval").toInt(), 4);
        QCOMPARE(property("numbergraph").toInt(), 99);
        QCOMPARE(property("graphxsize").toInt(), 396);
        QCOMPARE(graph()->count(), 100);
        QCOMPARE(point(0, IndividualResultsModel::DateRole).toString(), at(0, 24, 0, "2026/12/09"));
        QCOMPARE(pointValue(24, IndividualResultsModel::LinelengthRole), 0.0);
        QCOMPARE(pointValue(25, IndividualResultsModel::GraphyvalueRole), -1.0);
        // A redraw takes the height from the level itself: 125 is above the top.
        QCOMPARE(pointValue(15, IndividualResultsModel::GraphyvalueRole), 126.0);
        QCOMPARE(pointValue(0, IndividualResultsModel::LinelengthRole), std::sqrt(16.0 + 120.0 * 120.0));
        click("comboboxchangedisplaypoint", "7");
        QCOMPARE(property("pointstring").toString(), QStringLiteral("7"));
        QCOMPARE(graph()->count(), 100);
        click("comboboxchangedisplaypoint", "10");
        QCOMPARE(graph()->count(), 10);

        // The level axis from 40: "---" falls below the graph; tops offered 120 to 60.
        click("changeminimumscale", "40");
        QCOMPARE(texts(property("maxselectstring")), QStringList({"120", "100", "80", "60"}));
        QCOMPARE(property("mindisplay").toInt(), 40);
        QCOMPARE(property("xaxisscale").toInt(), 120);
        QCOMPARE(property("xaxissmagn").toInt(), 16);
        QCOMPARE(pointValue(2, IndividualResultsModel::GraphyvalueRole), -30.0);
        QCOMPARE(pointValue(0, IndividualResultsModel::GraphyvalueRole), (125.0 - 40.0) * 1.5);
        click("changemaxscale", "80");
        QCOMPARE(texts(property("minimumselectstring")), QStringList({"20", "40", "60"}));
        QCOMPARE(property("maxdisplay").toInt(), 80);
        QCOMPARE(pointValue(3, IndividualResultsModel::GraphyvalueRole), (65.0 - 40.0) * 3.0);
        // Other graphs keep their points.
        QCOMPARE(pointValue(4, IndividualResultsModel::MeryvalueRole), 62.5);
    }

    // Results of the channel arrive while the newest date with 5 rows is on show.
    void liveSameDate()
    {
        open(1, BandTerrestrial, QStringLiteral("13"));
        QCOMPARE(table()->count(), 5);
        deliver(1, result(BandTerrestrial, "13", at(12, 0), "58.0", "24.0"));
        QCOMPARE(table()->count(), 6);
        QCOMPARE(tableDates().first(), at(12, 0));
        QCOMPARE(table()->data(table()->index(0), IndividualResultListModel::LevelerrorRole).toBool(), true);
        QCOMPARE(table()->data(table()->index(0), IndividualResultListModel::MererrorRole).toBool(), false);
        QCOMPARE(graph()->count(), 10);
        QCOMPARE(point(0, IndividualResultsModel::DateRole).toString(), at(12, 0));
        QCOMPARE(point(0, IndividualResultsModel::LevelRole).toString(), QStringLiteral("58.0"));
        QCOMPARE(point(0, IndividualResultsModel::TimeRole).toString(), QStringLiteral("12:00:00"));
        QCOMPARE(point(1, IndividualResultsModel::DateRole).toString(), at(0, 4));
        QCOMPARE(point(5, IndividualResultsModel::DateRole).toString(), at(0, 0));
        QCOMPARE(point(6, IndividualResultsModel::GraphyvalueRole).toDouble(), -1.0);
        QCOMPARE(point(9, IndividualResultsModel::GraphyvalueRole).toDouble(), -1.0);
        // The line from the new point to the former newest (58 down to 50).
        QCOMPARE(pointValue(0, IndividualResultsModel::GraphyvalueRole), (58.0 - 20.0) * 1.2);
        QCOMPARE(pointValue(0, IndividualResultsModel::LinelengthRole), std::sqrt(44.0 * 44.0 + 9.6 * 9.6));
        QCOMPARE(pointValue(0, IndividualResultsModel::RadRole), degrees(9.6, 44.0));
        QCOMPARE(pointValue(0, IndividualResultsModel::MerradRole), -degrees(15.0, 44.0));
        QCOMPARE(texts(property("measuerheaderlist")), QStringList({"ISDBT", "64QAM", "A", "---"}));
        QCOMPARE(property("rowindex").toInt(), 6);
        QCOMPARE(property("updateflag").toBool(), true);

        // Further results fill the graph up to 10 points; then the oldest drops out and the
        // last point starts no line.
        for (int i = 1; i <= 5; ++i)
            deliver(1, result(BandTerrestrial, "13", at(12, i), "60.0"));
        QCOMPARE(graph()->count(), 10);
        QCOMPARE(point(9, IndividualResultsModel::DateRole).toString(), at(0, 1));
        QCOMPARE(pointValue(9, IndividualResultsModel::LinelengthRole), 0.0);
        QCOMPARE(pointValue(9, IndividualResultsModel::MerlengthRole), 0.0);
        QCOMPARE(table()->count(), 11);
        QCOMPARE(screen()->graphLevels().size(), 11);

        // Results of other channels and devices are ignored.
        deliver(1, result(BandLte, "LTE1", at(12, 30), "40.0"));
        deliver(4, result(BandTerrestrial, "13", at(12, 30), "40.0"));
        QCOMPARE(table()->count(), 11);
        QCOMPARE(screen()->historyRows().size(), 11 + 25 + 3);
    }

    // The first result after midnight starts a new date with one row and one point.
    void liveNewDate()
    {
        open(1, BandTerrestrial, QStringLiteral("13"));
        deliver(1, result(BandTerrestrial, "13", at(0, 1, 0, "2026/12/11"), "61.0"));
        QCOMPARE(texts(property("datelist")).first(), QStringLiteral("2026/12/11"));
        QCOMPARE(screen()->dates().first(), QStringLiteral("2026/12/11"));
        QCOMPARE(tableDates(), QStringList({at(0, 1, 0, "2026/12/11")}));
        QCOMPARE(graph()->count(), 1);
        QCOMPARE(pointValue(0, IndividualResultsModel::LinelengthRole), 0.0);
        QCOMPARE(pointValue(0, IndividualResultsModel::GraphyvalueRole), (61.0 - 20.0) * 1.2);
        QCOMPARE(property("updateflag").toBool(), true);
        QCOMPARE(property("listCount").toInt(), 1);

        deliver(1, result(BandTerrestrial, "13", at(0, 2, 0, "2026/12/11"), "15.0"));
        QCOMPARE(graph()->count(), 2);
        QCOMPARE(tableDates().first(), at(0, 2, 0, "2026/12/11"));
        QCOMPARE(pointValue(0, IndividualResultsModel::GraphyvalueRole), 1.0);
        QCOMPARE(pointValue(0, IndividualResultsModel::LinelengthRole), std::sqrt(44.0 * 44.0 + 48.2 * 48.2));
        QCOMPARE(pointValue(1, IndividualResultsModel::LinelengthRole), 0.0);

        // The first result of a channel without history replaces the placeholder date.
        open(4, BandTerrestrial, QStringLiteral("13"));
        deliver(4, result(BandTerrestrial, "13", at(9, 0), "61.0"));
        QCOMPARE(screen()->dates(), QStringList({"2026/12/10"}));
        QCOMPARE(table()->count(), 1);
        QCOMPARE(graph()->count(), 1);
    }

    // Switched off, new results change neither table nor graphs nor status; switched on,
    // the newest date is shown again with them.
    void liveUpdateOff()
    {
        open(1, BandTerrestrial, QStringLiteral("13"));
        MeasureResultModel *list = resultList();
        click("updatebutton", "updatebutton");
        QCOMPARE(property("updateflag").toBool(), false);
        const QStringList before = tableDates();
        const int statusBefore = property("status").toInt();
        deliver(1, result(BandTerrestrial, "13", at(13, 0), "40.0", "---", "---"));
        QCOMPARE(tableDates(), before);
        QCOMPARE(graph()->count(), 10);
        QCOMPARE(point(0, IndividualResultsModel::DateRole).toString(), at(0, 4));
        QCOMPARE(property("status").toInt(), statusBefore);
        QCOMPARE(screen()->historyRows().first().date, at(13, 0));

        click("updatebutton", "updatebutton");
        QCOMPARE(property("updateflag").toBool(), true);
        QCOMPARE(tableDates().first(), at(13, 0));
        QCOMPARE(point(0, IndividualResultsModel::DateRole).toString(), at(13, 0));
        QCOMPARE(property("currentpage").toInt(), 1);
        Q_UNUSED(list)

        // Selecting a row stops following; the tag switches it on again.
        click("doubleClickListRow", "doubleClickListRow", 2);
        QCOMPARE(property("updateflag").toBool(), false);
        click("updatebutton", "updatebutton");
        QCOMPARE(property("updateflag").toBool(), true);

        // A device that does not measure and has no rows cannot be switched on.
        LevelChecker *four = device(4);
        four->setMeasurementState(1);
        QDir(HistoryFixture::folder(4)).removeRecursively();
        open(4, BandTerrestrial, QStringLiteral("13"));
        QCOMPARE(property("updateflag").toBool(), false);
        for (int i = 0; i < 3; ++i) {
            click("updatebutton", "updatebutton");
            QCOMPARE(property("updateflag").toBool(), false);
        }
        four->setMeasurementState(0);
    }

    // Verdicts of live rows: outside the alert window everything passes; a result without
    // values fails everything; a device without threshold rows judges only that.
    void liveVerdicts_data()
    {
        QTest::addColumn<int>("deviceNo");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("mer");
        QTest::addColumn<QString>("ber");
        QTest::addColumn<QString>("verdicts");
        QTest::newRow("inside, level low") << 1 << "13" << "12:00:00" << "30.0" << "30.0" << "1.0E-6" << "0111";
        QTest::newRow("inside, BER high") << 1 << "13" << "12:00:00" << "60.0" << "30.0" << "1.0E-3" << "1101";
        QTest::newRow("outside the window") << 1 << "13" << "21:00:00" << "30.0" << "10.0" << "1.0E-3" << "1111";
        QTest::newRow("no values, outside") << 1 << "13" << "21:00:00" << "---" << "---" << "---" << "0000";
        QTest::newRow("no thresholds") << 3 << "20" << "12:00:00" << "10.0" << "1.0" << "1.0E-2" << "1111";
        QTest::newRow("no thresholds, no values") << 3 << "20" << "12:00:00" << "---" << "---" << "---" << "0000";
    }

    void liveVerdicts()
    {
        QFETCH(int, deviceNo);
        QFETCH(QString, channel);
        QFETCH(QString, time);
        QFETCH(QString, level);
        QFETCH(QString, mer);
        QFETCH(QString, ber);
        QFETCH(QString, verdicts);
        open(deviceNo, BandTerrestrial, channel);
        deliver(deviceNo, result(BandTerrestrial, channel, QStringLiteral("2026/12/10 ") + time, level, mer, ber));
        const IndividualResultListRow row = screen()->historyRows().first();
        QCOMPARE(row.date, QStringLiteral("2026/12/10 ") + time);
        const QString got = QString::number(row.levelerror) + QString::number(row.mererror)
                            + QString::number(row.bererror) + QString::number(row.hikarierror);
        QCOMPARE(got, verdicts);
    }

    // The status comes from the channel's own row of the result list, not from the row at
    // the channel's plan position.
    void liveStatus()
    {
        open(1, BandTerrestrial, QStringLiteral("13"));
        MeasureResultModel *list = resultList();
        const int top = list->deviceTopRow(0);
        const int own = top + 2 + 1;
        QCOMPARE(list->row(own).channel, QStringLiteral("13"));
        list->setData(list->index(own), 2, MeasureResultModel::ChannelStatusRole);
        list->setData(list->index(2), 3, MeasureResultModel::ChannelStatusRole);
        deliver(1, result(BandTerrestrial, "13", at(14, 0), "60.0"));
        QCOMPARE(property("status").toInt(), 2);
        QCOMPARE(screen()->channelStatus(), 2);
        list->setData(list->index(own), 1, MeasureResultModel::ChannelStatusRole);
        deliver(1, result(BandTerrestrial, "13", at(14, 1), "60.0"));
        QCOMPARE(property("status").toInt(), 1);
        list->setData(list->index(own), 0, MeasureResultModel::ChannelStatusRole);
        list->setData(list->index(2), 0, MeasureResultModel::ChannelStatusRole);

        // Not on show: nothing happens.
        host->transit(QStringLiteral("Home.qml"));
        const int rows = screen()->historyRows().size();
        deliver(1, result(BandTerrestrial, "13", at(14, 2), "60.0"));
        QCOMPARE(screen()->historyRows().size(), rows);
    }

    // A reply through the real response handler: the history line it writes reads back as
    // the row the screen showed live.
    void liveRowMatchesFile()
    {
        open(1, BandTerrestrial, QStringLiteral("13"));
        NotifyResponse *handler = host->frame->responseHandler();
        const QString reply = QStringLiteral("VEDIRUDO-ZER::lcMeasResult.0 = STRING: \"%1,ISDBT,13,0,35.5,22.0,2.0E-5,0,ISDBT,16QAM,B,---,\n\"")
                                  .arg(at(15, 30));
        device(1)->setCurrentChannelIndex(2);
        handler->onNotifyResponse(0, reply);
        QCOMPARE(screen()->historyRows().first().date, at(15, 30));
        const IndividualResultListRow live = screen()->historyRows().first();
        QCOMPARE(tableDates().first(), at(15, 30));

        open(1, BandTerrestrial, QStringLiteral("13"));
        const QVector<IndividualResultListRow> read = screen()->historyRows();
        const auto found = std::find_if(read.cbegin(), read.cend(), [](const IndividualResultListRow &r) {
            return r.date == at(15, 30);
        });
        QVERIFY(found != read.cend());
        QCOMPARE(found->level, live.level);
        QCOMPARE(found->mer, live.mer);
        QCOMPARE(found->ber, live.ber);
        QCOMPARE(found->layer, live.layer);
        QCOMPARE(found->ModulationListRole, live.ModulationListRole);
        QCOMPARE(found->localfreq, live.localfreq);
        QCOMPARE(found->hikarilevel, live.hikarilevel);
        QCOMPARE(found->levelerror, live.levelerror);
        QCOMPARE(found->mererror, live.mererror);
        QCOMPARE(found->bererror, live.bererror);
        QCOMPARE(found->hikarierror, live.hikarierror);
        QCOMPARE(live.levelerror, false);
        QCOMPARE(live.mererror, false);
    }

    // At 120 % in the default window the page scrolls: scrolled to its far corner, the
    // graphs and the axis box lie inside the page, which they do not at the near one.
    void zoomedPageScrolls()
    {
        open(1, BandTerrestrial, QStringLiteral("13"));
        auto *shown = qobject_cast<QQuickItem *>(page());
        QVERIFY(shown);
        auto *area = shown->findChild<QQuickItem *>(QStringLiteral("zoomArea"));
        QVERIFY(area);
        QCOMPARE(area->property("interactive").toBool(), false);
        emit host->frame->changeDialogScaleNotify(1.2);
        QCOMPARE(property("scaling").toDouble(), 1.2);
        QCOMPARE(area->property("interactive").toBool(), true);

        const QStringList names {"levelGraph", "merGraph", "berGraph", "pointBox", "minimumBox", "maximumBox"};
        const QRectF visible(0, 0, shown->width(), shown->height());
        auto rectOf = [&](const QString &name) {
            auto *item = shown->findChild<QQuickItem *>(name);
            return item ? item->mapRectToItem(shown, QRectF(0, 0, item->width(), item->height())) : QRectF();
        };
        const qreal maxX = area->property("contentWidth").toReal() - area->width();
        const qreal maxY = area->property("contentHeight").toReal() - area->height();
        QVERIFY(maxX > 0 && maxY > 0);
        // Unscrolled, the right-hand items are cut off; each one scrolled to comes into view.
        QVERIFY(!visible.contains(rectOf(QStringLiteral("maximumBox"))));
        for (const QString &name : names) {
            area->setProperty("contentX", 0);
            area->setProperty("contentY", 0);
            const QRectF unscrolled = rectOf(name);
            QVERIFY2(!unscrolled.isEmpty(), qPrintable(name));
            area->setProperty("contentX", std::clamp<qreal>(unscrolled.x(), 0, maxX));
            area->setProperty("contentY", std::clamp<qreal>(unscrolled.y(), 0, maxY));
            QVERIFY2(visible.contains(rectOf(name)), qPrintable(name));
        }

        area->setProperty("contentX", 0);
        area->setProperty("contentY", 0);
        emit host->frame->changeDialogScaleNotify(1.0);
        QCOMPARE(area->property("interactive").toBool(), false);
    }

    // The life cycle and the page's button names.
    void lifeCycle()
    {
        open(1, BandTerrestrial, QStringLiteral("13"));
        QPointer<QObject> shown = page();
        emit host->frame->changeDialogScaleNotify(1.5);
        QCOMPARE(property("scaling").toDouble(), 1.5);
        emit host->frame->changeDialogScaleNotify(1.0);
        host->transit(QStringLiteral("Home.qml"));
        QVERIFY(!static_cast<AbstractViewModel *>(screen())->currentPage());
        // The old page is gone; a click reaching the view model now changes nothing.
        screen()->onRowButtonClicked(QStringLiteral("nextlist"), QStringLiteral("plus"), 0);
        const QStringList messages = root.logMessages();
        QVERIFY(!messages.filter(QStringLiteral("[MeasurementResultIndividualViewModel] Enter deactivate")).isEmpty());
    }
};

QTEST_MAIN(TestHistoryScreen)
#include "tst_historyscreen.moc"
