// ctest-label: settings
// The identity readout without a page: its states and bound, which replies still count
// (the readout runs, the device is pending, the reply's pass is the device's current one),
// and what a reply text stores.
#include "settings/IdentityReadout.h"
#include "core/SystemLog.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"

#include <QSignalSpy>
#include <QtTest>

using Reply = IdentityReadout::Reply;
using State = IdentityReadout::State;
Q_DECLARE_METATYPE(IdentityReadout::Reply)

class TestIdentityReadout : public QObject
{
    Q_OBJECT

    static LevelChecker *addDevice(DeviceList &list)
    {
        const quint32 address = 0x0100007F;
        auto *device = new LevelChecker(list.deviceCount() + 1, QStringLiteral("機"), &address, 0, QString(), 0,
                                        QStringLiteral("常時"), QStringLiteral("常時"), 3, &list);
        list.addDevice(device);
        return device;
    }

private slots:
    // Starting (no bound) -> Running (bound) -> Idle; a new apply supersedes the readout and
    // holds its bound until it starts it again.
    void statesAndBound()
    {
        IdentityReadout readout;
        QSignalSpy bound(&readout, &IdentityReadout::boundReached);
        readout.setBoundMs(50);
        QCOMPARE(readout.state(), State::Idle);
        const quint64 first = readout.supersede();
        readout.beginStarting();
        QCOMPARE(readout.state(), State::Starting);
        QTest::qWait(120);
        QCOMPARE(bound.size(), 0);
        readout.startBound();
        QCOMPARE(readout.state(), State::Running);
        QVERIFY(readout.supersede() > first);
        QTest::qWait(120);
        QCOMPARE(bound.size(), 0);
        readout.startBound();
        QTRY_COMPARE(bound.size(), 1);
        readout.stop();
        QCOMPARE(readout.state(), State::Idle);
        QVERIFY(!readout.isActive());
    }

    void whichRepliesCount()
    {
        DeviceList list(2, SystemLog::instance(), nullptr);
        LevelChecker *restarted = addDevice(list);
        LevelChecker *carried = addDevice(list);
        IdentityReadout readout;
        const quint64 earlier = readout.supersede();
        carried->setIdentityReadout(earlier);
        const quint64 current = readout.supersede();
        restarted->setIdentityReadout(current);
        QVERIFY(!readout.pendingDevice(&list, current, 0)); // not running yet
        readout.setPending({true, true});
        readout.startBound();

        QCOMPARE(readout.pendingDevice(&list, current, 0), restarted);
        QVERIFY(!readout.pendingDevice(&list, earlier, 0)); // a pass the apply has restarted
        // A device the apply left reading keeps the pass it has.
        QCOMPARE(readout.pendingDevice(&list, earlier, 1), carried);
        QCOMPARE(readout.pendingDevice(&list, 0, 0), restarted); // a reply without an id
        QVERIFY(!readout.pendingDevice(&list, current, 2));      // no such device
        QVERIFY(!readout.finish(0));
        QVERIFY(!readout.pendingDevice(&list, current, 0)); // answered already
        QVERIFY(readout.finish(1));
        readout.stop();
        QVERIFY(!readout.pendingDevice(&list, earlier, 1));
        list.deleteAllDevices();
    }

    void storedReply_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Reply>("reply");
        QTest::addColumn<QStringList>("identity");
        const QStringList before {"S", "M", "F"};
        const QStringList unknown {"---", "---", "---"};
        QTest::newRow("serial") << "VEDIRUDO-ZER::lcSerialnum.0 = STRING: VZ52-1\n" << Reply::Stored
                                << QStringList {"VZ52-1", "M", "F"};
        QTest::newRow("no serial") << "VEDIRUDO-ZER::lcSerialnum.0 = STRING: \\" << Reply::Stored
                                   << QStringList {"NoSerial", "M", "F"};
        QTest::newRow("mac keeps its line break") << "VEDIRUDO-ZER::lcPhysAddress.0 = STRING: 00:1B\n"
                                                  << Reply::Stored << QStringList {"S", "00:1B\n", "F"};
        QTest::newRow("firmware") << "VEDIRUDO-ZER::lcVersionPRODUCT.0 = STRING: 3.12\n" << Reply::Stored
                                  << QStringList {"S", "M", "3.12"};
        QTest::newRow("not a text") << "VEDIRUDO-ZER::lcSerialnum.0 = INTEGER: 5" << Reply::Stored << unknown;
        QTest::newRow("option id") << "VEDIRUDO-ZER::lcOptionID.0 = INTEGER: 1" << Reply::Finished << before;
        QTest::newRow("timeout") << "Timeout,200\n" << Reply::Failed << unknown;
        QTest::newRow("error inside a value") << "VEDIRUDO-ZER::lcSerialnum.0 = STRING: Error" << Reply::Failed
                                              << unknown;
        QTest::newRow("other object") << "VEDIRUDO-ZER::lcVersionFPGA.0 = STRING: 1" << Reply::Ignored << before;
    }

    void storedReply()
    {
        QFETCH(QString, text);
        QFETCH(Reply, reply);
        QFETCH(QStringList, identity);
        const quint32 address = 0;
        LevelChecker device(1, QStringLiteral("機"), &address, 0, QString(), 0, QStringLiteral("常時"),
                            QStringLiteral("常時"), 3);
        device.setSerialNumber(QStringLiteral("S"));
        device.setMacAddress(QStringLiteral("M"));
        device.setFirmwareVersion(QStringLiteral("F"));
        device.setOptionId(true);
        QCOMPARE(IdentityReadout::store(&device, text), reply);
        QCOMPARE((QStringList {device.serialNumber(), device.macAddress(), device.firmwareVersion()}), identity);
        QCOMPARE(device.optionId(), reply == Reply::Stored || reply == Reply::Ignored);
    }
};

QTEST_MAIN(TestIdentityReadout)
#include "tst_identityreadout.moc"
