#include "screens/HomeViewModel.h"

#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"
#include "storage/DevicePlanLoader.h"
#include "storage/PollingSettings.h"
#include "storage/RegistrationFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

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
            if (device && device->measurementState() == int(MeasurementState::Measuring) && device->isMeasurable())
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
        connect(this, SIGNAL(registrationDamaged(QVariant)), page, SLOT(onRegistrationDamaged(QVariant)),
                Qt::UniqueConnection);
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
        if (page && !damagedDeviceNos.isEmpty() && !damagedShown) {
            damagedShown = true;
            QStringList numbers;
            for (int deviceNo : qAsConst(damagedDeviceNos))
                numbers.append(QString::number(deviceNo));
            emit registrationDamaged(numbers.join(QLatin1Char(',')));
        }
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

    const QString path = RegistrationFile::filePath();
    QVector<RegistrationRecord> records;
    RegistrationFile::ReadReport report;
    if (!RegistrationFile::read(path, &records, &report)) {
        log(QStringLiteral("DeviceRegistSetting.csv read ERROR"));
        return;
    }
    if (report.shiftJis)
        log(QStringLiteral("DeviceRegistSetting.csv is no UTF-8: read as Shift-JIS"));
    if (report.headerMissing)
        log(QStringLiteral("DeviceRegistSetting.csv has no header line"), LogError);
    for (int lineNo : qAsConst(report.linesBeforeHeader))
        log(QStringLiteral("DeviceRegistSetting.csv line %1 before the header: not read").arg(lineNo), LogError);
    if (!report.linesPastLimit.isEmpty()) {
        log(QStringLiteral("DeviceRegistSetting.csv lines %1 to %2 are past the %3th device: not read")
                .arg(report.linesPastLimit.first())
                .arg(report.linesPastLimit.last())
                .arg(RegistrationFile::MaxDevices),
            LogError);
    }
    bool damaged = false;
    for (const RegistrationRecord &record : qAsConst(records)) {
        if (record.problem.isEmpty())
            continue;
        damaged = true;
        damagedDeviceNos.append(record.deviceNo);
        log(QStringLiteral("DeviceRegistSetting.csv line %1 (device %2): %3; the device stays stopped and "
                           "its line is kept as it is")
                .arg(record.lineNo)
                .arg(record.deviceNo)
                .arg(record.problem),
            LogError);
    }
    // The close rewrites the file from the devices: what it cannot carry is kept beside it.
    if (damaged || report.losesLines()) {
        const QString aside = QFileInfo(RegistrationFile::asidePath(path)).fileName();
        switch (RegistrationFile::keepAside(path, report.losesLines())) {
        case RegistrationFile::Aside::Kept:
            log(QStringLiteral("DeviceRegistSetting.csv kept as %1").arg(aside));
            break;
        case RegistrationFile::Aside::EarlierKept:
            // The earlier copy is the older original, with every line this file still holds.
            log(QStringLiteral("%1 of an earlier start kept as it is").arg(aside));
            break;
        case RegistrationFile::Aside::Failed:
            log(QStringLiteral("DeviceRegistSetting.csv could not be kept as %1").arg(aside), LogError);
            break;
        }
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
        if (list->deviceCount() == before + 1) {
            RegistrationFile::applyTo(list->device(before), record);
            RegistrationFile::holdLine(list->device(before), record);
        }
    }
    logLeave("DeviceListFileRead");
}

void HomeViewModel::MeasurementChannelSettingFileRead()
{
    DeviceList *list = devices();
    if (!list)
        return;
    logEnter("MeasurementChannelSettingFileRead");
    settleLeftoverPendingFiles();
    for (int i = 0; i < list->deviceCount(); ++i) {
        LevelChecker *device = list->device(i);
        const int deviceNo = i + 1;
        if (!DevicePlanLoader::loadPlan(device, deviceNo, DevicePlanLoader::Naming::EveryPlan))
            log(DevicePlanLoader::planErrorText(deviceNo));
    }
    logLeave("MeasurementChannelSettingFileRead");
}

// A pending plan and thresholds saved in an earlier run wait for an apply that never came,
// or were cut by the end of that run: none of them goes into service unsaved.
void HomeViewModel::settleLeftoverPendingFiles()
{
    for (int deviceNo = 1; deviceNo <= RegistrationFile::MaxDevices; ++deviceNo) {
        switch (ChannelSettingFile::settleLeftover(deviceNo)) {
        case ChannelSettingFile::Leftover::None:
            break;
        case ChannelSettingFile::Leftover::PairRemoved:
            log(QStringLiteral("%1 / %2 of an unfinished save removed")
                    .arg(ChannelSettingFile::fileName(deviceNo, ChannelSettingFile::Copy::Pending),
                         AlertSettingFile::fileName(deviceNo, AlertSettingFile::Copy::Pending)));
            break;
        case ChannelSettingFile::Leftover::PromotionCompleted:
            log(QStringLiteral("%1 of an unfinished apply put into service with its thresholds")
                    .arg(ChannelSettingFile::fileName(deviceNo, ChannelSettingFile::Copy::Pending)));
            break;
        case ChannelSettingFile::Leftover::Failed:
            log(QStringLiteral("%1 / %2 left by an earlier run cannot be removed or put into service")
                    .arg(ChannelSettingFile::fileName(deviceNo, ChannelSettingFile::Copy::Pending),
                         AlertSettingFile::fileName(deviceNo, AlertSettingFile::Copy::Pending)),
                LogError);
            break;
        }
    }
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
        if (!DevicePlanLoader::loadThresholds(device, deviceNo))
            log(DevicePlanLoader::thresholdsErrorText(deviceNo));
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
