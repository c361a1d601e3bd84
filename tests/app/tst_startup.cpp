// ctest-label: core
// Starts the real program on an empty root folder and checks what it leaves behind.
#include "support/TestPaths.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void startOnEmptyRoot()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString work = root.path() + "/work";
        QVERIFY(QDir().mkpath(work));

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("NRT52_ROOT", root.path());
        // Its own lock folder: a running demo must not make this start a second instance.
        env.insert("TMPDIR", root.path());
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(work);
        program.start(TestPaths::buildDir() + "/nrt52", QStringList());
        QVERIFY(program.waitForStarted());

        const QString logPath = work + "/pcapplication.log";
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(logPath), 20000);
        const QString dateText = QDate::currentDate().toString("yyyyMMdd");
        const QString workLogPath = root.path() + "/InternalReadOnly/WORK_LOG/" + dateText + ".csv";
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(workLogPath), 20000);
        QCOMPARE(program.state(), QProcess::Running);
        program.kill();
        program.waitForFinished();

        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString logText = QString::fromUtf8(log.readAll());
        const QRegularExpression startLine(
            R"(^\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\.\d{3} \[main\] アプリケーション起動$)",
            QRegularExpression::MultilineOption);
        QVERIFY2(startLine.match(logText).hasMatch(), qPrintable(logText));

        QFile workLog(workLogPath);
        QVERIFY(workLog.open(QIODevice::ReadOnly));
        const QByteArray bytes = workLog.readAll();
        const QString text = QTextCodec::codecForName("Shift-JIS")->toUnicode(bytes);
        QVERIFY2(text.startsWith("日時,対象機器No,作業履歴,BAND,CHANNEL\r\n"), qPrintable(text));
        const QRegularExpression line(R"(\r\n\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2},,アプリケーションを起動\r\n)");
        QVERIFY2(line.match(text).hasMatch(), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
