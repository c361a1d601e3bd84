// ctest-label: core
#include "core/SharedTypes.h"
#include "core/SystemLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Sends the process's standard output into a file while it lives.
class StdoutCapture
{
public:
    explicit StdoutCapture(const QString &path)
        : m_path(path)
    {
        fflush(stdout);
        m_saved = dup(STDOUT_FILENO);
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDOUT_FILENO);
        ::close(fd);
    }
    ~StdoutCapture() { finish(); }

    QByteArray finish()
    {
        if (m_saved >= 0) {
            fflush(stdout);
            dup2(m_saved, STDOUT_FILENO);
            ::close(m_saved);
            m_saved = -1;
        }
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QString m_path;
    int m_saved = -1;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QRegularExpression kLinePattern(
    QStringLiteral("^(\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}\\.\\d{3}) \\[([^\\]]*)\\] (.*)$"));

} // namespace

class TestSystemLog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousCurrent;
    SystemLog *m_log = nullptr;
    int m_captures = 0;

    QString logPath() const { return m_dir.filePath(QStringLiteral("pcapplication.log")); }
    QString capturePath() { return m_dir.filePath(QStringLiteral("stdout%1.txt").arg(++m_captures)); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_previousCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void cleanupTestCase() { QDir::setCurrent(m_previousCurrent); }

    void init()
    {
        QFile::remove(logPath());
        m_log = SystemLog::instance(nullptr);
        QVERIFY(m_log);
        QVERIFY(!m_log->isConfigured());
    }

    void cleanup()
    {
        delete m_log;
        m_log = nullptr;
    }

    void instanceIsShared()
    {
        QObject otherParent;
        QCOMPARE(SystemLog::instance(&otherParent), m_log);
        QCOMPARE(m_log->parent(), nullptr);
    }

    // Destroying the log with its parent must not leave a dangling process-wide pointer.
    void instanceAfterDestruction()
    {
        delete m_log;
        m_log = nullptr;
        auto *owner = new QObject;
        QPointer<SystemLog> log = SystemLog::instance(owner);
        QCOMPARE(log->parent(), owner);
        delete owner;
        QVERIFY(log.isNull());
        m_log = SystemLog::instance(nullptr);
        QVERIFY(m_log);
        QVERIFY(!m_log->isConfigured());
    }

    void unconfiguredDropsLines()
    {
        StdoutCapture capture(capturePath());
        m_log->write(QStringLiteral("main"), QStringLiteral("lost"), LogNormal);
        m_log->write(QStringLiteral("main"), QStringLiteral("lost"), LogConsole);
        QCOMPARE(capture.finish(), QByteArray());
        QVERIFY(!QFile::exists(logPath()));
    }

    void initializeOnce()
    {
        m_log->initialize(2, QStringLiteral("pcapplication.log"));
        QVERIFY(!m_log->isConfigured());
        m_log->initialize(0, QStringLiteral("other.log"));
        QVERIFY(m_log->isConfigured());
        // A second call with 2 does not unconfigure it.
        m_log->initialize(2, QStringLiteral("pcapplication.log"));
        QVERIFY(m_log->isConfigured());
        m_log->write(QStringLiteral("main"), QStringLiteral("x"), LogNormal);
        // The name argument is not used: the file is always pcapplication.log.
        QVERIFY(QFile::exists(logPath()));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("other.log"))));
    }

    void levels_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("toFile");
        QTest::newRow("0 console") << 0 << false;
        QTest::newRow("1 console") << 1 << false;
        QTest::newRow("2 normal") << 2 << true;
        QTest::newRow("3") << 3 << true;
        QTest::newRow("4 error") << 4 << true;
    }

    void levels()
    {
        QFETCH(int, level);
        QFETCH(bool, toFile);
        m_log->initialize(0, QStringLiteral("pcapplication.log"));

        StdoutCapture capture(capturePath());
        const QDateTime before = QDateTime::currentDateTime().addMSecs(-1);
        m_log->write(QStringLiteral("HomeViewModel"), QStringLiteral("Enter HomeViewModel"), level);
        const QDateTime after = QDateTime::currentDateTime().addMSecs(1);
        const QByteArray console = capture.finish();

        QVERIFY(console.endsWith('\n'));
        const QString line = QString::fromLatin1(console.chopped(1));
        const QRegularExpressionMatch match = kLinePattern.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        QCOMPARE(match.captured(2), QStringLiteral("HomeViewModel"));
        QCOMPARE(match.captured(3), QStringLiteral("Enter HomeViewModel"));
        const QDateTime stamp = QDateTime::fromString(match.captured(1), QStringLiteral("yyyy/MM/dd hh:mm:ss.zzz"));
        QVERIFY(stamp >= before && stamp <= after);

        if (toFile)
            QCOMPARE(readAll(logPath()), console);
        else
            QVERIFY(!QFile::exists(logPath()) || readAll(logPath()).isEmpty());
    }

    void appendsAcrossRuns()
    {
        {
            QFile old(logPath());
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("earlier run\n");
        }
        m_log->initialize(0, QStringLiteral("pcapplication.log"));
        StdoutCapture capture(capturePath());
        m_log->write(QStringLiteral("main"), QStringLiteral("first"), LogNormal);
        m_log->write(QStringLiteral("w"), QStringLiteral("trace"), LogConsole);
        m_log->write(QStringLiteral("main"), QStringLiteral("second"), LogError);
        capture.finish();

        const QByteArray content = readAll(logPath());
        QVERIFY(!content.contains('\r'));
        const QList<QByteArray> lines = content.split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0), QByteArray("earlier run"));
        QVERIFY(lines.at(1).endsWith(" [main] first"));
        QVERIFY(lines.at(2).endsWith(" [main] second"));
        QCOMPARE(lines.at(3), QByteArray());
    }

    void encodings()
    {
        m_log->initialize(0, QStringLiteral("pcapplication.log"));
        const QString message = QStringLiteral("アプリケーション起動");
        StdoutCapture capture(capturePath());
        m_log->write(QStringLiteral("main"), message, LogNormal);
        const QByteArray console = capture.finish();

        QTextCodec *sjis = QTextCodec::codecForName("Shift-JIS");
        QVERIFY(sjis);
        QVERIFY(console.endsWith(" [main] " + sjis->fromUnicode(message) + '\n'));
        QVERIFY(readAll(logPath()).endsWith(" [main] " + message.toUtf8() + '\n'));
        QVERIFY(sjis->fromUnicode(message) != message.toUtf8());
    }

    void unopenableFileIsRetried()
    {
        m_log->initialize(0, QStringLiteral("pcapplication.log"));
        // A folder in the file's place: opening fails even for root.
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("pcapplication.log")));
        StdoutCapture capture(capturePath());
        m_log->write(QStringLiteral("main"), QStringLiteral("lost in file"), LogNormal);
        QVERIFY(QDir(m_dir.path()).rmdir(QStringLiteral("pcapplication.log")));
        m_log->write(QStringLiteral("main"), QStringLiteral("kept"), LogNormal);
        const QByteArray console = capture.finish();

        QCOMPARE(console.count('\n'), 2);
        QVERIFY(console.contains("[main] lost in file\n"));
        const QByteArray content = readAll(logPath());
        QCOMPARE(content.count('\n'), 1);
        QVERIFY(content.endsWith("[main] kept\n"));
    }

    // Workers write console lines while the GUI thread writes file lines: no line may be
    // torn, lost or land in the file.
    void workerThreadsWriteConsoleLines()
    {
        m_log->initialize(0, QStringLiteral("pcapplication.log"));
        const int threads = 4;
        const int perThread = 200;
        StdoutCapture capture(capturePath());
        std::vector<std::thread> workers;
        std::atomic<int> sameInstance{0};
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([this, t, &sameInstance] {
                SystemLog *log = SystemLog::instance(nullptr);
                if (log == m_log)
                    ++sameInstance;
                for (int i = 0; i < perThread; ++i)
                    log->write(QStringLiteral("SNMPMonitor"), QStringLiteral("-------------------111 %1-%2").arg(t).arg(i), LogConsole);
            });
        }
        for (int i = 0; i < perThread; ++i)
            m_log->write(QStringLiteral("main"), QStringLiteral("gui %1").arg(i), LogNormal);
        for (auto &worker : workers)
            worker.join();
        const QByteArray console = capture.finish();
        QCOMPARE(sameInstance.load(), threads);

        const QList<QByteArray> lines = console.split('\n');
        QCOMPARE(lines.size(), (threads + 1) * perThread + 1);
        for (int i = 0; i < lines.size() - 1; ++i)
            QVERIFY2(kLinePattern.match(QString::fromLatin1(lines.at(i))).hasMatch(), lines.at(i).constData());

        const QList<QByteArray> fileLines = readAll(logPath()).split('\n');
        QCOMPARE(fileLines.size(), perThread + 1);
        for (int i = 0; i < perThread; ++i)
            QVERIFY(fileLines.at(i).endsWith(QStringLiteral("[main] gui %1").arg(i).toLatin1()));
    }
};

QTEST_GUILESS_MAIN(TestSystemLog)
#include "tst_systemlog.moc"
