#include "settings/DeviceSettingViewModel.h"

#include "core/ApplicationSetting.h"
#include "core/ConstantTables.h"
#include "core/DeviceSettingModel.h"
#include "core/InformationListModel.h"
#include "core/OperationGate.h"
#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "platform/PlatformSleep.h"
#include "settings/ConnectionTest.h"
#include "settings/DeviceApply.h"
#include "settings/DeviceListTransfer.h"
#include "settings/IdentityReadoutEnd.h"
#include "storage/ChannelSettingFile.h"
#include "storage/DeviceChoiceTables.h"
#include "storage/DeviceRowCheck.h"
#include "storage/PollingSettings.h"
#include "storage/SettingFileText.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTime>
#include <QTimer>

#include <memory>

namespace {

// The page connections: sender is the page (true) or the view model, then the two signatures.
const AbstractViewModel::PageConnection kPageConnections[] = {
    {true, SIGNAL(buttonClicked(QString)), SLOT(onButtonClicked(QString))},
    {true, SIGNAL(rowbuttonclicked(QString, QString, int)), SLOT(onRowButtonClicked(QString, QString, int))},
    {true, SIGNAL(changetimeclicked(QString, QString, QString, int)),
     SLOT(onTimeChangeButtonClicked(QString, QString, QString, int))},
    {false, SIGNAL(transWindow(QVariant)), SLOT(transit(QVariant))},
    {false, SIGNAL(openPopup(QVariant)), SLOT(onOpenPopup(QVariant))},
    {true, SIGNAL(changeDestroy()), SLOT(onChangeDestroy())},
};

const QString Always = QStringLiteral("常時");
const QString NotSet = QStringLiteral("未設定");
const QString PlanSet = QStringLiteral("設定・確認");

constexpr int QuestionPauseMs = 300;

enum DeviceSettingPopup {
    PopupConnected = 1,
    PopupNotConnected = 2,
    PopupChecking = 3,
    PopupApplying = 4,
    PopupDiscard = 5,
    PopupFirstOctet = DeviceRowCheck::BadFirstOctet,
    PopupNoAddress = 7,
    PopupOtherOctet = DeviceRowCheck::BadOtherOctet,
    PopupReadout = 11
};

// Device numbers as the messages name them: "1,3,4".
QString numberList(const QList<int> &numbers)
{
    QStringList texts;
    for (int number : numbers)
        texts.append(QString::number(number));
    return texts.join(QLatin1Char(','));
}

} // namespace

