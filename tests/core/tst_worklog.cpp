// ctest-label: core
#include "core/SharedTypes.h"
#include "screens/WorkLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

Q_DECLARE_METATYPE(WorkLogEntry)

namespace {

WorkLogEntry entry(int screenId, int deviceNo, bool started = false, const QString &band = QString(),
                   const QString &channel = QString())
{
    WorkLogEntry e;
    e.screenId = screenId;
    e.deviceNo = deviceNo;
    e.started = started;
    e.band = band;
    e.channel = channel;
    return e;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The header as Windows writes it (code page 932), independent of Qt's codec.
const QByteArray kHeaderBytes = QByteArray::fromHex(
    "93fa8e9e2c91ce8fdb8b408aed4e6f2c8dec8bc6979a97f02c42414e442c4348414e4e454c") + "\r\n";

const QDateTime kMoment(QDate(2024, 1, 31), QTime(9, 15, 3));

} // namespace

class TestWorkLog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QTextCodec *m_sjis = nullptr;

    QString workLogFolder() const { return m_root.path() + QStringLiteral("/InternalReadOnly/WORK_LOG"); }
    QString fileOf(const QDate &date) const
    {
        return workLogFolder() + QLatin1Char('/') + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("NRT52_ROOT", m_root.path().toUtf8());
        m_sjis = QTextCodec::codecForName("Shift-JIS");
        QVERIFY(m_sjis);
    }

    void init()
    {
        // Every case starts without the folder: the writer creates it with its parents.
        QDir(m_root.path() + QStringLiteral("/InternalReadOnly")).removeRecursively();
    }

    void folder() { QCOMPARE(WorkLog::folderPath(), workLogFolder()); }

    void kinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<WorkLogEntry>("entry");
        QTest::addColumn<QString>("message");

