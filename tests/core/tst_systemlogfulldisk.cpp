// ctest-label: core
// The application log's file on a disk that fills up and frees again (a file size limit on
// this process): each line goes in whole or not at all, and since the file cannot tell of its
// own gaps, standard error is told once when the loss begins and once, with the number of
// lines lost, when the file takes lines again.

#include "core/SystemLog.h"
#include "platform/AppendLossEpisodes.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {
// Standard error read back through a pipe while the object lives; put back even when a
// check fails halfway.
struct StandardErrorCapture
{
    int saved = -1;
    int pipeEnds[2] = {-1, -1};

    StandardErrorCapture()
    {
        std::fflush(stderr);
        if (::pipe(pipeEnds) != 0)
            return;
        ::fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
        saved = ::dup(STDERR_FILENO);
        ::dup2(pipeEnds[1], STDERR_FILENO);
    }
    ~StandardErrorCapture() { take(); }
    QByteArray take()
    {
        QByteArray text;
        if (saved < 0)
            return text;
        std::fflush(stderr);
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
        saved = -1;
        ::close(pipeEnds[1]);
        char block[4096];
        ssize_t got = 0;
        while ((got = ::read(pipeEnds[0], block, sizeof block)) > 0)
            text.append(block, int(got));
        ::close(pipeEnds[0]);
        return text;
    }
};

// The messages of the file's lines, each checked to be a whole line of the log's form.
QStringList messagesOf(const QByteArray &bytes, bool *whole)
{
    static const QRegularExpression form(
        QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\[test\\] (line-\\d+,a+)$"));
    *whole = bytes.isEmpty() || bytes.endsWith('\n');
    QStringList messages;
    for (const QString &line : QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = form.match(line);
        if (!match.hasMatch())
            *whole = false;
        messages << match.captured(1);
    }
    return messages;
}
} // namespace

class TestSystemLogFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_workingFolder = QDir::currentPath();
    }

    void cleanupTestCase() { QDir::setCurrent(m_workingFolder); }

    // Each case has a log of its own, in a working folder of its own.
    void init()
    {
        delete SystemLog::instance();
        const QString folder = m_root.path() + QStringLiteral("/%1").arg(++m_row);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QDir::setCurrent(folder));
    }

    void cleanup() { delete SystemLog::instance(); }

    void lossEpisodes_data()
    {
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("episodes");
        QTest::addColumn<int>("lostPerEpisode");
        QTest::newRow("line cut, space back") << 5 << 1 << 2;
        QTest::newRow("room for no byte") << 0 << 1 << 1;
        QTest::newRow("second episode") << 11 << 2 << 3;
    }

    void lossEpisodes()
    {
        QFETCH(int, room);
        QFETCH(int, episodes);
        QFETCH(int, lostPerEpisode);

        SystemLog *log = SystemLog::instance();
        log->initialize(0, QStringLiteral("pcapplication.log"));
        const QString path = QDir::currentPath() + QStringLiteral("/pcapplication.log");
        QStringList expected;
        int n = 0;
        auto write = [&](bool kept) {
            const QString message = QStringLiteral("line-%1,").arg(++n) + QString(40, QLatin1Char('a'));
            log->write(QStringLiteral("test"), message, 2);
            if (kept)
                expected << message;
        };
        for (int i = 0; i < 3; ++i)
            write(true);

        StandardErrorCapture capture;
        for (int e = 0; e < episodes; ++e) {
            {
                FileSizeLimit limit(QFileInfo(path).size() + room);
                QVERIFY(limit.isSet());
                for (int i = 0; i < lostPerEpisode; ++i)
                    write(false);
            }
            write(true);
        }
        const QString told = QString::fromLocal8Bit(capture.take());

        bool whole = false;
        QCOMPARE(messagesOf(TestFiles::readBytes(path), &whole), expected);
        QVERIFY(whole);
        const QString name = QStringLiteral("./pcapplication.log");
        QCOMPARE(told.count(QStringLiteral("log append failed: ") + name + QStringLiteral(" (")), episodes);
        QCOMPARE(told.count(AppendLossEpisodes::endText(name, lostPerEpisode)), episodes);
        QCOMPARE(told.count(QLatin1Char('\n')), 2 * episodes);
    }

    // A crash left the last line cut: the next line is never glued to it.
    void cutByACrash()
    {
        const QByteArray whole = "2026/12/11 09:00:00.000 [test] line-1,a\n";
        QVERIFY(TestFiles::writeBytes(QStringLiteral("pcapplication.log"), whole + "2026/12/11 09:0"));
        SystemLog *log = SystemLog::instance();
        log->initialize(0, QStringLiteral("pcapplication.log"));
        log->write(QStringLiteral("test"), QStringLiteral("line-2,aa"), 2);
        bool wholeLines = false;
        QCOMPARE(messagesOf(TestFiles::readBytes(QStringLiteral("pcapplication.log")), &wholeLines),
                 QStringList({QStringLiteral("line-1,a"), QStringLiteral("line-2,aa")}));
        QVERIFY(wholeLines);
    }

private:
    QTemporaryDir m_root;
    QString m_workingFolder;
    int m_row = 0;
};

QTEST_MAIN(TestSystemLogFullDisk)
#include "tst_systemlogfulldisk.moc"