DeviceSettingViewModel::DeviceSettingViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent)
    : AbstractViewModel(screenId, applicationModel, parent)
{
    readout = new IdentityReadout(this);
    apply = std::make_unique<DeviceApply>(*this);
    readoutEnd = std::make_unique<IdentityReadoutEnd>(*this);
    transfer = std::make_unique<DeviceListTransfer>(*this);
    connect(readout, &IdentityReadout::boundReached, this, &DeviceSettingViewModel::timeoutthread);
    connectionTester = new ConnectionTest(this);
    connect(connectionTester, &ConnectionTest::finished, this, &DeviceSettingViewModel::onConnectionTestFinished);
    connect(readout, &IdentityReadout::devicesStarted, this, &DeviceSettingViewModel::showHeldVerdict);
    setObjectName(QStringLiteral("DeviceSettingViewModel"));

    for (int h = 0; h < 24; ++h)
        hourTexts.append(QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0')));
    for (int m = 0; m < 60; ++m)
        minuteTexts.append(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')));

    ApplicationModel *model = app();
    if (!model)
        return;
    connect(model->operationGate(), &OperationGate::operationEnded, this, &DeviceSettingViewModel::showHeldVerdict);
    deviceSettingModel = qobject_cast<DeviceSettingModel *>(model->findQmlObject(QStringLiteral("deviceSettingModel")));
    informationListModel = qobject_cast<InformationListModel *>(model->findQmlObject(QStringLiteral("informationListModel")));
    if (deviceSettingModel) {
        deviceSettingModel->setCapacity(1000);
        deviceSettingModel->clear();
    }
    if (informationListModel) {
        informationListModel->setCapacity(1000);
        informationListModel->clear();
    }

    DeviceList *list = devices();
    const int count = list ? list->deviceCount() : 0;
    for (int i = 0; i < count; ++i) {
        const LevelChecker *device = list->device(i);
        if (!device)
            continue;
        const QString address = DeviceEditRecord::shownAddress(device->ipAddressText());
        DeviceEditRecord record;
        record.deviceNo = QString::number(i + 1);
        record.name = device->name();
        record.ipAddress = address;
        record.inputType = QString::number(DeviceChoiceTables::codeOf(inputTypeMap, device->inputTypeText()));
        record.settingFile = device->settingFileName();
        record.startTime = device->startTime();
        record.endTime = device->endTime();
        record.validTimeText = record.startTime == Always ? Always : record.startTime + QStringLiteral("～") + record.endTime;
        record.testCaption = QStringLiteral("テスト");
        record.cycleInterval = QString::number(DeviceChoiceTables::codeOf(cycleIntervalMap, device->cycleIntervalText()));
        record.wavelength = QString::number(DeviceChoiceTables::codeOf(hikariWaveLengthMap, device->wavelengthText()));
        record.port = device->port();
        editRecords.append(record);
        savedRecords.append(record);

        if (deviceSettingModel) {
            DeviceSettingRow row;
            row.deviceno = record.deviceNo;
            row.devicename = record.name;
            row.ipaddress = address;
            row.inputtype = device->inputTypeText();
            row.validtime = record.validTimeText;
            row.cycleInterval = device->cycleIntervalText();
            row.hikariWaveLength = device->wavelengthText();
            deviceSettingModel->addRow(row);
        }
        if (informationListModel) {
            InformationListRow row;
            row.infodeviceno = record.deviceNo;
            row.infodevicename = record.name;
            row.infoipaddress = address;
            row.infoserialnumber = device->serialNumber();
            row.infomacaddress = device->macAddress();
            row.infofwversion = device->firmwareVersion();
            informationListModel->addRow(row);
        }
        merCnModes.append({device->terrestrialMerCnText(), device->catvMerCnText()});
    }
    merCnModes.append(MerCnPair());
    if (editRecords.size() < MaxRows)
        appendBlankTableRow();
    if (editRecords.size() <= MaxRows) {
        editRecords.append(DeviceEditRecord::blank(count + 1));
        savedRecords.append(DeviceEditRecord::blank(count + 1));
    }

    // Queued as onInformationResponse's connection is; each reply keeps the readout it answers.
    if (list)
        connect(list, &DeviceList::notifyInfomation, this, [this, list](uint index, QString response) {
            const quint64 answers = list->informationReplyReadout();
            QMetaObject::invokeMethod(
                this, [this, answers, index, response] { takeIdentityReply(answers, index, response); },
                Qt::QueuedConnection);
        });
}

DeviceSettingViewModel::~DeviceSettingViewModel() = default;

DeviceList *DeviceSettingViewModel::devices() const
{
    ApplicationModel *model = app();
    return model ? model->deviceList() : nullptr;
}

// --- Life cycle ---

void DeviceSettingViewModel::resume()
{
    logEnter("resume");
    logLeave("resume");
}

void DeviceSettingViewModel::suspend()
{
    logEnter("suspend");
    logLeave("suspend");
    merCnChanged = false;
}

void DeviceSettingViewModel::createConnection(QObject *page, QObject *frame)
{
    logEnter("createConnection");
    // A page left connected from an earlier visit would deliver every signal twice.
    connectPageSignals(kPageConnections, false);
    AbstractViewModel::createConnection(page, frame);
    connectPageSignals(kPageConnections, true);
    logLeave("createConnection");
}

void DeviceSettingViewModel::activate()
{
    ApplicationModel *model = app();
    if (!model)
        return;
    logEnter("activate");
    writeScreenChangeLog();
    setPageProperty("scaling", model->dialogScale());

    DeviceList *list = devices();
    const int count = list ? list->deviceCount() : 0;
    if (frame && frame->property("previousViewName").toString() == QLatin1String("HomeViewModel")) {
        merCnModes.clear();
        for (int i = 0; i < count; ++i) {
            if (const LevelChecker *device = list->device(i))
                merCnModes.append({device->terrestrialMerCnText(), device->catvMerCnText()});
        }
        if (merCnModes.size() < MaxRows)
            merCnModes.append(MerCnPair());
    }
    // One pair per table row whatever happened since.
    while (merCnModes.size() < qMin(editRecords.size(), MaxRows))
        merCnModes.append(MerCnPair());
    if (deviceSettingModel) {
        for (int i = 0; i < count; ++i) {
            const LevelChecker *device = list->device(i);
            const bool planned = device && device->channelSettingCount() > 0;
            deviceSettingModel->setData(deviceSettingModel->index(i), planned ? PlanSet : NotSet,
                                        DeviceSettingModel::SettingfileRole);
        }
    }
    for (DeviceEditRecord &record : editRecords)
        record.checked = false;
    if (page) {
        setPageProperty("rowindex", shownRowCount());
        setPageProperty("hour", hourTexts);
        setPageProperty("minutes", minuteTexts);
    }
}

void DeviceSettingViewModel::deactivate()
{
    logEnter("deactivate");
    connectPageSignals(kPageConnections, false);
    page = nullptr;
    logLeave("deactivate");
}

void DeviceSettingViewModel::onChangeDialogScaleNotify(double scale)
{
    logEnter("onChangeDialogScaleNotify");
    setPageProperty("scaling", scale);
}

void DeviceSettingViewModel::onDataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed)
{
    if (deviceNo < 1 || deviceNo > merCnModes.size())
        return;
    merCnModes[deviceNo - 1] = {ofdm, catv};
    merCnChanged = changed;
}

// --- Leaving ---

void DeviceSettingViewModel::checkChangeDialog()
{
    logEnter("checkChangeDialog");
    bool pending = false;
    const int saved = savedRecords.size() - 1;
    for (int i = 0; i < saved && i < editRecords.size() && !pending; ++i) {
        const DeviceEditRecord &before = savedRecords.at(i);
        const DeviceEditRecord &now = editRecords.at(i);
        const QString shown = deviceSettingModel
            ? deviceSettingModel->data(deviceSettingModel->index(i), DeviceSettingModel::ValidtimeRole).toString()
            : now.validTimeText;
        pending = before.name != now.name || before.ipAddress != now.ipAddress
                  || SettingFileText::toInt(before.inputType) != SettingFileText::toInt(now.inputType)
                  || SettingFileText::toInt(before.cycleInterval) != SettingFileText::toInt(now.cycleInterval)
                  || (shown != before.startTime
                      && shown != QStringLiteral("%1～%2").arg(before.startTime, before.endTime));
    }
    if (!pending)
        pending = importPending;
    const int edited = editRecords.size() - 1;
    for (int n = 1; n <= edited && !pending; ++n) {
        pending = ChannelSettingFile::exists(n, ChannelSettingFile::Copy::Working)
                  || ChannelSettingFile::pendingPairExists(n);
    }
    if (!pending)
        pending = merCnChanged;

    if (!pending) {
        emit changeHomeDialog();
        return;
    }
    emit openPopup(PopupDiscard);
    PlatformSleep::sleepMs(QuestionPauseMs);
    QCoreApplication::processEvents();
}

void DeviceSettingViewModel::onChangeDestroy()
{
    logEnter("onChangeDestroy");
    restoreSavedRecords();
    if (importPending) {
        importPending = false;
        setPageProperty("rowindex", shownRowCount());
    }
    // Every number a row could have had: a plan left pending for a row added and then
    // discarded would otherwise be promoted onto the next device given that number.
    for (int n = 1; n <= MaxRows + 1; ++n) {
        ChannelSettingFile::removeCopy(n, ChannelSettingFile::Copy::Working);
        ChannelSettingFile::removePendingPair(n);
    }
    logLeave("onChangeDestroy");
    emit changeHomeDialog();
}

// --- Page actions ---

void DeviceSettingViewModel::onButtonClicked(QString button)
{
    if (button == QLatin1String("deviceInfomation"))
        log(QStringLiteral("機器情報確認"));
    else if (button == QLatin1String("switchOptcoax"))
        log(QStringLiteral("同軸/光"));
    else if (button == QLatin1String("switchCycleInterval"))
        log(QStringLiteral("サイクル間隔"));
    else if (button == QLatin1String("validTime"))
        return;
    else if (button == QLatin1String("alertDestination"))
        log(QStringLiteral("アラート送信先一括変更"));
    else if (button == QLatin1String("settingConfirmed"))
        applySettings(false);
    else if (button == QLatin1String("settingConfirmedAll"))
        applySettings(true);
}

void DeviceSettingViewModel::onRowButtonClicked(QString button, QString buttonvalue, int rowvalue)
{
    const QString &value = buttonvalue;
    const int row = rowvalue;
    if (button == QLatin1String("combooptcoax"))
        rowChangeFamily(Family::InputType, value, row);
    else if (button == QLatin1String("comboCycleInterval"))
        rowChangeFamily(Family::Cycle, value, row);
    else if (button == QLatin1String("checkBoxRow"))
        rowCheckChange(value, row);
    else if (button == QLatin1String("allChangeOptCoax"))
        allChangeFamily(Family::InputType, value);
    else if (button == QLatin1String("allChangeCycleInterval"))
        allChangeFamily(Family::Cycle, value);
    else if (button == QLatin1String("checkChangeOptCoax"))
        checkChangeFamily(Family::InputType, value);
    else if (button == QLatin1String("checkChangeCycleInterval"))
        checkChangeFamily(Family::Cycle, value);
    else if (button == QLatin1String("bulkLoading"))
        transfer->importFrom(value);
    else if (button == QLatin1String("addempty"))
        addEmptyRow(row);
    else if (button == QLatin1String("bulkexport"))
        transfer->exportTo(value);
    else if (button == QLatin1String("nameinputrow"))
        inputNameRowChaneg(value, row);
    else if (button == QLatin1String("changeipaddress"))
        inputIpaddrRowChange(value, row);
    else if (button == QLatin1String("measurechannel"))
        openChannelSetting(row);
    else if (button == QLatin1String("connecttest"))
        connectionTest(row);
    else if (button == QLatin1String("allcheckclicked"))
        allCheckChange(value);
    else if (button == QLatin1String("validtime"))
        openValidTimeRow(row);
    else if (button == QLatin1String("comhikariwavelength"))
        rowChangeFamily(Family::Wavelength, value, row);
    else if (button == QLatin1String("allChangeWaveLength"))
        allChangeFamily(Family::Wavelength, value);
    else if (button == QLatin1String("checkChangeWaveLength"))
        checkChangeFamily(Family::Wavelength, value);
}

void DeviceSettingViewModel::onTimeChangeButtonClicked(QString button, QString starttime, QString endtime, int row)
{
    if (button == QLatin1String("validtimebulkchange"))
        allChangeValidTime(starttime, endtime);
    else if (button == QLatin1String("validtimerowchange"))
        rowChangeValidTime(starttime, endtime, row);
    else if (button == QLatin1String("validtimecheckchange"))
        checkChangeValidTime(starttime, endtime);
}

// The ping runs as a child process: the window keeps drawing and answering while it waits,
// and pop-up 3 stays up until the verdict replaces it.
void DeviceSettingViewModel::connectionTest(int row)
{
    if (!validRow(row))
        return;
    const QString text = editRecords.at(row).ipAddress;
    switch (connectionTester->start(text)) {
    case ConnectionTest::Start::NoAddress:
        emit openPopup(PopupNoAddress);
        return;
    case ConnectionTest::Start::Busy:
        emit openPopup(PopupChecking);
        return;
    case ConnectionTest::Start::Started:
        log(QStringLiteral("connecttest row %1: ping %2").arg(row).arg(connectionTester->address()));
        emit openPopup(PopupChecking);
        return;
    }
}

void DeviceSettingViewModel::onConnectionTestFinished(bool success)
{
    log(QStringLiteral("test --- %1 --- %2").arg(connectionTester->address(),
                                                   QString::fromLocal8Bit(connectionTester->output()).trimmed()));
    heldVerdict = success ? PopupConnected : PopupNotConnected;
    showHeldVerdict();
}

bool DeviceSettingViewModel::progressPopupHeld() const
{
    const OperationGate *gate = operationGate();
    return (gate && gate->isBusy()) || readout->isStartingDevices() || (readout->isActive() && readout->hasPending());
}

// The verdict would replace the progress pop-up with one the operator can close while the
// devices are still being set: it waits until the operation has ended.
void DeviceSettingViewModel::showHeldVerdict()
{
    if (heldVerdict == 0 || progressPopupHeld())
        return;
    const int verdict = heldVerdict;
    heldVerdict = 0;
    emit openPopup(verdict);
}

QVector<DeviceEditRecord> DeviceSettingViewModel::importedRecords(const QVector<RegistrationRecord> &records)
{
    return DeviceListTransfer::importedRecords(records);
}

void DeviceSettingViewModel::setImportedRecords(const QVector<DeviceEditRecord> &records)
{
    editRecords.clear();
    for (const DeviceEditRecord &record : records) {
        if (editRecords.size() >= MaxRows)
            break;
        DeviceEditRecord copy = record;
        copy.deviceNo = QString::number(editRecords.size() + 1);
        editRecords.append(copy);
    }
    editRecords.append(DeviceEditRecord::blank(editRecords.size() + 1));
    importPending = true;
    rebuildTable();
}

// --- Table helpers ---

int DeviceSettingViewModel::shownRowCount() const
{
    return deviceSettingModel ? deviceSettingModel->rowCount() : qMin(editRecords.size(), int(MaxRows));
}

bool DeviceSettingViewModel::validRow(int row) const
{
    return row >= 0 && row < editRecords.size() && row < MaxRows;
}

DeviceSettingRow DeviceSettingViewModel::tableRowOf(const DeviceEditRecord &record) const
{
    DeviceSettingRow row;
    row.deviceno = record.deviceNo;
    row.devicename = record.name;
    row.ipaddress = record.ipAddress;
    row.inputtype = DeviceChoiceTables::textOf(inputTypeMap, SettingFileText::toInt(record.inputType));
    row.settingfile = record.settingFile;
    row.validtime = record.validTimeText;
    row.cycleInterval = DeviceChoiceTables::textOf(cycleIntervalMap, SettingFileText::toInt(record.cycleInterval));
    row.hikariWaveLength = DeviceChoiceTables::textOf(hikariWaveLengthMap, SettingFileText::toInt(record.wavelength));
    return row;
}

void DeviceSettingViewModel::appendBlankTableRow()
{
    if (!deviceSettingModel)
        return;
    deviceSettingModel->appendRow(tableRowOf(DeviceEditRecord::blank(deviceSettingModel->rowCount() + 1)));
}

void DeviceSettingViewModel::writeDeviceLog(int row, WorkLogKind kind) const
{
    WorkLogEntry entry;
    entry.deviceNo = row + 1;
    writeWorkLog(entry, kind);
}

void DeviceSettingViewModel::restoreSavedRecords()
{
    editRecords.clear();
    QVector<DeviceSettingRow> rows;
    for (int i = 0; i + 1 < savedRecords.size(); ++i) {
        editRecords.append(savedRecords.at(i));
        rows.append(tableRowOf(savedRecords.at(i)));
    }
    DeviceList *list = devices();
    const int blankNo = (list ? list->deviceCount() : editRecords.size()) + 1;
    if (editRecords.size() < MaxRows)
        rows.append(tableRowOf(DeviceEditRecord::blank(rows.size() + 1)));
    if (deviceSettingModel)
        deviceSettingModel->replaceRows(rows);
    if (editRecords.size() <= MaxRows)
        editRecords.append(DeviceEditRecord::blank(blankNo));
    matchTicksToPage();
}

// The table again from editRecords, the blank row last while there is room for it.
void DeviceSettingViewModel::rebuildTable()
{
    if (deviceSettingModel) {
        QVector<DeviceSettingRow> rows;
        for (int i = 0; i + 1 < editRecords.size() && i < MaxRows; ++i)
            rows.append(tableRowOf(editRecords.at(i)));
        if (editRecords.size() <= MaxRows)
            rows.append(tableRowOf(DeviceEditRecord::blank(rows.size() + 1)));
        deviceSettingModel->replaceRows(rows);
    }
    setPageProperty("rowindex", shownRowCount());
    matchTicksToPage();
}

// Rows made anew show the select-all box's tick: the records take it too, so that a change
// of the ticked rows acts on the rows that look ticked.
void DeviceSettingViewModel::matchTicksToPage()
{
    const bool all = page && page->property("allcheckstring").toString() == QLatin1String("true");
    for (DeviceEditRecord &record : editRecords)
        record.checked = all;
}

// --- Row edits ---

void DeviceSettingViewModel::rowCheckChange(const QString &value, int row)
{
    if (validRow(row))
        editRecords[row].checked = value != QLatin1String("false");
}

void DeviceSettingViewModel::allCheckChange(const QString &value)
{
    for (DeviceEditRecord &record : editRecords)
        record.checked = value != QLatin1String("false");
}

void DeviceSettingViewModel::inputNameRowChaneg(const QString &value, int row)
{
    logEnter("inputNameRowChaneg");
    if (!validRow(row))
        return;
    DeviceEditRecord &record = editRecords[row];
    // Every CSV the program writes is split at ",": a name with one would shift the columns.
    if (value.contains(QLatin1Char(','))) {
        log(QStringLiteral("name with \",\" refused, row %1").arg(row));
        if (deviceSettingModel)
            deviceSettingModel->setData(deviceSettingModel->index(row), record.name, DeviceSettingModel::DevicenameRole);
        return;
    }
    if (record.name == value)
        return;
    if (deviceSettingModel)
        deviceSettingModel->setData(deviceSettingModel->index(row), value, DeviceSettingModel::DevicenameRole);
    record.name = value;
    writeDeviceLog(row, WorkLogDeviceNameChanged);
}

void DeviceSettingViewModel::inputIpaddrRowChange(const QString &value, int row)
{
    logEnter("inputIpaddrRowChange");
    ipAddressError = false;
    if (!validRow(row))
        return;
    DeviceEditRecord &record = editRecords[row];
    QString text;
    // A field cleared by the operator sends its mask's dots alone: that is the blank mask.
    const bool cleared = !value.contains(QRegularExpression(QStringLiteral("[0-9]")));
    if (!cleared) {
        const QStringList parts = value.split(QLatin1Char('.'));
        QStringList cleaned;
        for (int k = 0; k < parts.size(); ++k) {
            QString part = parts.at(k);
            part.remove(QLatin1Char(' '));
            cleaned.append(part);
            if (!DeviceRowCheck::octetAllowed(k, DeviceRowCheck::octetValue(part))) {
                setPageProperty("ipaddrtext", QStringLiteral("機器No.") + record.deviceNo);
                emit openPopup(k == 0 ? PopupFirstOctet : PopupOtherOctet);
                ipAddressError = true;
            }
        }
        // The page's mask always gives four parts; anything shorter is refused the same way.
        if (parts.size() < 4) {
            setPageProperty("ipaddrtext", QStringLiteral("機器No.") + record.deviceNo);
            emit openPopup(PopupOtherOctet);
            ipAddressError = true;
        }
        text = cleaned.join(QLatin1Char('.'));
    }
    if (record.ipAddress == text)
        return;
    if (deviceSettingModel)
        deviceSettingModel->setData(deviceSettingModel->index(row), text, DeviceSettingModel::IpaddressRole);
    record.ipAddress = text;
    writeDeviceLog(row, WorkLogIpAddressChanged);
}

// The page asks on every keystroke in a row: a record and its MER/CN pair are added only
// when the last row is the one typed in.
void DeviceSettingViewModel::addEmptyRow(int row)
{
    const int count = editRecords.size();
    if (count < MaxRows && row == count - 1) {
        if (editRecords[row].ipAddress.isEmpty())
            editRecords[row].ipAddress = DeviceEditRecord::blankAddress();
        editRecords.append(DeviceEditRecord::blank(count + 1));
        merCnModes.append(MerCnPair());
        appendBlankTableRow();
    } else if (count == MaxRows && row == MaxRows - 1) {
        editRecords.append(DeviceEditRecord::blank(MaxRows + 1));
        merCnModes.append(MerCnPair());
    }
    setPageProperty("rowindex", shownRowCount());
}

void DeviceSettingViewModel::changeFamily(Family family, const QString &value, int row)
{
    if (!validRow(row))
        return;
    DeviceEditRecord &record = editRecords[row];
    switch (family) {
    case Family::InputType:
        if (deviceSettingModel)
            deviceSettingModel->setInputType(value, row);
        record.inputType = QString::number(inputTypeMap.value(value, -1));
        writeDeviceLog(row, WorkLogInputTypeChanged);
        break;
    case Family::Cycle:
        if (deviceSettingModel)
            deviceSettingModel->setCycleInterval(value, row);
        record.cycleInterval = QString::number(cycleIntervalMap.value(value, -1));
        writeDeviceLog(row, WorkLogCycleChanged);
        break;
    case Family::Wavelength: {
        const QString text = value.left(4);
        if (deviceSettingModel)
            deviceSettingModel->setHikariWaveLength(text, row);
        record.wavelength = QString::number(hikariWaveLengthMap.value(text, 0));
        writeDeviceLog(row, WorkLogWavelengthChanged);
        break;
    }
    }
}

void DeviceSettingViewModel::rowChangeFamily(Family family, const QString &value, int row)
{
    log(value);
    log(QString::number(row));
    changeFamily(family, value, row);
}

void DeviceSettingViewModel::allChangeFamily(Family family, const QString &value)
{
    logEnter(family == Family::InputType ? "allChangeOptCoax"
             : family == Family::Cycle   ? "allChangeCycleInterval"
                                         : "allChangeHikariWaveLength");
    const int rows = shownRowCount();
    for (int i = 0; i < rows; ++i) {
        setPageProperty("rowdata", i);
        changeFamily(family, value, i);
    }
}

void DeviceSettingViewModel::checkChangeFamily(Family family, const QString &value)
{
    logEnter(family == Family::InputType ? "checkChangeOptCoax"
             : family == Family::Cycle   ? "checkChangeCycleInterval"
                                         : "checkChangeHikariWaveLength");
    const int rows = shownRowCount();
    for (int i = 0; i < rows && i < editRecords.size(); ++i) {
        if (editRecords.at(i).checked)
            changeFamily(family, value, i);
    }
}

void DeviceSettingViewModel::setValidTime(int row, const QString &start, const QString &end)
{
    if (!validRow(row))
        return;
    DeviceEditRecord &record = editRecords[row];
    QString shown;
    if (start == Always) {
        record.startTime = Always;
        record.endTime = Always;
        shown = Always;
    } else {
        record.startTime = DeviceRowCheck::timeText(start);
        record.endTime = DeviceRowCheck::timeText(end);
        shown = record.startTime + QStringLiteral("～") + record.endTime;
    }
    record.validTimeText = shown;
    if (deviceSettingModel)
        deviceSettingModel->setValidTime(shown, row);
    writeDeviceLog(row, WorkLogAlertTimeChanged);
}

void DeviceSettingViewModel::allChangeValidTime(const QString &start, const QString &end)
{
    log(QStringLiteral("有効時間一括変更"));
    const int rows = shownRowCount();
    for (int i = 0; i < rows; ++i)
        setValidTime(i, start, end);
}

void DeviceSettingViewModel::checkChangeValidTime(const QString &start, const QString &end)
{
    log(QStringLiteral("有効時間一括変更"));
    const int rows = shownRowCount();
    for (int i = 0; i < rows && i < editRecords.size(); ++i) {
        if (editRecords.at(i).checked)
            setValidTime(i, start, end);
    }
}

void DeviceSettingViewModel::rowChangeValidTime(const QString &start, const QString &end, int row)
{
    if (!validRow(row))
        return;
    if (start != Always) {
        setValidTime(row, start, end);
        return;
    }
    // A row keeps the end it was given when it becomes always valid.
    DeviceEditRecord &record = editRecords[row];
    record.startTime = start;
    record.endTime = end;
    record.validTimeText = Always;
    if (deviceSettingModel)
        deviceSettingModel->setValidTime(Always, row);
    writeDeviceLog(row, WorkLogAlertTimeChanged);
}

void DeviceSettingViewModel::openValidTimeRow(int row)
{
    if (!validRow(row) || !page)
        return;
    const DeviceEditRecord &record = editRecords.at(row);
    const int startColon = record.startTime.indexOf(QLatin1Char(':'));
    if (startColon > 0) {
        setPageProperty("startH", record.startTime.left(startColon));
        setPageProperty("startM", record.startTime.mid(startColon + 1));
        const int endColon = record.endTime.indexOf(QLatin1Char(':'));
        setPageProperty("endH", endColon > 0 ? record.endTime.left(endColon) : QStringLiteral("23"));
        setPageProperty("endM", endColon > 0 ? record.endTime.mid(endColon + 1) : QStringLiteral("59"));
    } else {
        setPageProperty("startH", QStringLiteral("00"));
        setPageProperty("startM", QStringLiteral("00"));
        setPageProperty("endH", QStringLiteral("23"));
        setPageProperty("endM", QStringLiteral("59"));
    }
}

void DeviceSettingViewModel::openChannelSetting(int row)
{
    if (!validRow(row))
        return;
    log(QStringLiteral("deviceNo-->%1").arg(row));
    while (merCnModes.size() <= row)
        merCnModes.append(MerCnPair());
    emit dataPassDeviceData(row + 1, editRecords.at(row).name, ScreenDeviceSetting);
    emit dataPassMerCnr(row + 1, merCnModes.at(row).ofdm, merCnModes.at(row).catv, false);
    emit transWindow(QStringLiteral("ChannelSetting.qml"));
}

// --- Apply ---

// The device list decodes its texts as UTF-8, the program's 8-bit encoding.
QByteArray DeviceSettingViewModel::toCharBuffer(const QString &text)
{
    return text.toUtf8();
}

QByteArray DeviceSettingViewModel::toCharBufferAscii(const QString &text)
{
    // A plan file name is ASCII ("3.csv"); cutting anything else to its length would leave
    // broken bytes, so such a text gives no name.
    const QByteArray bytes = text.toUtf8();
    return bytes.size() == text.size() ? bytes : QByteArray();
}

OperationGate *DeviceSettingViewModel::operationGate() const
{
    ApplicationModel *model = app();
    return model ? model->operationGate() : nullptr;
}

void DeviceSettingViewModel::startReadoutTimer()
{
    readout->startBound();
}

// The readout of an applied import runs while its devices are started; its bound starts
// with the last of them.
void DeviceSettingViewModel::beginPacedStarts()
{
    readout->startDevicesPaced(devices(), operationGate());
}

void DeviceSettingViewModel::stopPacedStarts()
{
    readout->stopPacedStarts();
}

void DeviceSettingViewModel::noteSkipped(int deviceIndex, const char *step)
{
    const int deviceNo = deviceIndex + 1;
    log(QStringLiteral("device %1: its worker did not leave its loop (%2); left as it was")
            .arg(deviceNo)
            .arg(QLatin1String(step)),
        LogError);
    if (!skippedDeviceNos.contains(deviceNo))
        skippedDeviceNos.append(deviceNo);
    if (!skippedDeviceIndexes.contains(deviceIndex))
        skippedDeviceIndexes.append(deviceIndex);
}

QString DeviceSettingViewModel::finishedText(const QString &text) const
{
    QString shown = text;
    if (!failedPairDeviceNos.isEmpty()) {
        const QString failed =
            QStringLiteral("機器No.%1 の設定ファイルを置き換えられませんでした。").arg(numberList(failedPairDeviceNos));
        shown = text == QStringLiteral("設定完了") ? failed : text + QLatin1Char('\n') + failed;
    }
    // A readout that could not read every device never reads as a plain success.
    if (!unreadDevices.isEmpty())
        shown += QStringLiteral("\n%1 の機器情報を取得できませんでした。").arg(unreadDevices.join(QStringLiteral("、")));
    if (skippedDeviceNos.isEmpty())
        return shown;
    return shown + QStringLiteral("\n機器No.%1 は停止できず、変更されていません。").arg(numberList(skippedDeviceNos));
}

bool DeviceSettingViewModel::applySettings(bool readAll)
{
    ApplicationModel *model = app();
    if (!model || !devices())
        return false;
    OperationGate *gate = model->operationGate();
    const QString waitsFor = QString::fromLatin1(gate->runningName());
    // Begun inside another operation's wait, or while work waits for its turn: it runs after
    // them. A queued apply counts as done for its caller.
    auto result = std::make_shared<bool>(true);
    auto queued = std::make_shared<bool>(false);
    const OperationGate::Entry entry = gate->enter(this, "apply", [this, readAll, result, queued] {
        if (*queued)
            --queuedApplies;
        *result = apply->run(readAll);
    });
    if (entry == OperationGate::Entry::Refused)
        return false;
    if (entry == OperationGate::Entry::Queued) {
        *queued = true;
        ++queuedApplies;
        log(QStringLiteral("apply waits for %1").arg(waitsFor.isEmpty() ? QStringLiteral("queued work") : waitsFor));
    }
    return *result;
}

// --- Plans, thresholds and polling settings at apply time ---

bool DeviceSettingViewModel::hasPendingChannelPlan(int deviceIndex) const
{
    return ChannelSettingFile::exists(deviceIndex + 1, ChannelSettingFile::Copy::Pending);
}

void DeviceSettingViewModel::MeasurementChannelSettingFileRead()
{
    apply->loadPlans();
}

void DeviceSettingViewModel::ResultsLogUpdate()
{
    apply->moveStoredResults();
}

void DeviceSettingViewModel::AlertSettingFileRead()
{
    apply->loadThresholds();
}

void DeviceSettingViewModel::updateIpSetFlags()
{
    if (DeviceList *list = devices())
        list->updateMeasurableFlags();
}

void DeviceSettingViewModel::readPollingSettings()
{
    PollingSettings::read(ApplicationSetting::filePath()).copyIntoDevices(devices());
}

// --- Identity readout ---

bool DeviceSettingViewModel::isReadoutRunning() const
{
    return readout->isActive();
}

QList<bool> DeviceSettingViewModel::currentInformationPending() const
{
    return readout->pending();
}

void DeviceSettingViewModel::setReadoutBoundMs(int ms)
{
    readout->setBoundMs(ms);
}

int DeviceSettingViewModel::readoutBound() const
{
    return readout->bound();
}

bool DeviceSettingViewModel::isOperationRunning() const
{
    return operationActive || queuedApplies > 0 || readout->isStartingDevices();
}

void DeviceSettingViewModel::timeoutthread()
{
    endInformationReadout();
}

void DeviceSettingViewModel::takeIdentityReply(quint64 answers, uint index, const QString &response)
{
    const quint64 outer = replyReadout;
    replyReadout = answers;
    onInformationResponse(index, response);
    replyReadout = outer;
}

void DeviceSettingViewModel::onInformationResponse(uint index, QString response)
{
    OperationGate *gate = operationGate();
    if (gate && gate->isClosing())
        return;
    const quint64 answers = replyReadout;
    const int position = static_cast<int>(index);
    if (!readout->pendingDevice(devices(), answers, position))
        return;
    const auto handle = [this, answers, position, response] {
        // Judged again at its turn: an apply may have restarted the device meanwhile.
        if (LevelChecker *device = readout->pendingDevice(devices(), answers, position))
            storeIdentityReply(device, position, response);
    };
    // After the running operation and the work waiting before it.
    if (gate)
        gate->runOrQueue(this, "identity reply", handle);
    else
        handle();
}

void DeviceSettingViewModel::storeIdentityReply(LevelChecker *device, int position, const QString &response)
{
    OperationGate *gate = operationGate();
    if (gate && gate->isClosing())
        return;
    const IdentityReadout::Reply reply = IdentityReadout::store(device, response);
    if (reply == IdentityReadout::Reply::Failed) {
        // A failed device ends its readout at once, whatever the others do.
        devices()->stopMonitoringAt(position);
    }
    if (reply != IdentityReadout::Reply::Failed && reply != IdentityReadout::Reply::Finished)
        return;
    if (readout->finish(position))
        endInformationReadout();
}

void DeviceSettingViewModel::endInformationReadout()
{
    OperationGate *gate = operationGate();
    if (gate && gate->isClosing()) {
        // The close stops every device and writes the registration itself.
        readout->stop();
        stopPacedStarts();
        return;
    }
    if (!gate) {
        readoutEnd->run();
        return;
    }
    // A queued end belongs to the readout it was due for: an apply begun since supersedes it.
    const quint64 due = readout->id();
    auto queued = std::make_shared<bool>(false);
    if (gate->enter(this, "readout end", [this, due, queued] {
            if (!*queued || (due == readout->id() && readout->isActive()))
                readoutEnd->run();
        })
        == OperationGate::Entry::Queued)
        *queued = true;
}

bool DeviceSettingViewModel::DeviceListFileWrite()
{
    return readoutEnd->writeRegistration();
}
