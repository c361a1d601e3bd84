// ctest-label: results
// The daily result, error and history logs on a disk that fills up and frees again (a file
// size limit on this process, or a folder that cannot be made): a line goes in whole or not
// at all, a new file's head is whole before any line, and each episode of loss is told once
// when it begins and once, with the number of lines lost, when the file takes lines again.
// The logs held open between lines and the path that opens a file per line alike.

#include "core/SystemLog.h"
#include "monitor/DailyLogFiles.h"
#include "monitor/ResultHistoryLogWriter.h"
#include "monitor/ResultLogWriter.h"
#include "platform/AppendLossEpisodes.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
enum Writer { ResultHeld, ErrorHeld, HistoryHeld, ResultUnheld };

const QDateTime kNow(QDate(2026, 12, 11), QTime(9, 30, 0));

// Long enough that a few bytes of room cut it.
QString lineText(int n)
{
    return QStringLiteral("line-%1,").arg(n) + QString(40, QLatin1Char('a' + n % 26)) + QStringLiteral(",測定");
}

bool appendWith(Writer writer, const QString &path, const QString &line, DailyLogFiles *files)
{
    switch (writer) {
    case ResultHeld:
    case ResultUnheld:
        return ResultLogWriter::appendResultLineAt(path, 7, QStringLiteral("受信点B"), line, kNow,
                                                   writer == ResultUnheld ? nullptr : files);
    case ErrorHeld:
        return ResultLogWriter::appendErrorLineAt(path, line, files);
    case HistoryHeld:
        return ResultHistoryLogWriter::appendLineAt(path, line, files);
    }
    return false;
}

// The way a file's folder is taken away: a file of the same name stands in its place.
struct BlockedFolder
{
    QString folder;
    bool moved = false;

    explicit BlockedFolder(const QString &path)
        : folder(QFileInfo(path).path())
    {
        moved = QFileInfo::exists(folder) && QDir().rename(folder, folder + QStringLiteral(".away"));
        TestFiles::writeBytes(folder, "x");
    }
    ~BlockedFolder() { lift(); }
    void lift()
    {
        if (folder.isEmpty())
            return;
        QFile::remove(folder);
        if (moved)
            QDir().rename(folder + QStringLiteral(".away"), folder);
        folder.clear();
    }
};
} // namespace

class TestDailyLogFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        // The path without held files tells the application log, which is written in the
        // working folder.
        m_workingFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_root.path()));
        SystemLog::instance()->initialize(0, QStringLiteral("pcapplication.log"));
    }

    void cleanupTestCase()
    {
        delete SystemLog::instance();
        QDir::setCurrent(m_workingFolder);
    }

    void lossEpisodes_data()
    {
        QTest::addColumn<int>("writer");
        QTest::addColumn<bool>("newFile");
        // Bytes of room left in the file while the disk is full; -1: its folder is blocked.
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("episodes");
        QTest::addColumn<int>("lostPerEpisode");

        const struct
        {
            const char *name;
            Writer writer;
        } writers[] = {{"result", ResultHeld}, {"error", ErrorHeld}, {"history", HistoryHeld}};
        for (const auto &w : writers) {
            const QByteArray name(w.name);
            QTest::newRow(name + " line cut, space back") << int(w.writer) << false << 5 << 1 << 2;
            QTest::newRow(name + " room for no byte") << int(w.writer) << false << 0 << 1 << 1;
            QTest::newRow(name + " head cut on a new day") << int(w.writer) << true << 5 << 1 << 1;
            QTest::newRow(name + " second episode same day") << int(w.writer) << false << 7 << 2 << 3;
            QTest::newRow(name + " folder blocked") << int(w.writer) << false << -1 << 2 << 2;
            QTest::newRow(name + " folder blocked, new file") << int(w.writer) << true << -1 << 1 << 1;
        }
        // A new file's limit would block the application log too: the path that opens the
        // file per line is tried on files that already hold lines.
        QTest::newRow("result per line, line cut") << int(ResultUnheld) << false << 5 << 1 << 2;
        QTest::newRow("result per line, second episode") << int(ResultUnheld) << false << 7 << 2 << 3;
        QTest::newRow("result per line, folder blocked") << int(ResultUnheld) << false << -1 << 2 << 1;
    }

    void lossEpisodes()
    {
        QFETCH(int, writer);
        QFETCH(bool, newFile);
        QFETCH(int, room);
        QFETCH(int, episodes);
        QFETCH(int, lostPerEpisode);
        const Writer w = Writer(writer);

        const QString base = m_root.path() + QStringLiteral("/%1").arg(++m_row);
        const QString path = base + QStringLiteral("/logs/機器No1/20261211.csv");
        const QString reference = base + QStringLiteral("/reference/機器No1/20261211.csv");
        QStringList reports;
        DailyLogFiles files([&reports](const QString &message) { reports << message; });
        DailyLogFiles referenceFiles;

        int n = 0;
        auto written = [&](bool expected) {
            const QString line = lineText(++n);
            const bool ok = appendWith(w, path, line, &files);
            if (expected)
                appendWith(w, reference, line, &referenceFiles);
            return ok == expected;
        };
        if (!newFile) {
            // Lines enough that the application log stays well below any limit set here.
            for (int i = 0; i < 100; ++i)
                QVERIFY(written(true));
        }
        for (int e = 0; e < episodes; ++e) {
            {
                std::unique_ptr<FileSizeLimit> limit;
                std::unique_ptr<BlockedFolder> blocked;
                if (room >= 0) {
                    limit.reset(new FileSizeLimit(QFileInfo(path).size() + room));
                    QVERIFY(limit->isSet());
                } else {
                    blocked.reset(new BlockedFolder(path));
                }
                for (int i = 0; i < lostPerEpisode; ++i)
                    QVERIFY2(written(false), qPrintable(QStringLiteral("line %1 was taken").arg(n)));
            }
            QVERIFY2(written(true), qPrintable(QStringLiteral("line %1 after space came back").arg(n)));
            QVERIFY(written(true));
        }

        // Byte for byte what the same lines give on a disk that never filled: no line cut,
        // none glued to another, the head whole.
        QCOMPARE(TestFiles::readBytes(path), TestFiles::readBytes(reference));

        const QString begin = QStringLiteral("log append failed: ") + path + QStringLiteral(" (");
        const QString end = AppendLossEpisodes::endText(path, lostPerEpisode);
        if (w == ResultUnheld) {
            const QString log = QString::fromUtf8(TestFiles::readBytes(m_root.path() + QStringLiteral("/pcapplication.log")));
            QCOMPARE(log.count(begin), episodes);
            QCOMPARE(log.count(end), episodes);
            QCOMPARE(log.count(path), 2 * episodes);
        } else {
            QCOMPARE(reports.size(), 2 * episodes);
            for (int e = 0; e < episodes; ++e) {
                QVERIFY2(reports.at(2 * e).startsWith(begin), qPrintable(reports.at(2 * e)));
                QCOMPARE(reports.at(2 * e + 1), end);
            }
        }
    }

    // A crash left the file's last line or its head cut: the cut part goes before the next
    // line, which is never glued to it, and a file left without its whole head starts again.
    void cutByACrash_data()
    {
        QTest::addColumn<int>("writer");
        QTest::addColumn<bool>("cutHead");
        const struct
        {
            const char *name;
            Writer writer;
        } writers[] = {{"result", ResultHeld}, {"error", ErrorHeld}, {"history", HistoryHeld},
                       {"result per line", ResultUnheld}};
        for (const auto &w : writers) {
            QTest::newRow(QByteArray(w.name) + " last line cut") << int(w.writer) << false;
            QTest::newRow(QByteArray(w.name) + " head cut") << int(w.writer) << true;
        }
    }

    void cutByACrash()
    {
        QFETCH(int, writer);
        QFETCH(bool, cutHead);
        const Writer w = Writer(writer);
        const QString base = m_root.path() + QStringLiteral("/crash%1").arg(++m_row);
        const QString path = base + QStringLiteral("/logs/20261211.csv");
        const QString reference = base + QStringLiteral("/reference/20261211.csv");

        DailyLogFiles referenceFiles;
        QVERIFY(appendWith(w, reference, lineText(1), &referenceFiles));
        const QByteArray before = TestFiles::readBytes(reference);
        const int headLength = before.indexOf(lineText(1).left(6).toLatin1());
        QVERIFY(headLength > 5);
        // The reference goes on as the file should: without the cut part.
        QByteArray left;
        if (cutHead) {
            left = before.left(headLength - 3);
            QVERIFY(QFile::remove(reference));
        } else {
            left = before + lineText(2).left(10).toUtf8();
        }
        QVERIFY(TestFiles::writeBytes(path, left));

        DailyLogFiles files;
        QVERIFY(appendWith(w, path, lineText(3), &files));
        QVERIFY(appendWith(w, reference, lineText(3), &referenceFiles));
        QVERIFY(appendWith(w, path, lineText(4), &files));
        QVERIFY(appendWith(w, reference, lineText(4), &referenceFiles));
        QCOMPARE(TestFiles::readBytes(path), TestFiles::readBytes(reference));
    }

private:
    QTemporaryDir m_root;
    QString m_workingFolder;
    int m_row = 0;
};

QTEST_MAIN(TestDailyLogFullDisk)
#include "tst_dailylogfulldisk.moc"
