#include "settings/IdentityReadoutEnd.h"

#include "core/InformationListModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "monitor/MeasurementState.h"
#include "monitor/RequestMode.h"
#include "screens/InputShield.h"
#include "settings/DeviceSettingViewModel.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"
#include "storage/RegistrationFile.h"
#include "storage/RegistrationRecord.h"

#include <QScopeGuard>

namespace {

const QString NoAddress = QStringLiteral("0.0.0.0");
const QString Unknown = QStringLiteral("---");

// The screen's pop-up of a readout begun by "機種情報確認".
constexpr int PopupReadout = 11;

} // namespace

IdentityReadoutEnd::IdentityReadoutEnd(DeviceSettingViewModel &screen)
    : screen(screen)
{
}

void IdentityReadoutEnd::run()
{
    // Clicks given while the operation runs must not act on the screen it returns to.
    const InputShield inputShield;
    screen.operationActive = true;
    const auto activeEnd = qScopeGuard([this] { screen.operationActive = false; });
    screen.readout->stop();
    screen.stopPacedStarts();
    DeviceList *list = screen.devices();
    // Without the application object there is no device list and nothing to end.
    if (!list)
        return;
    screen.logEnter("endInformationReadout");
    QList<int> flagged;
    for (int i = 0; i < list->deviceCount() && i < DeviceSettingViewModel::MaxRows; ++i) {
        if (!screen.applyStopFlags[i])
            continue;
        list->stopMonitoringAt(i);
        flagged.append(i);
    }
    if (!flagged.isEmpty())
        screen.waitForWorkersToLeave(flagged);
    for (int i : qAsConst(flagged)) {
        LevelChecker *device = list->device(i);
        if (!device)
            continue;
        if (list->isDeviceInUse(device)) {
            // Back in the measurement mode, so that a later start measures instead of
            // reading its identity again.
            device->setRequestMode(int(RequestMode::Measurement));
            screen.noteSkipped(i, "end of readout");
            continue;
        }
        device->setCurrentChannelIndex(LevelChecker::NoChannel);
        device->setRequestMode(int(RequestMode::Measurement));
        if (device->measurementState() != int(MeasurementState::Measuring))
            continue;
        if (device->channelSettingCount() > 0 && device->ipAddressText() != NoAddress)
            list->startMonitoringAt(i);
        else
            DeviceSettingViewModel::markStopped(device, i + 1);
    }
    screen.unreadDevices.clear();
    for (int i : qAsConst(flagged)) {
        const LevelChecker *device = list->device(i);
        if (!device || screen.skippedDeviceIndexes.contains(i))
            continue;
        if (screen.readout->isPending(i) || device->serialNumber() == Unknown || device->macAddress() == Unknown
            || device->firmwareVersion() == Unknown)
            screen.unreadDevices.append(QStringLiteral("機器No.%1(%2)").arg(i + 1).arg(device->name()));
    }
    // Written with no device left too (the last one removed): kept as it was, a restart
    // would bring the removed devices back.
    if (writeRegistration())
        removeRetiredDeviceFiles();
    screen.logLeave("endInformationReadout");
}

// Plans and thresholds are kept by device number: a removed device's files would be taken
// by the next device given its number. They go once the registration without the device
// is written, so that a failed write leaves the device and its files together.
void IdentityReadoutEnd::removeRetiredDeviceFiles()
{
    DeviceList *list = screen.devices();
    const int count = list ? list->deviceCount() : 0;
    for (int deviceNo : qAsConst(screen.retiredDeviceNos)) {
        if (deviceNo <= count)
            continue;
        ChannelSettingFile::removeCopy(deviceNo, ChannelSettingFile::Copy::Committed);
        AlertSettingFile::removeCopy(deviceNo, AlertSettingFile::Copy::Committed);
        ChannelSettingFile::removePendingPair(deviceNo);
        screen.log(QStringLiteral("device %1 removed: its plan and thresholds deleted").arg(deviceNo));
    }
    screen.retiredDeviceNos.clear();
}

bool IdentityReadoutEnd::writeRegistration()
{
    DeviceList *list = screen.devices();
    if (!list)
        return false;
    QVector<RegistrationRecord> records;
    if (screen.informationListModel)
        screen.informationListModel->clear();
    for (int i = 0; i < list->deviceCount(); ++i) {
        const LevelChecker *device = list->device(i);
        if (!device)
            continue;
        RegistrationRecord record = RegistrationFile::recordOf(*device);
        record.deviceNo = i + 1;
        // After an end that skipped the close, the next start finds every device stopped.
        record.measurementState = int(MeasurementState::Stopped);
        records.append(record);
        if (screen.informationListModel) {
            InformationListRow row;
            row.infodeviceno = QString::number(i + 1);
            row.infodevicename = device->name();
            row.infoipaddress = DeviceEditRecord::shownAddress(device->ipAddressText());
            row.infoserialnumber = device->serialNumber();
            row.infomacaddress = device->macAddress();
            row.infofwversion = device->firmwareVersion();
            screen.informationListModel->addRow(row);
        }
    }
    if (!RegistrationFile::write(RegistrationFile::filePath(), records, RegistrationFile::PortColumn::Always)) {
        screen.log(QStringLiteral("DeviceRegistSetting.csv write ERROR"), LogError);
        screen.setPageProperty("settingok", true);
        screen.setPageProperty("settngtext", screen.finishedText(QStringLiteral("DeviceRegistSetting.csvを保存できませんでした。")));
        return false;
    }
    if (screen.page) {
        screen.setPageProperty("settingok", true);
        const int shown = screen.page->property("validTimeErrorPopupFlg").toInt();
        screen.setPageProperty("settngtext", screen.finishedText(shown == PopupReadout ? QStringLiteral("更新しました。")
                                                                         : QStringLiteral("設定完了")));
    }
    return true;
}
