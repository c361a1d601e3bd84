#include "screens/MeasurementResultViewModel.h"

#include "core/ChannelStatus.h"
#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "platform/PlatformSleep.h"
#include "screens/LogPurge.h"
#include "screens/PendingMeasurementStarts.h"
#include "screens/ResultSaveWriter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

#include <iterator>

namespace {
const QString kMeasuring = QStringLiteral("測定中");
const QString kConverted = QStringLiteral("(換算)");

// The page connections, in the order they are made: sender is the page (true) or the view
// model, then the two signatures.
const AbstractViewModel::PageConnection kPageConnections[] = {
    {true, SIGNAL(buttonClicked(QString)), SLOT(onButtonClicked(QString))},
    {true, SIGNAL(listButtonClicked(QString, int, int)), SLOT(onListButtonClicked(QString, int, int))},
    {true, SIGNAL(logSaveButtonClickedCheck()), SLOT(onLogSaveButtonClickedCheck())},
    {true, SIGNAL(selectChannelLogSaveButtonClicked(QString)), SLOT(onSelectChannelLogSaveButtonClicked(QString))},
    {true, SIGNAL(errorLogSaveButtonClickedCheck()), SLOT(onErrorLogSaveButtonClickedCheck())},
    {true, SIGNAL(selectErrorLogSaveButtonClicked(QString)), SLOT(onSelectErrorLogSaveButtonClicked(QString))},
    {false, SIGNAL(transWindow(QVariant)), SLOT(transit(QVariant))},
    {false, SIGNAL(messagePopupOpen(QVariant)), SLOT(messagePopupOpen(QVariant))},
    {false, SIGNAL(logSaveDialogOpen()), SLOT(logSaveDialogOpen())},
    {true, SIGNAL(comboboxChange(QString, QString)), SLOT(onComboboxChange(QString, QString))},
    {true, SIGNAL(measurementSelectStartStop(bool, bool)), SLOT(onMeasurementSelectStartStop(bool, bool))},
    {false, SIGNAL(statusPopupClose()), SLOT(statusPopupClose())},
};

int numberOf(const QString &text)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok ? number : -1;
}
} // namespace

MeasurementResultViewModel::MeasurementResultViewModel(ScreenId screenId, ApplicationModel *applicationModel,
                                                       QObject *parent)
    : AbstractViewModel(screenId, applicationModel, parent)
    , dailyPurgeTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("MeasurementResultViewModel"));
    ApplicationModel *model = app();
    if (!model)
        return;
    logEnter("MeasurementResultViewModel");
    purgeOldLogFiles();
    resultModel = qobject_cast<MeasureResultModel *>(model->findQmlObject(QStringLiteral("measureResultModel")));
    heldStarts = new PendingMeasurementStarts(model->deviceList(), this);
    connect(heldStarts, &PendingMeasurementStarts::startsFailed, this, &MeasurementResultViewModel::onStartsFailed);
    startDailyPurgeTimer();
    logLeave("MeasurementResultViewModel");
}

MeasurementResultViewModel::~MeasurementResultViewModel() = default;

// --- Screen life cycle ---

void MeasurementResultViewModel::resume()
{
    logEnter("resume");
    logLeave("resume");
}

void MeasurementResultViewModel::suspend()
{
    logEnter("suspend");
    log(QStringLiteral("%1 [%2] Suspend %3")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss.zzz")),
                 QStringLiteral("suspend"),
                 QStringLiteral("thread id: 0x%1")
                     .arg(reinterpret_cast<quintptr>(QThread::currentThreadId()), 0, 16)));
    connectPage(false);
    logLeave("suspend");
}

void MeasurementResultViewModel::createConnection(QObject *newPage, QObject *newFrame)
{
    logEnter("createConnection");
    // A page left connected from an earlier visit would deliver every signal twice.
    connectPage(false);
    AbstractViewModel::createConnection(newPage, newFrame);
    connectPage(true);
    logLeave("createConnection");
}

void MeasurementResultViewModel::connectPage(bool connecting)
{
    connectPageSignals(kPageConnections, connecting);
}

void MeasurementResultViewModel::activate()
{
    ApplicationModel *model = app();
    if (!model)
        return;
    logEnter("activate");
    writeScreenChangeLog();
    if (page) {
        setPageProperty("listCount", resultModel ? resultModel->displayedRowCount() : 0);
        setPageProperty("scaling", model->dialogScale());
    }
    updateMeasurementSaveText();
    logLeave("activate");
}

