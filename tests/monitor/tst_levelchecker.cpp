// ctest-label: snmp
// The device record's own operations, the OID parser, the reply rendering and the request
// table's grouping into PDUs (no traffic: the pending PDU is examined).
#include "MonitorTestRoot.h"

#include "monitor/LevelChecker.h"
#include "monitor/MeasurementReplyParser.h"
#include "monitor/SnmpObject.h"
#include "monitor/SnmpRequestTable.h"

#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

std::unique_ptr<LevelChecker> makeDevice(const quint32 *address = nullptr)
{
    return std::make_unique<LevelChecker>(1, QStringLiteral("機器A"), address, 0, QStringLiteral("1.csv"), 0,
                                          QStringLiteral("常時"), QStringLiteral("常時"), 3);
}

quint32 addressOf(unsigned char a, unsigned char b, unsigned char c, unsigned char d)
{
    const unsigned char bytes[4] = { a, b, c, d };
    quint32 address = 0;
    std::memcpy(&address, bytes, sizeof address);
    return address;
}

ChannelResultRow resultRow(int band, const QString &channel, const QString &dateTime, const QString &level)
{
    ChannelResultRow row;
    row.bandTabIndex = band;
    row.channel = channel;
    row.dateTime = dateTime;
    row.level = level;
    return row;
}

// Captures what is written to standard output (fd 1) while it lives.
class StdoutCapture
{
public:
    StdoutCapture()
    {
        std::fflush(stdout);
        m_file = std::tmpfile();
        m_saved = dup(STDOUT_FILENO);
        dup2(fileno(m_file), STDOUT_FILENO);
    }
    ~StdoutCapture() { restore(); }

    QByteArray text()
    {
        restore();
        std::rewind(m_file);
        QByteArray data;
        char chunk[512];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, m_file)) > 0)
            data.append(chunk, int(n));
        return data;
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stdout);
        dup2(m_saved, STDOUT_FILENO);
        close(m_saved);
        m_saved = -1;
    }

    FILE *m_file = nullptr;
    int m_saved = -1;
};

// "GET" / "SET" and the variables of a PDU as "suffix:type" (type n null, s string, i integer).
QString describePdu(const netsnmp_pdu *pdu)
{
    if (!pdu)
        return QStringLiteral("none");
    QString text = pdu->command == SNMP_MSG_SET ? QStringLiteral("SET") : QStringLiteral("GET");
    const QString prefix = QString::fromLatin1(SnmpObject::EnterprisePrefix);
    for (const netsnmp_variable_list *v = pdu->variables; v; v = v->next_variable) {
        QStringList parts;
        for (size_t i = 0; i < v->name_length; ++i)
            parts << QString::number(v->name[i]);
        QString name = QLatin1Char('.') + parts.join(QLatin1Char('.'));
        if (name.startsWith(prefix) && name.endsWith(QLatin1String(".0")))
            name = name.mid(prefix.size()).chopped(2);
        QChar type = QLatin1Char('?');
        if (v->type == ASN_NULL)
            type = QLatin1Char('n');
        else if (v->type == ASN_OCTET_STR)
            type = QLatin1Char('s');
        else if (v->type == ASN_INTEGER)
            type = QLatin1Char('i');
        text += QLatin1Char(' ') + name + QLatin1Char(':') + type;
    }
    return text;
}

struct TableRow
{
    bool enabled;
    int group;
    char type;
    const char *suffix;
    const char *value;
};

} // namespace

Q_DECLARE_METATYPE(QVector<TableRow>)

