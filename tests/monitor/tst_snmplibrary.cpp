// ctest-label: snmp
// Library start-up without the device module: the start reports it, and only the first
// start counts. (With the module: every other snmp test starts through MonitorTestRoot.)
#include "monitor/LevelChecker.h"
#include "monitor/SnmpLibrary.h"
#include "monitor/SnmpObject.h"
#include "monitor/SnmpRequestTable.h"
#include "support/SimDevices.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

class TestSnmpLibrary : public QObject
{
    Q_OBJECT
private slots:
    void moduleMissing()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        // A MIB folder that exists but holds another file, and one that does not exist.
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("Vm")));
        QFile other(root.filePath(QStringLiteral("Vm/README")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("not a module\n");
        other.close();

        QVERIFY(!SnmpLibrary::isStarted());
        QVERIFY(!SnmpLibrary::start(root.filePath(QStringLiteral("Vm"))));
        QVERIFY(SnmpLibrary::isStarted());
        QVERIFY(!SnmpLibrary::isModuleLoaded());

        // Later starts do not initialise the library again; they report the first result.
        const QString moduleFolder = SimDevices::installMib(root.path());
        QVERIFY(!moduleFolder.isEmpty());
        QVERIFY(!SnmpLibrary::start(moduleFolder));
        QVERIFY(!SnmpLibrary::isModuleLoaded());
    }

    // Without the module the replies carry numeric names, which the reply readers do not
    // recognise: the exchange itself still works.
    void numericNamesWithoutModule()
    {
        if (!SnmpLibrary::isStarted()) {
            QTemporaryDir empty;
            QVERIFY(!SnmpLibrary::start(empty.path()));
        }
        SimDevices sim;
        QVERIFY2(sim.start(1), qPrintable(sim.lastError()));
        const unsigned char bytes[4] = { 127, 0, 0, 1 };
        quint32 address = 0;
        std::memcpy(&address, bytes, sizeof address);
        LevelChecker device(1, QStringLiteral("sim"), &address, 0, QStringLiteral("1.csv"), 0,
                            QStringLiteral("常時"), QStringLiteral("常時"), 3);
        device.setCommunity("kv52gate");
        device.setPort(sim.port(1));
        device.setMonitoring(true);

        SnmpRequestTable table;
        table.clear();
        table.setEntry(0, true, 0, 0, 's', QLatin1String(SnmpObject::MeasResult));
        QSignalSpy replies(&device, &LevelChecker::notifyRcvToList);
        QString text;
        QCOMPARE(table.sendRequestTable(&device, 0, text), 0);
        QCOMPARE(replies.size(), 1);
        const QString reply = replies.first().at(1).toString();
        QVERIFY2(reply.contains(QLatin1String("52817.1.70.4.1.0 = ")), qPrintable(reply));
        QVERIFY(!reply.contains(QLatin1String("lcMeasResult")));
    }
};

QTEST_GUILESS_MAIN(TestSnmpLibrary)
#include "tst_snmplibrary.moc"
