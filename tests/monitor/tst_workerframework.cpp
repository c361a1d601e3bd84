// ctest-label: monitor
#include "core/SystemLog.h"
#include "monitor/ParallelTask.h"
#include "monitor/SNMPReceiver.h"
#include "monitor/ThreadBase.h"
#include "platform/PlatformSleep.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QVector>
#include <QtTest>

#include <algorithm>
#include <atomic>

namespace {

// A worker that records where and when each work call ran; the first call can be made to
// block for a while, as a worker waiting on an unanswered device request does.
class TickTask : public ParallelTask
{
    Q_OBJECT

public:
    explicit TickTask(SystemLog *log, QObject *parent = nullptr)
        : ParallelTask(log, parent)
    {
        clock.start();
    }

    void work() override
    {
        const int now = ++inside;
        int seen = maxInside.load();
        while (now > seen && !maxInside.compare_exchange_weak(seen, now)) { }
        {
            QMutexLocker locker(&mutex);
            stamps.append(clock.elapsed());
            threads.append(QThread::currentThread());
        }
        ++calls;
        const int block = blockFirstCallMs.exchange(0);
        if (block > 0) {
            busy.store(true);
            PlatformSleep::sleepMs(static_cast<unsigned long>(block));
            busy.store(false);
        }
        --inside;
    }

    QVector<qint64> callStamps() const
    {
        QMutexLocker locker(&mutex);
        return stamps;
    }

    QVector<QThread *> callThreads() const
    {
        QMutexLocker locker(&mutex);
        return threads;
    }

