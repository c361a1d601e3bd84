#include "settings/DeviceApply.h"

#include "core/ConstantTables.h"
#include "core/DeviceSettingModel.h"
#include "core/InformationListModel.h"
#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "screens/InputShield.h"
#include "settings/DeviceApplyPlan.h"
#include "settings/DeviceSettingViewModel.h"
#include "storage/ChannelSettingFile.h"
#include "storage/DevicePlanLoader.h"
#include "storage/DeviceRowCheck.h"
#include "storage/RegistrationRecord.h"
#include "storage/SettingFileText.h"

#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>

#include <cstring>

namespace {

const QString NotSet = QStringLiteral("未設定");
const QString PlanSet = QStringLiteral("設定・確認");
const QString NoAddress = QStringLiteral("0.0.0.0");
const QString Unknown = QStringLiteral("---");

constexpr int ProgressPauseMs = 400;
constexpr int NewDevicePauseMs = 400;

// The screen's pop-ups the apply opens.
constexpr int PopupApplying = 4;
constexpr int PopupReadout = 11;

bool hasAddress(const QString &text)
{
    return DeviceApplyPlan::hasAddress(text);
}

// The four address bytes in memory order, as a device takes them; 0.0.0.0 without address.
quint32 packedAddress(const QString &text)
{
    quint8 bytes[4] = {0, 0, 0, 0};
    if (hasAddress(text)) {
        const QStringList parts = text.split(QLatin1Char('.'));
        for (int k = 0; k < 4 && k < parts.size(); ++k)
            bytes[k] = static_cast<quint8>(DeviceRowCheck::octetValue(parts.at(k)) & 0xFF);
    }
    quint32 packed = 0;
    std::memcpy(&packed, bytes, sizeof packed);
    return packed;
}

} // namespace

DeviceApply::DeviceApply(DeviceSettingViewModel &screen)
    : screen(screen)
{
}

bool DeviceApply::checkAddresses()
{
    screen.ipAddressError = false;
    // Rows cleared at the end of the table are removed by the apply, not checked.
    const int checkedRows = screen.editRecords.size() - 1 - DeviceApplyPlan::clearedTailCount(screen.editRecords);
    for (int j = 0; j < checkedRows; ++j) {
        const DeviceEditRecord &record = screen.editRecords.at(j);
        if (record.ipAddress == NoAddress || record.ipAddress == DeviceEditRecord::blankAddress())
            continue;
        const int problem = DeviceRowCheck::addressProblem(record.ipAddress);
        if (problem == 0)
            continue;
        screen.setPageProperty("ipaddrtext", QStringLiteral("機器No.") + record.deviceNo);
        emit screen.openPopup(problem);
        screen.ipAddressError = true;
        return false;
    }
    return true;
}

bool DeviceApply::checkDuplicates(bool imported)
{
    DeviceList *list = screen.devices();
    QStringList keys;
    for (int j = 0; j + 1 < screen.editRecords.size(); ++j) {
        const QString &address = screen.editRecords.at(j).ipAddress;
        if (!hasAddress(address))
            continue;
        // Rows registered by this apply get the port of their record.
        const LevelChecker *device = !imported && list ? list->device(j) : nullptr;
        const int port = device ? device->port() : screen.editRecords.at(j).port;
        const QStringList parts = address.split(QLatin1Char('.'));
        const QString key = QStringLiteral("%1.%2.%3.%4:%5")
                                .arg(DeviceRowCheck::octetValue(parts.value(0)))
                                .arg(DeviceRowCheck::octetValue(parts.value(1)))
                                .arg(DeviceRowCheck::octetValue(parts.value(2)))
                                .arg(DeviceRowCheck::octetValue(parts.value(3)))
                                .arg(port);
        if (keys.contains(key)) {
            screen.setPageProperty("settingok", true);
            screen.setPageProperty("settngtext", QStringLiteral("IPアドレスが重複しています"));
            emit screen.openPopup(PopupApplying);
            return false;
        }
        keys.append(key);
    }
    return true;
}

