// ctest-label: snmp
#include "support/SimDevices.h"
#include "support/TestPaths.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};

const QString kModule = QStringLiteral("VEDIRUDO-ZER");
const QString kResult = QStringLiteral("VEDIRUDO-ZER::lcMeasResult.0");

QString object(const QString &name)
{
    return kModule + QStringLiteral("::") + name + QStringLiteral(".0");
}

// The monitor's reading of a result rendering: the part after "STRING: ", line feeds
// removed, split at every comma.
QStringList resultElements(const QString &rendering)
{
    const int p = rendering.indexOf(QStringLiteral("STRING: "));
    if (p < 0 || !rendering.contains(QLatin1Char('\n')))
        return {};
    QString value = rendering.mid(p);
    value.remove(QStringLiteral("STRING: "));
    value.remove(QLatin1Char('\n'));
    return value.split(QLatin1Char(','));
}

} // namespace

Q_DECLARE_METATYPE(SimDevices::Fault)

class TestSimDevices : public QObject
{
    Q_OBJECT

private:
    SimDevices m_sim;
    QTemporaryDir m_root;
    QString m_mibFolder;

    ToolRun tool(const QString &program, const QStringList &arguments, int timeoutMs = 15000)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MIBS"), QString());
        env.insert(QStringLiteral("SNMPCONFPATH"), m_root.path() + QStringLiteral("/snmp"));
        env.insert(QStringLiteral("SNMP_PERSISTENT_DIR"), m_root.path() + QStringLiteral("/snmp"));
        process.setProcessEnvironment(env);
        ToolRun run;
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished(2000);
        }
        run.elapsedMs = timer.elapsed();
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    QStringList snmpArgs(int device, int timeoutS = 2) const
    {
        return {QStringLiteral("-v2c"), QStringLiteral("-c"), QStringLiteral("kv52gate"),
                QStringLiteral("-t"), QString::number(timeoutS), QStringLiteral("-r"), QStringLiteral("0"),
                QStringLiteral("-M"), m_mibFolder, QStringLiteral("-m"), kModule, m_sim.address(device)};
    }

    ToolRun get(int device, const QStringList &objects, int timeoutS = 2)
    {
        return tool(QStringLiteral("snmpget"), snmpArgs(device, timeoutS) + objects);
    }

    // varbinds: name, type letter, value, ...
    ToolRun set(int device, const QStringList &varbinds)
    {
        QStringList args = snmpArgs(device);
        for (int i = 0; i + 2 < varbinds.size(); i += 3)
            args << object(varbinds.at(i)) << varbinds.at(i + 1) << varbinds.at(i + 2);
        return tool(QStringLiteral("snmpset"), args);
    }

    QStringList measure(int device)
    {
        const ToolRun run = get(device, {kResult});
        if (run.exitCode != 0)
            qWarning() << "snmpget failed:" << run.out << run.err;
        return resultElements(run.out);
    }

