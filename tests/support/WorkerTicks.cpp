#include "support/WorkerTicks.h"

#include "monitor/DeviceList.h"
#include "monitor/SNMPMonitor.h"
#include "monitor/ThreadBase.h"

#include <QSignalSpy>
#include <QtTest>

QString WorkerTicks::waitFor(const DeviceList *list, int index, int ticks, int timeoutMs)
{
    const SNMPMonitor *worker = list ? list->monitor(index) : nullptr;
    ThreadBase *thread = worker ? worker->attachedThread() : nullptr;
    if (!thread || !thread->isRunning())
        return QStringLiteral("the polling worker of device %1 has no running thread").arg(index + 1);
    QSignalSpy alarms(thread, &ThreadBase::alarm);
    if (!QTest::qWaitFor([&] { return alarms.count() >= ticks; }, timeoutMs))
        return QStringLiteral("the polling worker of device %1 ticked %2 times, not %3, in %4 ms")
            .arg(index + 1).arg(alarms.count()).arg(ticks).arg(timeoutMs);
    return QString();
}