        QTest::newRow("0 home") << 0 << entry(ScreenHome, 5) << ",ホーム画面へ遷移";
        QTest::newRow("0 main frame") << 0 << entry(ScreenMainFrame, 0) << ",メインフレーム画面へ遷移";
        QTest::newRow("0 result list") << 0 << entry(ScreenMeasurementResult, 0) << ",測定結果 一覧画面へ遷移";
        QTest::newRow("0 single channel") << 0 << entry(ScreenResultIndividual, 0) << ",測定結果 選択チャンネル詳細画面へ遷移";
        QTest::newRow("0 screen 1") << 0 << entry(ScreenNone, 0) << ",へ遷移";
        QTest::newRow("1") << 1 << entry(0, 3) << "機器No.3,追加";
        QTest::newRow("2") << 2 << entry(0, 1) << "機器No.1,名称を変更";
        QTest::newRow("3") << 3 << entry(0, 50) << "機器No.50,IPアドレスを変更";
        QTest::newRow("4") << 4 << entry(0, 4) << "機器No.4,同軸/光を変更";
        QTest::newRow("5") << 5 << entry(0, 5) << "機器No.5,光波長を変更";
        QTest::newRow("6") << 6 << entry(0, 6) << "機器No.6,サイクル間隔を変更";
        QTest::newRow("7") << 7 << entry(0, 7) << "機器No.7,アラート有効時間を変更";
        QTest::newRow("8") << 8 << entry(0, 8) << ",設定を適用";
        QTest::newRow("9") << 9 << entry(0, 9) << "機器No.9,測定チャンネル設定を変更";
        QTest::newRow("10") << 10 << entry(0, 10) << ",システム設定を変更";
        QTest::newRow("11 started") << 11 << entry(0, 3, true) << "機器No.3,測定を開始";
        QTest::newRow("11 stopped") << 11 << entry(0, 3, false) << "機器No.3,測定を停止";
        QTest::newRow("12 stopped") << 12 << entry(0, 3, false) << "機器No.3,停止状態で終了";
        QTest::newRow("12 started") << 12 << entry(0, 2, true) << "機器No.2,開始状態で終了";
        QTest::newRow("13") << 13 << entry(0, 12) << "機器No.12,自動で測定開始";
        QTest::newRow("14 BS") << 14 << entry(0, 3, false, "BS右旋", "BS1") << "機器No.3,エラーを解除,BS右旋,BS1";
        QTest::newRow("14 CATV") << 14 << entry(0, 1, false, "CATV", "C24") << "機器No.1,エラーを解除,CATV,C24";
        QTest::newRow("14 percent kept") << 14 << entry(0, 1, false, "%3", "%2") << "機器No.1,エラーを解除,%3,%2";
        QTest::newRow("14 empty") << 14 << entry(0, 1) << "機器No.1,エラーを解除,,";
        QTest::newRow("15") << 15 << entry(0, 0) << ",アプリケーションを起動";
        QTest::newRow("16") << 16 << entry(0, 0) << ",アプリケーションを終了";
        QTest::newRow("17") << 17 << entry(2, 3, true, "x", "y") << "";
        QTest::newRow("-1") << -1 << entry(2, 3) << "";
    }

    void kinds()
    {
        QFETCH(int, kind);
        QFETCH(WorkLogEntry, entry);
        QFETCH(QString, message);

        WorkLog::writeWorkLogAt(kMoment, entry, WorkLogKind(kind));
        const QByteArray bytes = readAll(workLogFolder() + QStringLiteral("/20240131.csv"));
        const QByteArray expected = kHeaderBytes
                                    + m_sjis->fromUnicode(QStringLiteral("2024/01/31 09:15:03,") + message)
                                    + "\r\n";
        QCOMPARE(bytes, expected);
        // Read back the way a Windows reader would: five columns at most.
        const QString line = m_sjis->toUnicode(bytes.mid(kHeaderBytes.size())).chopped(2);
        QVERIFY(line.split(QLatin1Char(',')).size() <= 5);
    }

    void homeScreenBytes()
    {
        WorkLog::writeWorkLogAt(kMoment, entry(ScreenHome, 0), WorkLogScreenChange);
        const QByteArray bytes = readAll(fileOf(kMoment.date()));
        QCOMPARE(bytes, kHeaderBytes + "2024/01/31 09:15:03,"
                            + QByteArray::fromHex("2c837a815b838089e696ca82d6914a88da") + "\r\n");
    }

    void headerOnlyInNewFile()
    {
        WorkLog::writeWorkLogAt(kMoment, entry(0, 0), WorkLogApplicationStarted);
        WorkLog::writeWorkLogAt(kMoment.addSecs(1), entry(0, 3, false, "BS右旋", "BS1"), WorkLogErrorCleared);
        WorkLog::writeWorkLogAt(kMoment.addSecs(2), entry(0, 0), WorkLogApplicationEnded);

        const QByteArray bytes = readAll(fileOf(kMoment.date()));
        QVERIFY(bytes.startsWith(kHeaderBytes));
        QCOMPARE(bytes.count(kHeaderBytes), 1);
        QCOMPARE(bytes.count("\r\n"), 4);
        QCOMPARE(bytes.count('\n'), 4);
        QVERIFY(bytes.contains("2024/01/31 09:15:04,"
                               + QByteArray::fromHex("8b408aed4e6f2e332c83478389815b82f089f08f9c2c4253894590f92c425331")
                               + "\r\n"));
        const QStringList lines = m_sjis->toUnicode(bytes).split(QStringLiteral("\r\n"));
        QCOMPARE(lines, (QStringList{QStringLiteral("日時,対象機器No,作業履歴,BAND,CHANNEL"),
                                     QStringLiteral("2024/01/31 09:15:03,,アプリケーションを起動"),
                                     QStringLiteral("2024/01/31 09:15:04,機器No.3,エラーを解除,BS右旋,BS1"),
                                     QStringLiteral("2024/01/31 09:15:05,,アプリケーションを終了"),
                                     QString()}));
    }

    // An existing file of the day, even one from another writer, gets no second header.
    void existingFileGetsNoHeader()
    {
        QVERIFY(QDir().mkpath(workLogFolder()));
        {
            QFile file(fileOf(kMoment.date()));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(kHeaderBytes + "2024/01/31 00:00:01,,x\r\n");
        }
        WorkLog::writeWorkLogAt(kMoment, entry(0, 0), WorkLogSettingsApplied);
        const QByteArray bytes = readAll(fileOf(kMoment.date()));
        QCOMPARE(bytes.count(kHeaderBytes), 1);
        QVERIFY(bytes.endsWith("2024/01/31 09:15:03," + m_sjis->fromUnicode(QStringLiteral(",設定を適用")) + "\r\n"));
    }

    // The moment that names the file also stamps the line: the lines on either side of
    // midnight land in the files of their own dates.
    void midnight()
    {
        const QDateTime beforeMidnight(QDate(2024, 1, 31), QTime(23, 59, 59, 999));
        const QDateTime afterMidnight(QDate(2024, 2, 1), QTime(0, 0, 0));
        WorkLog::writeWorkLogAt(beforeMidnight, entry(0, 1, true), WorkLogMeasurementStartStop);
        WorkLog::writeWorkLogAt(afterMidnight, entry(0, 2, true), WorkLogMeasurementStartStop);

        const QString jan = m_sjis->toUnicode(readAll(fileOf(beforeMidnight.date())));
        const QString feb = m_sjis->toUnicode(readAll(fileOf(afterMidnight.date())));
        QCOMPARE(jan, QStringLiteral("日時,対象機器No,作業履歴,BAND,CHANNEL\r\n2024/01/31 23:59:59,機器No.1,測定を開始\r\n"));
        QCOMPARE(feb, QStringLiteral("日時,対象機器No,作業履歴,BAND,CHANNEL\r\n2024/02/01 00:00:00,機器No.2,測定を開始\r\n"));
    }

    void currentTime()
    {
        const QDateTime before = QDateTime::currentDateTime();
        WorkLog::writeWorkLog(entry(0, 0), WorkLogApplicationStarted);
        const QDateTime after = QDateTime::currentDateTime();

        // The call may straddle midnight; take whichever file of the two dates exists.
        QString path = fileOf(after.date());
        if (!QFile::exists(path))
            path = fileOf(before.date());
        const QStringList lines = m_sjis->toUnicode(readAll(path)).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3);
        const QDateTime stamp = QDateTime::fromString(lines.at(1).section(QLatin1Char(','), 0, 0),
                                                      QStringLiteral("yyyy/MM/dd hh:mm:ss"));
        QVERIFY(stamp.isValid());
        QVERIFY(stamp >= before.addSecs(-1) && stamp <= after);
        QCOMPARE(stamp.date().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv"), QFileInfo(path).fileName());
        QVERIFY(lines.at(1).endsWith(QStringLiteral(",,アプリケーションを起動")));
    }

    // Texts without a Shift-JIS form become "?"; the line is still written whole.
    void unmappableCharacters()
    {
        const QString band = QStringLiteral("CATV\u2212A");             // minus sign
        const QString channel = QStringLiteral("C13\u301C") + QString::fromUcs4(U"\U0001F4E1"); // wave dash, emoji
        WorkLog::writeWorkLogAt(kMoment, entry(0, 4, false, band, channel), WorkLogErrorCleared);
        WorkLog::writeWorkLogAt(kMoment.addSecs(1), entry(0, 0), WorkLogApplicationEnded);

        const QByteArray bytes = readAll(fileOf(kMoment.date()));
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines.at(1).endsWith("\r"));
        const QString errorLine = m_sjis->toUnicode(lines.at(1).chopped(1));
        QVERIFY2(errorLine.startsWith(QStringLiteral("2024/01/31 09:15:03,機器No.4,エラーを解除,CATV?A,C13?")),
                 qPrintable(errorLine));
        QVERIFY(!errorLine.contains(QChar(0xFFFD)));
        QCOMPARE(m_sjis->toUnicode(lines.at(2)), QStringLiteral("2024/01/31 09:15:04,,アプリケーションを終了\r"));
    }

    void folderCannotBeCreated()
    {
        // A file in the folder's place: the line is lost silently, nothing crashes.
        QVERIFY(QDir().mkpath(m_root.path() + QStringLiteral("/InternalReadOnly")));
        {
            QFile blocker(workLogFolder());
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        WorkLog::writeWorkLogAt(kMoment, entry(0, 0), WorkLogApplicationStarted);
        QVERIFY(QFileInfo(workLogFolder()).isFile());
        QCOMPARE(QFileInfo(workLogFolder()).size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestWorkLog)
#include "tst_worklog.moc"
