// ctest-label: results
// The daily logs held open between results follow their paths from one result to the next:
// the first result of a new day goes to the new day's files with their head lines; a file
// replaced by another one, a folder further up the path renamed away, or a new result folder
// in the settings file is taken by the very next result, with no event processing between.

#include "ResultListHost.h"
#include "monitor/ResultHistoryLogWriter.h"

#include <QDir>
#include <QtTest>

#include <cstdio>

namespace {
QStringList lines(const QString &text)
{
    QStringList l = text.split(QLatin1Char('\n'));
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

const QDate kDay(2026, 12, 10);
}

class TestResultLogDay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_host.prepare());
        LevelChecker *device = m_host.addDevice(QStringLiteral("受信点A"));
        QVERIFY(device);
        ResultListHost::addChannel(device, 0, "13", 473142);
        m_handler = m_host.createHandler();
        m_handler->setClock([this] { return m_now; });
    }

    void cleanupTestCase() { m_host.teardown(); }

    // The last second of a day and the first of the next: each result, its error line
    // included, goes to the file of its own day, and the new day's file starts with its head.
    void resultsAcrossMidnight()
    {
        m_now = QDateTime(kDay, QTime(23, 59, 59));
        store("2026/12/10 23:59:58", "65.2");
        store("2026/12/10 23:59:59", "30.0");
        m_now = QDateTime(kDay.addDays(1), QTime(0, 0, 0));
        store("2026/12/11 00:00:00", "30.0");

        const QStringList before = lines(ResultListHost::readShiftJis(m_host.resultLogPath(1, kDay)));
        const QStringList after = lines(ResultListHost::readShiftJis(m_host.resultLogPath(1, kDay.addDays(1))));
        QCOMPARE(before.size(), 5 + 2);
        QCOMPARE(after.size(), 5 + 1);
        QCOMPARE(after.at(0), QStringLiteral("日付,2026/12/11"));
        QCOMPARE(after.at(1), QStringLiteral("時刻,00:00:00"));
        QVERIFY(after.last().startsWith(QStringLiteral("2026/12/11 00:00:00")));
        QCOMPARE(lines(ResultListHost::readShiftJis(m_host.errorLogPath(1, kDay))).size(), 1 + 1);
        QCOMPARE(lines(ResultListHost::readShiftJis(m_host.errorLogPath(1, kDay.addDays(1)))).size(), 1 + 1);
        QCOMPARE(lines(QString::fromUtf8(ResultListHost::readFile(m_host.historyLogPath(1, kDay)))).size(), 1 + 2);
        QCOMPARE(lines(QString::fromUtf8(ResultListHost::readFile(m_host.historyLogPath(1, kDay.addDays(1))))).size(),
                 1 + 1);
    }

    // Another file renamed onto the open one's path: the next line is appended to it.
    void replacedFileTakesTheNextLine()
    {
        m_now = QDateTime(kDay.addDays(2), QTime(8, 0, 0));
        store("2026/12/12 07:59:59", "65.2");
        store("2026/12/12 08:00:00", "65.2");
        const QString path = m_host.resultLogPath(1, m_now.date());
        const QByteArray other = "other\n";
        QVERIFY(TestFiles::writeBytes(path + QStringLiteral(".new"), other));
        QVERIFY(::rename(QFile::encodeName(path + QStringLiteral(".new")).constData(),
                         QFile::encodeName(path).constData()) == 0);
        store("2026/12/12 08:00:01", "65.2");
        const QStringList now = lines(ResultListHost::readShiftJis(path));
        QCOMPARE(now.size(), 2);
        QCOMPARE(now.at(0), QStringLiteral("other"));
        QVERIFY(now.at(1).startsWith(QStringLiteral("2026/12/12 08:00:01")));
    }

    // The result folder's parent renamed away while its files are open: the next result
    // makes the folders and a new file with its head at the path.
    void folderAboveRenamedAway()
    {
        m_now = QDateTime(kDay.addDays(3), QTime(8, 0, 0));
        // Two results: the file's own making is past news by the rename.
        store("2026/12/13 07:59:59", "65.2");
        store("2026/12/13 08:00:00", "65.2");
        const QString path = m_host.resultLogPath(1, m_now.date());
        const QString logFolder = m_host.root() + QStringLiteral("/Data/LOG");
        QVERIFY(QDir().rename(logFolder, logFolder + QStringLiteral(".away")));
        store("2026/12/13 08:00:01", "65.2");
        const QStringList fresh = lines(ResultListHost::readShiftJis(path));
        QCOMPARE(fresh.size(), 5 + 1);
        QVERIFY(fresh.last().startsWith(QStringLiteral("2026/12/13 08:00:01")));
        const QString moved = QString(path).replace(QStringLiteral("/Data/LOG/"), QStringLiteral("/Data/LOG.away/"));
        QCOMPARE(lines(ResultListHost::readShiftJis(moved)).size(), 5 + 2);
    }

    // A new result folder in the settings file: the next result is written there.
    void newResultFolderTakesTheNextResult()
    {
        m_now = QDateTime(kDay.addDays(4), QTime(8, 0, 0));
        store("2026/12/14 08:00:00", "65.2");
        QVERIFY(m_host.writeSettings(QStringLiteral("C:\\VELMORA\\NRT52\\Other")));
        store("2026/12/14 08:00:01", "30.0");
        const QString day = m_now.date().toString(QStringLiteral("yyyyMMdd"));
        const QString other = m_host.root() + QStringLiteral("/Other/");
        const QStringList result = lines(ResultListHost::readShiftJis(other + QStringLiteral("LOG/機器No1/") + day + ".csv"));
        QCOMPARE(result.size(), 5 + 1);
        QVERIFY(result.last().startsWith(QStringLiteral("2026/12/14 08:00:01")));
        QCOMPARE(lines(ResultListHost::readShiftJis(other + QStringLiteral("ERROR_LOG/機器No1/") + day + ".csv")).size(), 2);
        QVERIFY(m_host.writeSettings(QStringLiteral("C:\\VELMORA\\NRT52\\Data")));
    }

private:
    void store(const char *dateTime, const char *level)
    {
        QSignalSpy stored(m_handler, &NotifyResponse::setResponseValueEnd);
        m_handler->onNotifyResponse(0, ResultListHost::reply(QString::fromLatin1(dateTime), "ISDBT", "13",
                                                             QString::fromLatin1(level), "30.1", "<1.0E-8"));
        QCOMPARE(stored.count(), 1);
    }

    ResultListHost m_host;
    NotifyResponse *m_handler = nullptr;
    QDateTime m_now;
};

QTEST_MAIN(TestResultLogDay)
#include "tst_resultlogday.moc"