    std::atomic<int> calls { 0 };
    std::atomic<int> inside { 0 };
    std::atomic<int> maxInside { 0 };
    std::atomic<int> blockFirstCallMs { 0 };
    std::atomic<bool> busy { false };

private:
    QElapsedTimer clock;
    mutable QMutex mutex;
    QVector<qint64> stamps;
    QVector<QThread *> threads;
};

// A worker and its thread. Self-deleting pairs are wired the way the device list wires
// them: both delete themselves once the thread has finished. The others survive a stop, so
// that they can be started again, and are deleted by the test.
struct Pair
{
    QPointer<TickTask> task;
    QPointer<ThreadBase> thread;
    bool selfDeleting = true;
};

Pair makePair(int intervalMs, const QString &name = QStringLiteral("Test Worker"), bool selfDeleting = true)
{
    auto *task = new TickTask(SystemLog::instance());
    auto *thread = new ThreadBase(true, intervalMs);
    if (selfDeleting) {
        QObject::connect(thread, &QThread::finished, task, &QObject::deleteLater);
        QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    }
    task->attachToThread(thread, name);
    return { task, thread, selfDeleting };
}

QByteArray logFileText()
{
    QFile file(QStringLiteral("pcapplication.log"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

class TestWorkerFramework : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(root.isValid());
        qputenv("NRT52_ROOT", root.path().toUtf8());
        QVERIFY(QDir::setCurrent(root.path()));
        SystemLog::instance()->initialize(0, QStringLiteral("pcapplication.log"));
        QVERIFY(SystemLog::instance()->isConfigured());
    }

    void cleanup()
    {
        // Every pair must be gone before the next case, or a later failure hides a leak.
        for (const Pair &pair : qAsConst(pairs)) {
            if (pair.thread)
                pair.thread->quitThread();
        }
        for (const Pair &pair : qAsConst(pairs)) {
            if (!pair.selfDeleting && pair.thread) {
                QVERIFY(pair.thread->waitForEnd());
                delete pair.task.data();
                delete pair.thread.data();
            }
            QTRY_VERIFY_WITH_TIMEOUT(pair.task.isNull() && pair.thread.isNull(), 15000);
        }
        pairs.clear();
    }

    void attachRules()
    {
        TickTask loose(SystemLog::instance());
        QVERIFY(!loose.attachToThread(nullptr, QStringLiteral("x")));
        QVERIFY(!loose.start());
        QVERIFY(!loose.stop());
        QVERIFY(!loose.isRunning());
        QCOMPARE(loose.attachedThread(), nullptr);

        const Pair pair = makePair(1000, QStringLiteral("SNMP Monitor"));
        pairs.append(pair);
        QCOMPARE(pair.task->attachedThread(), pair.thread.data());
        QCOMPARE(pair.thread->objectName(), QStringLiteral("SNMP Monitor"));
        QCOMPARE(pair.task->thread(), static_cast<QThread *>(pair.thread.data()));
        QVERIFY(pair.thread->isRunning());
        QVERIFY(!pair.task->isRunning());

        // A second attach leaves both threads as they were.
        ThreadBase other(true, 1000);
        QVERIFY(!pair.task->attachToThread(&other, QStringLiteral("Other")));
        QCOMPARE(other.objectName(), QStringLiteral("ThreadBase"));
        QVERIFY(!other.isRunning());
        QCOMPARE(pair.task->attachedThread(), pair.thread.data());

        // A worker with a parent cannot move; attaching it would leave its work in the GUI
        // thread.
        QObject owner;
        auto *child = new TickTask(SystemLog::instance(), &owner);
        QVERIFY(!child->attachToThread(&other, QStringLiteral("Other")));
        QCOMPARE(child->attachedThread(), nullptr);
        QVERIFY(!other.isRunning());
        QCOMPARE(child->thread(), QThread::currentThread());
    }

    void startAndStopRules()
    {
        const Pair pair = makePair(1000);
        pairs.append(pair);

        QVERIFY(!pair.thread->startThread());
        QVERIFY(pair.thread->isRunning());
        QVERIFY(pair.task->start());
        QVERIFY(pair.task->isRunning());

        ThreadBase idle(true, 1000);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!idle.stopThread());
        QVERIFY(clock.elapsed() < 1000);

        // Without a timer the thread has nothing to run for.
        ThreadBase timerless(false, 1000);
        QVERIFY(timerless.startThread());
        QVERIFY(!timerless.isRunning());
    }

    void ticksRunWorkInWorkerThread_data()
    {
        QTest::addColumn<int>("intervalMs");
        QTest::newRow("100 ms") << 100;
        QTest::newRow("300 ms") << 300;
    }

    void ticksRunWorkInWorkerThread()
    {
        QFETCH(int, intervalMs);
        const Pair pair = makePair(intervalMs);
        pairs.append(pair);
        QSignalSpy alarms(pair.thread.data(), &ThreadBase::alarm);

        QTRY_VERIFY_WITH_TIMEOUT(pair.task->calls.load() >= 6, intervalMs * 6 + 10000);

        // The alarm passes through the thread object's (GUI) thread, the work does not.
        QVERIFY(alarms.count() >= 1);
        const QVector<QThread *> threads = pair.task->callThreads();
        for (QThread *thread : threads) {
            QCOMPARE(thread, static_cast<QThread *>(pair.thread.data()));
            QVERIFY(thread != QCoreApplication::instance()->thread());
        }

        const QVector<qint64> stamps = pair.task->callStamps();
        const double meanGap = double(stamps.last() - stamps.first()) / (stamps.size() - 1);
        QVERIFY2(meanGap >= intervalMs * 0.75, qPrintable(QString::number(meanGap)));
        QVERIFY2(meanGap <= intervalMs * 5.0, qPrintable(QString::number(meanGap)));
    }

    void guiThreadBlocked()
    {
        const Pair pair = makePair(50);
        pairs.append(pair);
        QSignalSpy alarms(pair.thread.data(), &ThreadBase::alarm);
        QTRY_VERIFY(pair.task->calls.load() >= 2);

        // Ticks reach the worker only through this thread's event loop: while it is blocked,
        // at most the one call already on its way can run.
        const int before = pair.task->calls.load();
        QThread::msleep(600);
        QVERIFY(pair.task->calls.load() <= before + 1);

        // Meanwhile about twelve ticks queued up here. They reach the worker as one call
        // (two, should the worker take the first before the rest are handled), however many.
        pair.task->blockFirstCallMs.store(300);
        const int alarmsBefore = alarms.count();
        QCoreApplication::processEvents();
        QVERIFY2(alarms.count() - alarmsBefore <= 2, qPrintable(QString::number(alarms.count() - alarmsBefore)));

        QTRY_VERIFY(pair.task->calls.load() >= before + 4);
        QCOMPARE(pair.task->maxInside.load(), 1);
    }

    void stopAndStartTheTick()
    {
        const Pair pair = makePair(50, QStringLiteral("Test Worker"), false);
        pairs.append(pair);
        QVERIFY(pair.task->start());
        QTRY_VERIFY(pair.task->calls.load() >= 2);

        QVERIFY(pair.task->stop());
        QVERIFY(!pair.task->isRunning());
        QVERIFY(!pair.thread->isRunning());
        const int stopped = pair.task->calls.load();

        // Let many tick intervals pass on a clock of our own.
        QTimer clock;
        QSignalSpy clockTicks(&clock, &QTimer::timeout);
        clock.start(50);
        QTRY_VERIFY(clockTicks.count() >= 10);
        QCOMPARE(pair.task->calls.load(), stopped);

        QVERIFY(pair.task->start());
        QVERIFY(pair.task->isRunning());
        QVERIFY(pair.thread->isRunning());
        QTRY_VERIFY(pair.task->calls.load() >= stopped + 2);
        QCOMPARE(pair.task->callThreads().last(), static_cast<QThread *>(pair.thread.data()));
    }

    void busyWorkerGetsNoTicks()
    {
        const Pair pair = makePair(50);
        pairs.append(pair);
        QSignalSpy alarms(pair.thread.data(), &ThreadBase::alarm);
        pair.task->blockFirstCallMs.store(1500);
        QTRY_VERIFY(pair.task->busy.load());
        const int alarmsBusy = alarms.count();

        // The timer belongs to the worker's thread: while a work call blocks, no tick is made,
        // so none can pile up or run alongside it.
        QTimer clock;
        QSignalSpy clockTicks(&clock, &QTimer::timeout);
        clock.start(50);
        QTRY_VERIFY(clockTicks.count() >= 20 || !pair.task->busy.load());
        QVERIFY2(pair.task->busy.load(), "the machine is too slow for this case");
        QCOMPARE(alarms.count(), alarmsBusy);
        QCOMPARE(pair.task->calls.load(), 1);

        // When the busy call returns, ticks go on as before.
        QTRY_VERIFY(pair.task->calls.load() >= 4);
        QCOMPARE(pair.task->maxInside.load(), 1);
    }

    void quitWithBusyWorker_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("busyMs");
        QTest::addColumn<bool>("endsInTime");
        QTest::newRow("stopThread within its limit") << "stopThread" << 1000 << true;
        QTest::newRow("stopThread limit runs out") << "stopThread" << 1500 << false;
        QTest::newRow("quitAndWait within its limit") << "quitAndWait" << 1000 << true;
        QTest::newRow("quitAndWait limit runs out") << "quitAndWait" << 1500 << false;
        QTest::newRow("plain quit, no wait") << "quit" << 1000 << true;
        QTest::newRow("task stop") << "taskStop" << 1000 << true;
    }

