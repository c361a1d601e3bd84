#include "monitor/ParallelTask.h"

#include "core/SystemLog.h"
#include "monitor/ThreadBase.h"

#include <QThread>

ParallelTask::ParallelTask(SystemLog *log, QObject *parent)
    : QObject(parent)
    , log(log)
{
}

ParallelTask::~ParallelTask()
{
    // Normally the worker goes through deleteLater while its thread finishes, and there is
    // nothing to stop. Deleted from elsewhere while the thread still runs, end the thread
    // first (bounded); from its own thread it cannot be waited for.
    ThreadBase *attached = threadBase.load();
    if (attached && attached->isRunning() && QThread::currentThread() != attached) {
        // Its finished() must not deleteLater this object a second time.
        disconnect(attached, nullptr, this, nullptr);
        attached->stopThread();
    }
}

bool ParallelTask::attachToThread(ThreadBase *thread, const QString &name)
{
    if (!thread || threadBase.load())
        return false;
    // moveToThread refuses both; the worker would then run in the GUI thread.
    if (parent() || QObject::thread() != QThread::currentThread())
        return false;

    threadBase.store(thread);
    thread->setObjectName(name);
    thread->setLog(log);
    thread->holdAlarmsUntilTaken();
    connect(thread, &ThreadBase::alarm, this, &ParallelTask::takeAlarm);
    // A worker that outlives its thread object must not reach it any more. The thread object
    // is deleted in its own (GUI) thread, where this runs directly.
    connect(thread, &QObject::destroyed, this, [this] { threadBase.store(nullptr); }, Qt::DirectConnection);
    moveToThread(thread);
    thread->start(QThread::InheritPriority);
    return true;
}

bool ParallelTask::start()
{
    ThreadBase *attached = threadBase.load();
    if (!attached)
        return false;
    running.store(true);
    attached->startThread();
    return true;
}

bool ParallelTask::stop()
{
    ThreadBase *attached = threadBase.load();
    if (!attached)
        return false;
    // A worker wired to delete itself when its thread finishes is gone once stopThread has
    // returned: touch neither it nor the thread afterwards.
    running.store(false);
    const bool wasRunning = attached->isRunning();
    const bool ended = attached->stopThread();
    return ended || !wasRunning;
}

void ParallelTask::takeAlarm()
{
    // Let the next tick through before working, so that a tick arriving meanwhile is kept
    // as one queued call rather than lost.
    if (ThreadBase *attached = threadBase.load())
        attached->alarmTaken();
    work();
}