class TestLevelChecker : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_root.prepare()); }

    void newRecordDefaults()
    {
        const auto device = makeDevice();
        QCOMPARE(device->measurementState(), 1);
        QCOMPARE(device->currentChannelIndex(), 200);
        QCOMPARE(device->requestMode(), 0);
        QCOMPARE(device->ipAddressText(), QStringLiteral("0.0.0.0"));
        QCOMPARE(device->ipAddress(), QStringLiteral("0.0.0.0"));
        QCOMPARE(device->port(), 0);
        QVERIFY(device->community() == nullptr);
        QVERIFY(!device->isMonitoring());
        QVERIFY(!device->isMeasurable());
        QCOMPARE(device->pollingLoopActive(), 0);
        QCOMPARE(device->channelSettingCount(), 0);
        QCOMPARE(device->alertSettingCount(), 0);
        QCOMPARE(device->findLatestResult(0, QStringLiteral("13")), -1);
        QCOMPARE(device->measurementHistoryCount(0), 0);
        QCOMPARE(device->alertRecordCount(99), 0);
        QCOMPARE(device->errorMessageCount(50), 0);
        QVERIFY(device->objectName().isEmpty());
    }

    // The settings screen replaces a device's settings while its worker reads them.
    void settingsCopiedWhileAWorkerReads()
    {
        const auto device = makeDevice();
        std::atomic<bool> done{false};
        std::atomic<int> torn{0};
        QThread *reader = QThread::create([&] {
            while (!done.load()) {
                const ApplicationSetting copy = device->applicationSetting();
                // Each written record keeps its interval and folder name in step.
                if (copy.data != QString::number(copy.firstRecv).repeated(copy.firstRecv ? 8 : 0))
                    torn.fetch_add(1);
            }
        });
        reader->start();
        for (int i = 1; i <= 20000; ++i) {
            ApplicationSetting setting;
            setting.firstRecv = 1000 + (i % 7);
            setting.data = QString::number(setting.firstRecv).repeated(8);
            device->setApplicationSetting(setting);
        }
        done.store(true);
        reader->wait();
        delete reader;
        QCOMPARE(torn.load(), 0);
    }

    // A plan replaced while a worker still measures: the worker sees either plan whole.
    void planSwappedWhileAWorkerReads()
    {
        const auto device = makeDevice();
        const auto plan = [](int size) {
            QVector<ChannelSettingRow> rows(size);
            for (int i = 0; i < size; ++i) {
                rows[i].bandTabIndex = size % 19;
                rows[i].channel = QString::number(size);
            }
            return rows;
        };
        std::atomic<bool> done{false};
        std::atomic<int> torn{0};
        QThread *reader = QThread::create([&] {
            while (!done.load()) {
                const int count = device->channelSettingCount();
                const ChannelSettingRow row = device->channelSetting(0);
                // A row of the plan whose size it names, or none after a swap to the empty plan.
                if (!row.channel.isEmpty() && row.channel.toInt() % 19 != row.bandTabIndex)
                    torn.fetch_add(1);
                if (count < 0 || count > 40)
                    torn.fetch_add(1);
            }
        });
        reader->start();
        for (int i = 0; i < 20000; ++i)
            device->replaceChannelSettings(plan(i % 41));
        done.store(true);
        reader->wait();
        delete reader;
        QCOMPARE(torn.load(), 0);
    }

    void addressBytesAreUnsigned()
    {
        const quint32 address = addressOf(192, 168, 0, 200);
        const auto device = makeDevice(&address);
        QCOMPARE(device->ipAddress(), QStringLiteral("192.168.0.200"));
        QCOMPARE(device->ipAddressText(), QStringLiteral("192.168.0.200"));

        device->setIpAddress(nullptr);
        QCOMPARE(device->ipAddressText(), QStringLiteral("192.168.0.200"));
        const quint32 other = addressOf(127, 0, 0, 255);
        device->setIpAddress(&other);
        QCOMPARE(device->ipAddress(), QStringLiteral("127.0.0.255"));
        QCOMPARE(device->ipAddressText(), QStringLiteral("127.0.0.255"));
    }

    void valueTexts_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("input 0") << "input" << 0 << QStringLiteral("同軸");
        QTest::newRow("input 1") << "input" << 1 << QStringLiteral("光");
        QTest::newRow("input 2") << "input" << 2 << QStringLiteral("---");
        QTest::newRow("cycle -1") << "cycle" << -1 << QStringLiteral("連続");
        QTest::newRow("cycle 0") << "cycle" << 0 << QStringLiteral("連続");
        QTest::newRow("cycle 2") << "cycle" << 2 << QStringLiteral("15分");
        QTest::newRow("cycle 4") << "cycle" << 4 << QStringLiteral("60分");
        QTest::newRow("wavelength 0") << "wavelength" << 0 << QStringLiteral("1300");
        QTest::newRow("wavelength 3") << "wavelength" << 3 << QStringLiteral("1550");
        QTest::newRow("wavelength 4") << "wavelength" << 4 << QStringLiteral("1625");
        QTest::newRow("wavelength 7") << "wavelength" << 7 << QStringLiteral("1550");
        QTest::newRow("terrestrial 0") << "terrestrial" << 0 << QStringLiteral("MER");
        QTest::newRow("terrestrial 1") << "terrestrial" << 1 << QStringLiteral("CNR");
        QTest::newRow("terrestrial 2") << "terrestrial" << 2 << QStringLiteral("MER");
        QTest::newRow("catv 1") << "catv" << 1 << QStringLiteral("CNR");
        QTest::newRow("catv -1") << "catv" << -1 << QStringLiteral("MER");
    }

    void valueTexts()
    {
        QFETCH(QString, field);
        QFETCH(int, value);
        QFETCH(QString, text);
        const auto device = makeDevice();
        QString actual;
        if (field == QLatin1String("input")) {
            device->setInputType(value);
            actual = device->inputTypeText();
        } else if (field == QLatin1String("cycle")) {
            device->setCycleInterval(value);
            actual = device->cycleIntervalText();
        } else if (field == QLatin1String("wavelength")) {
            device->setWavelength(value);
            actual = device->wavelengthText();
        } else if (field == QLatin1String("terrestrial")) {
            device->setTerrestrialMerCn(value);
            actual = device->terrestrialMerCnText();
        } else {
            device->setCatvMerCn(value);
            actual = device->catvMerCnText();
        }
        QCOMPARE(actual, text);
    }

    void communityIsOwnedCopy()
    {
        const auto device = makeDevice();
        char text[] = "kv52gate";
        device->setCommunity(text);
        text[0] = 'X';
        QCOMPARE(QByteArray(device->community()), QByteArray("kv52gate"));
        device->setCommunity(nullptr);
        QCOMPARE(QByteArray(device->community()), QByteArray("kv52gate"));
        device->setCommunity("other");
        QCOMPARE(QByteArray(device->community()), QByteArray("other"));
    }

    void findLatestResult()
    {
        const auto device = makeDevice();
        device->addLatestResult(resultRow(0, QStringLiteral("13"), QString(), QStringLiteral("---")));
        device->addLatestResult(resultRow(1, QStringLiteral("13"), QString(), QStringLiteral("---")));
        device->addLatestResult(resultRow(1, QStringLiteral("13"), QString(), QStringLiteral("dup")));
        QCOMPARE(device->findLatestResult(0, QStringLiteral("13")), 0);
        QCOMPARE(device->findLatestResult(1, QStringLiteral("13")), 1); // first of two
        QCOMPARE(device->findLatestResult(0, QStringLiteral("14")), -1);
        QCOMPARE(device->findLatestResult(5, QStringLiteral("13")), -1);
        // Channel texts compare exactly.
        QCOMPARE(device->findLatestResult(0, QStringLiteral("013")), -1);
    }

    void updateLatestResult()
    {
        const auto device = makeDevice();
        device->addLatestResult(resultRow(0, QStringLiteral("13"), QString(), QStringLiteral("---")));
        device->addLatestResult(resultRow(0, QStringLiteral("14"), QString(), QStringLiteral("---")));

        QCOMPARE(device->updateLatestResult(resultRow(0, QStringLiteral("15"), QStringLiteral("2026/01/01 00:00:00"),
                                                      QStringLiteral("60.0"))),
                 -1);
        QCOMPARE(device->latestResult(0).level, QStringLiteral("---"));
        QCOMPARE(device->latestResult(1).level, QStringLiteral("---"));

        ChannelResultRow first = resultRow(0, QStringLiteral("14"), QStringLiteral("2026/01/01 00:00:00"),
                                           QStringLiteral("60.0"));
        first.convertedCn = true;
        QCOMPARE(device->updateLatestResult(first), 1);
        // A later result of the same channel replaces it, whatever its time.
        QCOMPARE(device->updateLatestResult(resultRow(0, QStringLiteral("14"), QStringLiteral("2026/01/01 00:00:05"),
                                                      QStringLiteral("61.0"))),
                 1);
        QCOMPARE(device->latestResult(1).dateTime, QStringLiteral("2026/01/01 00:00:05"));
        QCOMPARE(device->latestResult(1).level, QStringLiteral("61.0"));
        QVERIFY(!device->latestResult(1).convertedCn);
        QCOMPARE(device->latestResult(0).level, QStringLiteral("---"));
    }

    void removeIgnoresIndexOutsideList_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("remaining");
        QTest::newRow("-1") << 7 << -1 << QStringList { "a", "b" };
        QTest::newRow("count") << 7 << 2 << QStringList { "a", "b" };
        QTest::newRow("first") << 7 << 0 << QStringList { "b" };
        QTest::newRow("last") << 7 << 1 << QStringList { "a" };
        QTest::newRow("channel -1") << -1 << 0 << QStringList { "a", "b" };
        QTest::newRow("channel 100") << 100 << 0 << QStringList { "a", "b" };
    }

    void removeIgnoresIndexOutsideList()
    {
        QFETCH(int, channel);
        QFETCH(int, index);
        QFETCH(QStringList, remaining);
        const auto device = makeDevice();
        for (const char *text : { "a", "b" }) {
            device->addErrorMessage(QString::fromLatin1(text), 7);
            AlertRecord record;
            record.channel = QString::fromLatin1(text);
            device->addAlertRecord(record, 7);
            device->addMeasurementHistory(resultRow(0, QString::fromLatin1(text), QString(), QString()), 7);
        }
        device->removeErrorMessage(channel, index);
        device->removeAlertRecord(channel, index);
        device->removeMeasurementHistory(channel, index);

        QCOMPARE(device->errorMessageCount(7), remaining.size());
        QCOMPARE(device->alertRecordCount(7), remaining.size());
        QCOMPARE(device->measurementHistoryCount(7), remaining.size());
        for (int i = 0; i < remaining.size(); ++i) {
            QCOMPARE(device->errorMessage(7, i), remaining.at(i));
            QCOMPARE(device->alertRecord(7, i).channel, remaining.at(i));
            QCOMPARE(device->measurementHistory(7, i).channel, remaining.at(i));
        }
    }

    void perChannelListsAreSeparate()
    {
        const auto device = makeDevice();
        device->addErrorMessage(QStringLiteral("first\n"), 3);
        device->addErrorMessage(QStringLiteral("second\n"), 3);
        device->addErrorMessage(QStringLiteral("other"), 4);
        device->addErrorMessage(QStringLiteral("dropped"), 100);
        QCOMPARE(device->joinedErrorMessages(3), QStringLiteral("first\nsecond\n"));
        QCOMPARE(device->joinedErrorMessages(4), QStringLiteral("other"));
        QCOMPARE(device->joinedErrorMessages(5), QString());
        QCOMPARE(device->joinedErrorMessages(100), QString());
        QCOMPARE(device->errorMessage(3, 5), QString());

        device->addMeasurementHistory(ChannelResultRow(), 99);
        device->addAlertRecord(AlertRecord(), 0);
        device->clearErrorMessages();
        device->clearMeasurementHistory();
        device->clearAlertRecords();
        QCOMPARE(device->errorMessageCount(3), 0);
        QCOMPARE(device->errorMessageCount(4), 0);
        QCOMPARE(device->measurementHistoryCount(99), 0);
        QCOMPARE(device->alertRecordCount(0), 0);
    }

    // Stored results follow their channel to its new position in the plan; each list of a
    // position travels with its history, whatever the records themselves name.
    void storedResultsFollowTheirChannel_data()
    {
        QTest::addColumn<QStringList>("oldChannels");  // "band:channel" of the history at each position
        QTest::addColumn<QStringList>("newPlan");      // "band:channel" per channel setting
        QTest::addColumn<int>("positionCount");
        QTest::addColumn<QStringList>("expected");     // per position: the history's tag, "" when empty

        QTest::newRow("unchanged plan") << QStringList { "0:13", "0:14" } << QStringList { "0:13", "0:14" } << 50
                                        << QStringList { "0:13", "0:14", "" };
        QTest::newRow("moved to the front, removed one dropped")
            << QStringList { "0:13", "", "", "5:C24" } << QStringList { "5:C24", "0:20" } << 50
            << QStringList { "5:C24", "", "", "" };
        QTest::newRow("same channel twice copied to both") << QStringList { "1:BS1" } << QStringList { "1:BS1", "1:BS1" }
                                                            << 50 << QStringList { "1:BS1", "1:BS1" };
        QTest::newRow("same text, other band is another channel")
            << QStringList { "0:8" } << QStringList { "5:8" } << 50 << QStringList { "" };
        QTest::newRow("positions past the count are not looked at")
            << QStringList { "", "", "0:13" } << QStringList { "0:13" } << 2 << QStringList { "", "", "" };
    }

    void storedResultsFollowTheirChannel()
    {
        QFETCH(QStringList, oldChannels);
        QFETCH(QStringList, newPlan);
        QFETCH(int, positionCount);
        QFETCH(QStringList, expected);
        const auto device = makeDevice();
        for (int p = 0; p < oldChannels.size(); ++p) {
            if (oldChannels.at(p).isEmpty())
                continue;
            const QStringList parts = oldChannels.at(p).split(QLatin1Char(':'));
            const QString tag = oldChannels.at(p);
            for (const char *time : { "09:00", "09:05" })
                device->addMeasurementHistory(resultRow(parts.at(0).toInt(), parts.at(1), QString::fromLatin1(time), tag), p);
            AlertRecord record;
            record.channel = tag;
            device->addAlertRecord(record, p);
            device->addErrorMessage(tag, p);
        }
        // A record and a message at a position without history are dropped with it.
        device->addAlertRecord(AlertRecord(), 60);
        device->addErrorMessage(QStringLiteral("orphan"), 60);
        for (const QString &entry : newPlan) {
            ChannelSettingRow row;
            row.bandTabIndex = entry.section(QLatin1Char(':'), 0, 0).toInt();
            row.channel = entry.section(QLatin1Char(':'), 1);
            device->addChannelSetting(row);
        }

        device->moveStoredResultsToChannelSettings(positionCount);

        for (int p = 0; p < expected.size(); ++p) {
            const QString tag = expected.at(p);
            QCOMPARE(device->measurementHistoryCount(p), tag.isEmpty() ? 0 : 2);
            QCOMPARE(device->alertRecordCount(p), tag.isEmpty() ? 0 : 1);
            QCOMPARE(device->errorMessageCount(p), tag.isEmpty() ? 0 : 1);
            if (tag.isEmpty())
                continue;
            QCOMPARE(device->measurementHistory(p, 0).level, tag);
            QCOMPARE(device->measurementHistory(p, 1).dateTime, QStringLiteral("09:05"));
            QCOMPARE(device->alertRecord(p, 0).channel, tag);
            QCOMPARE(device->errorMessage(p, 0), tag);
        }
        QCOMPARE(device->alertRecordCount(60), 0);
        QCOMPARE(device->errorMessageCount(60), 0);
    }

    // The timer is gone after the first call, a second call finds nothing to delete; each
    // call leaves a line on standard output for people (its wording is theirs).
    void stopTimerTracesEveryCallAndDeletesOnce()
    {
        const auto device = makeDevice();
        const QList<QTimer *> timers = device->findChildren<QTimer *>();
        QCOMPARE(timers.size(), 1);
        QPointer<QTimer> timer = timers.first();

        StdoutCapture capture;
        device->stopTimer();
        QVERIFY(timer.isNull());
        QVERIFY(device->findChildren<QTimer *>().isEmpty());
        device->stopTimer();
        QVERIFY(device->findChildren<QTimer *>().isEmpty());
        QCOMPARE(capture.text().count('\n'), 2);
    }

    void parseOidText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVector<unsigned long>>("expected");
        QTest::newRow("result object") << QStringLiteral(".1.3.6.1.4.1.52817.1.70.4.1.0")
                                       << QVector<unsigned long> { 1, 3, 6, 1, 4, 1, 52817, 1, 70, 4, 1, 0 };
        QTest::newRow("two dots") << QStringLiteral(".1.3..7") << QVector<unsigned long> { 1, 3, 0, 7 };
        QTest::newRow("no number") << QStringLiteral(".1.x.2") << QVector<unsigned long> { 1, 0, 2 };
        QTest::newRow("first part skipped") << QStringLiteral("9.1.2") << QVector<unsigned long> { 1, 2 };
        // Nothing to write; reporting one sub-identifier would hand out an unwritten value.
        QTest::newRow("no dot") << QStringLiteral("1") << QVector<unsigned long> {};
        QTest::newRow("large") << QStringLiteral(".4294967295") << QVector<unsigned long> { 4294967295UL };
        // Parts read as the text-to-number conversion reads them: signs, spaces, overflow.
        QTest::newRow("twenty digits overflow") << QStringLiteral(".99999999999999999999.1")
                                                << QVector<unsigned long> { 0, 1 };
        QTest::newRow("largest") << QStringLiteral(".18446744073709551615")
                                 << QVector<unsigned long> { 18446744073709551615UL };
        QTest::newRow("sign and spaces") << QStringLiteral(".+5. 6 .-1") << QVector<unsigned long> { 5, 6, 0 };
        QTest::newRow("trailing dot") << QStringLiteral(".1.") << QVector<unsigned long> { 1, 0 };
    }

    void parseOidText()
    {
        QFETCH(QString, text);
        QFETCH(QVector<unsigned long>, expected);
        unsigned long out[LevelChecker::MaxOidLength + 4];
        std::fill(std::begin(out), std::end(out), 777UL);
        const int count = LevelChecker::parseOidText(text, out);
        QCOMPARE(count, expected.size());
        for (int i = 0; i < count; ++i)
            QCOMPARE(out[i], expected.at(i));
        QCOMPARE(out[count], 777UL);
    }

    void parseOidTextStopsAt128()
    {
        QString text;
        for (int i = 0; i < 200; ++i)
            text += QStringLiteral(".%1").arg(i + 1);
        unsigned long out[LevelChecker::MaxOidLength + 4];
        std::fill(std::begin(out), std::end(out), 777UL);
        QCOMPARE(LevelChecker::parseOidText(text, out), 128);
        QCOMPARE(out[127], 128UL);
        QCOMPARE(out[128], 777UL);
    }

    // A value holding a byte the library cannot print is rendered as hex pairs; the whole
    // rendering fits the buffer and parses to the same result as the printable value.
    void hexRenderingParsesLikeTheText()
    {
        const QByteArray text("2026/12/10 09:15:03,ISDBT,13,0,65.2,30.1,<1.0E-8,0,ISDBT,64QAM,A,-5.0,\n");
        auto render = [](const QByteArray &value) {
            netsnmp_pdu *pdu = snmp_pdu_create(SNMP_MSG_RESPONSE);
            oid name[LevelChecker::MaxOidLength];
            const int length = LevelChecker::parseOidText(QStringLiteral(".1.3.6.1.4.1.52817.1.70.4.1.0"), name);
            snmp_pdu_add_variable(pdu, name, size_t(length), ASN_OCTET_STR, value.constData(), size_t(value.size()));
            char buffer[LevelChecker::RenderBufferSize];
            const int rendered = LevelChecker::renderVariable(buffer, sizeof buffer, pdu->variables);
            snmp_free_pdu(pdu);
            return QString::fromLocal8Bit(buffer, rendered);
        };
        const QString plain = render(text);
        const QString hex = render(text + '\x01');
        QVERIFY2(hex.contains(QLatin1String("lcMeasResult.0 = Hex-STRING: 32 30 32 36 ")), qPrintable(hex));
        QVERIFY2(hex.trimmed().endsWith(QLatin1String("0A 01")), qPrintable(hex));

        ChannelResultRow fromPlain;
        ChannelResultRow fromHex;
        QVERIFY(MeasurementReplyParser::parseMeasurement(plain, "MER", "MER", &fromPlain));
        QVERIFY(MeasurementReplyParser::parseMeasurement(hex, "MER", "MER", &fromHex));
        for (const ChannelResultRow *row : {&fromPlain, &fromHex}) {
            QCOMPARE(row->dateTime, QStringLiteral("2026/12/10 09:15:03"));
            QCOMPARE(row->channel, QStringLiteral("13"));
            QCOMPARE(row->level, QStringLiteral("65.2"));
            QCOMPARE(row->ber, QStringLiteral("<1.0E-8"));
            QCOMPARE(row->modulation, QStringLiteral("64QAM"));
            QCOMPARE(row->hikariLevel, QStringLiteral("-5.0"));
        }
    }

    // The library leaves a too-small buffer unterminated; the helper must end the text
    // inside the buffer and keep what fitted.
    void renderingIsCutInsideTheBuffer_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("1") << 1;
        QTest::newRow("8") << 8;
        QTest::newRow("24") << 24;
        QTest::newRow("40") << 40;
        QTest::newRow("64") << 64;
        QTest::newRow("256") << 256;
    }

    void renderingIsCutInsideTheBuffer()
    {
        QFETCH(int, size);
        netsnmp_pdu *pdu = snmp_pdu_create(SNMP_MSG_RESPONSE);
        oid name[LevelChecker::MaxOidLength];
        const int length = LevelChecker::parseOidText(QStringLiteral(".1.3.6.1.4.1.52817.1.70.4.1.0"), name);
        const QByteArray value("2026/12/10 09:15:03,ISDBT,13,0,65.2,30.1,<1.0E-8,0,ISDBT,64QAM,A,---,\n");
        snmp_pdu_add_variable(pdu, name, size_t(length), ASN_OCTET_STR, value.constData(), size_t(value.size()));

        char full[LevelChecker::RenderBufferSize];
        const int fullLength = LevelChecker::renderVariable(full, sizeof full, pdu->variables);
        QVERIFY(QByteArray(full).contains("lcMeasResult.0 = STRING: "));
        QCOMPARE(fullLength, int(std::strlen(full)));

        QByteArray buffer(size + 32, 'X');
        const int cutLength = LevelChecker::renderVariable(buffer.data(), size_t(size), pdu->variables);
        snmp_free_pdu(pdu);

        QVERIFY(cutLength < size);
        QCOMPARE(int(std::strlen(buffer.constData())), cutLength);
        QVERIFY(QByteArray(full).startsWith(QByteArray(buffer.constData(), cutLength)));
        if (size > fullLength)
            QCOMPARE(cutLength, fullLength);
        // Where the object name fits, the cut text keeps it.
        if (size > 40)
            QVERIFY(QByteArray(buffer.constData()).contains("lcMeasResult.0 = "));
        QCOMPARE(buffer.mid(size), QByteArray(32, 'X'));
    }

    void oidText()
    {
        QCOMPARE(SnmpRequestTable::oidText(QStringLiteral("3.1.1")), QStringLiteral(".1.3.6.1.4.1.52817.1.70.3.1.1.0"));
        QCOMPARE(SnmpRequestTable::oidText(QLatin1String(SnmpObject::MeasResult)),
                 QStringLiteral(".1.3.6.1.4.1.52817.1.70.4.1.0"));
    }

    void addRequestGroup_data()
    {
        QTest::addColumn<QVector<TableRow>>("entries");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("pdu");

        QVector<TableRow> information;
        for (const char *suffix : SnmpObject::Information)
            information.append({ true, 0, 's', suffix, "" });
        QTest::newRow("eight information GETs") << information << 0 << 8
                                                << "GET 1.2:n 1.3:n 1.4.1:n 1.4.2:n 1.4.3:n 1.4.4:n 1.4.5:n 1.4.6:n";
        QTest::newRow("empty value is a GET") << QVector<TableRow> { { true, 0, 'i', "2.2", "" } } << 0 << 1
                                              << "GET 2.2:n";
        QTest::newRow("value 0 is a SET") << QVector<TableRow> { { true, 0, 'i', "2.2", "0" } } << 0 << 1
                                          << "SET 2.2:i";
        QTest::newRow("band selection") << QVector<TableRow> { { true, 0, 's', "3.1.1", "BS" },
                                                                { true, 0, 'i', "3.1.3", "1" },
                                                                { true, 0, 's', "3.1.6", "15" } }
                                        << 0 << 3 << "SET 3.1.1:s 3.1.3:i 3.1.6:s";
        const QVector<TableRow> twoGroups { { true, 0, 'i', "2.4", "1" }, { true, 1, 'i', "2.5", "0" } };
        QTest::newRow("groups 0 and 1, at 0") << twoGroups << 0 << 1 << "SET 2.4:i";
        QTest::newRow("groups 0 and 1, at 1") << twoGroups << 1 << 1 << "SET 2.5:i";
        QTest::newRow("disabled entry of the group is skipped")
            << QVector<TableRow> { { true, 0, 's', "3.1.1", "ISDBT" },
                                    { false, 0, 'i', "3.1.2", "0" },
                                    { true, 0, 's', "3.1.6", "0" } }
            << 0 << 2 << "SET 3.1.1:s 3.1.6:s";
        QTest::newRow("disabled entry of another group ends it")
            << QVector<TableRow> { { true, 0, 's', "3.1.1", "ISDBT" },
                                    { false, 1, 'i', "3.1.2", "0" },
                                    { true, 0, 's', "3.1.6", "0" } }
            << 0 << 1 << "SET 3.1.1:s";
        QTest::newRow("disabled entry opens the group of the entry after it")
            << QVector<TableRow> { { true, 0, 's', "3.1.1", "ISDBT" },
                                    { false, 1, 'i', "3.1.2", "0" },
                                    { true, 1, 's', "3.1.6", "0" },
                                    { true, 2, 'i', "3.8", "1" } }
            << 0 << 2 << "SET 3.1.1:s 3.1.6:s";
        QTest::newRow("first entry decides the kind")
            << QVector<TableRow> { { true, 0, 's', "4.1", "" }, { true, 0, 'i', "3.8", "1" } } << 0 << 2
            << "GET 4.1:n 3.8:i";
        QTest::newRow("disabled first entry") << QVector<TableRow> { { false, 0, 'i', "2.2", "0" } } << 0 << 0
                                              << "none";
        QTest::newRow("index 2000") << QVector<TableRow> { { true, 0, 'i', "2.2", "0" } } << 2000 << 0 << "none";
        QTest::newRow("index -1") << QVector<TableRow> { { true, 0, 'i', "2.2", "0" } } << -1 << 0 << "none";
    }

    void addRequestGroup()
    {
        QFETCH(QVector<TableRow>, entries);
        QFETCH(int, index);
        QFETCH(int, count);
        QFETCH(QString, pdu);

        auto table = std::make_unique<SnmpRequestTable>();
        table->clear();
        for (int i = 0; i < entries.size(); ++i) {
            const TableRow &e = entries.at(i);
            table->setEntry(i, e.enabled, e.group, 0, e.type, QString::fromLatin1(e.suffix),
                            QString::fromLatin1(e.value));
        }
        const auto device = makeDevice();
        QCOMPARE(table->addRequestGroup(device.get(), index), count);
        QCOMPARE(describePdu(device->pendingPdu()), pdu);
        QCOMPARE(table->addRequestGroup(nullptr, 0), 0);
    }

    void tableGroupRunsToTheLastEntry()
    {
        auto table = std::make_unique<SnmpRequestTable>();
        table->clear();
        for (int i = 0; i < SnmpRequestTable::EntryCount; ++i)
            table->setEntry(i, true, 0, 0, 's', QLatin1String(SnmpObject::MeasResult));
        const auto device = makeDevice();
        QCOMPARE(table->addRequestGroup(device.get(), 1990), 10);
    }

    void clearKeepsTextsButDisables()
    {
        auto table = std::make_unique<SnmpRequestTable>();
        table->setEntry(0, true, 3, 10, 'i', QStringLiteral("2.2"), QStringLiteral("1"));
        table->clearEnabledFlags();
        QVERIFY(!table->entry(0).enabled);
        QCOMPARE(table->entry(0).group, 3);
        QCOMPARE(table->entry(0).waitMs, 10);
        table->setEntry(0, true, 3, 10, 'i', QStringLiteral("2.2"), QStringLiteral("1"));
        table->clear();
        QVERIFY(!table->entry(0).enabled);
        QCOMPARE(table->entry(0).group, 0);
        QCOMPARE(table->entry(0).waitMs, 0);
        QVERIFY(!table->entry(SnmpRequestTable::EntryCount).enabled);
    }

    void newPduReplacesUnsentOne()
    {
        const auto device = makeDevice();
        device->addPduVariable(true, SnmpRequestTable::oidText(QStringLiteral("2.2")), 'i', QStringLiteral("1"), true);
        device->addPduVariable(false, SnmpRequestTable::oidText(QStringLiteral("4.1")), 's', QString(), true);
        QCOMPARE(describePdu(device->pendingPdu()), QStringLiteral("GET 4.1:n"));
        // Without a pending PDU, a variable without newPdu is dropped.
        const auto fresh = makeDevice();
        fresh->addPduVariable(false, SnmpRequestTable::oidText(QStringLiteral("4.1")), 's', QString(), false);
        QVERIFY(fresh->pendingPdu() == nullptr);
    }

private:
    MonitorTestRoot m_root;
};

QTEST_GUILESS_MAIN(TestLevelChecker)
#include "tst_levelchecker.moc"