    void quitWithBusyWorker()
    {
        QFETCH(QString, how);
        QFETCH(int, busyMs);
        QFETCH(bool, endsInTime);
        const int limitMs = endsInTime ? 5000 : 200;

        const Pair pair = makePair(50, QStringLiteral("Busy %1").arg(QTest::currentDataTag()));
        pairs.append(pair);
        pair.task->blockFirstCallMs.store(busyMs);
        QTRY_VERIFY(pair.task->busy.load());

        QElapsedTimer clock;
        clock.start();
        if (how == QLatin1String("stopThread")) {
            QCOMPARE(pair.thread->stopThread(limitMs), endsInTime);
        } else if (how == QLatin1String("quitAndWait")) {
            QCOMPARE(ThreadBase::quitAndWait({ pair.thread.data(), nullptr }, limitMs), endsInTime ? 0 : 1);
        } else if (how == QLatin1String("taskStop")) {
            // The stop waits for the thread's end, and with it the worker's deletion.
            QVERIFY(pair.task->stop());
            QVERIFY(pair.task.isNull());
        } else {
            pair.thread->quit();
        }
        QVERIFY(clock.elapsed() < limitMs + 1000);

        if (!endsInTime) {
            QVERIFY(pair.thread->isRunning());
            const QString line = QStringLiteral("[%1] ### thread %1 did not end within %2 ms")
                                     .arg(pair.thread->objectName())
                                     .arg(limitMs);
            QVERIFY2(logFileText().contains(line.toUtf8()), qPrintable(line));
        }

        // The worker finishes its call, the thread ends, and both delete themselves.
        QTRY_VERIFY_WITH_TIMEOUT(pair.task.isNull() && pair.thread.isNull(), 10000);
        pairs.removeLast();
    }

