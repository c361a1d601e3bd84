#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// One external program (ping, curl) run as a child process. It is started from a program
// name and an argument list, never through a shell, so no address or file name is ever
// parsed as shell text; what must not be seen on a command line (passwords) goes to its
// standard input, which is closed once written. The object is a QProcess: callers connect
// its signals as usual.
class ExternalProgram : public QProcess
{
    Q_OBJECT
public:
    explicit ExternalProgram(QObject *parent = nullptr);
    // A program still running is killed and reaped.
    ~ExternalProgram() override;

    // Starts program (looked up on the search path) with arguments, reading and writing;
    // input is written to its standard input, which is then closed. A program that cannot
    // be started reports it through errorOccurred(FailedToStart) and failedToStart().
    void startProgram(const QString &program, const QStringList &arguments, const QByteArray &input = QByteArray());

    // True when the last start failed (program missing or not executable).
    bool failedToStart() const { return startFailed; }
    // True when the program ran to its end by itself with exit code 0.
    bool succeeded() const;

private:
    bool startFailed = false;
};
