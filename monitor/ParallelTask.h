#pragma once

#include <QObject>
#include <QString>

#include <atomic>

class SystemLog;
class ThreadBase;

// Base of every periodic background worker. A worker is created without a parent, attached
// once to its ThreadBase (which moves it into that thread and starts it) and from then on
// gets one work() call per timer tick in that thread. Calls never overlap, and at most one
// waits while work() runs or the GUI thread is busy.
//
// Typical pair, in the GUI thread:
//     auto *worker = new SomeTask(log);              // no parent
//     auto *thread = new ThreadBase(true, 2000);     // no parent
//     connect(thread, &QThread::finished, worker, &QObject::deleteLater);
//     connect(thread, &QThread::finished, thread, &QObject::deleteLater);
//     worker->attachToThread(thread, QStringLiteral("Name"));  // starts ticking
// End it with thread->quitThread() (no wait) or ThreadBase::quitAndWait (bounded wait);
// both objects then delete themselves once the current work() call has returned.
class ParallelTask : public QObject
{
    Q_OBJECT

public:
    ParallelTask(SystemLog *log, QObject *parent = nullptr);
    ~ParallelTask() override;

    // false when thread is null, a thread is already attached, or this object cannot move
    // (it has a parent or lives in another thread); nothing is changed then. Otherwise names
    // the thread, routes its ticks to work(), moves this object into it and starts it.
    bool attachToThread(ThreadBase *thread, const QString &name);

    // false without an attached thread; else marks the task running and (re)starts the
    // thread when it is not running.
    virtual bool start();
    // Clears the running mark and stops the thread (bounded wait). false without an attached
    // thread, or when the thread did not end within its limit. A worker wired to delete
    // itself when its thread finishes is deleted by the time this returns. Never call from
    // the worker's own thread: a thread cannot wait for itself (refused and logged).
    virtual bool stop();

    bool isRunning() const { return running.load(); }
    ThreadBase *attachedThread() const { return threadBase.load(); }

public slots:
    // One tick of work, always in the worker's thread.
    virtual void work() = 0;

signals:
    void timeout();

protected:
    SystemLog *const log;   // not owned

private:
    void takeAlarm();

    std::atomic<ThreadBase *> threadBase { nullptr };   // not owned
    std::atomic<bool> running { false };
};
