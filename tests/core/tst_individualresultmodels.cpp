// ctest-label: core
// The history table and graph models: the live update that puts the newest result first.
#include "core/IndividualResultListModel.h"
#include "core/IndividualResultsModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

namespace {

using ListRole = IndividualResultListModel::Role;
using PointRole = IndividualResultsModel::Role;

IndividualResultListRow result(int n)
{
    IndividualResultListRow row;
    row.date = QStringLiteral("row %1").arg(n);
    row.level = QString::number(60 + n);
    row.levelerror = true;
    row.hikarierror = n % 2 == 0;
    return row;
}

IndividualResultsRow point(int n)
{
    IndividualResultsRow row;
    row.date = QStringLiteral("point %1").arg(n);
    row.linelength = 10.0 + n;
    row.rad = 0.5 + n;
    row.merlength = 20.0 + n;
    row.merrad = 1.5 + n;
    row.berlength = 30.0 + n;
    row.berrad = 2.5 + n;
    row.graphyvalue = n;
    row.time = QStringLiteral("09:%1").arg(n, 2, 10, QLatin1Char('0'));
    return row;
}

QStringList dates(const QAbstractItemModel &model, int role)
{
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r)
        texts << model.data(model.index(r, 0), role).toString();
    return texts;
}

QVector<int> roleRange(int first, int last)
{
    QVector<int> roles;
    for (int role = first; role <= last; ++role)
        roles << role;
    return roles;
}

} // namespace

