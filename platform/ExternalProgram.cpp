#include "platform/ExternalProgram.h"

ExternalProgram::ExternalProgram(QObject *parent)
    : QProcess(parent)
{
    connect(this, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            startFailed = true;
    });
}

ExternalProgram::~ExternalProgram()
{
    if (state() != QProcess::NotRunning) {
        kill();
        waitForFinished(3000);
    }
}

void ExternalProgram::startProgram(const QString &program, const QStringList &arguments, const QByteArray &input)
{
    startFailed = false;
    setProgram(program);
    setArguments(arguments);
    start(QIODevice::ReadWrite);
    if (state() == QProcess::NotRunning)
        return;
    // Written before the program runs, the input waits in the write buffer; closing the
    // channel takes effect once it is flushed.
    if (!input.isEmpty())
        write(input);
    closeWriteChannel();
}

bool ExternalProgram::succeeded() const
{
    return !startFailed && exitStatus() == QProcess::NormalExit && exitCode() == 0;
}
