// ctest-label: frame
// Channel-plan files: the device reader (measured rows, device frequency, CATV variants),
// the screen reader (every row), the writer, promotion of the pending plan, and loading a
// plan into a device.
#include "monitor/LevelChecker.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kHeader =
    "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring";

QString summary(const ChannelSettingRow &r)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(r.bandTabIndex)
        .arg(r.channel)
        .arg(r.frequency)
        .arg(r.broadbandSystem)
        .arg(r.localFrequency)
        .arg(r.powerSupply);
}

QString summary(const ChannelSettingEntry &e)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
        .arg(e.bandTabIndex)
        .arg(e.channel)
        .arg(e.frequency)
        .arg(e.broadbandSystem)
        .arg(e.localFrequency)
        .arg(e.powerSupply)
        .arg(e.measuring ? 1 : 0);
}

template <typename Row>
QStringList summaries(const QVector<Row> &rows)
{
    QStringList list;
    for (const Row &row : rows)
        list << summary(row);
    return list;
}

} // namespace

class TestChannelSettingFile : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(root.isValid());
        qputenv("NRT52_ROOT", root.path().toUtf8());
    }

    void fileNames()
    {
        const QString folder = root.path() + "/InternalReadOnly/CheckerSettings/MeasurementChannelSetting";
        QCOMPARE(ChannelSettingFile::folderPath(), folder);
        QCOMPARE(ChannelSettingFile::filePath(3), folder + "/3.csv");
        QCOMPARE(ChannelSettingFile::filePath(12, ChannelSettingFile::Copy::Working), folder + "/12_sub.csv");
        QCOMPARE(ChannelSettingFile::filePath(12, ChannelSettingFile::Copy::Pending), folder + "/12_new.csv");
        QCOMPARE(ChannelSettingFile::fileName(7), QStringLiteral("7.csv"));
        QCOMPARE(ChannelSettingFile::templatePath(), folder + "/user_datalogger_setting_template.csv");
    }

    void readMeasured_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("channels");
        QTest::addColumn<int>("c24");
        QTest::addColumn<int>("ch8");

        QTest::newRow("measuring field decides, CR LF")
            << kHeader + "\r\n"
               "0,13,473143,0,0,0,1\r\n"
               "0,14,479143,0,0,0,0\r\n"
               "0,15,485143,0,0,0,00\r\n"
               "0,16,491143,0,0,1, 0\r\n"
               "0,17,497143,0,0,0,x\r\n"
            << QStringList { "0|13|473143|0|0|0", "0|15|485143|0|0|0", "0|16|491143|0|0|1",
                             "0|17|497143|0|0|0" }
            << 0 << 0;

        QTest::newRow("header only") << kHeader + "\n" << QStringList() << 0 << 0;
        QTest::newRow("empty file") << QByteArray() << QStringList() << 0 << 0;

        QTest::newRow("local oscillator taken off")
            << kHeader + "\n"
               "8,JC-1,11727480,0,10678000,1,1\n"
               "1,BS1,1049480,0,0,0,1\n"
            << QStringList { "8|JC-1|1049480|0|10678000|1", "1|BS1|1049480|0|0|0" } << 0 << 0;

        QTest::newRow("CATV variants 1")
            << kHeader + "\n"
               "5,C24,233000,3,0,0,1\n"
               "5,8,191000,3,0,0,1\n"
            << QStringList { "5|C24|233000|3|0|0", "5|8|191000|3|0|0" } << 1 << 1;

        QTest::newRow("CATV variants 0, later rows win")
            << kHeader + "\n"
               "5,C24,233000,3,0,0,1\n"
               "5,C24,231143,0,0,0,1\n"
               "5,8,195000,3,0,0,1\n"
            << QStringList { "5|C24|233000|3|0|0", "5|C24|231143|0|0|0", "5|8|195000|3|0|0" } << 0 << 0;

        QTest::newRow("variants only from measured CATV rows")
            << kHeader + "\n"
               "5,C24,233000,3,0,0,0\n"
               "0,C24,233000,0,0,0,1\n"
               "5,8,191000,3,0,0,0\n"
            << QStringList { "0|C24|233000|0|0|0" } << 0 << 0;

        QTest::newRow("short, blank and leading lines, no last line end")
            << "\n"
               "0,1,2\n"
               + kHeader + "\n"
               "\n"
               "0,13,473143\n"
               "   \n"
               "0,20,515143,0,0,0,1"
            << QStringList { "0|20|515143|0|0|0" } << 0 << 0;

        QTest::newRow("byte-order mark, first long line is the header")
            << QByteArray("\xEF\xBB\xBF" "0,13,473143,0,0,0,1\n0,14,479143,0,0,0,1\n")
            << QStringList { "0|14|479143|0|0|0" } << 0 << 0;

        QTest::newRow("numbers that are none read as 0")
            << kHeader + "\n"
               "x,13,abc,ISDBT,--,y,1\n"
               "-1,UL 8,-5000,0,0,0,1\n"
            << QStringList { "0|13|0|ISDBT|0|0", "-1|UL 8|-5000|0|0|0" } << 0 << 0;

        // A NUL byte is a character like any other: the file goes on after it.
        QTest::newRow("NUL bytes in the header and a row")
            << QByteArray("'BandTabIndex,Channel,Freq\0uency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n"
                          "0,13,473143,0,0,0,1\0\n"
                          "0,20,515143,0,0,0,1\n", 137)
            << QStringList { "0|13|473143|0|0|0", "0|20|515143|0|0|0" } << 0 << 0;

        QTest::newRow("extra fields ignored")
            << kHeader + ",extra\n"
               "17,FM 9,80000,0,0,0,1,more,fields\n"
            << QStringList { "17|FM 9|80000|0|0|0" } << 0 << 0;
    }

    void readMeasured()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, channels);
        QFETCH(int, c24);
        QFETCH(int, ch8);

        const QString path = ChannelSettingFile::filePath(1);
        QVERIFY(TestFiles::writeBytes(path, content));
        MeasuredChannelPlan plan;
        QVERIFY(ChannelSettingFile::readMeasured(path, &plan));
        QCOMPARE(summaries(plan.channels), channels);
        QCOMPARE(plan.c24FrequencyType, c24);
        QCOMPARE(plan.ch8FrequencyType, ch8);
    }

    // A plan without C24 or channel 8 gets the variants 0, whatever an earlier device's
    // plan held.
    void variantsStartAtZeroForEveryPlan()
    {
        QVERIFY(TestFiles::writeBytes(ChannelSettingFile::filePath(1),
                           kHeader + "\n5,C24,233000,3,0,0,1\n5,8,191000,3,0,0,1\n"));
        QVERIFY(TestFiles::writeBytes(ChannelSettingFile::filePath(2), kHeader + "\n0,13,473143,0,0,0,1\n"));

        MeasuredChannelPlan first;
        MeasuredChannelPlan second;
        QVERIFY(ChannelSettingFile::readMeasured(ChannelSettingFile::filePath(1), &first));
        QVERIFY(ChannelSettingFile::readMeasured(ChannelSettingFile::filePath(2), &second));
        QCOMPARE(first.c24FrequencyType, 1);
        QCOMPARE(first.ch8FrequencyType, 1);
        QCOMPARE(second.c24FrequencyType, 0);
        QCOMPARE(second.ch8FrequencyType, 0);
    }

    void missingFileReadsNothing()
    {
        MeasuredChannelPlan plan;
        plan.channels.append(ChannelSettingRow());
        plan.c24FrequencyType = 1;
        QVERIFY(!ChannelSettingFile::readMeasured(ChannelSettingFile::filePath(49), &plan));
        QVERIFY(plan.channels.isEmpty());
        QCOMPARE(plan.c24FrequencyType, 0);

        QVector<ChannelSettingEntry> rows { ChannelSettingEntry() };
        QVERIFY(!ChannelSettingFile::read(ChannelSettingFile::filePath(49), &rows));
        QVERIFY(rows.isEmpty());
    }

    void readEveryRow()
    {
        const QString path = ChannelSettingFile::filePath(2, ChannelSettingFile::Copy::Working);
        QVERIFY(TestFiles::writeBytes(path, kHeader + "\r\n"
                                           "0,13,473143,0,0,0,1\r\n"
                                           "0,14,479143,0,0,0,0\r\n"
                                           "0,15,485143,0,0,0,00\r\n"
                                           "0,16,491143,0,0,1,x\r\n"
                                           "0,17,497143,0,0,0,2\r\n"
                                           "short,line\r\n"
                                           "\r\n"
                                           "8,JC-1,11727480,0,10678000,1,1"));
        QVector<ChannelSettingEntry> rows;
        QVERIFY(ChannelSettingFile::read(path, &rows));
        QCOMPARE(summaries(rows),
                 (QStringList { "0|13|473143|0|0|0|1", "0|14|479143|0|0|0|0", "0|15|485143|0|0|0|0",
                                "0|16|491143|0|0|1|0", "0|17|497143|0|0|0|1",
                                "8|JC-1|11727480|0|10678000|1|1" }));
    }

    void writeByteForByte()
    {
        ChannelSettingEntry catv;
        catv.bandTabIndex = 5;
        catv.channel = QStringLiteral("C24");
        catv.frequency = QStringLiteral("233000");
        catv.broadbandSystem = 3;
        catv.measuring = true;
        ChannelSettingEntry satellite;
        satellite.bandTabIndex = 8;
        satellite.channel = QStringLiteral("JC-1");
        satellite.frequency = QStringLiteral("11727480");
        satellite.localFrequency = 10678000;
        satellite.powerSupply = 1;
        ChannelSettingEntry upstream;
        upstream.bandTabIndex = 7;
        upstream.channel = QStringLiteral("UL 8");
        upstream.frequency = QStringLiteral("10070");
        upstream.measuring = true;

        const QString path = ChannelSettingFile::filePath(4, ChannelSettingFile::Copy::Pending);
        QVERIFY(QDir().mkpath(ChannelSettingFile::folderPath()));
        QVERIFY(ChannelSettingFile::write(path, { catv, satellite, upstream }));
        QCOMPARE(TestFiles::readBytes(path),
                 QByteArray("'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],"
                            "powerSupply,measuring\n"
                            "5,C24,233000,3,0,0,1\n"
                            "8,JC-1,11727480,0,10678000,1,0\n"
                            "7,UL 8,10070,0,0,0,1\n"));

        QVector<ChannelSettingEntry> back;
        QVERIFY(ChannelSettingFile::read(path, &back));
        QCOMPARE(summaries(back), summaries(QVector<ChannelSettingEntry> { catv, satellite, upstream }));
    }

    void writeEmptyPlanAndFailure()
    {
        const QString path = root.path() + "/plan.csv";
        QVERIFY(ChannelSettingFile::write(path, {}));
        QCOMPARE(TestFiles::readBytes(path), kHeader + "\n");

        QVERIFY(TestFiles::writeBytes(root.path() + "/blocker", "x"));
        QVERIFY(!ChannelSettingFile::write(root.path() + "/blocker/1_sub.csv", {}));
    }

    void promote_data()
    {
        QTest::addColumn<bool>("pending");
        QTest::addColumn<bool>("committed");
        QTest::addColumn<QByteArray>("result");

        QTest::newRow("pending replaces committed") << true << true << QByteArray("new");
        QTest::newRow("pending without committed") << true << false << QByteArray("new");
        QTest::newRow("no pending keeps committed") << false << true << QByteArray("old");
        QTest::newRow("neither") << false << false << QByteArray();
    }

    void promote()
    {
        QFETCH(bool, pending);
        QFETCH(bool, committed);
        QFETCH(QByteArray, result);

        const QString pendingPath = ChannelSettingFile::filePath(5, ChannelSettingFile::Copy::Pending);
        const QString committedPath = ChannelSettingFile::filePath(5);
        QFile::remove(pendingPath);
        QFile::remove(committedPath);
        if (pending)
            QVERIFY(TestFiles::writeBytes(pendingPath, "new"));
        if (committed)
            QVERIFY(TestFiles::writeBytes(committedPath, "old"));

        QVERIFY(ChannelSettingFile::promote(5));
        QVERIFY(!QFile::exists(pendingPath));
        QCOMPARE(QFile::exists(committedPath), pending || committed);
        QCOMPARE(TestFiles::readBytes(committedPath), result);
    }

    void removeCopyTouchesOnlyThatCopy()
    {
        using Copy = ChannelSettingFile::Copy;
        for (Copy copy : { Copy::Committed, Copy::Working, Copy::Pending })
            QVERIFY(TestFiles::writeBytes(ChannelSettingFile::filePath(6, copy), "x"));
        QVERIFY(TestFiles::writeBytes(AlertSettingFile::filePath(6, AlertSettingFile::Copy::Pending), "x"));

        QVERIFY(ChannelSettingFile::removeCopy(6, Copy::Working));
        QVERIFY(ChannelSettingFile::removeCopy(6, Copy::Working)); // nothing left is success
        QVERIFY(AlertSettingFile::removeCopy(6, AlertSettingFile::Copy::Pending));
        QVERIFY(!ChannelSettingFile::exists(6, Copy::Working));
        QVERIFY(!AlertSettingFile::exists(6, AlertSettingFile::Copy::Pending));
        QVERIFY(ChannelSettingFile::exists(6, Copy::Committed));
        QVERIFY(ChannelSettingFile::exists(6, Copy::Pending));

        // A folder in the file's place cannot be removed as a file.
        QVERIFY(QDir().mkpath(ChannelSettingFile::filePath(7, Copy::Pending)));
        QVERIFY(!ChannelSettingFile::removeCopy(7, Copy::Pending));
    }

    void applyToDevice()
    {
        LevelChecker device(1, QStringLiteral("A"), nullptr, 0, QString(), 0, QString(), QString(), 3);
        ChannelSettingRow stale;
        stale.channel = QStringLiteral("old");
        device.addChannelSetting(stale);
        device.addLatestResult(ChannelResultRow());

        MeasuredChannelPlan plan;
        ChannelSettingRow c24;
        c24.bandTabIndex = 5;
        c24.channel = QStringLiteral("C24");
        c24.frequency = 233000;
        c24.broadbandSystem = QStringLiteral("3");
        ChannelSettingRow bs;
        bs.bandTabIndex = 1;
        bs.channel = QStringLiteral("BS1");
        bs.frequency = 1049480;
        plan.channels = { c24, bs };
        plan.c24FrequencyType = 1;
        plan.ch8FrequencyType = 0;
        device.setCh8FrequencyType(1);

        ChannelSettingFile::applyTo(&device, plan);
        QCOMPARE(device.channelSettingCount(), 2);
        QCOMPARE(summary(device.channelSetting(0)), summary(c24));
        QCOMPARE(summary(device.channelSetting(1)), summary(bs));
        QCOMPARE(device.c24FrequencyType(), 1);
        QCOMPARE(device.ch8FrequencyType(), 0);
        for (int i = 0; i < 2; ++i) {
            const ChannelResultRow result = device.latestResult(i);
            QCOMPARE(result.bandTabIndex, plan.channels.at(i).bandTabIndex);
            QCOMPARE(result.channel, plan.channels.at(i).channel);
            QCOMPARE(result.dateTime, QString());
            QCOMPARE(result.level, QStringLiteral("---"));
            QCOMPARE(result.merCn, QStringLiteral("---"));
            QCOMPARE(result.ber, QStringLiteral("---"));
            QCOMPARE(result.hikariLevel, QString());
            QCOMPARE(result.broadcastStandard, QString());
            QCOMPARE(result.convertedCn, false);
        }
        QCOMPARE(device.findLatestResult(1, QStringLiteral("BS1")), 1);
        QCOMPARE(device.findLatestResult(0, QStringLiteral("old")), -1);

        ChannelSettingFile::applyTo(&device, MeasuredChannelPlan());
        QCOMPARE(device.channelSettingCount(), 0);
        QCOMPARE(device.findLatestResult(5, QStringLiteral("C24")), -1);
        ChannelSettingFile::applyTo(nullptr, plan);
    }

private:
    QTemporaryDir root;
};

QTEST_GUILESS_MAIN(TestChannelSettingFile)
#include "tst_channelsettingfile.moc"
