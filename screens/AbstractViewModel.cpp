#include "screens/AbstractViewModel.h"

#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "monitor/MeasurementState.h"
#include "screens/InputShield.h"
#include "screens/WorkLog.h"

#include <QCoreApplication>
#include <QThread>

AbstractViewModel::AbstractViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent)
    : QObject(parent)
    , applicationModel(applicationModel)
    , screenId(screenId)
    , owner(parent)
{
    setObjectName(QStringLiteral("AbstractViewModel"));
}

AbstractViewModel::~AbstractViewModel() = default;

void AbstractViewModel::resume() {}
void AbstractViewModel::suspend() {}

void AbstractViewModel::createConnection(QObject *page, QObject *frame)
{
    this->page = page;
    this->frame = frame;
}

void AbstractViewModel::activate() {}
void AbstractViewModel::deactivate() {}
void AbstractViewModel::checkChangeDialog() {}

void AbstractViewModel::onButtonClicked(QString button)
{
    Q_UNUSED(button)
}

void AbstractViewModel::onListButtonClicked(QString button, int index, int clicked)
{
    Q_UNUSED(button)
    Q_UNUSED(index)
    Q_UNUSED(clicked)
}

void AbstractViewModel::onRowButtonClicked(QString button, QString buttonvalue, int rowvalue)
{
    Q_UNUSED(button)
    Q_UNUSED(buttonvalue)
    Q_UNUSED(rowvalue)
}

void AbstractViewModel::onTimeChangeButtonClicked(QString button, QString starttime, QString endtime, int row)
{
    Q_UNUSED(button)
    Q_UNUSED(starttime)
    Q_UNUSED(endtime)
    Q_UNUSED(row)
}

void AbstractViewModel::writeWorkLog(const WorkLogEntry &entry, WorkLogKind kind)
{
    WorkLog::writeWorkLog(entry, kind);
}

void AbstractViewModel::markStopped(LevelChecker *device, int deviceNo)
{
    if (!device)
        return;
    device->setMeasurementState(int(MeasurementState::Stopped));
    WorkLogEntry entry;
    entry.deviceNo = deviceNo;
    entry.started = false;
    writeWorkLog(entry, WorkLogMeasurementStartStop);
}

void AbstractViewModel::writeScreenChangeLog() const
{
    WorkLogEntry entry;
    entry.screenId = screenId;
    writeWorkLog(entry, WorkLogScreenChange);
}

ApplicationModel *AbstractViewModel::app() const
{
    return qobject_cast<ApplicationModel *>(applicationModel);
}

void AbstractViewModel::log(const QString &message, int level) const
{
    if (ApplicationModel *model = app())
        model->log(objectName(), message, level);
}

void AbstractViewModel::logEnter(const char *operation) const
{
    log(QStringLiteral("Enter %1").arg(QLatin1String(operation)));
}

void AbstractViewModel::logLeave(const char *operation) const
{
    log(QStringLiteral("Leave %1").arg(QLatin1String(operation)));
}

void AbstractViewModel::setPageProperty(const char *name, const QVariant &value) const
{
    if (page)
        page->setProperty(name, value);
}

void AbstractViewModel::connectPageSignals(const PageConnection *connections, int count, bool connecting)
{
    if (!page)
        return;
    for (int i = 0; i < count; ++i) {
        const PageConnection &c = connections[i];
        QObject *sender = c.fromPage ? page.data() : this;
        QObject *receiver = c.fromPage ? this : page.data();
        if (connecting)
            connect(sender, c.signal, receiver, c.slot, Qt::UniqueConnection);
        else
            disconnect(sender, c.signal, receiver, c.slot);
    }
}

bool AbstractViewModel::waitForWorkersToLeave(const QList<int> &deviceIndexes) const
{
    ApplicationModel *model = app();
    DeviceList *devices = model ? model->deviceList() : nullptr;
    if (!devices)
        return true;
    const auto anyBusy = [&] {
        for (int index : deviceIndexes) {
            if (devices->isDeviceInUse(devices->device(index)))
                return true;
        }
        return false;
    };
    int pauses = 0;
    bool busy = anyBusy();
    while (busy) {
        if (++pauses > WorkerWaitSteps)
            break;
        QCoreApplication::processEvents(InputShield::waitFlags(), WorkerWaitStepMs);
        QThread::msleep(WorkerWaitStepMs);
        busy = anyBusy();
    }
    if (pauses > 0)
        log(QStringLiteral("ThreadWaitTimes!===%1").arg(pauses));
    return !busy;
}
