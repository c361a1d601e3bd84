// ctest-label: core
// The list models of the setting screens: rows counted by their key, the field setters,
// positions that are no row, and the device table filled anew in place.
#include "core/ChannelDetailsModel.h"
#include "core/DeviceSettingModel.h"
#include "core/InformationListModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <limits>

namespace {

ChannelDetailsRow channel(const QString &no)
{
    ChannelDetailsRow row;
    row.channelNo = no;
    row.BandName = QStringLiteral("地デジ");
    row.ChannelName = no.isEmpty() ? QStringLiteral("hidden") : QStringLiteral("ch") + no;
    row.Frequencycode = QStringLiteral("473.143");
    row.LocalFrequency = QStringLiteral("---");
    row.PowerSupply = QStringLiteral("OFF");
    return row;
}

DeviceSettingRow device(const QString &no)
{
    DeviceSettingRow row;
    row.deviceno = no;
    row.devicename = QStringLiteral("機器") + no;
    row.ipaddress = QStringLiteral("127.0.0.") + no;
    row.inputtype = QStringLiteral("同軸");
    row.settingfile = QStringLiteral("未設定");
    row.validtime = QStringLiteral("常時");
    row.cycleInterval = QStringLiteral("連続");
    row.hikariWaveLength = QStringLiteral("1550");
    return row;
}

InformationListRow information(const QString &no)
{
    InformationListRow row;
    row.infodeviceno = no;
    row.infodevicename = QStringLiteral("機器") + no;
    row.infoserialnumber = QStringLiteral("SN") + no;
    return row;
}

QVector<int> rolesOf(const QList<QVariant> &signal)
{
    return signal.at(2).value<QVector<int>>();
}

QStringList column(const QAbstractItemModel &model, int role)
{
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r)
        texts << model.data(model.index(r, 0), role).toString();
    return texts;
}

} // namespace

