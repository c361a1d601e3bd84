// ctest-label: history
// Graph units of the history graphs, the graph window and the line geometry; the date and
// page arithmetic of the history table.
#include "screens/HistoryGraph.h"
#include "screens/HistoryPaging.h"

#include <QtTest>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265359;

double deg(double d, double s)
{
    return std::atan2(d, s) * 180.0 / kPi;
}

HistoryGraph::Axis axis(double min, double max)
{
    HistoryGraph::Axis a;
    a.minDisplay = min;
    a.maxDisplay = max;
    a.levelScale = 120.0 / (max - min);
    return a;
}

IndividualResultListRow row(const QString &date)
{
    IndividualResultListRow r;
    r.date = date;
    return r;
}

} // namespace

class TestHistoryGraph : public QObject
{
    Q_OBJECT
private slots:
    void conversions_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("level none") << "level" << "---" << 20.0;
        QTest::newRow("level below") << "level" << "<20.0" << 20.0;
        QTest::newRow("level") << "level" << "65.4" << 65.4;
        QTest::newRow("level above is no number") << "level" << ">120.0" << 0.0;
        QTest::newRow("mer none") << "mer" << "---" << 5.0;
        QTest::newRow("mer above") << "mer" << ">40.0" << 40.0;
        QTest::newRow("mer below") << "mer" << "<10.0" << 10.0;
        QTest::newRow("mer no number") << "mer" << "x" << 0.0;
        QTest::newRow("ber 1.5e-5") << "ber" << "1.5e-5" << 39.535;
        QTest::newRow("ber 1.5E-5") << "ber" << "1.5E-5" << 39.535;
        QTest::newRow("ber 1.0e-8") << "ber" << "1.0e-8" << 84.0;
        QTest::newRow("ber zero") << "ber" << "0.0e+0" << 84.0;
        QTest::newRow("ber 5.0e-2") << "ber" << "5.0e-2" << 0.0;
        QTest::newRow("ber 1e-2") << "ber" << "1.0e-2" << 0.0;
        QTest::newRow("ber none") << "ber" << "---" << 84.0;
        QTest::newRow("ber below range") << "ber" << "<1.0E-8" << 84.0;
        QTest::newRow("ber negative") << "ber" << "-1.0e-5" << 84.0;
    }

    void conversions()
    {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(double, value);
        const double got = kind == "level" ? HistoryGraph::levelValue(text)
            : kind == "mer"                ? HistoryGraph::merValue(text)
                                           : HistoryGraph::berValue(text);
        QVERIFY2(std::fabs(got - value) < 0.001, qPrintable(QString::number(got)));
    }

    void window_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::newRow("25 rows, row 0") << 0 << 10 << 25 << 0 << 10;
        QTest::newRow("25 rows, row 22") << 22 << 10 << 25 << 15 << 10;
        QTest::newRow("25 rows, row 12") << 12 << 10 << 25 << 7 << 10;
        QTest::newRow("25 rows, row 20") << 20 << 10 << 25 << 15 << 10;
        QTest::newRow("6 rows") << 3 << 10 << 6 << 0 << 6;
        QTest::newRow("no rows") << 0 << 10 << 0 << 0 << 0;
        QTest::newRow("100 points of 400") << 399 << 100 << 400 << 300 << 100;
    }

    void window()
    {
        QFETCH(int, selected);
        QFETCH(int, points);
        QFETCH(int, rows);
        QFETCH(int, first);
        QFETCH(int, count);
        const HistoryGraph::Window w = HistoryGraph::window(selected, points, rows);
        QCOMPARE(w.first, first);
        QCOMPARE(w.count, count);
    }

    void levelHeights_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<bool>("fromDisplayed");
        QTest::addColumn<double>("y");
        QTest::newRow("none, default axis") << "---" << 20.0 << 120.0 << true << 1.0;
        QTest::newRow("none, axis 40-120") << "---" << 40.0 << 120.0 << true << -30.0;
        QTest::newRow("below 20") << "<20.0" << 20.0 << 120.0 << true << 1.0;
        QTest::newRow("125 selected") << "125" << 20.0 << 120.0 << true << 120.0;
        QTest::newRow("125 redrawn") << "125" << 20.0 << 120.0 << false << 126.0;
        QTest::newRow("125, top 100") << "125" << 20.0 << 100.0 << true << 157.5;
        QTest::newRow("70") << "70" << 20.0 << 120.0 << true << 60.0;
    }

    void levelHeights()
    {
        QFETCH(QString, level);
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(bool, fromDisplayed);
        QFETCH(double, y);
        QCOMPARE(HistoryGraph::levelY(HistoryGraph::levelValue(level), axis(min, max), fromDisplayed), y);
    }

    void lines_data()
    {
        QTest::addColumn<double>("v");
        QTest::addColumn<double>("older");
        QTest::addColumn<double>("spacing");
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("rad");
        QTest::newRow("equal") << 60.0 << 60.0 << 44.0 << 44.0 << 0.0;
        QTest::newRow("falling to older") << 60.0 << 48.0 << 44.0 << std::sqrt(44.0 * 44.0 + 14.4 * 14.4) << deg(14.4, 44);
        QTest::newRow("rising to older") << 48.0 << 60.0 << 4.0 << std::sqrt(16.0 + 14.4 * 14.4) << -deg(14.4, 4);
        QTest::newRow("floor to floor") << 15.0 << 18.0 << 44.0 << 44.0 << -0.0;
        QTest::newRow("floor to 50") << 15.0 << 50.0 << 44.0 << std::sqrt(44.0 * 44.0 + 35.0 * 35.0) << -deg(35, 44);
        QTest::newRow("50 to floor") << 50.0 << 15.0 << 44.0 << std::sqrt(44.0 * 44.0 + 36.0 * 36.0) << deg(36, 44);
        QTest::newRow("above the top") << 130.0 << 110.0 << 44.0 << std::sqrt(44.0 * 44.0 + 12.0 * 12.0) << deg(12, 44);
    }

    void lines()
    {
        QFETCH(double, v);
        QFETCH(double, older);
        QFETCH(double, spacing);
        QFETCH(double, length);
        QFETCH(double, rad);
        double gotLength = 0;
        double gotRad = 0;
        HistoryGraph::levelLine(v, older, axis(20, 120), spacing, &gotLength, &gotRad);
        QVERIFY2(std::fabs(gotLength - length) < 1e-9, qPrintable(QString::number(gotLength)));
        QVERIFY2(std::fabs(gotRad - rad) < 1e-9, qPrintable(QString::number(gotRad)));
    }

    void merAndBerLines()
    {
        double length = 0;
        double rad = 0;
        HistoryGraph::merLine(30.0, 25.0, 44.0, &length, &rad);
        QCOMPARE(length, std::sqrt(12.5 * 12.5 + 44.0 * 44.0));
        QCOMPARE(rad, deg(12.5, 44));
        HistoryGraph::merLine(25.0, 30.0, 44.0, &length, &rad);
        QCOMPARE(rad, -deg(12.5, 44));
        // The BER axis grows downwards: a worse (smaller) older value turns the line the
        // other way than the level and MER lines.
        HistoryGraph::berLine(84.0, 44.0, 44.0, &length, &rad);
        QCOMPARE(length, std::sqrt(40.0 * 40.0 + 44.0 * 44.0));
        QCOMPARE(rad, -deg(40, 44));
        HistoryGraph::berLine(44.0, 84.0, 4.0, &length, &rad);
        QCOMPARE(rad, deg(40, 4));
    }

    // Six rows on a 10-point graph: six points, the last without lines, then four placeholders.
    void windowPoints()
    {
        QVector<IndividualResultListRow> rows;
        QVector<double> levels = {70, 60, 60, 15, 125, 40};
        QVector<double> mers = {30, 25, 25, 5, 40, 20};
        QVector<double> bers = {84, 84, 39.5, 0, 84, 14};
        for (int i = 0; i < 6; ++i)
            rows.append(row(QStringLiteral("2026/12/10 10:0%1:00").arg(9 - i)));
        const QVector<IndividualResultsRow> points =
            HistoryGraph::windowPoints(rows, levels, mers, bers, 10, 44, axis(20, 120), true);
        QCOMPARE(points.size(), 10);
        QCOMPARE(points.at(0).date, QStringLiteral("2026/12/10 10:09:00"));
        QCOMPARE(points.at(0).time, QStringLiteral("10:09:00"));
        QCOMPARE(points.at(0).level, QStringLiteral("80"));
        QCOMPARE(points.at(0).mer, QStringLiteral("30"));
        QCOMPARE(points.at(0).ber, QStringLiteral("2.2e-2"));
        QCOMPARE(points.at(0).graphyvalue, 60.0);
        QCOMPARE(points.at(0).meryvalue, 62.5);
        QCOMPARE(points.at(0).beryvalue, 84.0);
        QCOMPARE(points.at(3).graphyvalue, 1.0);
        QCOMPARE(points.at(4).graphyvalue, 120.0);
        QCOMPARE(points.at(1).linelength, 44.0);
        const IndividualResultsRow &last = points.at(5);
        QVERIFY(last.linelength == 0 && last.rad == 0 && last.merlength == 0 && last.merrad == 0
                && last.berlength == 0 && last.berrad == 0);
        for (int i = 6; i < 10; ++i) {
            const IndividualResultsRow &p = points.at(i);
            QCOMPARE(p.date, QStringLiteral("---"));
            QCOMPARE(p.level, QStringLiteral("---"));
            QCOMPARE(p.mer, QString());
            QCOMPARE(p.ber, QStringLiteral("---"));
            QCOMPARE(p.time, QStringLiteral("---"));
            QVERIFY(p.linelength == -1 && p.graphyvalue == -1 && p.meryvalue == -1 && p.beryvalue == -1);
            QVERIFY(p.rad == 0 && p.merlength == 0 && p.merrad == 0 && p.berlength == 0 && p.berrad == 0);
        }
    }

    void paging()
    {
        QCOMPARE(HistoryPaging::pageCount(0), 0);
        QCOMPARE(HistoryPaging::pageCount(300), 1);
        QCOMPARE(HistoryPaging::pageCount(301), 2);
        QVector<IndividualResultListRow> rows(301);
        QCOMPARE(HistoryPaging::pageRows(rows, 1).size(), 300);
        QCOMPARE(HistoryPaging::pageRows(rows, 2).size(), 1);
        QCOMPARE(HistoryPaging::pageRows(rows, 3).size(), 0);
        QCOMPARE(HistoryPaging::pageRows(rows, 0).size(), 0);
        QCOMPARE(HistoryPaging::pageFromText("x", 3), 1);
        QCOMPARE(HistoryPaging::pageFromText("999", 3), 3);
        QCOMPARE(HistoryPaging::pageFromText("-2", 3), 1);
        QCOMPARE(HistoryPaging::pageFromText("2", 3), 2);
    }

    void dateOrder_data()
    {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("month") << QStringList({"2026/11/30", "2026/12/01"}) << QStringList({"2026/12/01", "2026/11/30"});
        QTest::newRow("year") << QStringList({"2026/12/31", "2027/01/01"}) << QStringList({"2027/01/01", "2026/12/31"});
        QTest::newRow("numbers, not texts") << QStringList({"2026/9/30", "2026/10/01", "2026/12/1"})
                                            << QStringList({"2026/12/1", "2026/10/01", "2026/9/30"});
    }

    void dateOrder()
    {
        QFETCH(QStringList, dates);
        QFETCH(QStringList, sorted);
        HistoryPaging::sortNewestFirst(&dates);
        QCOMPARE(dates, sorted);
    }

    void dateRows()
    {
        const QVector<IndividualResultListRow> all = {row("2026/12/01 00:10:00"), row("2026/12/01 00:05:00"),
                                                      row("2026/11/30 23:55:00")};
        QCOMPARE(HistoryPaging::rowsOfDate(all, "2026/12/01").size(), 2);
        QCOMPARE(HistoryPaging::rowsOfDate(all, "2026/11/30").first().date, QStringLiteral("2026/11/30 23:55:00"));
        QCOMPARE(HistoryPaging::rowsOfDate(all, "2026/12/02").size(), 0);
        QCOMPARE(HistoryPaging::dateOf("2026/12/01 00:10:00"), QStringLiteral("2026/12/01"));
        QCOMPARE(HistoryPaging::dateOf("2026/12/01"), QStringLiteral("2026/12/01"));
        QCOMPARE(HistoryPaging::timeOf("2026/12/01"), QString());
    }
};

QTEST_GUILESS_MAIN(TestHistoryGraph)
#include "tst_historygraph.moc"
