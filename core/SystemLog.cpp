#include "core/SystemLog.h"

#include "platform/WholeLineAppend.h"

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
    , fileLosses([](const QString &message) {
        const QByteArray bytes = (message + QLatin1Char('\n')).toLocal8Bit();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        std::fflush(stderr);
    })
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

namespace {
// "yyyy/MM/dd hh:mm:ss.zzz", written digit by digit: the date-time formatter costs more
// than the rest of a log line.
QString timeText(const QDateTime &moment)
{
    const QDate date = moment.date();
    const QTime time = moment.time();
    const int year = date.year();
    if (year < 0 || year > 9999)
        return moment.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss.zzz"));
    QChar text[23];
    auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i) {
            text[at + i] = QLatin1Char(char('0' + value % 10));
            value /= 10;
        }
    };
    put(0, year, 4);
    text[4] = QLatin1Char('/');
    put(5, date.month(), 2);
    text[7] = QLatin1Char('/');
    put(8, date.day(), 2);
    text[10] = QLatin1Char(' ');
    put(11, time.hour(), 2);
    text[13] = QLatin1Char(':');
    put(14, time.minute(), 2);
    text[16] = QLatin1Char(':');
    put(17, time.second(), 2);
    text[19] = QLatin1Char('.');
    put(20, time.msec(), 3);
    return QString(text, 23);
}
} // namespace

void SystemLog::write(const QString &source, const QString &message, const int &lineLevel)
{
    QMutexLocker locker(&mutex);
    if (level == 2)
        return;

    const QString time = timeText(QDateTime::currentDateTime());
    const QString line = QStringLiteral("%1 [%2] %3").arg(time, source, message);

    if (lineLevel > 1 && file) {
        // A file that failed to open is tried again by the next line. Opened for reading
        // too, so that a line cut by a crash is found at its end.
        const bool open = file->isOpen()
                          || file->open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)
                          || file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
        QString reason;
        if (!open)
            reason = file->errorString();
        if (open && WholeLineAppend::append(file->handle(), nullptr, (line + QLatin1Char('\n')).toUtf8(), &reason,
                                            &fileLength))
            fileLosses.written(file->fileName());
        else
            fileLosses.lost(file->fileName(), reason);
    }

    // One codec for the life of the program: a stream with its own codec per line cost
    // more than the rest of a stored result.
    static QTextCodec *const consoleCodec = QTextCodec::codecForName("Shift-JIS");
    // Without a state the codec opens a converter per call; one is kept, used under the
    // lock. Shift-JIS carries nothing from one text to the next, and a text that ends in a
    // line end leaves nothing pending, so the bytes are those of a call without a state.
    const QString text = line + QLatin1Char('\n');
    const QByteArray bytes = consoleCodec->fromUnicode(text.constData(), text.size(), &consoleState);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}
