// ctest-label: core
// External programs started from argument lists: no shell ever reads an argument, the input
// reaches the program's standard input and ends there, a missing program is told apart from
// one that failed.
#include "platform/ExternalProgram.h"

#include <QSignalSpy>
#include <QtTest>

class TestExternalProgram : public QObject
{
    Q_OBJECT
private slots:
    void argumentsAreNeverShellText()
    {
        // Were a shell to read it, the command in the argument would leave a file behind.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString marker = dir.filePath(QStringLiteral("ran"));
        const QString command = QStringLiteral("$(echo x); touch %1").arg(marker);
        ExternalProgram program;
        program.startProgram(QStringLiteral("printf"), {QStringLiteral("%s|"), command,
                                                        QStringLiteral("a b"), QStringLiteral("*")});
        QVERIFY(program.waitForFinished(5000));
        QVERIFY(program.succeeded());
        QCOMPARE(program.readAllStandardOutput(), (command + QStringLiteral("|a b|*|")).toUtf8());
        QVERIFY(!QFile::exists(marker));
    }

    void inputGoesToStandardInputAndEnds()
    {
        ExternalProgram program;
        // cat ends only when its input is closed.
        program.startProgram(QStringLiteral("cat"), {}, QByteArray("user = \"a:b\"\n"));
        QVERIFY(program.waitForFinished(5000));
        QVERIFY(program.succeeded());
        QCOMPARE(program.readAllStandardOutput(), QByteArray("user = \"a:b\"\n"));
    }

    void failureAndMissingProgram()
    {
        ExternalProgram failing;
        failing.startProgram(QStringLiteral("false"), {});
        QVERIFY(failing.waitForFinished(5000));
        QVERIFY(!failing.failedToStart());
        QVERIFY(!failing.succeeded());

        ExternalProgram missing;
        QSignalSpy errors(&missing, &QProcess::errorOccurred);
        missing.startProgram(QStringLiteral("nrt52-no-such-program"), {}, QByteArray("input"));
        QTRY_VERIFY(missing.failedToStart());
        QVERIFY(!missing.succeeded());
        QCOMPARE(errors.first().first().value<QProcess::ProcessError>(), QProcess::FailedToStart);
    }

    void runningProgramEndsWithItsObject()
    {
        qint64 pid = 0;
        {
            ExternalProgram program;
            program.startProgram(QStringLiteral("sleep"), {QStringLiteral("30")});
            QVERIFY(program.waitForStarted(5000));
            pid = program.processId();
        }
        QVERIFY(pid > 0);
        QVERIFY(!QFile::exists(QStringLiteral("/proc/%1/cmdline").arg(pid))
                || QFile(QStringLiteral("/proc/%1/cmdline").arg(pid)).size() == 0);
    }
};

QTEST_MAIN(TestExternalProgram)
#include "tst_externalprogram.moc"