void MeasurementResultViewModel::deactivate()
{
    logEnter("deactivate");
    page = nullptr;
    logLeave("deactivate");
}

void MeasurementResultViewModel::updateMeasurementSaveText()
{
    if (!page || !resultModel)
        return;
    bool measuring = false;
    for (int r = 0; r < resultModel->rowCount() && !measuring; ++r) {
        const MeasureResultRow row = resultModel->row(r);
        measuring = row.latestData && row.measurementStart == kMeasuring;
    }
    setPageProperty("measurementSaveText", measuring);
}

void MeasurementResultViewModel::onScreenUpdate(QString name, ScreenUpdateValue buf)
{
    if (!page || !app())
        return;
    if (name == QLatin1String("listCount"))
        setPageProperty("listCount", buf.number);
    else if (name == QLatin1String("allCheckBox"))
        setPageProperty("allCheckBox", buf.flag);
    else if (name == QLatin1String("popupListCount"))
        setPageProperty("popupListCount", buf.number);
    else if (name == QLatin1String("popupAllCheckBox"))
        setPageProperty("popupAllCheckBox", buf.flag);
    else if (name == QLatin1String("statusError"))
        setPageProperty("statusError", buf.flag);
    else if (name == QLatin1String("statusErrorMessageUpdate"))
        selectStatusRow(statusRow);
}

void MeasurementResultViewModel::onChangeDialogScaleNotify(double scale)
{
    if (!app())
        return;
    logEnter("onChangeDialogScaleNotify");
    setPageProperty("scaling", scale);
}

// --- Rows ---

DeviceList *MeasurementResultViewModel::devices() const
{
    ApplicationModel *model = app();
    return model ? model->deviceList() : nullptr;
}

bool MeasurementResultViewModel::isRow(int row) const
{
    return resultModel && row >= 0 && row < resultModel->rowCount();
}

MeasureResultRow MeasurementResultViewModel::rowAt(int row) const
{
    return isRow(row) ? resultModel->row(row) : MeasureResultRow();
}

QList<int> MeasurementResultViewModel::displayedDeviceNumbers() const
{
    QList<int> numbers;
    DeviceList *list = devices();
    if (!list || !resultModel)
        return numbers;
    for (int i = 0; i < list->deviceCount(); ++i)
        numbers.append(numberOf(rowAt(resultModel->deviceTopRow(i)).no));
    return numbers;
}

int MeasurementResultViewModel::topRowOfDevice(int deviceNo) const
{
    const int position = displayedDeviceNumbers().indexOf(deviceNo);
    if (position < 0)
        return -1;
    const int top = resultModel->deviceTopRow(position);
    return isRow(top) ? top : -1;
}

int MeasurementResultViewModel::channelIndexOfRow(int row, int deviceNo) const
{
    const int top = topRowOfDevice(deviceNo);
    if (top < 0 || row < top || numberOf(rowAt(row).no) != deviceNo)
        return -1;
    return row > top + 1 ? row - top - 1 : 0;
}

void MeasurementResultViewModel::onListButtonClicked(QString button, int index, int clicked)
{
    if (!app())
        return;
    if (button == QLatin1String("settingButton"))
        openChannelSetting(index);
    else if (button == QLatin1String("measurementStartButton"))
        toggleDeviceMeasurement(index);
    else if (button == QLatin1String("channelDetail"))
        openChannelHistory(index);
    else if (button == QLatin1String("checkBox"))
        emit checkBoxClicked(index);
    else if (button == QLatin1String("allCheckBox"))
        emit allCheckBoxClicked(clicked);
    else if (button == QLatin1String("rowSelectionSingleClicke"))
        selectRow(index, clicked);
    else if (button == QLatin1String("statusButton"))
        openStatusErrors(index);
    else if (button == QLatin1String("statusPopupRowSelectionSingleClicke"))
        selectStatusRow(index);
    else if (button == QLatin1String("statusPopupCheckBox"))
        emit statusPopupCheckBoxClicked(index);
    else if (button == QLatin1String("statusPopupAllCheckBox"))
        emit statusPopupAllCheckBoxClicked(clicked);
}

