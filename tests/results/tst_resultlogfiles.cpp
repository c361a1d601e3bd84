// ctest-label: results
// The daily logs held open between results: every line reaches the file at once, a file
// deleted, moved or replaced while open gets the next line in a new file at its path, and a
// folder that cannot take a line leaves one application-log line per file and is written
// again by the next result once it is back.

#include "ResultListHost.h"
#include "monitor/ResultHistoryLogWriter.h"

#include <QDir>
#include <QtTest>

namespace {
QStringList lines(const QString &text)
{
    QStringList l = text.split(QLatin1Char('\n'));
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

QString timeText(int second)
{
    return QStringLiteral("2026/12/10 10:00:%1").arg(second, 2, 10, QLatin1Char('0'));
}
}

class TestResultLogFiles : public QObject
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
    }

    void cleanupTestCase() { m_host.teardown(); }

    // Each line can be read back right after its result: nothing waits in a buffer.
    void everyLineReachesTheFileAtOnce()
    {
        for (int i = 0; i < 3; ++i) {
            store(i);
            QCOMPARE(resultLines().size(), 5 + i + 1);
            QCOMPARE(historyLines().size(), 1 + i + 1);
            QVERIFY(resultLines().last().startsWith(timeText(i)));
        }
    }

    // Moved away or deleted while held open: the earlier lines stay where they went, the next
    // line starts a new file with its head at the path.
    void movedOrDeletedFileGetsANewOne()
    {
        const QString result = m_host.resultLogPath(1);
        const QString history = m_host.historyLogPath(1);
        const int before = resultLines().size();
        QVERIFY(QFile::rename(result, result + QStringLiteral(".moved")));
        QVERIFY(QFile::remove(history));
        store(10);
        QCOMPARE(lines(ResultListHost::readShiftJis(result + QStringLiteral(".moved"))).size(), before);
        const QStringList fresh = resultLines();
        QCOMPARE(fresh.size(), 6);
        QVERIFY(fresh.at(0).startsWith(QStringLiteral("日付,")));
        QVERIFY(fresh.last().startsWith(timeText(10)));
        const QStringList freshHistory = historyLines();
        QCOMPARE(freshHistory.size(), 2);
        QCOMPARE(freshHistory.at(0), ResultHistoryLogWriter::headerLine());
        QVERIFY(QFile::remove(result + QStringLiteral(".moved")));
    }

    // The device's folders replaced by files: the results go on, one application-log line
    // names each file that failed (not one per result), and once the folders are back the
    // next result is written.
    void failedAppendIsLoggedOnceAndRetried()
    {
        const QString resultFolder = QFileInfo(m_host.resultLogPath(1)).path();
        const QString historyFolder = QFileInfo(m_host.historyLogPath(1)).path();
        const int before = resultLines().size();
        for (const QString &folder : {resultFolder, historyFolder}) {
            QVERIFY(QDir().rename(folder, folder + QStringLiteral(".away")));
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }

        QSignalSpy stored(m_handler, &NotifyResponse::setResponseValueEnd);
        for (int i = 20; i < 23; ++i)
            store(i);
        QCOMPARE(stored.count(), 3);
        const QString log = applicationLog();
        const QString failure = QStringLiteral("log append failed: ");
        QCOMPARE(log.count(failure + m_host.resultLogPath(1)), 1);
        QCOMPARE(log.count(failure + m_host.historyLogPath(1)), 1);
        QCOMPARE(log.count(failure), 2);

        for (const QString &folder : {resultFolder, historyFolder}) {
            QVERIFY(QFile::remove(folder));
            QVERIFY(QDir().rename(folder + QStringLiteral(".away"), folder));
        }
        store(30);
        const QStringList result = resultLines();
        QCOMPARE(result.size(), before + 1);
        QVERIFY(result.last().startsWith(timeText(30)));
        QVERIFY(historyLines().last().contains(timeText(30)));
        QCOMPARE(applicationLog().count(failure), 2);
    }

private:
    void store(int second)
    {
        m_handler->onNotifyResponse(0, ResultListHost::reply(timeText(second), "ISDBT", "13", "65.2",
                                                             "30.1", "<1.0E-8"));
    }

    QStringList resultLines() const
    {
        return lines(ResultListHost::readShiftJis(m_host.resultLogPath(1)));
    }

    QStringList historyLines() const
    {
        return lines(QString::fromUtf8(ResultListHost::readFile(m_host.historyLogPath(1))));
    }

    QString applicationLog() const
    {
        return QString::fromUtf8(ResultListHost::readFile(m_host.root() + QStringLiteral("/pcapplication.log")));
    }

    ResultListHost m_host;
    NotifyResponse *m_handler = nullptr;
};

QTEST_MAIN(TestResultLogFiles)
#include "tst_resultlogfiles.moc"
