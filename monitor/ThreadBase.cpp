#include "monitor/ThreadBase.h"

#include "core/SystemLog.h"

#include <QDeadlineTimer>
#include <QTimer>
#include <QtGlobal>

ThreadBase::ThreadBase(const bool &useTimer, const int &intervalMs)
    : QThread(nullptr)
    , useTimer(useTimer)
    , interval(intervalMs)
{
    setObjectName(QStringLiteral("ThreadBase"));
}

ThreadBase::~ThreadBase()
{
    // Deleting a running thread is a caller's fault; end it gently rather than never.
    if (isRunning())
        quitThread();
    // Normally reached through deleteLater after finished(): the thread may still be in its
    // last steps (deleting its worker), which end promptly. Should it still run after the
    // limit, Qt refuses the deletion; nothing gentler is left.
    if (!waitForEnd())
        return;
    // Stopped at the end of run and its thread has ended, so it may go from here.
    delete timer.exchange(nullptr);
}

bool ThreadBase::startThread()
{
    if (isRunning())
        return false;
    if (!useTimer)
        return true;
    start(static_cast<QThread::Priority>(startPriority.load()));
    return true;
}

bool ThreadBase::stopThread(int timeoutMs)
{
    if (!isRunning())
        return false;
    if (QThread::currentThread() == this) {
        logLine(QStringLiteral("### thread %1 cannot wait for its own end.").arg(objectName()));
        return false;
    }
    quitThread();
    return waitForEnd(timeoutMs);
}

void ThreadBase::quitThread()
{
    ticking.store(false);
    if (QTimer *tick = timer.load())
        disconnect(tick, &QTimer::timeout, this, &ThreadBase::onTimerTimeout);
    requestInterruption();
    quit();
}

bool ThreadBase::waitForEnd(int timeoutMs)
{
    if (QThread::currentThread() == this) {
        logLine(QStringLiteral("### thread %1 cannot wait for its own end.").arg(objectName()));
        return false;
    }
    const int limit = timeoutMs < 0 ? StopTimeoutMs : timeoutMs;
    if (wait(static_cast<unsigned long>(limit)))
        return true;
    logLine(QStringLiteral("### thread %1 did not end within %2 ms; it is left to end on its own.")
                .arg(objectName())
                .arg(limit));
    return false;
}

int ThreadBase::quitAndWait(const QList<ThreadBase *> &threads, int timeoutMs)
{
    for (ThreadBase *thread : threads) {
        if (thread)
            thread->quitThread();
    }
    const QDeadlineTimer deadline(timeoutMs < 0 ? StopTimeoutMs : timeoutMs);
    int stillRunning = 0;
    for (ThreadBase *thread : threads) {
        if (!thread)
            continue;
        const int remaining = static_cast<int>(qMax<qint64>(0, deadline.remainingTime()));
        if (!thread->waitForEnd(remaining))
            ++stillRunning;
    }
    return stillRunning;
}

void ThreadBase::run()
{
    QTimer *tick = nullptr;
    if (useTimer) {
        tick = timer.load();
        if (!tick) {
            // No parent: it belongs to this thread and outlives a run, to be reused by the next.
            tick = new QTimer;
            timer.store(tick);
        }
        tick->setInterval(interval);
        // A run ended by a plain quit() left the connection in place.
        connect(tick, &QTimer::timeout, this, &ThreadBase::onTimerTimeout, Qt::UniqueConnection);
        alarmPending.store(false);
        ticking.store(true);
        tick->start();
    }

    exec();

    if (tick) {
        ticking.store(false);
        tick->stop();
    }
}

void ThreadBase::onTimerTimeout()
{
    // Runs in the thread that owns this object; a tick already queued when the thread was
    // told to quit must not reach the worker any more.
    if (!ticking.load())
        return;
    if (holdAlarms.load() && alarmPending.exchange(true))
        return;
    emit alarm();
}

void ThreadBase::setLog(SystemLog *systemLog)
{
    log = systemLog;
}

void ThreadBase::holdAlarmsUntilTaken()
{
    holdAlarms.store(true);
}

void ThreadBase::alarmTaken()
{
    alarmPending.store(false);
}

void ThreadBase::logLine(const QString &message) const
{
    if (log)
        log->write(objectName(), message, 2);
    else
        qWarning("%s", qUtf8Printable(message));
}