void DeviceApply::showProgress(bool readAll)
{
    emit screen.openPopup(readAll ? PopupReadout : PopupApplying);
    screen.setPageProperty("settingok", false);
    screen.setPageProperty("settngtext", readAll ? QStringLiteral("取得中です。しばらくお待ちください。")
                                          : QStringLiteral("設定中です。しばらくお待ちください。"));
    // The window keeps drawing meanwhile; the operator's input is thrown away until the end.
    pauseWithEvents(ProgressPauseMs);
}

void DeviceApply::pauseWithEvents(int ms)
{
    QEventLoop pause;
    QTimer::singleShot(ms, &pause, &QEventLoop::quit);
    pause.exec(InputShield::waitFlags());
}

void DeviceApply::registerDevice(int deviceNo, const DeviceEditRecord &record)
{
    ApplicationModel *model = screen.app();
    if (!model)
        return;
    const quint32 address = packedAddress(record.ipAddress);
    model->addDevice(deviceNo, DeviceSettingViewModel::toCharBuffer(record.name).constData(), "", &address,
                     SettingFileText::toInt(record.inputType), DeviceSettingViewModel::toCharBufferAscii(record.settingFile).constData(),
                     SettingFileText::toInt(record.cycleInterval), DeviceSettingViewModel::toCharBuffer(record.startTime).constData(),
                     DeviceSettingViewModel::toCharBuffer(record.endTime).constData(), SettingFileText::toInt(record.wavelength),
                     RegistrationRecord::Community, record.port);
}

void DeviceApply::applyImported()
{
    ApplicationModel *model = screen.app();
    DeviceList *list = screen.devices();
    model->stopDevices();
    QList<int> all;
    for (int i = 0; i < list->deviceCount(); ++i)
        all.append(i);
    screen.waitForWorkersToLeave(all);
    // A device whose worker is still out is kept by the list until the worker lets go.
    list->clearMonitors();
    model->deleteDevices();

    screen.savedRecords.clear();
    for (int j = 0; j + 1 < screen.editRecords.size(); ++j) {
        const DeviceEditRecord &record = screen.editRecords.at(j);
        registerDevice(j + 1, record);
        if (LevelChecker *device = list->device(list->deviceCount() - 1)) {
            device->setOptionId(true);
            device->setSerialNumber(Unknown);
            device->setMacAddress(Unknown);
            device->setFirmwareVersion(Unknown);
            device->setRequestMode(int(RequestMode::Information));
            device->setIdentityReadout(screen.readout->id());
        }
        screen.savedRecords.append(record);
    }
    screen.savedRecords.append(DeviceEditRecord::blank(list->deviceCount() + 1));
    // 500 ms apart by a timer, once this apply has ended: the window never waits for them.
    screen.beginPacedStarts();
}

void DeviceApply::removeClearedRows(int k)
{
    DeviceList *list = screen.devices();
    if (k <= 0)
        return;

    for (int pass = 0; pass < k; ++pass) {
        screen.editRecords.removeLast();
        const int r = screen.editRecords.size() - 1;
        // Only the last device can be the one of the row now last: the cleared rows are the
        // end of the table.
        if (r >= 0 && r < list->deviceCount() && r == list->deviceCount() - 1) {
            LevelChecker *device = list->device(r);
            if (device && list->isDeviceInUse(device)) {
                device->stopTimer();
                list->stopMeasurementAt(r);
                screen.waitForWorkersToLeave({r});
            }
            // A worker still out keeps the device alive until it lets go.
            list->removeLastDevice();
            screen.retiredDeviceNos.append(r + 1);
            if (r < screen.savedRecords.size())
                screen.savedRecords.removeAt(r);
        }
    }
    if (!screen.editRecords.isEmpty()) {
        const int last = screen.editRecords.size() - 1;
        screen.editRecords[last] = DeviceEditRecord::blank(last + 1);
    }
    screen.rebuildTable();
    if (screen.deviceSettingModel) {
        for (int i = 0; i < list->deviceCount(); ++i) {
            const LevelChecker *device = list->device(i);
            screen.deviceSettingModel->setData(screen.deviceSettingModel->index(i),
                                        device && device->channelSettingCount() > 0 ? PlanSet : NotSet,
                                        DeviceSettingModel::SettingfileRole);
        }
    }
}

