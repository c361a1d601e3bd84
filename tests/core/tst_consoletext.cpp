// ctest-label: core
// The console filter of ./run.sh: the system log's console lines, written in Shift-JIS, reach
// the terminal in its own encoding as they come, and the filter outlives a Ctrl-C, so that the
// lines the program writes while it closes still arrive instead of meeting a closed pipe.
#include "support/TestPaths.h"

#include <QProcess>
#include <QTextCodec>
#include <QtTest>

#include <signal.h>
#include <sys/types.h>

namespace {

QString filterPath()
{
    return TestPaths::sourceDir() + QStringLiteral("/scripts/console-text.py");
}

// Texts as the system log writes them, with the characters that Shift-JIS variants map
// differently (wave dash, full-width minus, double vertical line).
const QStringList Lines {
    QStringLiteral("2026/12/11 16:33:21.838 [main] アプリケーション起動"),
    QStringLiteral("2026/12/11 16:33:24.237 [] 受信データの格納完了通知を受信 機器No.3"),
    QStringLiteral("[ChannelSettingViewModel] 13ch～62ch －10.0 ∥ ok"),
    QStringLiteral("plain ASCII, ports 127.0.0.11:161"),
};

QByteArray shiftJis(const QString &text)
{
    return QTextCodec::codecForName("Shift-JIS")->fromUnicode(text + QLatin1Char('\n'));
}

} // namespace

class TestConsoleText : public QObject
{
    Q_OBJECT

    QProcessEnvironment environment(const QByteArray &terminalEncoding) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        env.remove(QStringLiteral("LC_ALL"));
        if (terminalEncoding.isEmpty())
            env.remove(QStringLiteral("PYTHONIOENCODING"));
        else
            env.insert(QStringLiteral("PYTHONIOENCODING"), QString::fromLatin1(terminalEncoding));
        return env;
    }

private slots:
    void initTestCase()
    {
        for (const QString &line : Lines)
            QVERIFY2(QTextCodec::codecForName("Shift-JIS")->canEncode(line), qPrintable(line));
    }

    void inTerminalEncoding_data()
    {
        QTest::addColumn<QByteArray>("pythonEncoding");
        QTest::addColumn<QByteArray>("codecName");
        QTest::newRow("UTF-8 locale") << QByteArray() << QByteArray("UTF-8");
        QTest::newRow("EUC-JP terminal") << QByteArray("euc_jp") << QByteArray("EUC-JP");
    }

    // Each line is shown as soon as it is written, before the next one comes.
    void inTerminalEncoding()
    {
        QFETCH(QByteArray, pythonEncoding);
        QFETCH(QByteArray, codecName);
        QProcess filter;
        filter.setProcessEnvironment(environment(pythonEncoding));
        filter.start(QStringLiteral("python3"), {filterPath()});
        QVERIFY(filter.waitForStarted());
        QTextCodec *terminal = QTextCodec::codecForName(codecName);
        QByteArray shown;
        for (const QString &line : Lines) {
            filter.write(shiftJis(line));
            const QByteArray expected = terminal->fromUnicode(line + QLatin1Char('\n'));
            QTRY_VERIFY_WITH_TIMEOUT((shown += filter.readAllStandardOutput()).endsWith(expected), 10000);
        }
        filter.closeWriteChannel();
        QVERIFY(filter.waitForFinished(10000));
        QCOMPARE(filter.exitCode(), 0);
        QCOMPARE(terminal->toUnicode(shown), Lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        QCOMPARE(filter.readAllStandardError(), QByteArray());
    }

    // Ctrl-C reaches the whole terminal group: the program closes and writes its last lines.
    void outlivesCtrlC()
    {
        QProcess filter;
        filter.setProcessEnvironment(environment(QByteArray()));
        filter.start(QStringLiteral("python3"), {filterPath()});
        QVERIFY(filter.waitForStarted());
        filter.write(shiftJis(Lines.at(0)));
        QTRY_VERIFY_WITH_TIMEOUT(filter.bytesAvailable() > 0, 10000);
        QCOMPARE(::kill(pid_t(filter.processId()), SIGINT), 0);
        QCOMPARE(::kill(pid_t(filter.processId()), SIGHUP), 0);
        QTest::qWait(200);
        filter.write(shiftJis(QStringLiteral("[main] アプリケーション終了")));
        filter.closeWriteChannel();
        QVERIFY(filter.waitForFinished(10000));
        QCOMPARE(filter.exitStatus(), QProcess::NormalExit);
        QVERIFY(QString::fromUtf8(filter.readAllStandardOutput()).endsWith(QStringLiteral("[main] アプリケーション終了\n")));
    }
};

QTEST_GUILESS_MAIN(TestConsoleText)
#include "tst_consoletext.moc"