void MeasurementResultViewModel::onComboboxChange(QString name, QString text)
{
    if (!app())
        return;
    if (name == QLatin1String("statusCombobox")) {
        emit deviceNoSort(1);
        emit statusSort(text == QStringLiteral("正常順") ? 1 : 0);
    } else if (name == QLatin1String("deviceNoCombobox")) {
        emit deviceNoSort(text == QStringLiteral("昇順") ? 1 : 0);
    }
}

void MeasurementResultViewModel::selectRow(int index, int clicked)
{
    log(QStringLiteral("1行クリック index = %1").arg(index));
    if (!isRow(index))
        return;
    if (clicked == 1 && rowAt(index).topDataVisible) {
        emit displayChange(index);
        emit focusChange(index, 0, false);
        emit listCountUpdate();
    } else {
        emit focusChange(index, 0, false);
    }
}

void MeasurementResultViewModel::openStatusErrors(int index)
{
    log(QStringLiteral("ステータス index = %1").arg(index));
    if (!resultModel)
        return;
    log(QStringLiteral("エラーカウント = %1").arg(resultModel->statusErrorCount()));
    statusRow = 0;
    for (int r = 0; r < resultModel->rowCount(); ++r) {
        const MeasureResultRow row = resultModel->row(r);
        if (!row.latestData && isChannelStatusError(row.channelStatus)) {
            selectStatusRow(r);
            return;
        }
    }
}

void MeasurementResultViewModel::selectStatusRow(int row)
{
    log(QStringLiteral("ステータス index = %1").arg(row));
    statusRow = row;
    if (!isRow(row))
        return;
    const int deviceNo = numberOf(rowAt(row).no);
    DeviceList *list = devices();
    LevelChecker *device = list ? list->device(deviceNo - 1) : nullptr;
    const int channel = channelIndexOfRow(row, deviceNo);
    if (page) {
        const QString text = device && channel >= 0 ? device->joinedErrorMessages(channel) : QString();
        setPageProperty("errorMessage", text);
        setPageProperty("popupErrorMessageRow", int(text.count(QLatin1Char('\n'))));
        setPageProperty("popupListCount", resultModel->statusErrorCount());
    }
    emit focusChange(row, 0, true);
}

// --- Error reset ---

void MeasurementResultViewModel::onButtonClicked(QString button)
{
    if (!app())
        return;
    if (button == QLatin1String("errorReset"))
        resetSelectedErrors();
}

void MeasurementResultViewModel::resetSelectedErrors()
{
    log(QStringLiteral("エラー解除"));
    if (!resultModel)
        return;
    if (ResultSaveWriter::tickedPopupRowCount(*resultModel) == 0) {
        emit messagePopupOpen(QStringLiteral("エラー解除するチャンネルを選択してください。"));
        return;
    }
    DeviceList *list = devices();
    for (int j = 0; j < resultModel->rowCount(); ++j) {
        const MeasureResultRow row = resultModel->row(j);
        if (row.statusPoopupCheckbox != 1)
            continue;
        emit statusErrorReset(j);
        const int deviceNo = numberOf(row.no);
        WorkLogEntry entry;
        entry.screenId = ScreenMeasurementResult;
        entry.deviceNo = deviceNo;
        entry.band = row.band;
        entry.channel = row.channel;
        writeWorkLog(entry, WorkLogErrorCleared);

        LevelChecker *device = list ? list->device(deviceNo - 1) : nullptr;
        const int channel = channelIndexOfRow(j, deviceNo);
        if (device && channel >= 0) {
            const int records = device->alertRecordCount(channel);
            for (int k = 0; k < records; ++k) {
                device->removeAlertRecord(channel, 0);
                device->removeErrorMessage(channel, 0);
            }
        }
        emit statusPopupCheckBoxChange(j, true, 0);
        setPageProperty("errorMessage", QString());
        setPageProperty("popupErrorMessageRow", 0);
        emit deviceStatusColorUpdate(deviceNo - 1);
        emit statusTextColorChange();
        setPageProperty("popupListCount", resultModel->statusErrorCount());
    }
    emit focusChange(0, 1, true);
}

// --- Start and stop ---

void MeasurementResultViewModel::emitStartSet(int deviceNo, int started)
{
    if (!resultModel)
        return;
    for (int r = 0; r < resultModel->rowCount(); ++r) {
        const MeasureResultRow row = resultModel->row(r);
        if (row.latestData && numberOf(row.no) == deviceNo) {
            emit measurementStartSet(r, started);
            emit measurementStartSet(r + 1, started);
            return;
        }
    }
}

