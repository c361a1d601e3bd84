#include "core/OperationGate.h"

#include <QTimer>

OperationGate::OperationGate(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("OperationGate"));
}

OperationGate::~OperationGate() = default;

OperationGate::Scope::Scope(OperationGate *gate, const char *name)
    : gate(gate)
{
    if (gate)
        gate->begin(name);
}

OperationGate::Scope::~Scope()
{
    if (gate)
        gate->end();
}

void OperationGate::runOrQueue(QObject *context, const char *name, std::function<void()> work)
{
    if (!isBusy() && queue.isEmpty()) {
        work();
        return;
    }
    queue.append({context, QByteArray(name), std::move(work)});
    if (!isBusy())
        scheduleNext();
}

OperationGate::Entry OperationGate::enter(QObject *context, const char *name, std::function<void()> work)
{
    if (closing)
        return Entry::Refused;
    return admit({context, QByteArray(name), std::move(work), true, false});
}

OperationGate::Entry OperationGate::enterClose(QObject *context, std::function<void()> work)
{
    closing = true;
    return admit({context, QByteArrayLiteral("close"), std::move(work), true, true});
}

OperationGate::Entry OperationGate::admit(Queued item)
{
    if (!isBusy() && queue.isEmpty()) {
        Scope operation(this, item.name.constData());
        item.work();
        return Entry::Ran;
    }
    queue.append(std::move(item));
    if (!isBusy())
        scheduleNext();
    return Entry::Queued;
}

void OperationGate::begin(const char *name)
{
    if (depth++ == 0)
        running = QByteArray(name);
}

void OperationGate::end()
{
    if (depth <= 0 || --depth > 0)
        return;
    running.clear();
    emit operationEnded();
    if (!queue.isEmpty())
        scheduleNext();
}

void OperationGate::scheduleNext()
{
    if (nextScheduled)
        return;
    nextScheduled = true;
    QTimer::singleShot(0, this, &OperationGate::runNext);
}

// One queued item per turn of the event loop: what it starts may itself queue work, which
// then waits behind the items already queued.
void OperationGate::runNext()
{
    nextScheduled = false;
    if (isBusy() || queue.isEmpty())
        return;
    Queued next = queue.takeFirst();
    if (next.context && (!next.operation || !closing || next.close)) {
        if (next.operation) {
            Scope operation(this, next.name.constData());
            next.work();
        } else {
            next.work();
        }
    }
    if (!isBusy() && !queue.isEmpty())
        scheduleNext();
}