QList<int> DeviceApply::registerNewRows()
{
    DeviceList *list = screen.devices();
    QList<int> added;
    for (int j = list->deviceCount(); j + 1 < screen.editRecords.size(); ++j) {
        const DeviceEditRecord &record = screen.editRecords.at(j);
        const int before = list->deviceCount();
        registerDevice(SettingFileText::toInt(record.deviceNo), record);
        if (list->deviceCount() != before + 1)
            break;
        LevelChecker *device = list->device(before);
        device->setOptionId(true);
        device->setSerialNumber(Unknown);
        device->setMacAddress(Unknown);
        device->setFirmwareVersion(Unknown);
        device->setRequestMode(int(RequestMode::Information));
        added.append(before);
        pauseWithEvents(NewDevicePauseMs);
    }
    return added;
}

bool DeviceApply::run(bool readAll)
{
    // Clicks given while the operation runs must not act on the screen it returns to.
    const InputShield inputShield;
    DeviceList *list = screen.devices();
    if (!list)
        return false;
    screen.operationActive = true;
    const auto activeEnd = qScopeGuard([this] { screen.operationActive = false; });
    screen.logEnter("applySettings");
    const bool imported = screen.importPending;

    // Everything is checked before anything changes: a refused apply leaves the devices,
    // the records and the files as they were.
    if (!checkAddresses())
        return false;
    if (!readAll && !checkDuplicates(imported))
        return false;

    // This apply's readout supersedes a running one: the earlier bound must not end it
    // while this apply waits for its workers, and the replies of the passes it restarts
    // are told from its own by this id.
    screen.readout->supersede();
    screen.stopPacedStarts();
    showProgress(readAll);
    // Devices still in a running readout keep their flag, so that its end, now this one's,
    // returns them to measurement.
    if (!screen.readout->isActive())
        screen.applyStopFlags.fill(false);
    screen.skippedDeviceNos.clear();
    screen.skippedDeviceIndexes.clear();
    screen.unreadDevices.clear();

    // Decided before anything changes.
    QVector<DeviceApplyPlan::Device> facts;
    for (int i = 0; i < list->deviceCount(); ++i) {
        const LevelChecker *device = list->device(i);
        DeviceApplyPlan::Device fact;
        fact.identityKnown = device && device->macAddress() != Unknown && device->firmwareVersion() != Unknown
                             && device->serialNumber() != Unknown;
        fact.planPending = screen.hasPendingChannelPlan(i);
        facts.append(fact);
    }
    const DeviceApplyPlan plan = DeviceApplyPlan::make(screen.editRecords, screen.savedRecords, facts, readAll, imported);

    if (imported)
        applyImported();

    removeClearedRows(plan.clearedRows);

    const int savedBefore = screen.savedRecords.size();
    const QVector<DeviceEditRecord> previouslySaved = screen.savedRecords;
    if (!imported && !plan.registered.isEmpty())
        registerNewRows();

    // The devices to restart for a readout.
    QList<int> marked;
    const int deviceCount = list->deviceCount();
    for (int i = 0; i + 1 < screen.editRecords.size() && i < deviceCount && !imported; ++i) {
        LevelChecker *device = list->device(i);
        if (!device || i >= DeviceSettingViewModel::MaxRows)
            continue;
        if (!plan.restarted.contains(i)) {
            device->setOptionId(false);
            continue;
        }
        screen.applyStopFlags[i] = true;
        device->setOptionId(true);
        device->stopTimer();
        list->stopMeasurementAt(i);
        marked.append(i);
    }
    if (!marked.isEmpty() && !screen.waitForWorkersToLeave(marked)) {
        for (int i : qAsConst(marked)) {
            LevelChecker *device = list->device(i);
            if (device && list->isDeviceInUse(device)) {
                screen.applyStopFlags[i] = false;
                device->setOptionId(false);
                screen.noteSkipped(i, "apply");
            }
        }
        for (int i : qAsConst(screen.skippedDeviceIndexes))
            marked.removeAll(i);
    }

    // Restart the marked devices with their new settings; the others take only their alert
    // window, which their worker does not read.
    for (int j = 0; j + 1 < screen.editRecords.size() && j < list->deviceCount(); ++j) {
        LevelChecker *device = list->device(j);
        if (!device)
            continue;
        const DeviceEditRecord &record = screen.editRecords.at(j);
        if (marked.contains(j)) {
            if (!readAll) {
                const quint32 address = packedAddress(record.ipAddress);
                const QString formerAddress = device->ipAddressText();
                device->setDeviceNo(j + 1);
                device->setIpAddress(&address);
                // The identity read at the former address is not this one's, whatever comes
                // of the readout.
                if (device->ipAddressText() != formerAddress) {
                    device->setSerialNumber(Unknown);
                    device->setMacAddress(Unknown);
                    device->setFirmwareVersion(Unknown);
                }
                device->setName(record.name);
                device->setInputType(SettingFileText::toInt(record.inputType));
                device->setCycleInterval(SettingFileText::toInt(record.cycleInterval));
                device->setStartTime(record.startTime);
                device->setEndTime(record.endTime);
                device->setWavelength(SettingFileText::toInt(record.wavelength));
            }
            screen.log(QStringLiteral("ThreadStart!"));
            if (device->ipAddressText() != NoAddress) {
                device->setOptionId(true);
                device->setRequestMode(int(RequestMode::Information));
                device->setIdentityReadout(screen.readout->id());
                list->startMonitoringAt(j);
            } else {
                device->setSerialNumber(Unknown);
                device->setMacAddress(Unknown);
                device->setFirmwareVersion(Unknown);
            }
        } else if (!screen.skippedDeviceIndexes.contains(j)) {
            device->setStartTime(record.startTime);
            device->setEndTime(record.endTime);
        }
    }
    if (imported) {
        for (int i = 0; i < list->deviceCount() && i < DeviceSettingViewModel::MaxRows; ++i)
            screen.applyStopFlags[i] = true;
    }

    if (screen.informationListModel)
        screen.informationListModel->clear();
    if (!imported)
        screen.startReadoutTimer();

    loadPlans();
    moveStoredResults();
    loadThresholds();
    screen.updateIpSetFlags();

    for (int i = 0; i < list->deviceCount(); ++i) {
        LevelChecker *device = list->device(i);
        if (!device || i >= screen.merCnModes.size())
            continue;
        device->setTerrestrialMerCn(MerCnrTable.value(screen.merCnModes.at(i).ofdm, 0));
        device->setCatvMerCn(MerCnrTable.value(screen.merCnModes.at(i).catv, 0));
    }

    if (imported) {
        emit screen.measurementResultModelClear();
        emit screen.makeMeasurementResultModel();
    } else {
        if (!readAll) {
            for (int j = qMax(0, savedBefore - 1); j + 1 < screen.editRecords.size() && j < list->deviceCount(); ++j)
                emit screen.makeOneMeasurementResultModel(j);
        }
        emit screen.measurementChannelReloading();
    }

    screen.readPollingSettings();

    if (!readAll) {
        for (DeviceEditRecord &record : screen.editRecords) {
            if (record.ipAddress == QLatin1String("..."))
                record.ipAddress = DeviceEditRecord::blankAddress();
        }
        screen.savedRecords = screen.editRecords;
        // A skipped device did not take its row: the next apply must see the change again.
        for (int i : qAsConst(screen.skippedDeviceIndexes)) {
            if (i + 1 < previouslySaved.size() && i < screen.savedRecords.size())
                screen.savedRecords[i] = previouslySaved.at(i);
        }
    }

    QList<bool> pending;
    for (int i = 0; i < list->deviceCount(); ++i) {
        const LevelChecker *device = list->device(i);
        pending.append(device && device->optionId());
    }
    screen.readout->setPending(pending);
    if (!screen.readout->hasPending()) {
        screen.setPageProperty("settingok", true);
        screen.setPageProperty("settngtext", screen.finishedText(QStringLiteral("設定完了")));
    }

    screen.ipAddressError = false;
    screen.importPending = false;
    screen.merCnChanged = false;
    if (!readAll) {
        WorkLogEntry entry;
        entry.screenId = ScreenDeviceSetting;
        DeviceSettingViewModel::writeWorkLog(entry, WorkLogSettingsApplied);
    }
    screen.logLeave("applySettings");
    return true;
}