void MeasurementResultViewModel::toggleDeviceMeasurement(int row)
{
    log(QStringLiteral("測定状態 %1").arg(row));
    DeviceList *list = devices();
    if (!list || !isRow(row))
        return;
    bool ok = false;
    const int deviceNo = int(rowAt(row).deviceNo.toUInt(&ok));
    LevelChecker *device = ok ? list->device(deviceNo - 1) : nullptr;
    if (!device)
        return;
    if (!device->isMeasurable()) {
        emit messagePopupOpen(QStringLiteral("IPアドレスが正しくないか、チャンネルが登録されていません。\n設定を見直してください。"));
        return;
    }
    const bool start = device->measurementState() == int(MeasurementState::Stopped);
    if (start)
        device->setMeasurementState(int(MeasurementState::Measuring));
    else if (device->measurementState() == int(MeasurementState::Measuring))
        device->setMeasurementState(int(MeasurementState::Stopped));

    WorkLogEntry entry;
    entry.screenId = ScreenMeasurementResult;
    entry.deviceNo = device->deviceNo();
    entry.started = start;
    writeWorkLog(entry, WorkLogMeasurementStartStop);

    int top = -1;
    for (int i = 0; i < list->deviceCount(); ++i) {
        const int candidate = resultModel->deviceTopRow(i);
        if (candidate >= 0 && candidate <= row)
            top = qMax(top, candidate);
    }
    if (top >= 0) {
        emit measurementStartSet(top, start ? 1 : 0);
        emit measurementStartSet(top + 1, start ? 1 : 0);
    }

    if (start) {
        heldStarts->startOrHold(deviceNo, QDeadlineTimer(startWaitMs));
    } else {
        heldStarts->cancel(deviceNo);
        device->stopTimer();
        list->stopMeasurementAt(deviceNo - 1);
    }

    PlatformSleep::sleepMs(100);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    updateMeasurementSaveText();
}

void MeasurementResultViewModel::onMeasurementSelectStartStop(bool start, bool all)
{
    if (!app())
        return;
    log(start ? QStringLiteral("一括測定　開始") : QStringLiteral("一括測定　停止"));
    DeviceList *list = devices();
    if (!list || !resultModel)
        return;

    QList<int> numbers;
    if (all) {
        for (int i = 0; i < list->deviceCount(); ++i)
            numbers.append(i + 1);
    } else {
        for (int r = 0; r < resultModel->rowCount(); ++r) {
            const MeasureResultRow row = resultModel->row(r);
            if (!row.topDataVisible || row.checkbox == 0)
                continue;
            const int number = numberOf(row.no);
            if (number > 0 && !numbers.contains(number))
                numbers.append(number);
        }
    }

    QList<int> notMeasurable;
    // One bound for every start that has to wait.
    const QDeadlineTimer deadline(startWaitMs);
    for (const int number : qAsConst(numbers)) {
        LevelChecker *device = list->device(number - 1);
        if (!device)
            continue;
        if (!device->isMeasurable()) {
            notMeasurable.append(number);
            continue;
        }
        const bool already = start ? device->measurementState() == int(MeasurementState::Measuring)
                                   : device->measurementState() != int(MeasurementState::Measuring);
        if (already)
            continue;
        device->setMeasurementState(start ? int(MeasurementState::Measuring) : int(MeasurementState::Stopped));

        WorkLogEntry entry;
        entry.screenId = ScreenMeasurementResult;
        entry.deviceNo = device->deviceNo();
        entry.started = start;
        writeWorkLog(entry, WorkLogMeasurementStartStop);

        emitStartSet(number, start ? 1 : 0);
        if (start) {
            heldStarts->startOrHold(number, deadline);
        } else {
            heldStarts->cancel(number);
            device->stopTimer();
            list->stopMeasurementAt(number - 1);
        }
    }

    if (!notMeasurable.isEmpty()) {
        QString body;
        int lines = 0;
        for (int i = 0; i < notMeasurable.size(); ++i) {
            const QString item = QStringLiteral("No%1").arg(notMeasurable.at(i), 2, 10, QLatin1Char(' '));
            switch (i % 5) {
            case 0:
                body += item;
                break;
            case 4:
                body += QLatin1Char('\t') + item + QLatin1Char('\n');
                ++lines;
                break;
            default:
                body += QLatin1Char('\t') + item;
                break;
            }
        }
        if (notMeasurable.size() % 5 != 0)
            ++lines;
        else if (body.endsWith(QLatin1Char('\n')))
            body.chop(1);
        setPageProperty("messagePopupTextLineCount", lines);
        setPageProperty("messagePopupText2",
                        QStringLiteral("以下機器のIPアドレスが正しくないか、\nチャンネルが登録されていません。\n設定を見直してください。"));
        setPageProperty("messagePopupFlg", 1);
        emit messagePopupOpen(body);
    }
    updateMeasurementSaveText();
}

