// ctest-label: core
// The result list model's row operations, counts, device top rows and folding, and the
// status error model that stays empty.
#include "core/MeasureResultModel.h"
#include "core/StatusErrorModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include <limits>
#include <memory>

namespace {

using R = MeasureResultModel;

MeasureResultRow topRow(const QString &no)
{
    MeasureResultRow row;
    row.latestData = true;
    row.topDataVisible = true;
    row.no = no;
    row.deviceNo = no;
    row.display = true;
    return row;
}

MeasureResultRow channelRow(const QString &no, const QString &channel)
{
    MeasureResultRow row;
    row.no = no;
    row.channel = channel;
    return row;
}

// Every role of every row, to show that an operation changed nothing.
QVector<QVariantList> snapshot(const QAbstractItemModel &model)
{
    QVector<QVariantList> rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QVariantList values;
        for (int role = R::LatestDataRole; role <= R::PolarizationRole; ++role)
            values << model.data(model.index(r, 0), role);
        rows << values;
    }
    return rows;
}

QVector<int> rolesOf(const QList<QVariant> &signal)
{
    return signal.at(2).value<QVector<int>>();
}

} // namespace

class TestMeasureResultModel : public QObject
{
    Q_OBJECT

    std::unique_ptr<MeasureResultModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    // Two devices as the builder lays them out: device 1 with channels 13, 14, 15 at rows
    // 0-3, device 2 with channel 20 at rows 4-5; top rows shown, channel rows folded away.
    void build()
    {
        m_model->setCapacity(51 * 50);
        m_model->addRow(topRow("1"));
        MeasureResultRow first = channelRow("1", "13");
        first.topDataVisible = true;
        m_model->addRow(first);
        m_model->addRow(channelRow("1", "14"));
        m_model->addRow(channelRow("1", "15"));
        m_model->addRow(topRow("2"));
        m_model->addRow(channelRow("2", "20"));
        m_model->appendDeviceTopRow(0);
        m_model->appendDeviceTopRow(4);
    }

private slots:
    void initTestCase() { qRegisterMetaType<QVector<int>>(); }

    void init()
    {
        m_model = std::make_unique<MeasureResultModel>();
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        build();
    }

    void cleanup()
    {
        m_tester.reset();
        m_model.reset();
    }

