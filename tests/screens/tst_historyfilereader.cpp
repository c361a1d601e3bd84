// ctest-label: history
// Reading one channel's rows back from a device's daily result histories.
#include "core/ConstantTables.h"
#include "screens/HistoryFileReader.h"
#include "support/HistoryFixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString dayFile(int deviceNo, const QString &name)
{
    return HistoryFixture::folder(deviceNo) + QLatin1Char('/') + name;
}

QStringList dates(const QVector<IndividualResultListRow> &rows)
{
    QStringList out;
    for (const IndividualResultListRow &row : rows)
        out.append(row.date);
    return out;
}

HistoryFileReader::Result readChannel(int deviceNo, int band, const QString &channel)
{
    return HistoryFileReader(BandShortName110Table.value(band), channel).readDevice(deviceNo);
}

} // namespace

class TestHistoryFileReader : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        root.reset(new QTemporaryDir);
        QVERIFY(root->isValid());
        qputenv("NRT52_ROOT", root->path().toUtf8());
    }

    // Several days as Windows leaves them (CR LF), other channels and bands in between, the
    // converted band mark, and the two polarisations of one satellite told apart by channel.
    void severalDays()
    {
        QByteArray day1 = HistoryFixture::headerLine();
        day1 += HistoryFixture::dataLine(1, "2026/11/30 23:50:00", "13", "地デジ", "65.2", "30.1", "<1.0E-8", "1111");
        day1 += HistoryFixture::dataLine(1, "2026/11/30 23:51:00", "14", "地デジ", "60.0", "28.0", "<1.0E-8");
        day1 += HistoryFixture::dataLine(1, "2026/11/30 23:52:00", "13", "CATV", "50.0", "20.0", "---");
        day1 += HistoryFixture::dataLine(1, "2026/11/30 23:55:00", "13", "地デジ(換算)", "<20.0", "---", "---", "0000");
        QByteArray day2 = HistoryFixture::headerLine();
        day2 += HistoryFixture::dataLine(1, "2026/12/01 00:05:00", "13", "地デジ", "66.0", ">40.0", "2.0E-7", "1101",
                                         "-3.2", "B", "---", "Opticast", "256QAM");
        day2 += "\n";
        day2 += HistoryFixture::dataLine(1, "2026/12/01 00:06:00", "BS13", "BS", "70.0", "15.0", "<1.0E-8");
        day2 += HistoryFixture::dataLine(1, "2026/12/01 00:10:00", "13", "地上デジタル", "1", "1", "1");
        day2 += HistoryFixture::dataLine(1, "2026/12/01 00:15:00", "13", "地デジ", "64.0", "29.0", "1.0E-6", "1110");
        QVERIFY(HistoryFixture::writeFile(dayFile(1, "20261130.csv"), day1, true));
        QVERIFY(HistoryFixture::writeFile(dayFile(1, "20261201.csv"), day2, true));

        const HistoryFileReader::Result result = readChannel(1, BandTerrestrial, "13");
        QCOMPARE(dates(result.rows), QStringList({"2026/12/01 00:15:00", "2026/12/01 00:05:00",
                                                  "2026/11/30 23:55:00", "2026/11/30 23:50:00"}));
        QCOMPARE(result.dates, QStringList({"2026/11/30", "2026/12/01"}));
        QVERIFY(result.unreadableFiles.isEmpty());

        const IndividualResultListRow &newest = result.rows.at(0);
        QCOMPARE(newest.level, QStringLiteral("64.0"));
        QCOMPARE(newest.ber, QStringLiteral("1.0E-6"));
        QVERIFY(newest.levelerror && newest.mererror && newest.bererror && !newest.hikarierror);

        const IndividualResultListRow &full = result.rows.at(1);
        QCOMPARE(full.mer, QStringLiteral(">40.0"));
        QCOMPARE(full.hikarilevel, QStringLiteral("-3.2"));
        QCOMPARE(full.layer, QStringLiteral("B"));
        QCOMPARE(full.localfreq, QStringLiteral("---"));
        QCOMPARE(full.broadcast, QStringLiteral("OPTICAST"));
        QCOMPARE(full.ModulationListRole, QStringLiteral("256QAM"));
        QCOMPARE(full.levelerror, true);
        QCOMPARE(full.mererror, true);
        QCOMPARE(full.bererror, false);
        QCOMPARE(full.hikarierror, true); // the last field without the CR of its line end
        QCOMPARE(full.selectflag, false);

        const IndividualResultListRow &converted = result.rows.at(2);
        QCOMPARE(converted.level, QStringLiteral("<20.0"));
        QVERIFY(!converted.levelerror && !converted.mererror && !converted.bererror && !converted.hikarierror);

        // The CATV channel of the same text is a channel of its own.
        QCOMPARE(dates(readChannel(1, BandCatv, "13").rows), QStringList({"2026/11/30 23:52:00"}));
        // Both BS polarisations share the band text; the channel text decides.
        QCOMPARE(readChannel(1, BandBsLeft, "BS13").rows.size(), 1);
        QCOMPARE(readChannel(1, BandBsRight, "BS15").rows.size(), 0);
    }

    // Band texts are compared exactly once every "(換算)" is gone.
    void bandMatching_data()
    {
        QTest::addColumn<QString>("bandColumn");
        QTest::addColumn<int>("band");
        QTest::addColumn<bool>("belongs");
        QTest::newRow("converted terrestrial") << "地デジ(換算)" << 0 << true;
        QTest::newRow("long terrestrial name") << "地上デジタル" << 0 << false;
        QTest::newRow("mark in front") << "(換算)CATV" << 5 << true;
        QTest::newRow("mark twice") << "CATV(換算)(換算)" << 5 << true;
        QTest::newRow("plain CS") << "CS" << 3 << false;
        QTest::newRow("110 CS") << "110°CS" << 4 << true;
        QTest::newRow("letter case") << "catv" << 5 << false;
        QTest::newRow("band prefix") << "CATV上り" << 5 << false;
    }

    void bandMatching()
    {
        QFETCH(QString, bandColumn);
        QFETCH(int, band);
        QFETCH(bool, belongs);
        QVERIFY(HistoryFixture::writeFile(dayFile(2, "20261210.csv"),
                                          HistoryFixture::headerLine()
                                              + HistoryFixture::dataLine(2, "2026/12/10 10:00:00", "X1", bandColumn,
                                                                         "60", "30", "---")));
        QCOMPARE(readChannel(2, band, "X1").rows.size(), belongs ? 1 : 0);
    }

    // The older layout lacks the optical level and its verdict; short lines are no data, and
    // the header is the first line that has enough fields.
    void layouts()
    {
        QByteArray bytes = "機器No,名称\n"; // a short line before the header
        bytes += HistoryFixture::headerLine();
        // 16 fields: the older layout.
        bytes += "1,A,2026/12/10 10:00:00,13,地デジ,473.143,61.0,25.0,<1.0E-8,A,9.505,ISDBT,64QAM,1,0,1\n";
        // 15 fields: older, the BER verdict missing.
        bytes += "1,A,2026/12/10 10:01:00,13,地デジ,473.143,62.0,25.0,<1.0E-8,A,9.505,ISDBT,64QAM,1,1\n";
        // 17 fields: current, the optical verdict missing.
        bytes += "1,A,2026/12/10 10:02:00,13,地デジ,473.143,63.0,25.0,<1.0E-8,-5.0,A,---,ISDBT,64QAM,1,1,1\n";
        // 14 fields: skipped.
        bytes += "1,A,2026/12/10 10:03:00,13,地デジ,473.143,64.0,25.0,<1.0E-8,A,9.505,ISDBT,64QAM,1\n";
        // Verdicts that are no numbers, or numbers other than 1; more fields than 18; no line end.
        bytes += "1,A,2026/12/10 10:04:00,13,地デジ,473.143,65.0,25.0,<1.0E-8,-5.0,A,---,opticast,64QAM,x,2, 1 ,99999999999,extra";
        QVERIFY(HistoryFixture::writeFile(dayFile(1, "20261210.csv"), bytes));

        const QVector<IndividualResultListRow> rows = readChannel(1, BandTerrestrial, "13").rows;
        QCOMPARE(rows.size(), 4);
        const IndividualResultListRow &sixteen = rows.at(3);
        QCOMPARE(sixteen.level, QStringLiteral("61.0"));
        QCOMPARE(sixteen.hikarilevel, QStringLiteral("---"));
        QCOMPARE(sixteen.layer, QStringLiteral("A"));
        QCOMPARE(sixteen.localfreq, QStringLiteral("9.505"));
        QCOMPARE(sixteen.broadcast, QStringLiteral("ISDBT"));
        QCOMPARE(sixteen.ModulationListRole, QStringLiteral("64QAM"));
        QVERIFY(sixteen.levelerror && !sixteen.mererror && sixteen.bererror && !sixteen.hikarierror);
        const IndividualResultListRow &fifteen = rows.at(2);
        QVERIFY(fifteen.levelerror && fifteen.mererror && !fifteen.bererror && !fifteen.hikarierror);
        const IndividualResultListRow &seventeen = rows.at(1);
        QCOMPARE(seventeen.hikarilevel, QStringLiteral("-5.0"));
        QVERIFY(seventeen.levelerror && seventeen.mererror && seventeen.bererror && !seventeen.hikarierror);
        const IndividualResultListRow &odd = rows.at(0);
        QCOMPARE(odd.broadcast, QStringLiteral("opticast")); // only the exact text is replaced
        QVERIFY(!odd.levelerror && odd.mererror && odd.bererror && !odd.hikarierror);
    }

    // Without a header line the first data line stands in for it.
    void firstWideLineIsTheHeader()
    {
        QByteArray bytes = HistoryFixture::dataLine(1, "2026/12/10 10:00:00", "13", "地デジ", "60", "30", "---");
        bytes += HistoryFixture::dataLine(1, "2026/12/10 10:01:00", "13", "地デジ", "61", "30", "---");
        QVERIFY(HistoryFixture::writeFile(dayFile(1, "20261210.csv"), bytes));
        QCOMPARE(dates(readChannel(1, BandTerrestrial, "13").rows), QStringList({"2026/12/10 10:01:00"}));
    }

    // The channel's text elsewhere in a line (the name, a value) neither hides nor fakes a row.
    void channelTextElsewhere()
    {
        QByteArray bytes = HistoryFixture::headerLine();
        bytes += "1,13,2026/12/10 10:00:00,13,地デジ,13,13,13,13,13,13,13,13,13,1,1,1,1\n";
        bytes += "1,13,2026/12/10 10:01:00,14,地デジ,13,13,13,13,13,13,13,13,13,1,1,1,1\n";
        QVERIFY(HistoryFixture::writeFile(dayFile(1, "20261210.csv"), bytes));
        QCOMPARE(dates(readChannel(1, BandTerrestrial, "13").rows), QStringList({"2026/12/10 10:00:00"}));
    }

    // Device 10's folder is not device 1's: the number is compared whole. A missing folder is
    // an empty history, however many history files the working folder holds.
    void deviceFolders()
    {
        QVERIFY(HistoryFixture::writeFile(dayFile(1, "20261210.csv"),
                                          HistoryFixture::headerLine()
                                              + HistoryFixture::dataLine(1, "2026/12/10 01:00:00", "13", "地デジ", "1", "1", "1")));
        QVERIFY(HistoryFixture::writeFile(dayFile(10, "20261210.csv"),
                                          HistoryFixture::headerLine()
                                              + HistoryFixture::dataLine(10, "2026/12/10 10:00:00", "13", "地デジ", "1", "1", "1")
                                              + HistoryFixture::dataLine(10, "2026/12/10 10:10:00", "13", "地デジ", "1", "1", "1")));
        QCOMPARE(readChannel(1, BandTerrestrial, "13").rows.size(), 1);
        QCOMPARE(readChannel(10, BandTerrestrial, "13").rows.size(), 2);
        QCOMPARE(HistoryFileReader::deviceFolder(10), HistoryFixture::folder(10));

        // A working folder full of the channel's lines.
        const QString work = root->path() + QStringLiteral("/work");
        QVERIFY(HistoryFixture::writeFile(work + QStringLiteral("/20261210.csv"),
                                          HistoryFixture::headerLine()
                                              + HistoryFixture::dataLine(3, "2026/12/10 10:00:00", "13", "地デジ", "1", "1", "1")));
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work));
        const HistoryFileReader::Result missing = readChannel(3, BandTerrestrial, "13");
        const HistoryFileReader::Result notANumber = readChannel(0, BandTerrestrial, "13");
        QDir::setCurrent(previous);
        QVERIFY(HistoryFileReader::deviceFolder(3).isEmpty());
        QVERIFY(missing.rows.isEmpty() && missing.dates.isEmpty() && missing.unreadableFiles.isEmpty());
        QVERIFY(notANumber.rows.isEmpty());

        // Neither a folder whose number is no number nor a missing root lists anything.
        QVERIFY(QDir().mkpath(root->path() + QStringLiteral("/InternalReadOnly/INDIVIDUAL_LOG/機器Nox")));
        QVERIFY(HistoryFileReader::deviceFolder(0).isEmpty());
        QDir(root->path() + QStringLiteral("/InternalReadOnly")).removeRecursively();
        QVERIFY(HistoryFileReader::deviceFolder(1).isEmpty());
    }

    // Files are taken by "csv" anywhere in their names, oldest first; one that cannot be
    // opened is reported by its place in the listing and the others are still read.
    void fileSelection()
    {
        const QByteArray header = HistoryFixture::headerLine();
        const auto line = [](const char *dateTime) {
            return HistoryFixture::dataLine(1, dateTime, "13", "地デジ", "1", "1", "1");
        };
        QVERIFY(HistoryFixture::writeFile(dayFile(1, "20261201.csv"), header + line("2026/12/01 00:00:00")));
        QVERIFY(HistoryFixture::writeFile(dayFile(1, "20261202.CSV"), header + line("2026/12/02 00:00:00")));
        QVERIFY(HistoryFixture::writeFile(dayFile(1, "20261203.csv.bak"), header + line("2026/12/03 00:00:00")));
        QVERIFY(HistoryFixture::writeFile(dayFile(1, "20261204.txt"), header + line("2026/12/04 00:00:00")));
        QVERIFY(QDir().mkpath(dayFile(1, "20261205.csv")));
        QVERIFY(HistoryFixture::writeFile(dayFile(1, "20261206.csv"), header + line("2026/12/06 00:00:00")));

        const HistoryFileReader::Result result = readChannel(1, BandTerrestrial, "13");
        QCOMPARE(result.dates, QStringList({"2026/12/01", "2026/12/02", "2026/12/03", "2026/12/06"}));
        // ".", "..", then the six entries by name: the folder is the seventh.
        QCOMPARE(result.unreadableFiles, QVector<int>({7}));
    }

    // Lines across the reader's blocks, a line longer than a block, many files read at once:
    // every row arrives once and in order.
    void largeFiles()
    {
        const QVector<HistoryFixture::Channel> channels = HistoryFixture::hundredChannels();
        const qint64 lines = HistoryFixture::generate(4, channels, QDate(2026, 1, 30), 12, 240);
        QCOMPARE(lines, qint64(12 * 240 * 100));
        QByteArray longLine = HistoryFixture::headerLine();
        longLine += "1," + QByteArray(5 * 1024 * 1024, 'n') + ",2026/02/11 00:00:00,13,地デジ,1,2,3,4,5,6,7,8,9,1,1,1,1\n";
        QVERIFY(HistoryFixture::writeFile(dayFile(4, "20260211a.csv"), longLine));

        const HistoryFileReader::Result result = readChannel(4, BandTerrestrial, "13");
        QCOMPARE(result.rows.size(), 12 * 240 + 1);
        QCOMPARE(result.rows.first().date, QStringLiteral("2026/02/11 00:00:00"));
        QCOMPARE(result.rows.first().level, QStringLiteral("2"));
        QCOMPARE(result.dates.size(), 13);
        QCOMPARE(result.dates.first(), QStringLiteral("2026/01/30"));
        for (int i = 1; i < result.rows.size(); ++i)
            QVERIFY2(result.rows.at(i - 1).date > result.rows.at(i).date, qPrintable(result.rows.at(i).date));
        QCOMPARE(readChannel(4, BandCatv, "C14").rows.size(), 12 * 240);
    }

private:
    QScopedPointer<QTemporaryDir> root;
};

QTEST_GUILESS_MAIN(TestHistoryFileReader)
#include "tst_historyfilereader.moc"
