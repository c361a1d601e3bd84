#include "monitor/ApplicationModel.h"

#include "core/OperationGate.h"
#include "core/ScreenUpdateValue.h"
#include "core/SharedTypes.h"
#include "core/SystemLog.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "platform/PlatformPaths.h"

#include <QDateTime>
#include <QQmlApplicationEngine>
#include <QTimer>

ApplicationModel::ApplicationModel(int logLevel, QQmlApplicationEngine *engine, QObject *parent)
    : QObject(parent)
    , engine(engine)
    , systemLog(SystemLog::instance(this))
    , logLevel(logLevel)
    , devices(new DeviceList(this->logLevel, systemLog, this))
    , rebootTimer(new QTimer(this))
    , gate(new OperationGate(this))
{
    setObjectName(QStringLiteral("ApplicationModel"));
    qRegisterMetaType<QList<LevelChecker *>>("QList<LevelChecker*>");
    qRegisterMetaType<ScreenUpdateValue>("ScreenUpdateValue");
    systemLog->initialize(logLevel, QStringLiteral("pcapplication.log"));
    readApplicationSetting();
    rebootTimer->setInterval(60000);
    rebootTimer->setSingleShot(true);
    connect(rebootTimer, &QTimer::timeout, this, &ApplicationModel::onRebootTimer, Qt::DirectConnection);
    const QDateTime now = QDateTime::currentDateTime();
    rebootSchedule.reset(now.date(), now.time());
    if (setting.rebootFlg)
        rebootTimer->start();
}

ApplicationModel::~ApplicationModel()
{
    // Workers must have left their loops before the devices go with the device list.
    if (devices && devices->deviceCount() > 0)
        devices->stopAll(true, true);
    if (devices && !devices->waitForPollingLoops(-1))
        log(objectName(), QStringLiteral("polling loops still active at exit"), LogError);
    // The worker threads log until they end: the device list (which ends them) goes
    // before the log, although the log is the older child.
    delete devices;
    devices = nullptr;
}

DeviceList *ApplicationModel::deviceList() const
{
    return devices;
}

void ApplicationModel::addDevice(int deviceNo, const char *name, const char *extraText,
                                 const quint32 *ipAddress, int inputType,
                                 const char *settingFileName, int cycleInterval,
                                 const char *startTime, const char *endTime, int wavelength,
                                 const char *community, int port)
{
    Q_UNUSED(extraText)
    if (!devices)
        return;
    auto *device = new LevelChecker(deviceNo, QString::fromUtf8(name), ipAddress, inputType,
                                    QString::fromUtf8(settingFileName), cycleInterval,
                                    QString::fromUtf8(startTime), QString::fromUtf8(endTime),
                                    wavelength, devices);
    device->setCommunity(community);
    device->setPort(port);
    device->setApplicationSetting(setting);
    devices->addDevice(device);
}

void ApplicationModel::deleteDevices()
{
    if (devices)
        devices->deleteAllDevices();
}

void ApplicationModel::stopDevices()
{
    if (devices)
        devices->stopAll(true, true);
}

void ApplicationModel::onRebootTimer()
{
    if (!setting.rebootFlg)
        return; // off for the rest of the run
    // Never inside an operation's wait for its workers: the devices it stops or starts
    // would not be the ones the operation counts on.
    gate->enter(this, "daily reboot", [this] { rebootTick(); });
    rebootTimer->setInterval(60000);
    rebootTimer->start();
}

void ApplicationModel::rebootTick()
{
    const QDateTime now = QDateTime::currentDateTime();
    switch (rebootSchedule.tick(now.date(), now.time(), setting.rebootTime, setting.rebootStopSec)) {
    case RebootSchedule::Action::StopAndReboot:
        log(objectName(), QStringLiteral("Reboot: stop and reboot the devices"), LogNormal);
        if (devices)
            devices->stopAllForReboot();
        break;
    case RebootSchedule::Action::Restart:
        log(objectName(), QStringLiteral("Reboot: restart the devices"), LogNormal);
        if (devices)
            devices->restartAllAfterReboot();
        break;
    case RebootSchedule::Action::None:
        break;
    }
}

void ApplicationModel::log(const QString &source, const QString &message, const int &level)
{
    systemLog->write(source, message, level);
}

void ApplicationModel::setDialogScale(double scale)
{
    dialogScaleValue = scale;
}

double ApplicationModel::dialogScale() const
{
    return dialogScaleValue;
}

ApplicationSetting ApplicationModel::applicationSetting() const
{
    return setting;
}

void ApplicationModel::reloadApplicationSetting()
{
    // Called for every result: an unchanged file is not read and parsed again, and is not
    // even looked up while the file system reports no change to it (a rename further up
    // the path is caught by the look-up the watch asks for once a second).
    if (settingWatchId >= 0 && PlatformPaths::rootKey() == settingRoot) {
        const PlatformFileWatch::Change change = settingWatch.changes(settingWatchId);
        if (change == PlatformFileWatch::None)
            return;
        if (change == PlatformFileWatch::Changed) {
            readApplicationSetting();
            return;
        }
    }
    // File times advance by clock ticks of a few ms, so a file changed within the last tick
    // may have changed again unseen: such a file is read every time.
    constexpr qint64 settledNs = 100000000;
    const QString path = ApplicationSetting::filePath();
    const PlatformFileIdentity now = PlatformFileIdentity::ofPath(path);
    const qint64 nowNs = QDateTime::currentMSecsSinceEpoch() * 1000000;
    if (path == settingPath && now == settingFile
        && nowNs - qMax(now.modifiedNs, now.changedNs) > settledNs)
        return;
    readApplicationSetting();
}

void ApplicationModel::readApplicationSetting()
{
    // Taken before the read: a change during the read makes the next reload read again.
    settingRoot = PlatformPaths::rootKey();
    settingPath = ApplicationSetting::filePath();
    settingWatch.unwatch(settingWatchId);
    settingWatchId = settingWatch.watch(settingPath, true);
    settingFile = PlatformFileIdentity::ofPath(settingPath);
    setting = ApplicationSetting::readFile(settingPath);
}

int ApplicationModel::maxChannelCount() const
{
    return setting.channelCountFlg == 1 ? 100 : 50;
}

QObject *ApplicationModel::findQmlObject(const QString &objectName) const
{
    if (!engine)
        return nullptr;
    const QList<QObject *> roots = engine->rootObjects();
    if (roots.isEmpty())
        return nullptr;
    QObject *root = roots.first();
    if (!root)
        return nullptr;
    if (root->objectName() == objectName)
        return root;
    for (QObject *child : root->children()) {
        if (child->objectName() == QLatin1String("stackView")) {
            // Pages and list models sit inside the page stack; nothing after it is searched.
            for (QObject *inner : child->children()) {
                if (inner->objectName() == objectName)
                    return inner;
                for (QObject *grand : inner->children()) {
                    if (grand->objectName() == objectName)
                        return grand;
                }
            }
            return nullptr;
        }
        if (child->objectName() == objectName)
            return child;
    }
    return nullptr;
}
