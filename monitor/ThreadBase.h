#pragma once

#include <QList>
#include <QPointer>
#include <QThread>

#include <atomic>

class QTimer;
class SystemLog;

// The thread that carries one worker (ParallelTask). Its run creates a periodic timer in the
// thread; every tick travels through the thread object, which lives in the creating (GUI)
// thread, as alarm(), and from there back into the worker thread as the worker's work call.
//
// Ending a thread never terminates it: quitThread() ends the event loop after the current
// work call returns, waitForEnd() waits for that with a time limit and logs when the limit
// runs out. A worker blocked in a device request may need several seconds to return.
class ThreadBase : public QThread
{
    Q_OBJECT

    friend class ParallelTask;

public:
    // Long enough for one worker pause (up to 3 s) plus one device request (about 7 s).
    static constexpr int StopTimeoutMs = 10000;

    ThreadBase(const bool &useTimer, const int &intervalMs);
    ~ThreadBase() override;

    // false when the thread already runs; true without starting anything when the thread
    // has no timer; otherwise starts the thread and returns true.
    bool startThread();

    // Stops the ticks, ends the event loop and waits at most timeoutMs for the thread to end.
    // true when the thread has ended; false when it was not running, when called from the
    // thread itself (it cannot wait for its own end), or when the limit ran out (logged; the
    // thread then ends on its own once its work call returns).
    bool stopThread(int timeoutMs = StopTimeoutMs);

    // Non-blocking part of stopThread: no alarm is emitted after it and the event loop ends
    // once the current work call has returned. Safe to call at any time, also twice.
    void quitThread();

    // Waits at most timeoutMs (negative: StopTimeoutMs) for the thread to end; logs when the
    // limit runs out. true when the thread is not running (any more).
    bool waitForEnd(int timeoutMs = StopTimeoutMs);

    // Quits every thread first, then waits for all of them within one shared limit.
    // Null entries are skipped. Returns how many threads were still running at the end.
    static int quitAndWait(const QList<ThreadBase *> &threads, int timeoutMs = StopTimeoutMs);

    bool usesTimer() const { return useTimer; }
    int tickInterval() const { return interval; }

signals:
    // One per timer tick, emitted in the thread that owns this object (the GUI thread).
    // The timer lives in this thread, so a blocked work call makes no ticks; ticks that queue
    // up while the GUI thread is busy, though, would each become a queued work call. With an
    // attached worker a tick is therefore dropped while the previous alarm has not yet been
    // taken up by the worker.
    void alarm();

protected:
    void run() override;

private slots:
    void onTimerTimeout();

private:
    // Hooks for ParallelTask::attachToThread and its work dispatch.
    void setLog(SystemLog *systemLog);
    void holdAlarmsUntilTaken();
    void alarmTaken();

    void logLine(const QString &message) const;

    std::atomic<int> startPriority { QThread::InheritPriority };
    const bool useTimer;
    std::atomic<QTimer *> timer { nullptr };   // created in the thread, kept across runs
    const int interval;

    std::atomic<bool> ticking { false };       // cleared by quitThread and at the end of run
    std::atomic<bool> holdAlarms { false };
    std::atomic<bool> alarmPending { false };  // an alarm is on its way to the worker
    QPointer<SystemLog> log;                   // used only by the thread that waits
};
