#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

// One operation at a time: an apply of the device settings, the end of an identity readout,
// a channel details save and the program's close each wait for device workers in bounded
// loops that let events through. Whatever would begin another operation meanwhile (a timer,
// a reply, a signal, a verdict) is queued here instead and runs after the running one, from
// the event loop, in the order it came. GUI thread only.
class OperationGate : public QObject
{
    Q_OBJECT
public:
    explicit OperationGate(QObject *parent = nullptr);
    ~OperationGate() override;

    // Marks an operation as running for its lifetime; nests. When the last one ends, the
    // queued work is started from the event loop.
    class Scope
    {
    public:
        Scope(OperationGate *gate, const char *name);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        QPointer<OperationGate> gate;
    };

    bool isBusy() const { return depth > 0; }
    // The outermost running operation, empty while idle.
    QByteArray runningName() const { return running; }
    int queuedCount() const { return queue.size(); }

    // Runs work at once when no operation runs and nothing waits before it; otherwise
    // queues it. Queued work whose context has gone by its turn is dropped.
    void runOrQueue(QObject *context, const char *name, std::function<void()> work);

    enum class Entry { Ran, Queued, Refused };
    // The one way into an operation, in one order for all: refused once the close has begun;
    // queued behind the running operation or behind work already waiting; otherwise run at
    // once. It runs marked as running (a Scope), also when its turn comes from the queue,
    // where it is dropped if the close began meanwhile.
    Entry enter(QObject *context, const char *name, std::function<void()> work);
    // The program's close: from now on enter() refuses; work runs as the last operation,
    // after the running one and after what waits before it.
    Entry enterClose(QObject *context, std::function<void()> work);

    // Set when the program's close begins: from then on the screens begin no operation
    // and restart no device.
    void setClosing() { closing = true; }
    bool isClosing() const { return closing; }

signals:
    // The last running operation has ended (before the queued work runs).
    void operationEnded();

private:
    struct Queued {
        QPointer<QObject> context;
        QByteArray name;
        std::function<void()> work;
        // Run inside a Scope; dropped once the close has begun, unless it is the close.
        bool operation = false;
        bool close = false;
    };

    Entry admit(Queued item);

    void begin(const char *name);
    void end();
    void scheduleNext();
    void runNext();

    int depth = 0;
    QByteArray running;
    bool closing = false;
    bool nextScheduled = false;
    QList<Queued> queue;
};
