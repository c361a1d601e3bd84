// ctest-label: resultlist
// The operator's result and error saves from the result list: what is selected, in which
// order, and the bytes of the Shift-JIS files; the dialog's file URL; failed writes.

#include "ResultListFixture.h"
#include "screens/ResultSaveWriter.h"
#include "support/TestPaths.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

ChannelResultRow result(int band, const QString &channel, const QString &time, const QString &level,
                        const QString &mer, const QString &ber, const QString &hikari,
                        const QString &modulation, const QString &layer, const QString &standard,
                        bool converted)
{
    ChannelResultRow r;
    r.bandTabIndex = band;
    r.channel = channel;
    r.dateTime = time;
    r.level = level;
    r.merCn = mer;
    r.ber = ber;
    r.hikariLevel = hikari;
    r.modulation = modulation;
    r.layer = layer;
    r.broadcastStandard = standard;
    r.convertedCn = converted;
    return r;
}

AlertRecord record(const QString &band, const QString &channel, const QString &time, const QString &level,
                   const QString &mer, const QString &ber, const QString &hikari, const QString &merLimit,
                   bool levelError, bool merError, bool berError, bool hikariError, bool connection)
{
    AlertRecord a;
    a.band = band;
    a.channel = channel;
    a.dateTime = time;
    a.level = level;
    a.merCn = mer;
    a.ber = ber;
    a.hikariLevel = hikari;
    a.levelMin = QStringLiteral("40");
    a.levelMax = QStringLiteral("80");
    a.merCnThreshold = merLimit;
    a.berThreshold = merLimit == QLatin1String("18") ? QStringLiteral("1.0E-5") : QStringLiteral("1.0E-4");
    a.hikariLevelMin = QStringLiteral("-10");
    a.hikariLevelMax = QStringLiteral("0");
    a.levelError = levelError;
    a.merCnError = merError;
    a.berError = berError;
    a.hikariLevelError = hikariError;
    a.connectionError = connection;
    return a;
}

QString expectedFile(const QString &name)
{
    return TestPaths::sourceDir() + QStringLiteral("/tests/screens/data/") + name;
}

} // namespace

