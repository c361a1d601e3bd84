#pragma once

#include "platform/AppendLossEpisodes.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <QTextCodec>

class QFile;

// The application log: one process-wide object. Every line goes to the console in
// Shift-JIS; lines above level 1 are also appended to "pcapplication.log" in the working
// folder (UTF-8, LF), whole or not at all; lines the file cannot take are told on standard
// error, once when the loss begins and once, with their number, when the file takes lines
// again. Until initialize() is called every line is dropped.
// write() may be called from any thread.
class SystemLog : public QObject
{
    Q_OBJECT

public:
    // The first call creates the log with the given parent; later calls return the same
    // object and ignore the parent. After the log is destroyed the next call creates anew.
    static SystemLog *instance(QObject *parent = nullptr);

    ~SystemLog() override;

    // Configures the log once: only while unconfigured (level 2) takes the given level.
    // fileName is not used: the file is always "pcapplication.log" in the working folder.
    void initialize(const int &level, const QString &fileName);

    void write(const QString &source, const QString &message, const int &level);

    bool isConfigured() const;

private:
    explicit SystemLog(QObject *parent);

    int level = 2;           // 2 means not configured
    QFile *file = nullptr;   // opened by the first line that goes to it
    QTextCodec::ConverterState consoleState; // under the lock
    AppendLossEpisodes fileLosses;           // told on standard error: the file cannot take them
    qint64 fileLength = -1;                  // after the last line appended, -1 when unknown
    mutable QMutex mutex;    // workers write console lines concurrently with the GUI thread
};
