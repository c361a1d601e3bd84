#include "screens/HomeViewModel.h"

#include "core/ApplicationModel.h"
#include "core/PollingSettings.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "screens/AlertSettingFile.h"
#include "screens/ChannelSettingFile.h"
#include "screens/RegistrationFile.h"

#include <QDir>

QString HomeViewModel::lockFilePath()
{
    return QDir(QDir::tempPath()).absoluteFilePath(QStringLiteral("nrt52.lock"));
}

HomeViewModel::HomeViewModel(int screenId, ApplicationModel *applicationModel, QObject *parent)
    : AbstractViewModel(static_cast<ScreenId>(screenId), applicationModel, parent)
    , instanceLock(lockFilePath())
{
    // Only a lock whose owner is gone is stale: the default age limit would let a second
    // instance take the lock from a first one that has simply run for a while.
    instanceLock.setStaleLockTime(0);
    setObjectName(QStringLiteral("HomeViewModel"));
    if (!app())
        return;
    logEnter("HomeViewModel");

    if (!instanceLock.tryLock(100)) {
        lockFailed = true;
    } else {
        DeviceListFileRead();
        MeasurementChannelSettingFileRead();
        AlertSettingFileRead();
        readApplicationSettings();
        updateMeasurableFlags();
    }

    if (DeviceList *list = devices()) {
        for (int i = 0; i < list->deviceCount(); ++i) {
            LevelChecker *device = list->device(i);
            if (device && device->measurementState() == 0 && device->isMeasurable())
                list->startMonitoringAt(i);
        }
    }
    logLeave("HomeViewModel");
}

HomeViewModel::~HomeViewModel() = default;

DeviceList *HomeViewModel::devices() const
{
    ApplicationModel *model = app();
    return model ? model->deviceList() : nullptr;
}

void HomeViewModel::resume()
{
    logEnter("resume");
    logLeave("resume");
}

void HomeViewModel::suspend()
{
    logEnter("suspend");
    if (page)
        disconnect(page, SIGNAL(buttonClicked(QString)), this, SLOT(onButtonClicked(QString)));
    logLeave("suspend");
}

void HomeViewModel::createConnection(QObject *page, QObject *frame)
{
    logEnter("createConnection");
    AbstractViewModel::createConnection(page, frame);
    if (page) {
        // The home page lives for the whole run and is connected at every opening: one
        // connection each, so a pop-up or its OK is handled once.
        connect(page, SIGNAL(buttonClicked(QString)), this, SLOT(onButtonClicked(QString)),
                Qt::UniqueConnection);
        connect(this, SIGNAL(popupOpen()), page, SLOT(onPopupOpen()), Qt::UniqueConnection);
        connect(page, SIGNAL(windowClosed()), this, SLOT(onWindowClosed()), Qt::UniqueConnection);
    }
    logLeave("createConnection");
}

void HomeViewModel::activate()
{
    logEnter("activate");
    if (lockFailed) {
        emit popupOpen();
    } else {
        writeScreenChangeLog();
        if (ApplicationModel *model = app())
            setPageProperty("scaling", model->dialogScale());
    }
    logLeave("activate");
}

void HomeViewModel::deactivate()
{
    logEnter("deactivate");
    logLeave("deactivate");
}

void HomeViewModel::onChangeDialogScaleNotify(double scale)
{
    logEnter("onChangeDialogScaleNotify");
    if (ApplicationModel *model = app())
        model->setDialogScale(scale);
    setPageProperty("scaling", scale);
}

void HomeViewModel::onWindowClosed()
{
    logEnter("onWindowClosed");
    emit windowCloseNotify(lockFailed);
}

void HomeViewModel::DeviceListFileRead()
{
    ApplicationModel *model = app();
    DeviceList *list = devices();
    if (!model || !list)
        return;
    logEnter("DeviceListFileRead");

    QVector<RegistrationRecord> records;
    if (!RegistrationFile::read(RegistrationFile::filePath(), &records)) {
        log(QStringLiteral("DeviceRegistSetting.csv read ERROR"));
        return;
    }
    for (const RegistrationRecord &record : qAsConst(records)) {
        // Devices are numbered by position, and each row's remaining columns go to the
        // device just registered for it, whatever the file's "No" column says.
        const int before = list->deviceCount();
        const quint32 address = record.packedAddress();
        model->addDevice(before + 1, record.name.toUtf8().constData(), "", &address,
                         record.inputTypeCode(), "", record.cycleIntervalCode(),
                         record.startTime.toUtf8().constData(),
                         record.endTime.toUtf8().constData(), record.wavelengthCode(),
                         RegistrationRecord::Community, record.port);
        if (list->deviceCount() == before + 1)
            RegistrationFile::applyTo(list->device(before), record);
    }
    logLeave("DeviceListFileRead");
}

void HomeViewModel::MeasurementChannelSettingFileRead()
{
    DeviceList *list = devices();
    if (!list)
        return;
    logEnter("MeasurementChannelSettingFileRead");
    for (int i = 0; i < list->deviceCount(); ++i) {
        LevelChecker *device = list->device(i);
        const int deviceNo = i + 1;
        // Each plan starts from the first CATV variants, so one device's plan never
        // leaks into the next.
        if (!ChannelSettingFile::loadCommitted(device, deviceNo)) {
            log(QStringLiteral("MeasurementChannel %1.csv read ERROR").arg(deviceNo));
            continue;
        }
        device->setSettingFileName(ChannelSettingFile::fileName(deviceNo));
    }
    logLeave("MeasurementChannelSettingFileRead");
}

void HomeViewModel::AlertSettingFileRead()
{
    DeviceList *list = devices();
    if (!list)
        return;
    logEnter("AlertSettingFileRead");
    for (int i = 0; i < list->deviceCount(); ++i) {
        LevelChecker *device = list->device(i);
        const int deviceNo = i + 1;
        if (!AlertSettingFile::loadCommitted(device, deviceNo)) {
            log(QStringLiteral("AlertSetting alert_%1.csv read ERROR").arg(deviceNo));
            continue;
        }
    }
    logLeave("AlertSettingFileRead");
}

void HomeViewModel::readApplicationSettings()
{
    const PollingSettings polling = PollingSettings::read(ApplicationSetting::filePath());
    polling.copyInto(&settings);
    polling.copyIntoDevices(devices());
}

void HomeViewModel::updateMeasurableFlags()
{
    if (DeviceList *list = devices())
        list->updateMeasurableFlags();
}