class TestResultListSaves : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_fx.reset(new ResultListFixture);
        QVERIFY(m_fx->prepare());
        // Three devices: 2 channels, 1 channel, 2 channels; nothing measures.
        LevelChecker *one = m_fx->addDevice(QStringLiteral("本社"), QStringLiteral("127.0.0.2"));
        ResultListFixture::addChannel(one, 0, QStringLiteral("13"), 473143);
        ResultListFixture::addChannel(one, 1, QStringLiteral("BS1"), 1049480);
        LevelChecker *two = m_fx->addDevice(QStringLiteral("支社"), QStringLiteral("127.0.0.3"));
        ResultListFixture::addChannel(two, 5, QStringLiteral("C24"), 231000, 0, QStringLiteral("3"));
        LevelChecker *three = m_fx->addDevice(QStringLiteral("中継局"), QStringLiteral("127.0.0.4"));
        ResultListFixture::addChannel(three, 8, QStringLiteral("CH1"), 1000000, 11200000);
        ResultListFixture::addChannel(three, 4, QStringLiteral("CH2"), 1613810);

        const QString t = QStringLiteral("2026/12/10 ");
        one->addMeasurementHistory(result(0, "13", t + "09:15:03", "65.2", "30.1", "<1.0E-8", "---", "64QAM", "A", "ISDBT", true), 0);
        one->addMeasurementHistory(result(0, "13", t + "09:20:03", "64.8", "29.7", "<1.0E-8", "---", "64QAM", "A", "ISDBT", false), 0);
        one->addMeasurementHistory(result(1, "BS1", t + "09:15:10", "70.0", "15.2", "2.0E-5", "---", "8PSK", "B", "ISDBS", true), 1);
        two->addMeasurementHistory(result(5, "C24", t + "09:16:00", "68.0", "35.0", "---", "-3.5", "256QAM", "---", "ISDBC", true), 0);
        three->addMeasurementHistory(result(8, "CH1", t + "09:17:00", "55.5", "12.0", "1.0E-3", "---", "QPSK", "X", "DVBS", false), 0);
        three->addMeasurementHistory(result(4, "CH2", t + "09:18:00", ">90.0", "---", "---", "---", "8PSK", "", "ISDBS", false), 1);

        one->addAlertRecord(record("BS", "BS1", t + "09:15:10", "70.0", "15.2", "2.0E-5", "---", "18", false, true, true, false, false), 1);
        two->addAlertRecord(record("CATV", "C24", t + "09:16:00", "---", "---", "---", "---", "25", true, true, true, true, true), 0);
        two->addAlertRecord(record("CATV", "C24", t + "09:21:00", "38.5", "35.0", "---", "-12.0", "25", true, false, false, true, false), 0);
        three->addAlertRecord(record("JCSAT-3A", "CH1", t + "09:17:00", "55.5", "12.0", "1.0E-3", "---", "18", false, true, true, false, false), 0);

        m_handler = m_fx->createHandler();
        m_model = m_fx->model();
        QVERIFY(m_model);
        QCOMPARE(m_model->rowCount(), 3 + 2 + 1 + 2);
    }

    void cleanup()
    {
        m_fx.reset();
    }

    // Device 1 ticked by its top row, device 3 by its two channel rows, device 2 not; the
    // list shown in descending order. The file lists devices 1 and 3 in plan order.
    void channelSaveListsTickedChannelsInDeviceOrder()
    {
        m_handler->onCheckBoxClicked(m_fx->topRow(1));
        m_handler->onCheckBoxClicked(m_fx->topRow(3) + 1);
        m_handler->onCheckBoxClicked(m_fx->topRow(3) + 2);
        m_handler->onDeviceNoSort(0);
        QCOMPARE(m_model->row(0).no, QStringLiteral("3"));

        QCOMPARE(ResultSaveWriter::tickedChannelRowCount(*m_model), 4);
        const QString path = m_fx->root() + QStringLiteral("/saved.csv");
        QCOMPARE(ResultSaveWriter::writeFile(path, ResultSaveWriter::channelResultHeader(),
                                             ResultSaveWriter::channelResultLines(*m_model, *m_fx->devices())),
                 ResultSaveWriter::Outcome::Written);
        QCOMPARE(ResultListFixture::readFile(path),
                 ResultListFixture::readFile(expectedFile(QStringLiteral("resultlist_channel_save.csv"))));
    }

    // Rows ticked in the popup of devices 2 and 1, the list sorted with errors first.
    void errorSaveListsPopupTickedChannels()
    {
        m_handler->onDeviceNoSort(0);
        m_handler->onStatusPopupCheckBoxChange(m_fx->topRow(2) + 1, true, 1);
        m_handler->onStatusPopupCheckBoxChange(m_fx->topRow(1) + 2, true, 1);

        QCOMPARE(ResultSaveWriter::tickedPopupRowCount(*m_model), 2);
        const QString path = m_fx->root() + QStringLiteral("/errors.csv");
        QCOMPARE(ResultSaveWriter::writeFile(path, ResultSaveWriter::errorHeader(),
                                             ResultSaveWriter::errorLines(*m_model, *m_fx->devices())),
                 ResultSaveWriter::Outcome::Written);
        QCOMPARE(ResultListFixture::readFile(path),
                 ResultListFixture::readFile(expectedFile(QStringLiteral("resultlist_error_save.csv"))));
    }

    // Only ticked channel rows count: a top row ticked alone does not, nor does a device's
    // channel that has no stored result (the file then holds its header alone).
    void selectionEdges()
    {
        QCOMPARE(ResultSaveWriter::tickedChannelRowCount(*m_model), 0);
        m_handler->onCheckBoxChange(m_fx->topRow(2), true, 1);
        QCOMPARE(ResultSaveWriter::tickedChannelRowCount(*m_model), 0);
        QCOMPARE(ResultSaveWriter::tickedPopupRowCount(*m_model), 0);

        LevelChecker *two = m_fx->devices()->device(1);
        two->clearMeasurementHistory();
        m_handler->onCheckBoxClicked(m_fx->topRow(2) + 1);
        QCOMPARE(ResultSaveWriter::tickedChannelRowCount(*m_model), 1);
        QVERIFY(ResultSaveWriter::channelResultLines(*m_model, *m_fx->devices()).isEmpty());
        const QString path = m_fx->root() + QStringLiteral("/empty.csv");
        QCOMPARE(ResultSaveWriter::writeFile(path, ResultSaveWriter::channelResultHeader(), {}),
                 ResultSaveWriter::Outcome::Written);
        QCOMPARE(ResultListFixture::readShiftJis(path), ResultSaveWriter::channelResultHeader() + QLatin1Char('\n'));
    }

    // A stored history of 30 results gives 30 lines in stored order.
    void everyStoredResultIsOneLine()
    {
        LevelChecker *two = m_fx->devices()->device(1);
        two->clearMeasurementHistory();
        for (int i = 0; i < 30; ++i)
            two->addMeasurementHistory(result(5, "C24", QStringLiteral("2026/12/10 10:%1:00").arg(i, 2, 10, QLatin1Char('0')),
                                              QString::number(60 + i), "35.0", "---", "---", "256QAM", "---", "ISDBC", false), 0);
        m_handler->onCheckBoxClicked(m_fx->topRow(2));
        const QStringList lines = ResultSaveWriter::channelResultLines(*m_model, *m_fx->devices());
        QCOMPARE(lines.size(), 30);
        for (int i = 0; i < 30; ++i)
            QVERIFY(lines.at(i).startsWith(QStringLiteral("2,支社,2026/12/10 10:%1:00,C24,CATV,231.000,%2,")
                                               .arg(i, 2, 10, QLatin1Char('0')).arg(60 + i)));
    }

    void errorItems_data()
    {
        QTest::addColumn<bool>("level");
        QTest::addColumn<bool>("mer");
        QTest::addColumn<bool>("ber");
        QTest::addColumn<bool>("hikari");
        QTest::addColumn<bool>("connection");
        QTest::addColumn<QString>("expected");
        QTest::newRow("connection wins") << true << false << false << false << true << QStringLiteral("接続エラー");
        QTest::newRow("mer and ber") << false << true << true << false << false << QStringLiteral("「MER/CN」「BER」");
        QTest::newRow("all four") << true << true << true << true << false
                                  << QStringLiteral("「レベル」「MER/CN」「BER」「光レベル」");
        QTest::newRow("none") << false << false << false << false << false << QString();
    }

    void errorItems()
    {
        QFETCH(bool, level);
        QFETCH(bool, mer);
        QFETCH(bool, ber);
        QFETCH(bool, hikari);
        QFETCH(bool, connection);
        QFETCH(QString, expected);
        AlertRecord a;
        a.levelError = level;
        a.merCnError = mer;
        a.berError = ber;
        a.hikariLevelError = hikari;
        a.connectionError = connection;
        QCOMPARE(ResultSaveWriter::errorItems(a), expected);
    }

    // What the save dialog hands over is a URL; its escapes are decoded. Anything else is
    // taken as the path it is.
    void dialogTextToPath_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("path");
        QTest::newRow("file url") << "file:///tmp/result.csv" << "/tmp/result.csv";
        QTest::newRow("escaped japanese") << "file:///tmp/%E6%B8%AC%E5%AE%9A%20%E7%B5%90%E6%9E%9C.csv"
                                          << QStringLiteral("/tmp/測定 結果.csv");
        QTest::newRow("escaped hash") << "file:///tmp/a%23b.csv" << "/tmp/a#b.csv";
        QTest::newRow("plain path") << "/tmp/plain.csv" << "/tmp/plain.csv";
        QTest::newRow("windows path") << "C:/Users/op/result.csv" << "C:/Users/op/result.csv";
    }

    void dialogTextToPath()
    {
        QFETCH(QString, text);
        QFETCH(QString, path);
        QCOMPARE(ResultSaveWriter::localPath(text), path);
    }

    // A folder that does not exist, or a folder as the file: not opened, nothing written.
    void openFailures()
    {
        QCOMPARE(ResultSaveWriter::writeFile(m_fx->root() + QStringLiteral("/missing/x.csv"),
                                             ResultSaveWriter::errorHeader(), {}),
                 ResultSaveWriter::Outcome::OpenFailed);
        QCOMPARE(ResultSaveWriter::writeFile(m_fx->root(), ResultSaveWriter::errorHeader(), {}),
                 ResultSaveWriter::Outcome::OpenFailed);
        QCOMPARE(ResultSaveWriter::writeFile(QString(), ResultSaveWriter::errorHeader(), {}),
                 ResultSaveWriter::Outcome::OpenFailed);
    }

    // A write that does not go through (here: the process may write only 64 bytes per file)
    // is a failure, and an earlier file of that name stays as it was.
    void writeFailureKeepsTheOldFile()
    {
        const QString path = m_fx->root() + QStringLiteral("/kept.csv");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old\n");
        }
        m_handler->onCheckBoxClicked(m_fx->topRow(1));
        const QStringList lines = ResultSaveWriter::channelResultLines(*m_model, *m_fx->devices());
        QVERIFY(!lines.isEmpty());

        struct rlimit previous;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        auto *const previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = previous;
        small.rlim_cur = 64;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const ResultSaveWriter::Outcome outcome =
            ResultSaveWriter::writeFile(path, ResultSaveWriter::channelResultHeader(), lines);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(int(outcome), int(ResultSaveWriter::Outcome::WriteFailed));
        QCOMPARE(ResultListFixture::readFile(path), QByteArray("old\n"));
    }

private:
    std::unique_ptr<ResultListFixture> m_fx;
    NotifyResponse *m_handler = nullptr;
    MeasureResultModel *m_model = nullptr;
};

QTEST_MAIN(TestResultListSaves)
#include "tst_resultlistsaves.moc"