void DeviceApply::loadPlans()
{
    DeviceList *list = screen.devices();
    if (!list)
        return;
    screen.logEnter("MeasurementChannelSettingFileRead");
    screen.failedPairDeviceNos.clear();
    for (int i = 0; i < list->deviceCount(); ++i) {
        // A device whose worker is still out keeps its plan; its pending plan waits.
        if (screen.skippedDeviceIndexes.contains(i))
            continue;
        // Plan and thresholds go into service together or not at all; a pair that cannot
        // stays pending, and the device keeps measuring with its committed pair.
        if (!ChannelSettingFile::promotePendingPair(i + 1)) {
            screen.log(QStringLiteral("device %1: pending plan and thresholds cannot be put into service").arg(i + 1),
                LogError);
            screen.failedPairDeviceNos.append(i + 1);
        }
    }
    for (int i = 0; i < list->deviceCount(); ++i) {
        LevelChecker *device = list->device(i);
        if (!device || screen.skippedDeviceIndexes.contains(i))
            continue;
        const int deviceNo = i + 1;
        bool named = false;
        if (!DevicePlanLoader::loadPlan(device, deviceNo, DevicePlanLoader::Naming::PlanWithChannels, &named)) {
            screen.log(DevicePlanLoader::planErrorText(deviceNo));
            continue;
        }
        if (named && screen.deviceSettingModel)
            screen.deviceSettingModel->setData(screen.deviceSettingModel->index(i), PlanSet, DeviceSettingModel::SettingfileRole);
    }
    screen.logLeave("MeasurementChannelSettingFileRead");
}

void DeviceApply::moveStoredResults()
{
    ApplicationModel *model = screen.app();
    DeviceList *list = screen.devices();
    if (!model || !list)
        return;
    screen.logEnter("ResultsLogUpdate");
    for (int i = 0; i < list->deviceCount(); ++i) {
        LevelChecker *device = list->device(i);
        if (device && !screen.skippedDeviceIndexes.contains(i))
            device->moveStoredResultsToChannelSettings(model->maxChannelCount());
    }
}

void DeviceApply::loadThresholds()
{
    DeviceList *list = screen.devices();
    if (!list)
        return;
    screen.logEnter("AlertSettingFileRead");
    // The pending thresholds went into service with their plan.
    for (int i = 0; i < list->deviceCount(); ++i) {
        LevelChecker *device = list->device(i);
        if (!device || screen.skippedDeviceIndexes.contains(i))
            continue;
        const int deviceNo = i + 1;
        if (!DevicePlanLoader::loadThresholds(device, deviceNo))
            screen.log(DevicePlanLoader::thresholdsErrorText(deviceNo));
    }
    screen.logLeave("AlertSettingFileRead");
}