class TestSettingListModels : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<QVector<int>>(); }

    // Rows without a key are held but not counted; the views see the first rowCount rows.
    void channelRowsCountedByKey()
    {
        ChannelDetailsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        model.setCapacity(50);
        for (int i = 1; i <= 50; ++i)
            model.addRow(channel(i <= 40 ? QString::number(i) : QString()));
        QCOMPARE(model.rowCount(), 40);
        QCOMPARE(inserted.count(), 40);
        QCOMPARE(model.data(model.index(39, 0), ChannelDetailsModel::ChannelNoRole).toString(), QStringLiteral("40"));
        QVERIFY(!model.index(40, 0).isValid());
        // A list has no children, whatever it counts.
        QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    }

    void keyGapServesTheHeldRows()
    {
        ChannelDetailsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.addRow(channel("1"));
        model.addRow(channel(QString()));
        model.addRow(channel("3"));
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(column(model, ChannelDetailsModel::ChannelNoRole), (QStringList{"1", ""}));
        QCOMPARE(model.data(model.index(1, 0), ChannelDetailsModel::ChannelNameRole).toString(), QStringLiteral("hidden"));
        QVERIFY(!model.data(model.index(2, 0), ChannelDetailsModel::ChannelNoRole).isValid());
    }

    // A clear that finds no counted row announces nothing, and the unkeyed rows it held do
    // not come back in front of the next filling.
    void clearOfUncountedRows()
    {
        ChannelDetailsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.addRow(channel(QString()));
        model.addRow(channel(QString()));
        QSignalSpy removed(&model, &QAbstractItemModel::rowsAboutToBeRemoved);
        model.clear();
        QCOMPARE(removed.count(), 0);
        QCOMPARE(model.rowCount(), 0);
        model.addRow(channel("7"));
        QCOMPARE(column(model, ChannelDetailsModel::ChannelNoRole), QStringList{"7"});
    }

    void clearAnnouncesTheCountedRows()
    {
        DeviceSettingModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.addRow(device("1"));
        model.addRow(device("2"));
        model.addRow(device(QString()));
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        model.clear();
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 0);
        QCOMPARE(removed.at(0).at(2).toInt(), 1);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.ipAddress(2), QString());
    }

    // A table filled anew keeps the rows shown before and after (announced changed, every
    // role), removes or adds only the difference, and shows exactly the new rows.
    void replaceKeepsSharedRows_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("same count") << 3 << 3;
        QTest::newRow("fewer") << 4 << 2;
        QTest::newRow("more") << 2 << 5;
        QTest::newRow("from none") << 0 << 3;
        QTest::newRow("to none") << 3 << 0;
    }
    void replaceKeepsSharedRows()
    {
        QFETCH(int, before);
        QFETCH(int, after);
        DeviceSettingModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        for (int i = 1; i <= before; ++i)
            model.addRow(device(QString::number(i)));
        QVector<DeviceSettingRow> rows;
        QStringList expected;
        for (int i = 1; i <= after; ++i) {
            DeviceSettingRow row = device(QString::number(i));
            row.devicename = QStringLiteral("新") + row.devicename;
            rows.append(row);
            expected.append(row.devicename);
        }
        // A row without a device number stays held, not shown, as addRow() holds it.
        rows.append(device(QString()));
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy replaced(&model, &DeviceSettingModel::rowsReplaced);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.replaceRows(rows);

        QCOMPARE(column(model, DeviceSettingModel::DevicenameRole), expected);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(replaced.count(), 1);
        const int kept = qMin(before, after);
        QCOMPARE(changed.count(), kept > 0 ? 1 : 0);
        if (kept > 0) {
            QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 0);
            QCOMPARE(changed.at(0).at(1).toModelIndex().row(), kept - 1);
            QCOMPARE(rolesOf(changed.at(0)).size(), DeviceSettingModel::HikariWaveLengthRole - DeviceSettingModel::DevicenoRole + 1);
        }
        QCOMPARE(removed.count(), before > after ? 1 : 0);
        if (before > after) {
            QCOMPARE(removed.at(0).at(1).toInt(), after);
            QCOMPARE(removed.at(0).at(2).toInt(), before - 1);
        }
        QCOMPARE(inserted.count(), after > before ? 1 : 0);
        if (after > before) {
            QCOMPARE(inserted.at(0).at(1).toInt(), before);
            QCOMPARE(inserted.at(0).at(2).toInt(), after - 1);
        }
    }

    void channelSetters()
    {
        ChannelDetailsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        for (int i = 1; i <= 5; ++i)
            model.addRow(channel(QString::number(i)));
        QSignalSpy spy(&model, &QAbstractItemModel::dataChanged);

        model.setLocalFrequency(QStringLiteral("1032.000"), QStringLiteral("10678"), 3);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toModelIndex().row(), 3);
        QCOMPARE(spy.at(0).at(1).toModelIndex().row(), 3);
        QCOMPARE(rolesOf(spy.at(0)), (QVector<int>{279, 281}));
        QCOMPARE(model.data(model.index(3, 0), ChannelDetailsModel::FrequencycodeRole).toString(), QStringLiteral("1032.000"));
        QCOMPARE(model.data(model.index(3, 0), ChannelDetailsModel::LocalFrequencyRole).toString(), QStringLiteral("10678"));

        model.setPowerSupply(QStringLiteral("ON"), 4);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toModelIndex().row(), 4);
        QCOMPARE(rolesOf(spy.at(1)), QVector<int>{282});
        QCOMPARE(model.data(model.index(4, 0), ChannelDetailsModel::PowerSupplyRole).toString(), QStringLiteral("ON"));
        QCOMPARE(model.data(model.index(2, 0), ChannelDetailsModel::PowerSupplyRole).toString(), QStringLiteral("OFF"));
    }

    void deviceSetters_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("text");
        QTest::newRow("input type") << int(DeviceSettingModel::InputtypeRole) << QStringLiteral("光");
        QTest::newRow("valid time") << int(DeviceSettingModel::ValidtimeRole) << QStringLiteral("08:00～17:00");
        QTest::newRow("cycle interval") << int(DeviceSettingModel::CycleIntervalRole) << QStringLiteral("15分");
        QTest::newRow("wavelength") << int(DeviceSettingModel::HikariWaveLengthRole) << QStringLiteral("1310");
    }

    // Each setter changes its one field but announces all eight roles of the row.
    void deviceSetters()
    {
        QFETCH(int, role);
        QFETCH(QString, text);
        DeviceSettingModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        for (int i = 1; i <= 3; ++i)
            model.addRow(device(QString::number(i)));
        const std::function<void(const QString &, int)> setters[] = {
            [&](const QString &t, int p) { model.setInputType(t, p); },
            [&](const QString &t, int p) { model.setValidTime(t, p); },
            [&](const QString &t, int p) { model.setCycleInterval(t, p); },
            [&](const QString &t, int p) { model.setHikariWaveLength(t, p); },
        };
        const int roles[] = {DeviceSettingModel::InputtypeRole, DeviceSettingModel::ValidtimeRole,
                             DeviceSettingModel::CycleIntervalRole, DeviceSettingModel::HikariWaveLengthRole};
        const int which = int(std::find(std::begin(roles), std::end(roles), role) - std::begin(roles));
        QVector<QStringList> expected;
        for (int other = DeviceSettingModel::DevicenoRole; other <= DeviceSettingModel::HikariWaveLengthRole; ++other)
            expected << column(model, other);
        expected[role - DeviceSettingModel::DevicenoRole][2] = text;
        QSignalSpy spy(&model, &QAbstractItemModel::dataChanged);
        setters[which](text, 2);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toModelIndex().row(), 2);
        QCOMPARE(spy.at(0).at(1).toModelIndex().row(), 2);
        QCOMPARE(rolesOf(spy.at(0)), (QVector<int>{276, 277, 278, 279, 280, 281, 282, 283}));
        for (int other = DeviceSettingModel::DevicenoRole; other <= DeviceSettingModel::HikariWaveLengthRole; ++other)
            QCOMPARE(column(model, other), expected.at(other - DeviceSettingModel::DevicenoRole));
    }

    void deviceListWithNewDeviceRow()
    {
        DeviceSettingModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setCapacity(1000);
        for (int i = 1; i <= 3; ++i)
            model.appendRow(device(QString::number(i)));
        DeviceSettingRow fresh = device(QStringLiteral("4"));
        fresh.devicename.clear();
        fresh.ipaddress = QStringLiteral("   .   .   .   ");
        model.appendRow(fresh);
        QCOMPARE(model.rowCount(), 4);
        model.addRow(device(QString()));
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.ipAddress(1), QStringLiteral("127.0.0.2"));
        QCOMPARE(model.deviceName(0), QStringLiteral("機器1"));
        QCOMPARE(model.ipAddress(3), QStringLiteral("   .   .   .   "));
        // The edit rows write name and address back.
        QVERIFY(model.setData(model.index(0, 0), QStringLiteral("受信点A"), DeviceSettingModel::DevicenameRole));
        QVERIFY(model.setData(model.index(0, 0), QStringLiteral("10.0.0.5"), DeviceSettingModel::IpaddressRole));
        QCOMPARE(model.deviceName(0), QStringLiteral("受信点A"));
        QCOMPARE(model.ipAddress(0), QStringLiteral("10.0.0.5"));
    }

    void informationListRefill()
    {
        InformationListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setCapacity(1000);
        for (int i = 1; i <= 3; ++i)
            model.addRow(information(QString::number(i)));
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        model.clear();
        for (int i = 1; i <= 3; ++i)
            model.addRow(information(QString::number(i)));
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 0);
        QCOMPARE(removed.at(0).at(2).toInt(), 2);
        QCOMPARE(inserted.count(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(inserted.at(i).at(1).toInt(), i);
            QCOMPARE(inserted.at(i).at(2).toInt(), i);
        }
        QCOMPARE(column(model, InformationListModel::InfoserialnumberRole), (QStringList{"SN1", "SN2", "SN3"}));
    }

    void badPositionsChangeNothing_data()
    {
        QTest::addColumn<int>("position");
        QTest::newRow("negative") << -1;
        QTest::newRow("most negative") << std::numeric_limits<int>::min();
        QTest::newRow("held but not counted") << 3;
        QTest::newRow("past every held row") << 4;
        QTest::newRow("far past the end") << 1000;
        QTest::newRow("largest") << std::numeric_limits<int>::max();
    }

    void badPositionsChangeNothing()
    {
        QFETCH(int, position);
        ChannelDetailsModel channels;
        DeviceSettingModel devices;
        QAbstractItemModelTester channelTester(&channels, QAbstractItemModelTester::FailureReportingMode::Fatal);
        QAbstractItemModelTester deviceTester(&devices, QAbstractItemModelTester::FailureReportingMode::Fatal);
        for (int i = 1; i <= 3; ++i) {
            channels.addRow(channel(QString::number(i)));
            devices.addRow(device(QString::number(i)));
        }
        // Row 3 is held without a key, so it is no row for the views.
        channels.addRow(channel(QString()));
        devices.addRow(device(QString()));
        const QStringList channelTexts = column(channels, ChannelDetailsModel::PowerSupplyRole)
            + column(channels, ChannelDetailsModel::FrequencycodeRole)
            + column(channels, ChannelDetailsModel::LocalFrequencyRole);
        QStringList deviceTexts;
        for (int role = DeviceSettingModel::DevicenoRole; role <= DeviceSettingModel::HikariWaveLengthRole; ++role)
            deviceTexts += column(devices, role);
        QSignalSpy channelSpy(&channels, &QAbstractItemModel::dataChanged);
        QSignalSpy deviceSpy(&devices, &QAbstractItemModel::dataChanged);

        channels.setPowerSupply(QStringLiteral("ON"), position);
        channels.setLocalFrequency(QStringLiteral("1"), QStringLiteral("2"), position);
        devices.setInputType(QStringLiteral("光"), position);
        devices.setValidTime(QStringLiteral("x"), position);
        devices.setCycleInterval(QStringLiteral("x"), position);
        devices.setHikariWaveLength(QStringLiteral("x"), position);
        if (position != 3) {
            QCOMPARE(devices.ipAddress(position), QString());
            QCOMPARE(devices.deviceName(position), QString());
        }

        QCOMPARE(channelSpy.count(), 0);
        QCOMPARE(deviceSpy.count(), 0);
        QCOMPARE(column(channels, ChannelDetailsModel::PowerSupplyRole)
                     + column(channels, ChannelDetailsModel::FrequencycodeRole)
                     + column(channels, ChannelDetailsModel::LocalFrequencyRole),
                 channelTexts);
        QStringList after;
        for (int role = DeviceSettingModel::DevicenoRole; role <= DeviceSettingModel::HikariWaveLengthRole; ++role)
            after += column(devices, role);
        QCOMPARE(after, deviceTexts);
    }
};

QTEST_MAIN(TestSettingListModels)
#include "tst_settinglistmodels.moc"