private slots:
    void initTestCase()
    {
        const QString missing = TestPaths::missingPrograms({QStringLiteral("snmpget"), QStringLiteral("snmpset"), QStringLiteral("snmptranslate")});
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QVERIFY(m_root.isValid());
        // The tools create these on first use and say so on standard error.
        QVERIFY(QDir().mkpath(m_root.path() + QStringLiteral("/snmp/cert_indexes")));
        QVERIFY2(!SimDevices::sourceDir().isEmpty(), "NRT52_SOURCE_DIR is not set");
        m_mibFolder = SimDevices::installMib(m_root.path());
        QVERIFY(!m_mibFolder.isEmpty());
        QCOMPARE(m_mibFolder, m_root.path() + QStringLiteral("/InternalReadOnly/Mibs/Vm"));
        QVERIFY2(m_sim.start(2), qPrintable(m_sim.lastError()));
        QCOMPARE(m_sim.addresses().size(), 2);
        const QRegularExpression numeric(QStringLiteral("^127\\.0\\.0\\.1:\\d+$"));
        for (const QString &address : m_sim.addresses()) {
            QVERIFY2(numeric.match(address).hasMatch(), qPrintable(address));
            QVERIFY(m_sim.port(1) > 1024 && m_sim.port(1) != 161);
        }
        QVERIFY(m_sim.address(1) != m_sim.address(2));
    }

    void init()
    {
        QVERIFY(m_sim.setFault(1, SimDevices::Fault::None));
        QVERIFY(m_sim.setFault(2, SimDevices::Fault::None));
        QVERIFY(m_sim.clearLog(1));
        QVERIFY(m_sim.clearLog(2));
    }

    void mibTranslates_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("oid");
        QTest::newRow("result") << "lcMeasResult" << ".1.3.6.1.4.1.52817.1.70.4.1.0";
        QTest::newRow("serial") << "lcSerialnum" << ".1.3.6.1.4.1.52817.1.70.1.2.0";
        QTest::newRow("address") << "lcPhysAddress" << ".1.3.6.1.4.1.52817.1.70.1.3.0";
        QTest::newRow("version") << "lcVersionPRODUCT" << ".1.3.6.1.4.1.52817.1.70.1.4.1.0";
        QTest::newRow("option") << "lcOptionID" << ".1.3.6.1.4.1.52817.1.70.1.4.6.0";
    }

    void mibTranslates()
    {
        QFETCH(QString, name);
        QFETCH(QString, oid);
        const ToolRun run = tool(QStringLiteral("snmptranslate"),
                                 {QStringLiteral("-M"), m_mibFolder, QStringLiteral("-m"), kModule,
                                  QStringLiteral("-On"), object(name)});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out.trimmed(), oid);
        QVERIFY2(run.err.trimmed().isEmpty(), qPrintable(run.err));
    }

    void resultRendering()
    {
        for (int device = 1; device <= 2; ++device) {
            const ToolRun run = get(device, {kResult});
            QCOMPARE(run.exitCode, 0);
            QVERIFY2(run.out.startsWith(kResult + QStringLiteral(" = STRING: \"")), qPrintable(run.out));
            // The line feed is the device's own, inside the quotes.
            QVERIFY2(run.out.endsWith(QStringLiteral(",\n\"\n")), qPrintable(run.out));
            QVERIFY(run.out.size() < 256);
            const QStringList elements = resultElements(run.out);
            QVERIFY2(elements.size() >= 12, qPrintable(run.out));
            QCOMPARE(elements.last(), QStringLiteral("\""));
            QVERIFY2(QRegularExpression(QStringLiteral("^\"\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                         .match(elements.at(0))
                         .hasMatch(),
                     qPrintable(elements.at(0)));
        }
        QCOMPARE(m_sim.requests(1), QStringList{QStringLiteral("GET 4.1")});
    }

    void identityReadout()
    {
        const QStringList names{QStringLiteral("lcSerialnum"),    QStringLiteral("lcPhysAddress"),
                                QStringLiteral("lcVersionPRODUCT"), QStringLiteral("lcVersionBoot"),
                                QStringLiteral("lcVersionFpga"),  QStringLiteral("lcVersionTuner"),
                                QStringLiteral("lcVersionWeb"),   QStringLiteral("lcOptionID")};
        // The monitor asks by number; the module gives the names back.
        QStringList oids;
        for (const char *suffix : {"1.2", "1.3", "1.4.1", "1.4.2", "1.4.3", "1.4.4", "1.4.5", "1.4.6"})
            oids << QStringLiteral(".1.3.6.1.4.1.52817.1.70.%1.0").arg(QLatin1String(suffix));
        const ToolRun run = get(1, oids);
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 8);
        const QStringList recognised{QStringLiteral("lcSerialnum"), QStringLiteral("lcPhysAddress"),
                                     QStringLiteral("lcVersionPRODUCT"), QStringLiteral("lcOptionID")};
        for (int i = 0; i < 8; ++i) {
            QVERIFY2(lines.at(i).startsWith(object(names.at(i)) + QStringLiteral(" = STRING: ")),
                     qPrintable(lines.at(i)));
            // DISPLAY-HINT "255a": no quotes around the value, and a value is there.
            const QString value = lines.at(i).section(QStringLiteral(" = STRING: "), 1);
            QVERIFY2(!value.isEmpty() && !value.contains(QLatin1Char('"')), qPrintable(lines.at(i)));
            int hits = 0;
            for (const QString &name : recognised)
                hits += lines.at(i).count(name);
            QCOMPARE(hits, recognised.contains(names.at(i)) ? 1 : 0);
        }
        QCOMPARE(m_sim.requests(1),
                 (QStringList{"GET 1.2", "GET 1.3", "GET 1.4.1", "GET 1.4.2", "GET 1.4.3", "GET 1.4.4",
                              "GET 1.4.5", "GET 1.4.6"}));
    }

    void bandSelection_data()
    {
        QTest::addColumn<QStringList>("varbinds"); // name, type, value, ...
        QTest::addColumn<QStringList>("expected"); // elements 1, 2, 8, 9, 10
        QTest::addColumn<QStringList>("logged");

        QTest::newRow("terrestrial")
            << QStringList{"lcSelBand", "s", "ISDBT", "lcSelChannel", "s", "27"}
            << QStringList{"ISDBT", "27", "ISDBT", "64QAM", "A"}
            << QStringList{"SET 3.1.1 ISDBT", "SET 3.1.6 27"};
        QTest::newRow("BS left")
            << QStringList{"lcSelBand", "s", "BS", "lcSelPolarisation", "i", "1", "lcSelChannel", "s", "BS15"}
            << QStringList{"BS_L", "BS15", "ISDBS", "8PSK", "---"}
            << QStringList{"SET 3.1.1 BS", "SET 3.1.3 1", "SET 3.1.6 BS15"};
        QTest::newRow("CS right")
            << QStringList{"lcSelBand", "s", "CS", "lcSelPolarisation", "i", "0", "lcSelChannel", "s", "ND2"}
            << QStringList{"CS_R", "ND2", "ISDBS", "8PSK", "---"}
            << QStringList{"SET 3.1.1 CS", "SET 3.1.3 0", "SET 3.1.6 ND2"};
        QTest::newRow("CATV ISDB-C")
            << QStringList{"lcSelBand", "s", "CATV_ALL", "lcSelStandard", "i", "1", "lcSelChannel", "s", "C30"}
            << QStringList{"CATV", "C30", "ISDBC", "64QAM", "---"}
            << QStringList{"SET 3.1.1 CATV_ALL", "SET 3.1.2 1", "SET 3.1.6 C30"};
        QTest::newRow("CATV ISDB-T")
            << QStringList{"lcSelBand", "s", "CATV_ALL", "lcSelStandard", "i", "0", "lcSelChannel", "s", "C13"}
            << QStringList{"CATV", "C13", "ISDBT", "64QAM", "A"}
            << QStringList{"SET 3.1.1 CATV_ALL", "SET 3.1.2 0", "SET 3.1.6 C13"};
        QTest::newRow("JCSAT-3A vertical")
            << QStringList{"lcSelBand", "s", "JCSAT-3A", "lcSelPolarisation", "i", "3",
                           "lcSelLocalOsc", "i", "2", "lcSelChannel", "s", "J3A-12"}
            << QStringList{"JCSAT-3A_V", "J3A-12", "DVBS2", "QPSK", "---"}
            << QStringList{"SET 3.1.1 JCSAT-3A", "SET 3.1.3 3", "SET 3.1.4 2", "SET 3.1.6 J3A-12"};
        QTest::newRow("SCC-C horizontal")
            << QStringList{"lcSelBand", "s", "SCC-C", "lcSelPolarisation", "i", "2",
                           "lcSelLocalOsc", "i", "0", "lcSelChannel", "s", "SC4"}
            << QStringList{"SCC-C_H", "SC4", "DVBS2", "QPSK", "---"}
            << QStringList{"SET 3.1.1 SCC-C", "SET 3.1.3 2", "SET 3.1.4 0", "SET 3.1.6 SC4"};
        QTest::newRow("upstream")
            << QStringList{"lcSelBand", "s", "UL", "lcSelFrequency", "s", "30.00", "lcSelChannel", "s", "U1"}
            << QStringList{"UL", "U1", "---", "CW", "---"}
            << QStringList{"SET 3.1.1 UL", "SET 3.1.5 30.00", "SET 3.1.6 U1"};
        QTest::newRow("FM")
            << QStringList{"lcSelBand", "s", "FM", "lcSelFrequency", "s", "80.0", "lcSelChannel", "s", "FM1"}
            << QStringList{"FM", "FM1", "---", "FM", "---"}
            << QStringList{"SET 3.1.1 FM", "SET 3.1.5 80.0", "SET 3.1.6 FM1"};
        QTest::newRow("stop selection")
            << QStringList{"lcSelBand", "s", "ISDBT", "lcSelChannel", "s", "0"}
            << QStringList{"ISDBT", "0", "ISDBT", "---", "---"}
            << QStringList{"SET 3.1.1 ISDBT", "SET 3.1.6 0"};
    }

    void bandSelection()
    {
        QFETCH(QStringList, varbinds);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, logged);

        const ToolRun done = set(1, varbinds);
        QVERIFY2(done.exitCode == 0, qPrintable(done.out + done.err));
        const QStringList elements = measure(1);
        QVERIFY(elements.size() >= 12);
        QCOMPARE((QStringList{elements.at(1), elements.at(2), elements.at(8), elements.at(9), elements.at(10)}),
                 expected);
        QCOMPARE(elements.at(11), QStringLiteral("---")); // coaxial input
        if (expected.at(1) != QStringLiteral("0")) {
            bool number = false;
            elements.at(4).toDouble(&number);
            QVERIFY2(number, qPrintable(elements.at(4)));
            elements.at(5).toDouble(&number);
            QVERIFY2(number, qPrintable(elements.at(5)));
        }
        // One line per varbind of the SET, none for snmpd's internal GETs before it.
        QCOMPARE(m_sim.requests(1), logged + QStringList{QStringLiteral("GET 4.1")});
        // The other device keeps its own selection.
        QVERIFY(m_sim.requests(2).isEmpty());
    }

    void opticalInput()
    {
        QCOMPARE(set(2, {"lcInputType", "i", "1"}).exitCode, 0);
        QCOMPARE(set(2, {"lcSelBand", "s", "ISDBT", "lcSelChannel", "s", "13"}).exitCode, 0);
        const QStringList optical = measure(2);
        QVERIFY(optical.size() >= 12);
        bool number = false;
        const double dbm = optical.at(11).toDouble(&number);
        QVERIFY2(number && dbm < 5 && dbm > -20, qPrintable(optical.at(11)));

        QCOMPARE(set(2, {"lcInputType", "i", "0"}).exitCode, 0);
        QCOMPARE(measure(2).value(11), QStringLiteral("---"));
        QCOMPARE(m_sim.requests(2),
                 (QStringList{"SET 2.2 1", "SET 3.1.1 ISDBT", "SET 3.1.6 13", "GET 4.1", "SET 2.2 0",
                              "GET 4.1"}));
    }

    void valuesDrift()
    {
        QCOMPARE(set(1, {"lcSelBand", "s", "ISDBT", "lcSelChannel", "s", "20"}).exitCode, 0);
        QSet<QString> levels;
        for (int i = 0; i < 4; ++i)
            levels.insert(measure(1).value(4) + QLatin1Char('/') + measure(1).value(5));
        QVERIFY2(levels.size() > 1, "the values never change");
    }

    void faults_data()
    {
        QTest::addColumn<SimDevices::Fault>("mode");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<QString>("channel");
        QTest::newRow("silent") << SimDevices::Fault::Silent << 0 << QString();
        QTest::newRow("error") << SimDevices::Fault::Error << 0 << QString();
        QTest::newRow("slow") << SimDevices::Fault::Slow << 2000 << QString();
        QTest::newRow("wrong channel") << SimDevices::Fault::WrongChannel << 0 << QString();
        QTest::newRow("wrong channel, given") << SimDevices::Fault::WrongChannel << 0 << QStringLiteral("35");
        QTest::newRow("range") << SimDevices::Fault::Range << 0 << QString();
        QTest::newRow("no signal") << SimDevices::Fault::NoSignal << 0 << QString();
    }

    void faults()
    {
        QFETCH(SimDevices::Fault, mode);
        QFETCH(int, delayMs);
        QFETCH(QString, channel);

        QCOMPARE(set(2, {"lcInputType", "i", "1"}).exitCode, 0);
        QCOMPARE(set(2, {"lcSelBand", "s", "ISDBT", "lcSelChannel", "s", "22"}).exitCode, 0);
        QVERIFY(m_sim.clearLog(2));
        QVERIFY(m_sim.setFault(2, mode, delayMs, channel));

        const ToolRun run = get(2, {kResult}, 1 + delayMs / 1000 + 2);
        const QStringList elements = resultElements(run.out);
        switch (mode) {
        case SimDevices::Fault::Silent:
            QVERIFY(run.exitCode != 0);
            QVERIFY2((run.out + run.err).contains(QStringLiteral("Timeout")), qPrintable(run.out + run.err));
            break;
        case SimDevices::Fault::Error:
            QVERIFY(run.exitCode != 0);
            QVERIFY2((run.out + run.err).contains(QStringLiteral("genError")), qPrintable(run.out + run.err));
            break;
        case SimDevices::Fault::Slow:
            QCOMPARE(run.exitCode, 0);
            QVERIFY2(run.elapsedMs >= delayMs - 50, qPrintable(QString::number(run.elapsedMs)));
            QCOMPARE(elements.value(2), QStringLiteral("22"));
            break;
        case SimDevices::Fault::WrongChannel:
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(elements.value(1), QStringLiteral("ISDBT"));
            if (channel.isEmpty())
                QVERIFY(elements.value(2) != QStringLiteral("22") && !elements.value(2).isEmpty());
            else
                QCOMPARE(elements.value(2), channel);
            break;
        case SimDevices::Fault::Range:
            QCOMPARE(run.exitCode, 0);
            QVERIFY2(elements.value(4).startsWith(QLatin1Char('>')), qPrintable(run.out));
            QVERIFY2(elements.value(5).startsWith(QLatin1Char('<')), qPrintable(run.out));
            QVERIFY2(elements.value(11).startsWith(QLatin1Char('<')), qPrintable(run.out));
            break;
        case SimDevices::Fault::NoSignal:
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(elements.value(2), QStringLiteral("22"));
            for (int i : {4, 5, 6, 9, 10, 11})
                QCOMPARE(elements.value(i), QStringLiteral("---"));
            break;
        case SimDevices::Fault::None:
            break;
        }
        if (mode != SimDevices::Fault::Silent && mode != SimDevices::Fault::Error)
            QVERIFY2(elements.size() >= 12, qPrintable(run.out));

        // Every request reaches the log, answered or not.
        QCOMPARE(m_sim.requests(2), QStringList{QStringLiteral("GET 4.1")});
        // A fault belongs to one device.
        QVERIFY(measure(1).size() >= 12);
        // And ends with "none".
        QVERIFY(m_sim.setFault(2, SimDevices::Fault::None));
        const QStringList normal = measure(2);
        QCOMPARE(normal.value(2), QStringLiteral("22"));
        bool number = false;
        normal.value(4).toDouble(&number);
        QVERIFY(number);
    }

    void faultForOneChannel()
    {
        QVERIFY(m_sim.setFault(1, SimDevices::Fault::NoSignal, 0, QString(), QStringLiteral("30")));
        QCOMPARE(set(1, {"lcSelBand", "s", "ISDBT", "lcSelChannel", "s", "30"}).exitCode, 0);
        QCOMPARE(measure(1).value(4), QStringLiteral("---"));
        QCOMPARE(set(1, {"lcSelBand", "s", "ISDBT", "lcSelChannel", "s", "31"}).exitCode, 0);
        bool number = false;
        measure(1).value(4).toDouble(&number);
        QVERIFY(number);
    }

    void simctlCommands_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after "--dir DIR"
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("element4");
        QTest::newRow("fault nosignal") << QStringList{"--device", "2", "nosignal"} << 0 << "---";
        QTest::newRow("fault range") << QStringList{"--device", "2", "range"} << 0 << ">120.0";
        QTest::newRow("unknown mode") << QStringList{"--device", "2", "broken"} << 2 << "";
        QTest::newRow("unknown device") << QStringList{"--device", "3", "nosignal"} << 2 << "";
        QTest::newRow("only-channel with a transport fault")
            << QStringList{"--device", "2", "silent", "--only-channel", "22"} << 2 << "";
    }

    void simctlCommands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, element4);
        QCOMPARE(set(2, {"lcSelBand", "s", "ISDBT", "lcSelChannel", "s", "22"}).exitCode, 0);
        QProcess simctl;
        simctl.start(SimDevices::simctlPath(),
                     QStringList{QStringLiteral("fault"), QStringLiteral("--dir"), m_sim.folder()} + arguments);
        QVERIFY(simctl.waitForFinished(10000));
        QCOMPARE(simctl.exitCode(), exitCode);
        const QString value = measure(2).value(4);
        if (exitCode == 0)
            QCOMPARE(value, element4);
        else
            QVERIFY2(value.toDouble() > 0, qPrintable(value)); // no fault switched on
    }

    void typeChecks_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("reason");
        QTest::newRow("integer object, string") << "2.2" << "s" << "wrongType";
        QTest::newRow("string object, integer") << "3.1.1" << "i" << "wrongType";
        QTest::newRow("result is read-only") << "4.1" << "s" << "notWritable";
        QTest::newRow("identity is read-only") << "1.4.6" << "s" << "notWritable";
    }

    void typeChecks()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, type);
        QFETCH(QString, reason);
        // Without the module, so the tool sends the type as given.
        QStringList args = snmpArgs(1);
        args.replace(args.indexOf(kModule), QString());
        args << QStringLiteral(".1.3.6.1.4.1.52817.1.70.%1.0").arg(suffix) << type << QStringLiteral("1");
        const ToolRun run = tool(QStringLiteral("snmpset"), args);
        QVERIFY(run.exitCode != 0);
        QVERIFY2((run.out + run.err).contains(reason), qPrintable(run.out + run.err));
        QCOMPARE(m_sim.requests(1), QStringList{QStringLiteral("SET %1 1").arg(suffix)});
    }

    void failedSetChangesNothing_data()
    {
        QTest::addColumn<SimDevices::Fault>("mode");
        QTest::newRow("error") << SimDevices::Fault::Error;
        QTest::newRow("silent") << SimDevices::Fault::Silent;
    }

    void failedSetChangesNothing()
    {
        QFETCH(SimDevices::Fault, mode);
        QCOMPARE(set(1, {"lcSelBand", "s", "ISDBT", "lcSelChannel", "s", "16"}).exitCode, 0);
        QVERIFY(m_sim.setFault(1, mode));
        const ToolRun failed = set(1, {"lcSelBand", "s", "BS", "lcSelPolarisation", "i", "0",
                                       "lcSelChannel", "s", "BS1"});
        QVERIFY(failed.exitCode != 0);
        QVERIFY(m_sim.setFault(1, SimDevices::Fault::None));
        const QStringList elements = measure(1);
        QCOMPARE(elements.value(1), QStringLiteral("ISDBT"));
        QCOMPARE(elements.value(2), QStringLiteral("16"));
        QCOMPARE(m_sim.requests(1),
                 (QStringList{"SET 3.1.1 ISDBT", "SET 3.1.6 16", "SET 3.1.1 BS", "SET 3.1.3 0",
                              "SET 3.1.6 BS1", "GET 4.1"}));
    }

    void logLines()
    {
        QCOMPARE(set(1, {"lcSelBand", "s", "ISDBT", "lcSelChannel", "s", "40"}).exitCode, 0);
        QCOMPARE(get(1, {kResult}).exitCode, 0);
        const QStringList lines = m_sim.requestLog(1);
        QCOMPARE(lines.size(), 3);
        const QRegularExpression stamp(
            QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} (GET|SET) "));
        for (const QString &line : lines)
            QVERIFY2(stamp.match(line).hasMatch(), qPrintable(line));
        QVERIFY(lines.at(0).endsWith(QStringLiteral(" SET 3.1.1 ISDBT")));
        QVERIFY(lines.at(2).endsWith(QStringLiteral(" GET 4.1")));
        // simctl log prints the same file.
        QProcess simctl;
        simctl.start(SimDevices::simctlPath(), {QStringLiteral("log"), QStringLiteral("--dir"), m_sim.folder(),
                                                QStringLiteral("--device"), QStringLiteral("1")});
        QVERIFY(simctl.waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(simctl.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 lines);
    }

    void stopLeavesNothing()
    {
        SimDevices sim;
        QVERIFY2(sim.start(2), qPrintable(sim.lastError()));
        // agent, relay and handler of each device
        const QList<qint64> pids = sim.processIds();
        QCOMPARE(pids.size(), 6);
        for (qint64 pid : pids)
            QVERIFY(SimDevices::isProcessRunning(pid));
        QVERIFY2(sim.stop(), qPrintable(sim.lastError()));
        for (qint64 pid : pids)
            QVERIFY2(!SimDevices::isProcessRunning(pid), qPrintable(QString::number(pid)));
        // The devices of this test are untouched.
        QVERIFY(measure(1).size() >= 12);
    }

    void failedStartLeavesNothing()
    {
        // The port is taken by device 1 of this test: the start fails and the agent it
        // had already started is stopped again.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QProcess simctl;
        simctl.start(SimDevices::simctlPath(),
                     {QStringLiteral("start"), QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--dir"),
                      dir.path(), QStringLiteral("--base-port"), QString::number(m_sim.port(1))});
        QVERIFY(simctl.waitForFinished(30000));
        QVERIFY(simctl.exitCode() != 0);
        QVERIFY(!simctl.readAllStandardError().isEmpty());
        QFile pidsFile(dir.path() + QStringLiteral("/pids"));
        QVERIFY(pidsFile.open(QIODevice::ReadOnly));
        const QJsonArray entries = QJsonDocument::fromJson(pidsFile.readAll()).array();
        QCOMPARE(entries.size(), 2);
        for (const QJsonValue &entry : entries) {
            const qint64 pid = entry.toObject().value(QStringLiteral("pid")).toVariant().toLongLong();
            QVERIFY2(!SimDevices::isProcessRunning(pid), qPrintable(QString::number(pid)));
        }
        QVERIFY(measure(1).size() >= 12);
    }

    void devicesEndWithTheirOwner_data()
    {
        QTest::addColumn<bool>("folderRemoved");
        QTest::newRow("folder kept") << false;
        // A failing test removes its temporary folder, pid files and all, before it ends.
        QTest::newRow("folder removed first") << true;
    }

    void devicesEndWithTheirOwner()
    {
        QFETCH(bool, folderRemoved);
        // A test that crashes never runs its stop: the devices follow their owner.
        QProcess owner;
        owner.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        QVERIFY(owner.waitForStarted());
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QProcess simctl;
        simctl.start(SimDevices::simctlPath(),
                     {QStringLiteral("start"), QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--dir"),
                      dir.path(), QStringLiteral("--owner-pid"), QString::number(owner.processId())});
        QVERIFY(simctl.waitForFinished(30000));
        QCOMPARE(simctl.exitCode(), 0);
        QList<qint64> pids;
        QFile pidsFile(dir.path() + QStringLiteral("/pids"));
        QVERIFY(pidsFile.open(QIODevice::ReadOnly));
        for (const QJsonValue &entry : QJsonDocument::fromJson(pidsFile.readAll()).array())
            pids << entry.toObject().value(QStringLiteral("pid")).toVariant().toLongLong();
        QFile handlerPid(dir.path() + QStringLiteral("/1/handler.pid"));
        QVERIFY(handlerPid.open(QIODevice::ReadOnly));
        pids << handlerPid.readAll().trimmed().toLongLong();
        QCOMPARE(pids.size(), 3);
        for (qint64 pid : pids)
            QVERIFY(SimDevices::isProcessRunning(pid));

        if (folderRemoved) {
            // After the devices worked a while, as in a test that failed late.
            QTest::qWait(1500);
            QVERIFY(dir.remove());
        }
        owner.kill();
        QVERIFY(owner.waitForFinished());
        for (qint64 pid : pids)
            QTRY_VERIFY_WITH_TIMEOUT(!SimDevices::isProcessRunning(pid), 5000);
    }

    void cleanupTestCase()
    {
        const QList<qint64> pids = m_sim.processIds();
        QVERIFY(!pids.isEmpty());
        QVERIFY2(m_sim.stop(), qPrintable(m_sim.lastError()));
        for (qint64 pid : pids)
            QVERIFY(!SimDevices::isProcessRunning(pid));
    }
};

QTEST_GUILESS_MAIN(TestSimDevices)
#include "tst_simdevices.moc"
