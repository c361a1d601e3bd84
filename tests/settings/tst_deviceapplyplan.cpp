// ctest-label: settings
// The apply's decision, without a page or devices: which devices it registers, removes,
// restarts for an identity readout or only updates, from the edited rows, the rows of the
// last apply and what the devices report.
#include "settings/DeviceApplyPlan.h"

#include <QtTest>

namespace {

using Device = DeviceApplyPlan::Device;

DeviceEditRecord row(int no, const QString &name, const QString &address)
{
    DeviceEditRecord record = DeviceEditRecord::blank(no);
    record.name = name;
    record.ipAddress = address;
    return record;
}

// Two registered devices as the last apply left them, the blank record last.
QVector<DeviceEditRecord> savedTwo()
{
    return {row(1, QStringLiteral("一号"), QStringLiteral("10.0.0.1")), row(2, QStringLiteral("二号"), QStringLiteral("10.0.0.2")),
            DeviceEditRecord::blank(3)};
}

} // namespace

Q_DECLARE_METATYPE(QVector<DeviceEditRecord>)
Q_DECLARE_METATYPE(QVector<Device>)

class TestDeviceApplyPlan : public QObject
{
    Q_OBJECT
private slots:
    void decision_data()
    {
        QTest::addColumn<QVector<DeviceEditRecord>>("edited");
        QTest::addColumn<QVector<Device>>("devices");
        QTest::addColumn<bool>("readAll");
        QTest::addColumn<bool>("imported");
        QTest::addColumn<QList<int>>("registered");
        QTest::addColumn<QList<int>>("removed");
        QTest::addColumn<QList<int>>("restarted");
        QTest::addColumn<QList<int>>("updated");

        const QVector<DeviceEditRecord> saved = savedTwo();
        const QVector<Device> known {Device(), Device()};
        QTest::newRow("unchanged") << saved << known << false << false << QList<int>() << QList<int>()
                                   << QList<int>() << QList<int> {0, 1};

        QVector<DeviceEditRecord> renamed = saved;
        renamed[1].name = QStringLiteral("二号改");
        QTest::newRow("renamed") << renamed << known << false << false << QList<int>() << QList<int>()
                                 << QList<int> {1} << QList<int> {0};

        QVector<DeviceEditRecord> readdressed = saved;
        readdressed[0].ipAddress = QStringLiteral("10.0.0.9");
        QTest::newRow("readdressed") << readdressed << known << false << false << QList<int>() << QList<int>()
                                     << QList<int> {0} << QList<int> {1};

        QVector<DeviceEditRecord> windowOnly = saved;
        windowOnly[0].startTime = QStringLiteral("08:00");
        QTest::newRow("alert window only") << windowOnly << known << false << false << QList<int>()
                                           << QList<int>() << QList<int>() << QList<int> {0, 1};

        QVector<DeviceEditRecord> added = saved;
        added.insert(2, row(3, QStringLiteral("三号"), QStringLiteral("10.0.0.3")));
        QTest::newRow("added") << added << known << false << false << QList<int> {2} << QList<int>()
                               << QList<int> {2} << QList<int> {0, 1};

        QVector<DeviceEditRecord> cleared = saved;
        cleared[1].name.clear();
        cleared[1].ipAddress = DeviceEditRecord::blankAddress();
        QTest::newRow("last row cleared") << cleared << known << false << false << QList<int>()
                                          << QList<int> {1} << QList<int>() << QList<int> {0};

        // A row in the middle without name and address stays, with its device.
        QVector<DeviceEditRecord> middle = saved;
        middle[0].name.clear();
        middle[0].ipAddress = DeviceEditRecord::blankAddress();
        QTest::newRow("middle row cleared") << middle << known << false << false << QList<int>() << QList<int>()
                                            << QList<int> {0} << QList<int> {1};

        QTest::newRow("pending plan") << saved << QVector<Device> {Device(), Device {true, true}} << false << false
                                      << QList<int>() << QList<int>() << QList<int> {1} << QList<int> {0};
        QTest::newRow("unknown identity") << saved << QVector<Device> {Device {false, false}, Device()} << false
                                          << false << QList<int>() << QList<int>() << QList<int> {0}
                                          << QList<int> {1};
        QTest::newRow("read every identity") << saved << known << true << false << QList<int>() << QList<int>()
                                             << QList<int> {0, 1} << QList<int>();
        // A row added but not applied is not registered by a readout of every identity.
        QTest::newRow("read every identity, row added") << added << known << true << false << QList<int>()
                                                        << QList<int>() << QList<int> {0, 1} << QList<int>();
        QTest::newRow("imported") << added << known << false << true << QList<int> {0, 1, 2} << QList<int>()
                                  << QList<int>() << QList<int>();
        QTest::newRow("imported, last row empty") << cleared << known << false << true << QList<int> {0, 1}
                                                  << QList<int> {1} << QList<int>() << QList<int>();
    }

    void decision()
    {
        QFETCH(QVector<DeviceEditRecord>, edited);
        QFETCH(QVector<Device>, devices);
        QFETCH(bool, readAll);
        QFETCH(bool, imported);
        QFETCH(QList<int>, registered);
        QFETCH(QList<int>, removed);
        QFETCH(QList<int>, restarted);
        QFETCH(QList<int>, updated);
        const DeviceApplyPlan plan = DeviceApplyPlan::make(edited, savedTwo(), devices, readAll, imported);
        QCOMPARE(plan.registerAll, imported);
        QCOMPARE(plan.registered, registered);
        QCOMPARE(plan.removed, removed);
        QCOMPARE(plan.clearedRows, removed.size());
        QCOMPARE(plan.restarted, restarted);
        QCOMPARE(plan.updated, updated);
    }

    // The cleared run at the end: rows without address and name; a named row whose address
    // the operator emptied ends it only when its address text is not empty.
    void clearedTail_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<int>("cleared");
        const QString blank = DeviceEditRecord::blankAddress();
        QTest::newRow("none") << QStringList {"a", "b"} << QStringList {"10.0.0.1", "10.0.0.2"} << 0;
        QTest::newRow("two at the end") << QStringList {"a", "", ""} << QStringList {"10.0.0.1", blank, blank} << 2;
        QTest::newRow("named without address") << QStringList {"a", "b"} << QStringList {"10.0.0.1", blank} << 0;
        QTest::newRow("named, address emptied") << QStringList {"a", "b", ""} << QStringList {"10.0.0.1", "", blank}
                                                << 1;
        QTest::newRow("no address 0.0.0.0") << QStringList {"a", ""} << QStringList {"10.0.0.1", "0.0.0.0"} << 1;
    }

    void clearedTail()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, addresses);
        QFETCH(int, cleared);
        QVector<DeviceEditRecord> edited;
        for (int i = 0; i < names.size(); ++i)
            edited.append(row(i + 1, names.at(i), addresses.at(i)));
        edited.append(DeviceEditRecord::blank(names.size() + 1));
        QCOMPARE(DeviceApplyPlan::clearedTailCount(edited), cleared);
    }
};

QTEST_MAIN(TestDeviceApplyPlan)
#include "tst_deviceapplyplan.moc"
