// ctest-label: results
// From reply text to stored result: every case of the reply parser that matters, in one
// table, run through the response handler against a device with a real channel plan.

#include "ResultListHost.h"

#include <QtTest>

namespace {
const QString kNow = QStringLiteral("NOW");

// The fields of a stored row that the table compares, joined by "|".
QString fields(const ChannelResultRow &r)
{
    return QStringList{r.dateTime, QString::number(r.bandTabIndex), r.channel, r.level, r.merCn,
                       r.ber, r.hikariLevel, r.modulation, r.layer, r.extraValue,
                       r.broadcastStandard, r.convertedCn ? QStringLiteral("conv") : QStringLiteral("-")}
        .join(QLatin1Char('|'));
}
}

class TestReplyParsing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_host.prepare());
        m_device = m_host.addDevice(QStringLiteral("受信点"));
        QVERIFY(m_device);
        // Plan positions: 0 地デジ 13, 1 CATV C24 (ISDB-T), 2 CATV C30 (ISDB-C), 3 CATV上り U1,
        // 4 PILOT P1, 5 LTE L1, 6 FM F1, 7 地デジ 13 once more.
        ResultListHost::addChannel(m_device, 0, "13", 473142);
        ResultListHost::addChannel(m_device, 5, "C24", 231000, 0, "0");
        ResultListHost::addChannel(m_device, 5, "C30", 267000, 0, "3");
        ResultListHost::addChannel(m_device, 7, "U1", 30000);
        ResultListHost::addChannel(m_device, 18, "P1", 90000);
        ResultListHost::addChannel(m_device, 16, "L1", 2110000);
        ResultListHost::addChannel(m_device, 17, "F1", 80700);
        ResultListHost::addChannel(m_device, 0, "13", 473142);
        m_handler = m_host.createHandler();
    }

    void cleanupTestCase() { m_host.teardown(); }

    void parse_data()
    {
        QTest::addColumn<QString>("terrestrialMode");
        QTest::addColumn<QString>("catvMode");
        QTest::addColumn<QString>("response");
        QTest::addColumn<int>("position");   // -1: nothing stored
        QTest::addColumn<QString>("stored"); // fields(); "NOW" stands for the time of handling
        QTest::addColumn<bool>("logged");    // the text went to the application log

        const QString t = QStringLiteral("2026/12/10 09:15:03");
        const QString mer = QStringLiteral("MER");
        const QString cnr = QStringLiteral("CNR");
        auto reply = [&](const QString &code, const QString &channel, const QString &standard,
                         const QString &modulation) {
            return ResultListHost::reply(t, code, channel, "65.2", "30.1", "<1.0E-8", "---",
                                         standard, modulation, "A");
        };
        const QString tail = "|65.2|30.1|<1.0E-8|---|";

        // Element counts and quoting.
        QTest::newRow("12 elements, no quotes")
            << mer << mer
            << "VEDIRUDO-ZER::lcMeasResult.0 = STRING: 2026/12/10 09:15:03,ISDBT,13,0,65.2,30.1,<1.0E-8,7,ISDBT,64QAM,B,-5.0\n"
            << 0 << t + "|0|13|65.2|30.1|<1.0E-8|-5.0|64QAM|B|7|ISDBT|-" << false;
        QTest::newRow("11 elements")
            << mer << mer
            << "VEDIRUDO-ZER::lcMeasResult.0 = STRING: 2026/12/10 09:15:03,ISDBT,13,0,65.2,30.1,<1.0E-8,7,ISDBT,64QAM,B\n"
            << -1 << QString() << true;
        QTest::newRow("13th element and closing quote ignored")
            << mer << mer << reply("ISDBT", "13", "ISDBT", "64QAM")
            << 0 << t + "|0|13" + tail + "64QAM|A|0|ISDBT|-" << false;
        QTest::newRow("closing quote stays in element 11")
            << mer << mer
            << ResultListHost::reply({t, "ISDBT", "13", "0", "65.2", "30.1", "<1.0E-8", "0", "ISDBT", "64QAM", "A", "---"}, false)
            << 0 << t + "|0|13|65.2|30.1|<1.0E-8|---\"|64QAM|A|0|ISDBT|-" << false;
        QTest::newRow("quotes around the date-time")
            << mer << mer
            << "VEDIRUDO-ZER::lcMeasResult.0 = STRING: \"\"2026/12/10 09:15:03\",ISDBT,13,0,65.2,30.1,<1.0E-8,0,ISDBT,64QAM,A,---,\n\""
            << 0 << t + "|0|13" + tail + "64QAM|A|0|ISDBT|-" << false;
        QTest::newRow("no value tag")
            << mer << mer << "VEDIRUDO-ZER::lcMeasResult.0 = \"2026/12/10 09:15:03,ISDBT,13,0,1,2,3,4,5,6,7,8,\n\""
            << -1 << QString() << true;
        QTest::newRow("no line feed")
            << mer << mer << "VEDIRUDO-ZER::lcMeasResult.0 = STRING: \"2026/12/10 09:15:03,ISDBT,13,0,1,2,3,4,5,6,7,8,\""
            << -1 << QString() << true;

        // A value with a byte the library cannot print arrives as hex pairs, 16 to a line.
        auto hexReply = [](const QByteArray &value) {
            QString hex;
            for (int i = 0; i < value.size(); ++i) {
                hex += QStringLiteral("%1 ").arg(uchar(value.at(i)), 2, 16, QLatin1Char('0')).toUpper();
                if (i % 16 == 15 && i + 1 < value.size())
                    hex += QLatin1Char('\n');
            }
            return QStringLiteral("VEDIRUDO-ZER::lcMeasResult.0 = Hex-STRING: ") + hex;
        };
        QTest::newRow("Hex-STRING of a valid result")
            << mer << mer
            << hexReply("2026/12/10 09:15:03,ISDBT,13,0,65.2,30.1,<1.0E-8,7,ISDBT,64QAM,B,-5.0,\n\x01")
            << 0 << t + "|0|13|65.2|30.1|<1.0E-8|-5.0|64QAM|B|7|ISDBT|-" << false;
        QTest::newRow("Hex-STRING of 11 elements")
            << mer << mer << hexReply("2026/12/10 09:15:03,ISDBT,13,0,65.2,30.1,<1.0E-8,7,ISDBT,64QAM\n\x01")
            << -1 << QString() << true;

        // Modulation by band.
        QTest::newRow("CATV上り is CW whatever element 9 says")
            << mer << mer << reply("UL", "U1", "---", "QPSK")
            << 3 << t + "|7|U1" + tail + "CW|A|0|---|-" << false;
        QTest::newRow("PILOT is CW")
            << mer << mer << reply("PILOT", "P1", "---", "---")
            << 4 << t + "|18|P1" + tail + "CW|A|0|---|-" << false;
        QTest::newRow("LTE has none")
            << mer << mer << reply("LTE", "L1", "---", "64QAM")
            << 5 << t + "|16|L1" + tail + "---|A|0|---|-" << false;
        QTest::newRow("FM is FM")
            << mer << mer << reply("FM", "F1", "---", "---")
            << 6 << t + "|17|F1" + tail + "FM|A|0|---|-" << false;
        QTest::newRow("no modulation is UNLOCK")
            << mer << mer << reply("ISDBT", "13", "ISDBT", "---")
            << 0 << t + "|0|13" + tail + "UNLOCK|A|0|ISDBT|-" << false;

        // Converted C/N.
        QTest::newRow("terrestrial in CNR mode")
            << cnr << mer << reply("ISDBT", "13", "ISDBT", "64QAM")
            << 0 << t + "|0|13" + tail + "64QAM|A|0|ISDBT|conv" << false;
        QTest::newRow("CATV ISDB-T in CNR mode")
            << mer << cnr << reply("CATV", "C24", "ISDBT", "64QAM")
            << 1 << t + "|5|C24" + tail + "64QAM|A|0|ISDBT|conv" << false;
        QTest::newRow("CATV ISDB-C in CNR mode")
            << mer << cnr << reply("CATV", "C30", "ISDBC", "256QAM")
            << 2 << t + "|5|C30" + tail + "256QAM|A|0|ISDBC|-" << false;
        QTest::newRow("CATV ISDB-T in MER mode")
            << cnr << mer << reply("CATV", "C24", "ISDBT", "64QAM")
            << 1 << t + "|5|C24" + tail + "64QAM|A|0|ISDBT|-" << false;

        // Band and channel against the plan.
        QTest::newRow("unknown band code reads as band 0")
            << mer << mer << reply("XYZ", "13", "ISDBT", "64QAM")
            << 0 << t + "|0|13" + tail + "64QAM|A|0|ISDBT|-" << false;
        QTest::newRow("channel not in the plan")
            << mer << mer << reply("ISDBT", "99", "ISDBT", "64QAM") << -1 << QString() << true;
        QTest::newRow("channel of another band")
            << mer << mer << reply("BS_R", "13", "ISDBS", "8PSK") << -1 << QString() << true;

        // Failure texts.
        QTest::newRow("Timeout,200 names no channel")
            << mer << mer << "Timeout,200\n" << -1 << QString() << true;
        QTest::newRow("Timeout,3")
            << mer << mer << "Timeout,3\n" << 3 << kNow + "|7|U1|---|---|---|---|---|---|---|---|-" << true;
        QTest::newRow("Error,-1")
            << mer << mer << "Error,-1\n" << -1 << QString() << true;
        QTest::newRow("Error on a CATV ISDB-T channel in CNR mode")
            << mer << cnr << "Error,1\n" << 1 << kNow + "|5|C24|---|---|---|---|---|---|---|---|conv" << true;
        QTest::newRow("Timeout on an ISDB-C channel in CNR mode")
            << mer << cnr << "Timeout,2\n" << 2 << kNow + "|5|C30|---|---|---|---|---|---|---|---|-" << true;
        QTest::newRow("Timeout without a position")
            << mer << mer << "Timeout\n" << -1 << QString() << true;
        QTest::newRow("Timeout beyond the current plan")
            << mer << mer << "Timeout,8\n" << -1 << QString() << true;
        QTest::newRow("same channel twice: stored at the first position")
            << mer << mer << "Timeout,7\n" << 0 << kNow + "|0|13|---|---|---|---|---|---|---|---|-" << true;
        QTest::newRow("other text is ignored silently")
            << mer << mer << "VEDIRUDO-ZER::lcSerialnum.0 = STRING: 1234" << -1 << QString() << false;
    }

    void parse()
    {
        QFETCH(QString, terrestrialMode);
        QFETCH(QString, catvMode);
        QFETCH(QString, response);
        QFETCH(int, position);
        QFETCH(QString, stored);
        QFETCH(bool, logged);

        m_device->setTerrestrialMerCn(terrestrialMode == QLatin1String("CNR") ? 1 : 0);
        m_device->setCatvMerCn(catvMode == QLatin1String("CNR") ? 1 : 0);
        QStringList before;
        QList<int> historyBefore;
        for (int p = 0; p < m_device->channelSettingCount(); ++p) {
            before << fields(m_device->latestResult(p));
            historyBefore << m_device->measurementHistoryCount(p);
        }
        const QByteArray logBefore = ResultListHost::readFile(QStringLiteral("pcapplication.log"));

        const QDateTime handled = QDateTime::currentDateTime();
        QCOMPARE(m_handler->parseMeasurementResponse(response, 0), position);

        for (int p = 0; p < m_device->channelSettingCount(); ++p) {
            const ChannelResultRow row = m_device->latestResult(p);
            if (p != position) {
                QCOMPARE(fields(row), before.at(p));
                QCOMPARE(m_device->measurementHistoryCount(p), historyBefore.at(p));
                continue;
            }
            QString expected = stored;
            if (expected.startsWith(kNow)) {
                const QDateTime at = QDateTime::fromString(row.dateTime, QStringLiteral("yyyy/MM/dd hh:mm:ss"));
                QVERIFY2(at.isValid() && qAbs(at.secsTo(handled)) <= 2, qPrintable(row.dateTime));
                expected.replace(0, kNow.size(), row.dateTime);
            }
            QCOMPARE(fields(row), expected);
            QCOMPARE(m_device->measurementHistoryCount(p), historyBefore.at(p) + 1);
            QCOMPARE(fields(m_device->measurementHistory(p, historyBefore.at(p))), expected);
        }

        const QByteArray logAfter = ResultListHost::readFile(QStringLiteral("pcapplication.log"));
        const QByteArray added = logAfter.mid(logBefore.size());
        // A log line is one line: the reply's own line feeds become spaces.
        QString text = response.trimmed();
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        QCOMPARE(added.contains(text.toUtf8()), logged);
        // A measurement reply that is not stored leaves exactly one line saying so.
        const bool dropped = position < 0 && response.contains(QLatin1String("lcMeasResult.0"));
        QCOMPARE(added.count("Reply dropped"), dropped ? 1 : 0);
    }

    // The failure text for a device that is no longer in the list changes nothing and
    // logs the text.
    void failureForAMissingDevice()
    {
        QCOMPARE(m_handler->parseMeasurementResponse(QStringLiteral("Timeout,0\n"), 5), -1);
        QCOMPARE(m_handler->parseMeasurementResponse(
                     ResultListHost::reply("2026/12/10 09:15:03", "ISDBT", "13", "1", "2", "3"), 5),
                 -1);
    }

private:
    ResultListHost m_host;
    LevelChecker *m_device = nullptr;
    NotifyResponse *m_handler = nullptr;
};

QTEST_MAIN(TestReplyParsing)
#include "tst_replyparsing.moc"