    void quitRightAfterStartManyTimes()
    {
        // Ticks still queued in the GUI thread when a thread ends must not reach a deleted
        // worker.
        QList<ThreadBase *> threads;
        for (int i = 0; i < 20; ++i) {
            const Pair pair = makePair(1);
            pairs.append(pair);
            threads.append(pair.thread.data());
        }
        QTRY_VERIFY(std::all_of(pairs.cbegin(), pairs.cend(), [](const Pair &p) { return p.task->calls.load() > 0; }));
        QCOMPARE(ThreadBase::quitAndWait(threads), 0);
        for (const Pair &pair : qAsConst(pairs))
            QTRY_VERIFY(pair.task.isNull() && pair.thread.isNull());
        pairs.clear();
    }

    void receiverTicksAndDoesNothing()
    {
        int level = 0;
        QPointer<SNMPReceiver> receiver = new SNMPReceiver(level, SystemLog::instance());
        QPointer<ThreadBase> thread = new ThreadBase(true, 100);
        QVERIFY(receiver->attachToThread(thread, QStringLiteral("Trap Receiver")));
        connect(thread, &QThread::finished, receiver, &QObject::deleteLater);
        connect(thread, &QThread::finished, thread, &QObject::deleteLater);

        QCOMPARE(receiver->objectName(), QStringLiteral("SNMPReceiver"));
        QCOMPARE(thread->objectName(), QStringLiteral("Trap Receiver"));
        QCOMPARE(receiver->thread(), static_cast<QThread *>(thread.data()));

        QSignalSpy alarms(thread.data(), &ThreadBase::alarm);
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY(alarms.count() >= 6);
        QVERIFY(clock.elapsed() >= 6 * 100 * 3 / 4);
        QVERIFY(!receiver->isReceiving());
        QVERIFY(!receiver->isRunning());

        // The stop request arrives queued, as from the device list; its line is console-only.
        int starts = 0;
        connect(receiver, &SNMPReceiver::notifyStart, this, [&starts] { ++starts; });
        QMetaObject::invokeMethod(receiver, "onRequestToStopReceiving", Qt::QueuedConnection);
        QMetaObject::invokeMethod(receiver, [] {}, Qt::BlockingQueuedConnection);
        QVERIFY(!receiver->isReceiving());
        QVERIFY(!logFileText().contains("### snmp monitoring thread is suspended."));

        QMetaObject::invokeMethod(receiver, "onRequestToStartReceiving", Qt::QueuedConnection);
        QTRY_COMPARE(starts, 1);
        QVERIFY(receiver->isReceiving());
        QVERIFY(receiver->isRunning());
        QVERIFY(thread->isRunning());

        thread->quitThread();
        QTRY_VERIFY(receiver.isNull() && thread.isNull());
    }

private:
    QTemporaryDir root;
    QList<Pair> pairs;
};

QTEST_MAIN(TestWorkerFramework)
#include "tst_workerframework.moc"