class TestIndividualResultModels : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<QVector<int>>(); }

    void addLatestRow_data()
    {
        QTest::addColumn<int>("held");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty") << 0 << 1;
        QTest::newRow("one") << 1 << 2;
        QTest::newRow("299 grows to 300") << 299 << 300;
        QTest::newRow("300 stays 300") << 300 << 300;
        QTest::newRow("loaded beyond 300 keeps its length") << 305 << 305;
    }

    void addLatestRow()
    {
        QFETCH(int, held);
        QFETCH(int, expected);
        IndividualResultListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setCapacity(20000);
        for (int i = 0; i < held; ++i)
            model.addRow(result(i));
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        model.addLatestRow(result(-1));

        QCOMPARE(model.count(), expected);
        QCOMPARE(model.rowCount(), expected);
        QCOMPARE(removed.count(), 0);
        const bool grew = expected > held;
        QCOMPARE(inserted.count(), grew ? 1 : 0);
        if (grew) {
            QCOMPARE(inserted.at(0).at(1).toInt(), held);
            QCOMPARE(inserted.at(0).at(2).toInt(), held);
        }
        QCOMPARE(changed.count(), expected);
        for (int r = 0; r < expected; ++r) {
            QCOMPARE(changed.at(r).at(0).toModelIndex().row(), r);
            QCOMPARE(changed.at(r).at(1).toModelIndex().row(), r);
            QCOMPARE(changed.at(r).at(2).value<QVector<int>>(), roleRange(306, 319));
        }
        // Newest first, every older row one place down, the oldest dropped when full.
        QStringList wanted{QStringLiteral("row -1")};
        for (int i = 0; i < expected - 1; ++i)
            wanted << QStringLiteral("row %1").arg(i);
        QCOMPARE(dates(model, ListRole::DateRole), wanted);
        QCOMPARE(model.data(model.index(0, 0), ListRole::HikarierrorRole), QVariant(false));
    }

    void selectionThroughSetData()
    {
        IndividualResultListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        for (int i = 0; i < 3; ++i)
            model.addRow(result(i));
        QVERIFY(model.setData(model.index(1, 0), true, ListRole::SelectflagRole));
        QCOMPARE(model.data(model.index(1, 0), ListRole::SelectflagRole), QVariant(true));
        QCOMPARE(model.data(model.index(0, 0), ListRole::SelectflagRole), QVariant(false));
        // A row past the end is refused.
        QVERIFY(!model.setData(model.index(3, 0), true, ListRole::SelectflagRole));
    }

    void addLatestPoint()
    {
        IndividualResultsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setCapacity(10000);
        for (int i = 0; i < 24; ++i)
            model.addRow(point(i));
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        model.addLatestPoint(point(99));

        QCOMPARE(model.count(), 24);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(removed.count(), 0);
        QCOMPARE(changed.count(), 24);
        for (int r = 0; r < 24; ++r) {
            QCOMPARE(changed.at(r).at(0).toModelIndex().row(), r);
            QCOMPARE(changed.at(r).at(2).value<QVector<int>>(), roleRange(286, 299));
        }
        QStringList wanted{QStringLiteral("point 99")};
        for (int i = 0; i < 23; ++i)
            wanted << QStringLiteral("point %1").arg(i);
        QCOMPARE(dates(model, PointRole::DateRole), wanted);
        // The new first point keeps its lines.
        const QModelIndex first = model.index(0, 0);
        QCOMPARE(model.data(first, PointRole::LinelengthRole).toDouble(), 109.0);
        QCOMPARE(model.data(first, PointRole::TimeRole).toString(), QStringLiteral("09:99"));
        // The new last point (the former 22) starts no line but keeps its directions.
        const QModelIndex last = model.index(23, 0);
        QCOMPARE(model.data(last, PointRole::LinelengthRole).toDouble(), 0.0);
        QCOMPARE(model.data(last, PointRole::MerlengthRole).toDouble(), 0.0);
        QCOMPARE(model.data(last, PointRole::BerlengthRole).toDouble(), 0.0);
        QCOMPARE(model.data(last, PointRole::RadRole).toDouble(), 22.5);
        QCOMPARE(model.data(last, PointRole::MerradRole).toDouble(), 23.5);
        QCOMPARE(model.data(last, PointRole::BerradRole).toDouble(), 24.5);
        QCOMPARE(model.data(last, PointRole::GraphyvalueRole).toDouble(), 22.0);
        // The point before it keeps its line lengths.
        QCOMPARE(model.data(model.index(22, 0), PointRole::LinelengthRole).toDouble(), 31.0);
    }

    void addLatestPointOnEmptyGraph()
    {
        IndividualResultsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        model.addLatestPoint(point(1));
        QCOMPARE(model.count(), 0);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(inserted.count(), 0);
    }

    void singlePointGraph()
    {
        IndividualResultsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.addRow(point(1));
        model.addLatestPoint(point(2));
        QCOMPARE(dates(model, PointRole::DateRole), QStringList{"point 2"});
        QCOMPARE(model.data(model.index(0, 0), PointRole::LinelengthRole).toDouble(), 0.0);
        QCOMPARE(model.data(model.index(0, 0), PointRole::RadRole).toDouble(), 2.5);
    }

    // The level line's length and direction sit in the record in the other order than their
    // roles; each role still reaches its own field.
    void lineLengthAndDirectionRoles()
    {
        IndividualResultsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        IndividualResultsRow row;
        row.linelength = 1.5;
        row.rad = 0.25;
        model.addRow(row);
        const QModelIndex at = model.index(0, 0);
        QCOMPARE(model.data(at, 291).toDouble(), 1.5);
        QCOMPARE(model.data(at, 290).toDouble(), 0.25);
        QVERIFY(model.setData(at, 3.0, 290));
        QCOMPARE(model.data(at, 290).toDouble(), 3.0);
        QCOMPARE(model.data(at, 291).toDouble(), 1.5);
        QVERIFY(model.setData(at, QStringLiteral("7.5"), 291));
        QCOMPARE(model.data(at, 291).toDouble(), 7.5);
        QCOMPARE(model.data(at, 290).toDouble(), 3.0);
    }
};

QTEST_MAIN(TestIndividualResultModels)
#include "tst_individualresultmodels.moc"