void MeasurementResultViewModel::onStartsFailed(QList<int> deviceNumbers)
{
    DeviceList *list = devices();
    QStringList names;
    for (const int number : qAsConst(deviceNumbers)) {
        LevelChecker *device = list ? list->device(number - 1) : nullptr;
        if (!device)
            continue;
        // The screen must not claim a measurement that never started.
        device->setMeasurementState(int(MeasurementState::Stopped));
        emitStartSet(number, 0);
        log(QStringLiteral("測定開始できませんでした 機器No.%1").arg(number));
        names.append(QStringLiteral("No.%1").arg(number));
    }
    if (names.isEmpty())
        return;
    updateMeasurementSaveText();
    emit messagePopupOpen(QStringLiteral("機器%1の測定を開始できませんでした。\n前回の測定の停止が終わっていません。もう一度開始してください。")
                              .arg(names.join(QStringLiteral("、"))));
}

// --- Leaving for other screens ---

void MeasurementResultViewModel::openChannelSetting(int row)
{
    DeviceList *list = devices();
    if (!list || !isRow(row))
        return;
    const int deviceNo = numberOf(rowAt(row).no);
    log(QStringLiteral("設定確認 %1").arg(deviceNo - 1));
    LevelChecker *device = list->device(deviceNo - 1);
    if (!device)
        return;
    emit dataPassDeviceData(device->deviceNo(), device->name(), ScreenMeasurementResult);
    emit transWindow(QStringLiteral("ChannelSetting.qml"));
}

void MeasurementResultViewModel::openChannelHistory(int row)
{
    log(QStringLiteral("CH詳細 %1").arg(row));
    DeviceList *list = devices();
    if (!list || !isRow(row))
        return;
    const MeasureResultRow clickedRow = rowAt(row);
    bool ok = false;
    const int deviceNo = int(clickedRow.deviceNo.toUInt(&ok));
    LevelChecker *device = ok ? list->device(deviceNo - 1) : nullptr;
    if (!device)
        return;

    int channel = 0;
    if (device->channelSettingCount() != 1) {
        const int top = topRowOfDevice(deviceNo);
        if (row == top) {
            // The summary row opens the channel whose result it shows.
            for (int r = top + 1; isRow(r) && !rowAt(r).latestData; ++r) {
                const MeasureResultRow candidate = rowAt(r);
                if (candidate.band == clickedRow.band && candidate.channel == clickedRow.channel) {
                    channel = r - top - 1;
                    break;
                }
            }
        } else {
            channel = channelIndexOfRow(row, deviceNo);
        }
    }
    if (!device->isMeasurable()) {
        emit messagePopupOpen(QStringLiteral("チャンネルが登録されていません。\nチャンネル設定を行ってください。"));
        return;
    }
    if (channel < 0 || channel >= device->channelSettingCount()) {
        log(QStringLiteral("CH詳細 %1: no channel %2 in the plan of device %3").arg(row).arg(channel).arg(deviceNo));
        return;
    }
    const ChannelSettingRow setting = device->channelSetting(channel);
    const bool mercnr = clickedRow.band.contains(kConverted);
    emit dataPassChannelData(device->deviceNo(), BandTabIndex(setting.bandTabIndex), setting.channel, channel,
                             resultModel.data(), QString(), mercnr, false);
    emit transWindow(QStringLiteral("MeasurementResultIndividual.qml"));
    emit focusChange(row, 0, false);
}

// --- Saves ---

void MeasurementResultViewModel::onLogSaveButtonClickedCheck()
{
    if (!app() || !resultModel)
        return;
    if (ResultSaveWriter::tickedChannelRowCount(*resultModel) == 0)
        emit messagePopupOpen(QStringLiteral("選択した機器とチャンネルの測定結果を保存します。\n機器とチャンネルを選択してください。"));
    else
        emit logSaveDialogOpen();
}

