// ctest-label: results
// The daily log files on their own: columns, head lines, encodings, line ends, day split,
// and the verdicts of the history log.

#include "monitor/ResultHistoryLogWriter.h"
#include "monitor/ResultLogWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

Q_DECLARE_METATYPE(ChannelResultRow)
Q_DECLARE_METATYPE(ChannelSettingRow)

namespace {
ChannelResultRow result(int band, const QString &channel, const QString &dateTime,
                        const QString &level, const QString &mer, const QString &ber,
                        const QString &hikari, const QString &layer = QStringLiteral("A"))
{
    ChannelResultRow r;
    r.bandTabIndex = band;
    r.channel = channel;
    r.dateTime = dateTime;
    r.level = level;
    r.merCn = mer;
    r.ber = ber;
    r.hikariLevel = hikari;
    r.modulation = QStringLiteral("64QAM");
    r.layer = layer;
    r.extraValue = QStringLiteral("0");
    r.broadcastStandard = QStringLiteral("ISDBT");
    return r;
}

ChannelSettingRow plan(int band, const QString &channel, int frequency, int local = 0,
                       const QString &standard = QStringLiteral("0"))
{
    ChannelSettingRow p;
    p.bandTabIndex = band;
    p.channel = channel;
    p.frequency = frequency;
    p.localFrequency = local;
    p.broadbandSystem = standard;
    return p;
}

AlertSettingRow alert()
{
    AlertSettingRow a;
    a.levelMin = QStringLiteral("40");
    a.levelMax = QStringLiteral("80");
    a.merCn = QStringLiteral("25");
    a.ber = QStringLiteral("1.0E-4");
    a.hikariLevelMin = QStringLiteral("-10");
    a.hikariLevelMax = QStringLiteral("0");
    a.convertCnr = QStringLiteral("30");
    return a;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QByteArray sjis(const QString &text)
{
    return QTextCodec::codecForName("Shift-JIS")->fromUnicode(text);
}
}

class TestResultLogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("NRT52_ROOT", m_root.path().toUtf8());
    }

    void resultLineColumns_data()
    {
        QTest::addColumn<ChannelResultRow>("row");
        QTest::addColumn<ChannelSettingRow>("plan");
        QTest::addColumn<QString>("line");

        ChannelResultRow terrestrial = result(0, "13", "2026/12/10 09:15:03", "65.2", "30.1",
                                              "<1.0E-8", "---", "A");
        QTest::newRow("terrestrial keeps its layer")
            << terrestrial << plan(0, "13", 473142)
            << "2026/12/10 09:15:03,13,地デジ,473.142,65.2,30.1,<1.0E-8,---,A,---,ISDBT,64QAM";

        ChannelResultRow converted = terrestrial;
        converted.convertedCn = true;
        QTest::newRow("terrestrial converted")
            << converted << plan(0, "13", 473142)
            << "2026/12/10 09:15:03,13,地デジ(換算),473.142,65.2,30.1,<1.0E-8,---,A,---,ISDBT,64QAM";

        ChannelResultRow bs = result(1, "BS1", "2026/12/10 09:15:03", "60", "15", "0", "---", "X");
        QTest::newRow("BS right writes its polarisation")
            << bs << plan(1, "BS1", 1049480 - 0, 10678000)
            << "2026/12/10 09:15:03,BS1,BS,1049.48,60,15,0,---,右旋,10.678,ISDBT,64QAM";

        ChannelResultRow catv = result(5, "C24", "", "---", "---", "---", "---");
        catv.convertedCn = true;
        QTest::newRow("CATV converted, no result yet")
            << catv << plan(5, "C24", 231000)
            << "----/--/-- --:--:--,C24,CATV(換算),231.000,---,---,---,---,A,---,ISDBT,64QAM";

        ChannelResultRow cs = result(3, "ND2", "2026/12/10 09:15:03", "60", "15", "0", "---");
        QTest::newRow("110CS with a local oscillator")
            << cs << plan(3, "ND2", 1613000 - 0, 11200000)
            << "2026/12/10 09:15:03,ND2,110°CS,1613.00,60,15,0,---,右旋,11.2,ISDBT,64QAM";
    }

    void resultLineColumns()
    {
        QFETCH(ChannelResultRow, row);
        QFETCH(ChannelSettingRow, plan);
        QFETCH(QString, line);
        QCOMPARE(ResultLogWriter::resultLine(row, plan), line);
    }

    void errorItems_data()
    {
        QTest::addColumn<bool>("level");
        QTest::addColumn<bool>("mer");
        QTest::addColumn<bool>("ber");
        QTest::addColumn<bool>("hikari");
        QTest::addColumn<bool>("connection");
        QTest::addColumn<QString>("items");
        QTest::newRow("level and BER") << true << false << true << false << false << "レベル、BER";
        QTest::newRow("BER only") << false << false << true << false << false << "BER";
        QTest::newRow("MER and optical") << false << true << false << true << false << "MER/CN、光レベル";
        QTest::newRow("connection") << true << true << true << true << true << "接続エラー";
    }

    void errorItems()
    {
        QFETCH(bool, level);
        QFETCH(bool, mer);
        QFETCH(bool, ber);
        QFETCH(bool, hikari);
        QFETCH(bool, connection);
        QFETCH(QString, items);
        AlertRecord record;
        record.levelError = level;
        record.merCnError = mer;
        record.berError = ber;
        record.hikariLevelError = hikari;
        record.connectionError = connection;
        QCOMPARE(ResultLogWriter::errorItems(record), items);
    }

    // The first line of a day brings the head lines; the next only appends. Shift-JIS, LF.
    void resultLogFileBytes()
    {
        const QString data = QStringLiteral("C:\\VELMORA\\NRT52\\Data");
        const QDateTime first(QDate(2026, 12, 10), QTime(9, 15, 7));
        const QString path = ResultLogWriter::resultLogPath(data, 3, first.date());
        QCOMPARE(path, m_root.path() + "/Data/LOG/機器No3/20261210.csv");
        QVERIFY(ResultLogWriter::appendResultLine(data, 3, 3, "受信点A", "L1", first));
        QVERIFY(ResultLogWriter::appendResultLine(data, 3, 3, "受信点A", "L2",
                                                  first.addSecs(60)));
        QCOMPARE(readAll(path),
                 sjis("日付,2026/12/10\n時刻,09:15:07\n機器No,3\n名称,受信点A\n"
                      "日時,チャンネル,BAND,周波数(MHz),レベル(dBuV),MER/CN(dB),BER,光レベル(dBm),"
                      "Layer/偏波,局発周波数(GHz),放送規格,変調方式\nL1\nL2\n"));
    }

    void errorLogFileBytes()
    {
        const QString data = QStringLiteral("C:\\VELMORA\\NRT52\\Data");
        const QDateTime now(QDate(2026, 12, 11), QTime(10, 0, 0));
        const QString path = ResultLogWriter::errorLogPath(data, 2, now.date());
        QCOMPARE(path, m_root.path() + "/Data/ERROR_LOG/機器No2/20261211.csv");
        QVERIFY(ResultLogWriter::appendErrorLine(data, 2, "E1", now));
        QVERIFY(ResultLogWriter::appendErrorLine(data, 2, "E2", now));
        QCOMPARE(readAll(path),
                 sjis("機器No,名称,日時,BAND,チャンネル,エラー項目,測定値レベル,閾値レベルMin,"
                      "閾値レベルMax,測定値MER,閾値MER,測定値BER,閾値BER,測定値光レベル,"
                      "閾値光レベルMin,閾値光レベルMax\nE1\nE2\n"));
    }

    // The day of writing names the file, whatever the measurement says.
    void midnightSplitsTheFiles()
    {
        const QString data = QStringLiteral("C:\\VELMORA\\NRT52\\Split");
        const QDateTime late(QDate(2026, 12, 31), QTime(23, 59, 59));
        const QDateTime early(QDate(2027, 1, 1), QTime(0, 0, 1));
        QVERIFY(ResultLogWriter::appendResultLine(data, 1, 1, "n", "same measurement", late));
        QVERIFY(ResultLogWriter::appendResultLine(data, 1, 1, "n", "same measurement", early));
        QVERIFY(readAll(ResultLogWriter::resultLogPath(data, 1, late.date())).endsWith(sjis("変調方式\nsame measurement\n")));
        QVERIFY(readAll(ResultLogWriter::resultLogPath(data, 1, early.date())).startsWith(sjis("日付,2027/01/01\n時刻,00:00:01\n")));
    }

    // An empty folder setting names the drive root: it stays below the root folder here.
    void emptyDataFolderStaysBelowTheRoot()
    {
        const QDate date(2026, 12, 10);
        QCOMPARE(ResultLogWriter::resultLogPath(QString(), 1, date),
                 m_root.path() + "/drive_c/LOG/機器No1/20261210.csv");
        QCOMPARE(ResultLogWriter::errorLogPath(QString(), 1, date),
                 m_root.path() + "/drive_c/ERROR_LOG/機器No1/20261210.csv");
    }

    void unwritableFileIsSkipped()
    {
        // A folder where the file should be: the file cannot be opened for appending.
        const QDateTime now(QDate(2026, 12, 12), QTime(8, 0, 0));
        const QString data = QStringLiteral("C:\\VELMORA\\NRT52\\Blocked");
        QVERIFY(QDir().mkpath(ResultLogWriter::resultLogPath(data, 1, now.date())));
        QVERIFY(!ResultLogWriter::appendResultLine(data, 1, 1, "n", "L", now));
    }

    void historyVerdicts_data()
    {
        QTest::addColumn<ChannelResultRow>("row");
        QTest::addColumn<bool>("hasAlert");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("verdicts");

        const QString t = QStringLiteral("2026/12/10 12:00:00");
        QTest::newRow("good, always")
            << result(0, "13", t, "60", "30", "1.0E-8", "-5") << true << "常時" << "常時" << "光" << "1111";
        QTest::newRow("limits pass")
            << result(0, "13", t, "40", "25", "1.0E-4", "0") << true << "常時" << "常時" << "光" << "1111";
        QTest::newRow("all broken")
            << result(0, "13", t, "39.9", "24.9", "1.1E-4", "0.1") << true << "常時" << "常時" << "光" << "0000";
        QTest::newRow("out of range marks")
            << result(0, "13", t, "<20", ">40", ">1.0E-2", "<-30") << true << "常時" << "常時" << "光" << "0100";
        QTest::newRow("below-range MER vs threshold")
            << result(0, "13", t, "60", "<10.0", "<1.0E-8", "---") << true << "常時" << "常時" << "同軸" << "1011";
        QTest::newRow("coaxial never fails the optical level")
            << result(0, "13", t, "60", "30", "0", "---") << true << "常時" << "常時" << "同軸" << "1111";
        QTest::newRow("outside the window: not judged")
            << result(0, "13", t, "10", "1", "1", "---") << true << "08:00" << "11:59" << "同軸" << "1111";
        QTest::newRow("silent device outside the window")
            << result(0, "13", t, "---", "---", "---", "---") << true << "08:00" << "11:59" << "同軸" << "0000";
        QTest::newRow("PILOT without MER and BER")
            << result(18, "P", t, "60", "---", "---", "---") << true << "常時" << "常時" << "同軸" << "1001";
        ChannelResultRow converted = result(0, "13", t, "60", "27", "0", "---");
        converted.convertedCn = true;
        QTest::newRow("converted C/N against its own threshold")
            << converted << true << "常時" << "常時" << "同軸" << "1011";
        QTest::newRow("no threshold row: only a silent device fails")
            << result(0, "13", t, "1", "1", "1", "---") << false << "常時" << "常時" << "同軸" << "1111";
        QTest::newRow("no threshold row, silent")
            << result(0, "13", t, "---", "---", "---", "---") << false << "常時" << "常時" << "同軸" << "0000";
    }

    void historyVerdicts()
    {
        QFETCH(ChannelResultRow, row);
        QFETCH(bool, hasAlert);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, input);
        QFETCH(QString, verdicts);
        const AlertSettingRow a = alert();
        const ResultHistoryLogWriter::Verdicts v =
            ResultHistoryLogWriter::verdicts(row, hasAlert ? &a : nullptr, start, end, input);
        const QString got = QString::number(v.level) + QString::number(v.merCn)
                            + QString::number(v.ber) + QString::number(v.hikariLevel);
        QCOMPARE(got, verdicts);
    }

    void historyLineColumns_data()
    {
        QTest::addColumn<ChannelResultRow>("row");
        QTest::addColumn<ChannelSettingRow>("plan");
        // Level, MER/CN, BER, optical level: one verdict true per row, so that any two
        // swapped columns show.
        QTest::addColumn<QString>("verdicts");
        QTest::addColumn<QString>("line");

        ChannelResultRow bs = result(1, "BS1", "2026/12/10 09:15:03", "60", "15", "0", "---", "X");
        QTest::newRow("satellite keeps its layer")
            << bs << plan(1, "BS1", 1049480, 10678000) << "1111"
            << "7,局,2026/12/10 09:15:03,BS1,BS,1049.48,60,15,0,---,X,10.678,ISDBT,64QAM,1,1,1,1";
        ChannelResultRow catv = result(5, "C24", "2026/12/10 09:15:03", "60", "35", "0", "---");
        catv.convertedCn = true;
        QTest::newRow("CATV converted, ISDB-C plan code")
            << catv << plan(5, "C24", 231000, 0, "3") << "0100"
            << "7,局,2026/12/10 09:15:03,C24,CATV,231.000,60,35,0,---,A,---,ISDBT,64QAM,0,1,0,0";
        QTest::newRow("CATV converted, ISDB-T plan code")
            << catv << plan(5, "C24", 231000, 0, "0") << "0010"
            << "7,局,2026/12/10 09:15:03,C24,CATV(換算),231.000,60,35,0,---,A,---,ISDBT,64QAM,0,0,1,0";
        ChannelResultRow none = result(0, "13", "", "---", "---", "---", "---");
        QTest::newRow("no result yet")
            << none << plan(0, "13", 473142) << "1000"
            << "7,局,----/--/-- --:--:--,13,地デジ,473.142,---,---,---,---,A,---,ISDBT,64QAM,1,0,0,0";
    }

    void historyLineColumns()
    {
        QFETCH(ChannelResultRow, row);
        QFETCH(ChannelSettingRow, plan);
        QFETCH(QString, verdicts);
        QFETCH(QString, line);
        ResultHistoryLogWriter::Verdicts v;
        v.level = verdicts.at(0) == QLatin1Char('1');
        v.merCn = verdicts.at(1) == QLatin1Char('1');
        v.ber = verdicts.at(2) == QLatin1Char('1');
        v.hikariLevel = verdicts.at(3) == QLatin1Char('1');
        QCOMPARE(ResultHistoryLogWriter::line(7, "局", row, plan, v), line);
    }

    // UTF-8 without byte-order mark, one header line, LF.
    void historyFileBytes()
    {
        const QDateTime now(QDate(2026, 12, 10), QTime(9, 0, 0));
        const QString path = ResultHistoryLogWriter::filePath(4, now.date());
        QCOMPARE(path, m_root.path() + "/InternalReadOnly/INDIVIDUAL_LOG/機器No4/20261210.csv");
        QVERIFY(ResultHistoryLogWriter::appendLine(4, "H1", now));
        QVERIFY(ResultHistoryLogWriter::appendLine(4, "H2", now));
        QCOMPARE(readAll(path),
                 QStringLiteral("機器No,名称,日時,チャンネル,BAND,周波数(MHz),レベル(dBuV),"
                                "MER/CN(dB),BER,光レベル,Layer/偏波,局発周波数(GHz),放送規格,"
                                "変調方式,Levelエラー判定,Merエラー判定,Berエラー判定,"
                                "光レベルエラー判定\nH1\nH2\n").toUtf8());
    }

private:
    QTemporaryDir m_root;
};

QTEST_GUILESS_MAIN(TestResultLogs)
#include "tst_resultlogs.moc"
