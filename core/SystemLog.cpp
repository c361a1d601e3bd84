#include "core/SystemLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QTextCodec>

#include <atomic>
#include <cstdio>

namespace {
std::atomic<SystemLog *> g_instance{nullptr};
QBasicMutex g_instanceMutex;
}

SystemLog::SystemLog(QObject *parent)
    : QObject(parent)
{
}

SystemLog *SystemLog::instance(QObject *parent)
{
    SystemLog *log = g_instance.load();
    if (log)
        return log;
    QMutexLocker locker(&g_instanceMutex);
    log = g_instance.load();
    if (!log) {
        log = new SystemLog(parent);
        g_instance.store(log);
    }
    return log;
}

SystemLog::~SystemLog()
{
    // Later callers must not reach a destroyed log.
    SystemLog *self = this;
    g_instance.compare_exchange_strong(self, nullptr);
    QMutexLocker locker(&mutex);
    if (file)
        file->close();
}

void SystemLog::initialize(const int &newLevel, const QString &fileName)
{
    Q_UNUSED(fileName)
    QMutexLocker locker(&mutex);
    if (level != 2)
        return;
    level = newLevel;
    if (!file)
        file = new QFile(QStringLiteral("%1/%2").arg(QStringLiteral("."), QStringLiteral("pcapplication.log")), this);
}

bool SystemLog::isConfigured() const
{
    QMutexLocker locker(&mutex);
    return level != 2;
}

void SystemLog::write(const QString &source, const QString &message, const int &lineLevel)
{
    QMutexLocker locker(&mutex);
    if (level == 2)
        return;

    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss.zzz"));
    const QString line = QStringLiteral("%1 [%2] %3").arg(time, source, message);

    if (lineLevel > 1 && file) {
        // A file that failed to open is tried again by the next line.
        if (file->isOpen() || file->open(QIODevice::WriteOnly | QIODevice::Append)) {
            file->write((line + QLatin1Char('\n')).toUtf8());
            file->flush();
        }
    }

    // One codec for the life of the program: a stream with its own codec per line cost
    // more than the rest of a stored result.
    static QTextCodec *const consoleCodec = QTextCodec::codecForName("Shift-JIS");
    const QByteArray bytes = consoleCodec->fromUnicode(line + QLatin1Char('\n'));
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}