void MeasurementResultViewModel::onSelectChannelLogSaveButtonClicked(QString fileName)
{
    if (!app())
        return;
    log(QStringLiteral("個別保存 --- %1").arg(fileName));
    saveFile(true, fileName);
}

void MeasurementResultViewModel::onErrorLogSaveButtonClickedCheck()
{
    if (!app() || !resultModel)
        return;
    if (ResultSaveWriter::tickedPopupRowCount(*resultModel) == 0)
        emit messagePopupOpen(QStringLiteral("エラーログを保存するチャンネルを選択してください。"));
    else
        emit logSaveDialogOpen();
}

void MeasurementResultViewModel::onSelectErrorLogSaveButtonClicked(QString fileName)
{
    if (!app())
        return;
    log(QStringLiteral("エラー保存 --- %1").arg(fileName));
    saveFile(false, fileName);
}

void MeasurementResultViewModel::saveFile(bool channelResults, const QString &fileName)
{
    DeviceList *list = devices();
    QStringList lines;
    if (list && resultModel)
        lines = channelResults ? ResultSaveWriter::channelResultLines(*resultModel, *list)
                               : ResultSaveWriter::errorLines(*resultModel, *list);
    const QString header = channelResults ? ResultSaveWriter::channelResultHeader() : ResultSaveWriter::errorHeader();
    switch (ResultSaveWriter::writeFile(ResultSaveWriter::localPath(fileName), header, lines)) {
    case ResultSaveWriter::Outcome::Written:
        emit messagePopupOpen(QStringLiteral("保存が完了しました。"));
        break;
    case ResultSaveWriter::Outcome::OpenFailed:
        emit messagePopupOpen(QStringLiteral("指定のファイルを開くことができませんでした。"));
        break;
    case ResultSaveWriter::Outcome::WriteFailed:
        log(QStringLiteral("save failed: %1").arg(fileName));
        emit messagePopupOpen(QStringLiteral("ファイルの書き込みに失敗しました。保存できていません。"));
        break;
    }
}

// --- Daily purge ---

void MeasurementResultViewModel::startDailyPurgeTimer()
{
    // Precise: a coarse timer may fire minutes early over a whole day.
    dailyPurgeTimer->setTimerType(Qt::PreciseTimer);
    dailyPurgeTimer->setSingleShot(true);
    const QDateTime now = QDateTime::currentDateTime();
    dailyPurgeTimer->start(int(qBound<qint64>(0, now.msecsTo(LogPurge::nextRunTime(now)), 2 * LogPurge::DayMs)));
    if (!purgeConnection)
        purgeConnection = connect(dailyPurgeTimer, &QTimer::timeout, this, &MeasurementResultViewModel::onNightlyPurge);
}

void MeasurementResultViewModel::onNightlyPurge()
{
    purgeOldLogFiles();
    pruneOldResults();
    // The next run at the next 01:00, not a day after this one ended: runs do not drift.
    const QDateTime now = QDateTime::currentDateTime();
    dailyPurgeTimer->start(int(qBound<qint64>(0, now.msecsTo(LogPurge::nextRunTime(now)), 2 * LogPurge::DayMs)));
}

QDateTime MeasurementResultViewModel::logRetentionCutoff(const QDateTime &from, int months)
{
    ApplicationModel *model = app();
    if (!model)
        return from;
    model->reloadApplicationSetting();
    return LogPurge::retentionCutoff(from, months, model->applicationSetting().oneYearFlg);
}

void MeasurementResultViewModel::purgeOldLogFiles()
{
    ApplicationModel *model = app();
    if (!model)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    model->reloadApplicationSetting();
    const QString data = model->applicationSetting().data;
    const QList<QStringList> passes = {
        LogPurge::resultLogFolders(data),
        LogPurge::errorLogFolders(data),
        LogPurge::workLogFolders(),
        LogPurge::historyLogFolders(),
    };
    for (const QStringList &folders : passes) {
        const QDateTime cutoff = logRetentionCutoff(now, 1);
        for (const QString &folder : folders)
            LogPurge::purgeFolder(folder, cutoff);
    }
}

void MeasurementResultViewModel::pruneOldResults()
{
    DeviceList *list = devices();
    if (!list)
        return;
    LogPurge::pruneDevices(list, QDate::currentDate());
}