    void insertRow_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("inserted");
        QTest::newRow("first") << 0 << true;
        QTest::newRow("inside") << 3 << true;
        QTest::newRow("at the end") << 6 << true;
        QTest::newRow("negative") << -1 << false;
        QTest::newRow("past the end") << 7 << false;
        QTest::newRow("far past the end") << 1000 << false;
    }

    void insertRow()
    {
        QFETCH(int, position);
        QFETCH(bool, inserted);
        const auto before = snapshot(*m_model);
        QSignalSpy spy(m_model.get(), &QAbstractItemModel::rowsInserted);
        m_model->insertRow(channelRow("9", "new"), position);
        if (!inserted) {
            QCOMPARE(spy.count(), 0);
            QCOMPARE(snapshot(*m_model), before);
            return;
        }
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(1).toInt(), position);
        QCOMPARE(spy.at(0).at(2).toInt(), position);
        QCOMPARE(m_model->rowCount(), 7);
        QCOMPARE(m_model->row(position).channel, QStringLiteral("new"));
        // The rows from that position on moved one place down.
        auto after = snapshot(*m_model);
        after.remove(position);
        QCOMPARE(after, before);
    }

    void removeRow_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("removed");
        QTest::newRow("first") << 0 << true;
        QTest::newRow("last") << 5 << true;
        QTest::newRow("negative") << -1 << false;
        QTest::newRow("at the end") << 6 << false;
        QTest::newRow("far past the end") << 1000 << false;
    }

    void removeRow()
    {
        QFETCH(int, position);
        QFETCH(bool, removed);
        auto expected = snapshot(*m_model);
        QSignalSpy spy(m_model.get(), &QAbstractItemModel::rowsRemoved);
        m_model->removeRow(position);
        QCOMPARE(spy.count(), removed ? 1 : 0);
        if (removed) {
            QCOMPARE(spy.at(0).at(1).toInt(), position);
            expected.remove(position);
        }
        QCOMPARE(snapshot(*m_model), expected);
    }

    void removeRowFromEmptyModel()
    {
        m_model->clear();
        QSignalSpy spy(m_model.get(), &QAbstractItemModel::rowsAboutToBeRemoved);
        m_model->removeRow(0);
        QCOMPARE(spy.count(), 0);
    }

    void setRowKeepsUpdateData_data()
    {
        QTest::addColumn<bool>("targetUpdate");
        QTest::addColumn<bool>("sourceUpdate");
        QTest::newRow("target set, source clear") << true << false;
        QTest::newRow("target clear, source set") << false << true;
    }

    void setRowKeepsUpdateData()
    {
        QFETCH(bool, targetUpdate);
        QFETCH(bool, sourceUpdate);
        QVERIFY(m_model->setData(m_model->index(2, 0), targetUpdate ? 1 : 0, R::UpdateDataRole));
        MeasureResultRow source = channelRow("7", "33");
        source.updateData = sourceUpdate;
        source.level = QStringLiteral("65.2");
        source.checkbox = 1;
        source.errorHikari = true;
        QSignalSpy spy(m_model.get(), &QAbstractItemModel::dataChanged);
        m_model->setRow(2, source);

        const MeasureResultRow stored = m_model->row(2);
        QCOMPARE(stored.updateData, targetUpdate);
        QCOMPARE(stored.no, QStringLiteral("7"));
        QCOMPARE(stored.channel, QStringLiteral("33"));
        QCOMPARE(stored.level, QStringLiteral("65.2"));
        QCOMPARE(stored.checkbox, 1);
        QVERIFY(stored.errorHikari);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toModelIndex().row(), 2);
        QVector<int> expectedRoles;
        for (int role = R::LatestDataRole; role <= R::PolarizationRole; ++role) {
            if (role != R::UpdateDataRole)
                expectedRoles << role;
        }
        QCOMPARE(rolesOf(spy.at(0)), expectedRoles);
    }

    // Operations on one row given a position that is no row: nothing changes, nothing is
    // announced, nothing outside the list is touched.
    void badPositionsChangeNothing_data()
    {
        QTest::addColumn<int>("position");
        QTest::newRow("negative") << -1;
        QTest::newRow("most negative") << std::numeric_limits<int>::min();
        QTest::newRow("at the end") << 6;
        QTest::newRow("far past the end") << 1000;
    }

    void badPositionsChangeNothing()
    {
        QFETCH(int, position);
        const auto before = snapshot(*m_model);
        QSignalSpy changed(m_model.get(), &QAbstractItemModel::dataChanged);
        QSignalSpy layout(m_model.get(), &QAbstractItemModel::layoutChanged);
        QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(m_model.get(), &QAbstractItemModel::rowsRemoved);

        m_model->setRow(position, channelRow("9", "x"));
        m_model->setMeasurementValues(position, "t", "b", "c", "f", "l", "m", "e", "h");
        m_model->setChannelData(position, "t", "b", "c", "l", "m", "e", "h", "f", "bs", "lf",
                                "mod", "lay", "pol", true, true, true, true);
        m_model->setMeasurementStart(position, 1);
        m_model->setCheckbox(position, false, 0);
        m_model->setStatusPopupCheckbox(position, true, 1);
        m_model->toggleDeviceDisplay(position);
        m_model->removeRow(position);
        QCOMPARE(m_model->checkbox(position), 0);
        QCOMPARE(m_model->row(position).no, QString());

        QCOMPARE(changed.count(), 0);
        QCOMPARE(layout.count(), 0);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(removed.count(), 0);
        QCOMPARE(snapshot(*m_model), before);
    }

    void setMeasurementValues()
    {
        QSignalSpy spy(m_model.get(), &QAbstractItemModel::dataChanged);
        m_model->setMeasurementValues(1, "2026/12/10 09:15:03", "地デジ", "13", "473.143",
                                      "65.2", "30.1", "<1.0E-8", "---");
        const MeasureResultRow row = m_model->row(1);
        QCOMPARE(row.datatime, QStringLiteral("2026/12/10 09:15:03"));
        QCOMPARE(row.band, QStringLiteral("地デジ"));
        QCOMPARE(row.channel, QStringLiteral("13"));
        QCOMPARE(row.frequency, QStringLiteral("473.143"));
        QCOMPARE(row.level, QStringLiteral("65.2"));
        QCOMPARE(row.mer, QStringLiteral("30.1"));
        QCOMPARE(row.ber, QStringLiteral("<1.0E-8"));
        QCOMPARE(row.hikari, QStringLiteral("---"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toModelIndex().row(), 1);
        QCOMPARE(rolesOf(spy.at(0)), (QVector<int>{264, 265, 266, 267, 268, 269, 270, 271}));
    }

    void setChannelData()
    {
        QSignalSpy spy(m_model.get(), &QAbstractItemModel::dataChanged);
        m_model->setChannelData(5, "dt", "band", "ch", "lvl", "mer", "ber", "hik", "freq",
                                "bs", "lf", "mod", "lay", "pol", true, false, true, false);
        const MeasureResultRow row = m_model->row(5);
        QCOMPARE(row.datatime, QStringLiteral("dt"));
        QCOMPARE(row.band, QStringLiteral("band"));
        QCOMPARE(row.channel, QStringLiteral("ch"));
        QCOMPARE(row.level, QStringLiteral("lvl"));
        QCOMPARE(row.mer, QStringLiteral("mer"));
        QCOMPARE(row.ber, QStringLiteral("ber"));
        QCOMPARE(row.hikari, QStringLiteral("hik"));
        QCOMPARE(row.frequency, QStringLiteral("freq"));
        QCOMPARE(row.broadbandSystem, QStringLiteral("bs"));
        QCOMPARE(row.localFrequency, QStringLiteral("lf"));
        QCOMPARE(row.modulation, QStringLiteral("mod"));
        QCOMPARE(row.layer, QStringLiteral("lay"));
        QCOMPARE(row.polarization, QStringLiteral("pol"));
        QCOMPARE(row.errorLevel, true);
        QCOMPARE(row.errorMer, false);
        QCOMPARE(row.errorBer, true);
        QCOMPARE(row.errorHikari, false);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toModelIndex().row(), 5);
        QCOMPARE(rolesOf(spy.at(0)), (QVector<int>{264, 265, 266, 268, 269, 270, 271, 267, 284,
                                                   285, 286, 287, 288, 280, 281, 282, 283}));
    }

    void setMeasurementStart_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("expected");
        QTest::newRow("measuring") << 1 << QStringLiteral("測定中");
        QTest::newRow("stopped") << 0 << QStringLiteral("停止中");
        QTest::newRow("other state keeps the text") << 2 << QStringLiteral("前の値");
        QTest::newRow("negative state keeps the text") << -1 << QStringLiteral("前の値");
    }

    void setMeasurementStart()
    {
        QFETCH(int, state);
        QFETCH(QString, expected);
        QVERIFY(m_model->setData(m_model->index(0, 0), QStringLiteral("前の値"), R::MeasurementStartRole));
        QSignalSpy spy(m_model.get(), &QAbstractItemModel::dataChanged);
        m_model->setMeasurementStart(0, state);
        QCOMPARE(m_model->row(0).measurementStart, expected);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(rolesOf(spy.at(0)), QVector<int>{R::MeasurementStartRole});
    }

    void checkboxes_data()
    {
        QTest::addColumn<bool>("popup");
        QTest::addColumn<int>("initial");
        QTest::addColumn<bool>("set");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        for (bool popup : {false, true}) {
            const QString which = popup ? QStringLiteral("popup ") : QStringLiteral("list ");
            QTest::newRow(qPrintable(which + "toggle 0")) << popup << 0 << false << 0 << 1;
            QTest::newRow(qPrintable(which + "toggle 0, value ignored")) << popup << 0 << false << 7 << 1;
            QTest::newRow(qPrintable(which + "toggle 1")) << popup << 1 << false << 1 << 0;
            QTest::newRow(qPrintable(which + "toggle 5")) << popup << 5 << false << 5 << 0;
            QTest::newRow(qPrintable(which + "set 1")) << popup << 0 << true << 1 << 1;
            QTest::newRow(qPrintable(which + "set 0")) << popup << 1 << true << 0 << 0;
        }
    }

    void checkboxes()
    {
        QFETCH(bool, popup);
        QFETCH(int, initial);
        QFETCH(bool, set);
        QFETCH(int, value);
        QFETCH(int, expected);
        const int role = popup ? R::StatusPoopupCheckboxRole : R::CheckboxRole;
        QVERIFY(m_model->setData(m_model->index(3, 0), initial, role));
        QSignalSpy spy(m_model.get(), &QAbstractItemModel::dataChanged);
        if (popup)
            m_model->setStatusPopupCheckbox(3, set, value);
        else
            m_model->setCheckbox(3, set, value);
        QCOMPARE(m_model->data(m_model->index(3, 0), role).toInt(), expected);
        if (!popup)
            QCOMPARE(m_model->checkbox(3), expected);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toModelIndex().row(), 3);
        QCOMPARE(rolesOf(spy.at(0)), QVector<int>{role});
    }

    void counts()
    {
        QCOMPARE(m_model->displayedRowCount(), 2);
        QCOMPARE(m_model->statusErrorCount(), 0);
        // Top rows never count as errors, whatever their status.
        QVERIFY(m_model->setData(m_model->index(0, 0), 2, R::ChannelStatusRole));
        QVERIFY(m_model->setData(m_model->index(4, 0), 3, R::ChannelStatusRole));
        QCOMPARE(m_model->statusErrorCount(), 0);
        const int statuses[] = {1, 2, 3, 4};
        const int rows[] = {1, 2, 3, 5};
        for (int i = 0; i < 4; ++i)
            QVERIFY(m_model->setData(m_model->index(rows[i], 0), statuses[i], R::ChannelStatusRole));
        QCOMPARE(m_model->statusErrorCount(), 3);
        QVERIFY(m_model->setData(m_model->index(2, 0), true, R::DisplayRole));
        QCOMPARE(m_model->displayedRowCount(), 3);
    }

    void clearResetsAndKeepsTopRows()
    {
        QSignalSpy reset(m_model.get(), &QAbstractItemModel::modelReset);
        m_model->clear();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(m_model->rowCount(), 0);
        QCOMPARE(m_model->deviceTopRow(0), 0);
        QCOMPARE(m_model->deviceTopRow(1), 4);
        m_model->clear();
        QCOMPARE(reset.count(), 1);
        m_model->clearDeviceTopRows();
        QCOMPARE(m_model->deviceTopRow(0), -1);
    }

    void deviceTopRows()
    {
        QCOMPARE(m_model->deviceTopRow(1), 4);
        m_model->setDeviceTopRow(1, 9);
        QCOMPARE(m_model->deviceTopRow(1), 9);
        // Indexes that name no device: nothing is read or written.
        for (int i : {-1, 2, 50}) {
            QCOMPARE(m_model->deviceTopRow(i), -1);
            m_model->setDeviceTopRow(i, 3);
        }
        QCOMPARE(m_model->deviceTopRow(0), 0);
        QCOMPARE(m_model->deviceTopRow(1), 9);
        QCOMPARE(m_model->deviceTopRow(2), -1);
        m_model->appendDeviceTopRow(12);
        QCOMPARE(m_model->deviceTopRow(2), 12);
    }

    void toggleDeviceDisplay_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QVector<int>>("changedRows");
        QTest::addColumn<QVector<bool>>("display");
        QTest::newRow("top row unfolds") << 0 << QVector<int>{0, 1, 2, 3}
                                         << QVector<bool>{false, true, true, true, true, false};
        QTest::newRow("row below the top row") << 1 << QVector<int>{0, 1, 2, 3}
                                               << QVector<bool>{false, true, true, true, true, false};
        QTest::newRow("other channel row") << 2 << QVector<int>{}
                                           << QVector<bool>{true, false, false, false, true, false};
        QTest::newRow("second device") << 4 << QVector<int>{4, 5}
                                       << QVector<bool>{true, false, false, false, false, true};
        QTest::newRow("second device, its channel") << 5 << QVector<int>{4, 5}
                                                    << QVector<bool>{true, false, false, false, false, true};
    }

    void toggleDeviceDisplay()
    {
        QFETCH(int, position);
        QFETCH(QVector<int>, changedRows);
        QFETCH(QVector<bool>, display);
        QSignalSpy spy(m_model.get(), &QAbstractItemModel::dataChanged);
        m_model->toggleDeviceDisplay(position);
        QCOMPARE(spy.count(), changedRows.size());
        for (int i = 0; i < changedRows.size(); ++i) {
            QCOMPARE(spy.at(i).at(0).toModelIndex().row(), changedRows.at(i));
            QCOMPARE(rolesOf(spy.at(i)), QVector<int>{R::DisplayRole});
        }
        for (int r = 0; r < display.size(); ++r)
            QCOMPARE(m_model->row(r).display, display.at(r));
        // A second fold restores the first state.
        m_model->toggleDeviceDisplay(position);
        QCOMPARE(m_model->displayedRowCount(), 2);
    }

    void toggleTopRowThatIsLast()
    {
        m_model->removeRow(5);
        m_model->toggleDeviceDisplay(4);
        QCOMPARE(m_model->row(4).display, false);
        QCOMPARE(m_model->row(3).display, false);
        QCOMPARE(m_model->row(0).display, true);
    }

    void toggleWithTopRowMinusOne()
    {
        m_model->setDeviceTopRow(0, -1);
        QSignalSpy spy(m_model.get(), &QAbstractItemModel::dataChanged);
        m_model->toggleDeviceDisplay(0);
        QCOMPARE(spy.count(), 0);
    }

    void statusErrorModelStaysEmpty()
    {
        StatusErrorModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.roleNames().size(), 16);
        QSignalSpy spy(&model, &QAbstractItemModel::dataChanged);
        const QModelIndex foreign = m_model->index(0, 0);
        for (const QModelIndex &index : {model.index(0, 0), QModelIndex(), foreign}) {
            for (int role = StatusErrorModel::DeviceNoRole; role <= StatusErrorModel::ClickedRole; ++role) {
                QVERIFY(!model.data(index, role).isValid());
                QVERIFY(!model.setData(index, QStringLiteral("1"), role));
            }
        }
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_MAIN(TestMeasureResultModel)
#include "tst_measureresultmodel.moc"
