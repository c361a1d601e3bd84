#include "monitor/NotifyResponse.h"

#include "core/ChannelStatus.h"
#include "core/ValueFormat.h"
#include "monitor/ApplicationModel.h"
#include "monitor/DailyLogFiles.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "monitor/MeasurementReplyParser.h"
#include "monitor/ResultHistoryLogWriter.h"
#include "monitor/ResultLogWriter.h"
#include "monitor/ThresholdJudge.h"
#include "platform/PlatformPaths.h"

#include <QDateTime>
#include <QVector>

#include <algorithm>
#include <climits>

namespace {
const QString kConverted = QStringLiteral("(換算)");
const QString kNoValue = QStringLiteral("---");
const QString kMeasuring = QStringLiteral("測定中");
const QString kStopped = QStringLiteral("停止中");
const QString kConfigured = QStringLiteral("設定・確認");
const QString kNotConfigured = QStringLiteral("未設定");
const QString kNoAddress = QStringLiteral("0.0.0.0");
constexpr int kDevicesPerList = 50;

using Role = MeasureResultModel::Role;

// The band text of a stored result as the result list shows it.
QString listBandText(const LevelChecker *device, const ChannelResultRow &row,
                     const ChannelSettingRow &plan)
{
    QString text = ValueFormat::bandDisplayName(row.bandTabIndex, true);
    const bool converted =
        (row.bandTabIndex == BandTerrestrial && device->terrestrialMerCnText() == QLatin1String("CNR"))
        || (row.bandTabIndex == BandCatv && device->catvMerCnText() == QLatin1String("CNR")
            && MeasurementReplyParser::isIsdbtCode(plan.broadbandSystem));
    if (converted)
        text += kConverted;
    return text;
}

AlertSettingRow noThresholds(int band, const QString &channel)
{
    AlertSettingRow a;
    a.bandTabIndex = band;
    a.channel = channel;
    a.levelMin = a.levelMax = a.merCn = a.ber = kNoValue;
    a.hikariLevelMin = a.hikariLevelMax = a.convertCnr = kNoValue;
    return a;
}
}

NotifyResponse::NotifyResponse(ApplicationModel *model, SystemLog *log, QObject *parent)
    : ParallelTask(log, parent)
    , applicationModel(model)
    , logFiles(std::make_unique<DailyLogFiles>([this](const QString &message) {
        // Once when a file's appends begin to fail and once when they work again.
        logLine(message);
    }))
{
    if (!applicationModel)
        return;
    logLine(QStringLiteral("Enter %1").arg(QStringLiteral("NotifyResponse")));
    if (DeviceList *list = applicationModel->deviceList())
        connect(list, &DeviceList::notifyResponse, this, &NotifyResponse::onNotifyResponse,
                Qt::QueuedConnection);
    resultModel = qobject_cast<MeasureResultModel *>(
        applicationModel->findQmlObject(QStringLiteral("measureResultModel")));
    if (resultModel)
        resultModel->setCapacity((applicationModel->maxChannelCount() + 1) * kDevicesPerList);
    makeMeasurementResultModel();
    logLine(QStringLiteral("Leave %1").arg(QStringLiteral("NotifyResponse")));
}

NotifyResponse::~NotifyResponse() = default;

void NotifyResponse::work()
{
}

void NotifyResponse::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

QDateTime NotifyResponse::now() const
{
    return m_clock ? m_clock() : QDateTime::currentDateTime();
}

QDateTime NotifyResponse::resultTime() const
{
    return m_resultTime.isValid() ? m_resultTime : now();
}

const NotifyResponse::LogPaths &NotifyResponse::logPaths(int deviceIndex, const QString &dataFolder,
                                                         const QDate &day)
{
    if (deviceIndex >= m_logPaths.size())
        m_logPaths.resize(deviceIndex + 1);
    LogPaths &paths = m_logPaths[deviceIndex];
    const QByteArray root = m_resultTime.isValid() ? m_resultRoot : PlatformPaths::rootKey();
    if (paths.day != day || paths.dataFolder != dataFolder || paths.root != root) {
        const int folderNumber = deviceIndex + 1;
        paths.day = day;
        paths.dataFolder = dataFolder;
        paths.root = root;
        paths.result = ResultLogWriter::resultLogPath(dataFolder, folderNumber, day);
        paths.error = ResultLogWriter::errorLogPath(dataFolder, folderNumber, day);
        paths.history = ResultHistoryLogWriter::filePath(folderNumber, day);
    }
    return paths;
}

// ---------------------------------------------------------------------------------------
// Helpers

LevelChecker *NotifyResponse::deviceAt(int index) const
{
    if (!applicationModel)
        return nullptr;
    DeviceList *list = applicationModel->deviceList();
    return list ? list->device(index) : nullptr;
}

int NotifyResponse::deviceCount() const
{
    if (!applicationModel)
        return 0;
    DeviceList *list = applicationModel->deviceList();
    return list ? list->deviceCount() : 0;
}

void NotifyResponse::logLine(const QString &message)
{
    if (applicationModel)
        applicationModel->log(objectName(), message, LogNormal);
}

void NotifyResponse::emitScreenUpdate(const QString &name, int number, bool flag)
{
    ScreenUpdateValue value;
    value.number = number;
    value.flag = flag;
    emit screenUpdate(name, value);
}

// The reads below run several times per stored result: the fields are read in place, and
// only roles the result path does not use go through the model's QVariant data.
int NotifyResponse::rowNo(int position) const
{
    return resultModel->rowNumber(position);
}

bool NotifyResponse::rowFlag(int position, int role) const
{
    const MeasureResultRow *row = resultModel->rowAt(position);
    if (!row)
        return false;
    switch (role) {
    case Role::LatestDataRole: return row->latestData;
    case Role::UpdateDataRole: return row->updateData;
    default: return resultModel->data(resultModel->index(position), role).toBool();
    }
}

int NotifyResponse::rowInt(int position, int role) const
{
    const MeasureResultRow *row = resultModel->rowAt(position);
    if (!row)
        return 0;
    switch (role) {
    case Role::StatusRole: return row->status;
    case Role::ChannelStatusRole: return row->channelStatus;
    case Role::StatusPoopupCheckboxRole: return row->statusPoopupCheckbox;
    default: return resultModel->data(resultModel->index(position), role).toInt();
    }
}

QString NotifyResponse::rowText(int position, int role) const
{
    const MeasureResultRow *row = resultModel->rowAt(position);
    if (!row)
        return QString();
    switch (role) {
    case Role::NoRole: return row->no;
    case Role::DatatimeRole: return row->datatime;
    case Role::BandRole: return row->band;
    case Role::ChannelRole: return row->channel;
    case Role::LevelRole: return row->level;
    case Role::MerRole: return row->mer;
    case Role::BerRole: return row->ber;
    case Role::HikariRole: return row->hikari;
    default: return resultModel->data(resultModel->index(position), role).toString();
    }
}

void NotifyResponse::setRowValue(int position, int role, const QVariant &value)
{
    resultModel->setData(resultModel->index(position), value, role);
}

int NotifyResponse::findTopRow(int deviceIndex) const
{
    if (!resultModel)
        return -1;
    return resultModel->topRowOf(deviceIndex + 1, deviceCount());
}

int NotifyResponse::groupEnd(int top) const
{
    return resultModel->groupEnd(top);
}

int NotifyResponse::channelRow(int top, int deviceNumber, int p) const
{
    if (top < 0 || p < 0 || rowNo(top) != deviceNumber)
        return -1;
    const int row = top + 1 + p;
    return row < groupEnd(top) ? row : -1;
}

bool NotifyResponse::allChecked() const
{
    const int rows = resultModel->rowCount();
    for (int r = 0; r < rows; ++r) {
        if (resultModel->checkbox(r) < 1)
            return false;
    }
    return true;
}

void NotifyResponse::rebuildDeviceTopRows()
{
    resultModel->clearDeviceTopRows();
    const int rows = resultModel->rowCount();
    for (int r = 0; r < rows; ++r) {
        if (rowFlag(r, Role::LatestDataRole))
            resultModel->appendDeviceTopRow(r);
    }
}

// ---------------------------------------------------------------------------------------
// Building and reloading the result list

MeasureResultRow NotifyResponse::channelRowFor(LevelChecker *device, int k) const
{
    const ChannelSettingRow plan = device->channelSetting(k);
    MeasureResultRow row;
    row.no = row.deviceNo = QString::number(device->deviceNo());
    row.name = device->name();
    row.band = ValueFormat::bandDisplayName(plan.bandTabIndex, true);
    row.channel = plan.channel;
    row.frequency = ValueFormat::frequencyText(plan.bandTabIndex, quint32(plan.frequency), false);
    row.broadbandSystem = plan.broadbandSystem;
    return row;
}

MeasureResultRow NotifyResponse::placeholderRow(LevelChecker *device, bool top) const
{
    MeasureResultRow row;
    row.latestData = top;
    row.topDataVisible = true;
    row.no = row.deviceNo = QString::number(device->deviceNo());
    row.name = device->name();
    row.measurementStart = kStopped;
    row.settingcheck = kNotConfigured;
    row.display = top;
    return row;
}

void NotifyResponse::appendDeviceGroup(int deviceIndex)
{
    LevelChecker *device = deviceAt(deviceIndex);
    if (!device || !resultModel)
        return;
    resultModel->appendDeviceTopRow(resultModel->rowCount());
    const int n = device->channelSettingCount();
    if (n == 0) {
        resultModel->addRow(placeholderRow(device, true));
        resultModel->addRow(placeholderRow(device, false));
        return;
    }
    const QString state = device->measurementState() == int(MeasurementState::Measuring) ? kMeasuring : kStopped;
    for (int i = 0; i <= n; ++i) {
        MeasureResultRow row = channelRowFor(device, std::max(0, i - 1));
        row.latestData = i == 0;
        row.topDataVisible = i <= 1;
        row.display = i == 0;
        if (i <= 1) {
            row.measurementStart = state;
            row.settingcheck = kConfigured;
            row.status = int(ChannelStatus::Normal);
        } else {
            row.status = int(ChannelStatus::NoOwnStatus);
        }
        resultModel->addRow(row);
    }
}

void NotifyResponse::makeMeasurementResultModel()
{
    if (!applicationModel || !resultModel)
        return;
    const int count = deviceCount();
    for (int f = 0; f < count; ++f)
        appendDeviceGroup(f);
    emitScreenUpdate(QStringLiteral("listCount"), resultModel->displayedRowCount(), false);
}

void NotifyResponse::onMakeMeasurementResultModel()
{
    makeMeasurementResultModel();
}

void NotifyResponse::onMakeOneMeasurementResultModel(int index)
{
    if (!applicationModel || !resultModel || !deviceAt(index))
        return;
    appendDeviceGroup(index);
    emitScreenUpdate(QStringLiteral("listCount"), resultModel->displayedRowCount(), false);
}

void NotifyResponse::onMeasurementResultModelClear()
{
    if (!resultModel)
        return;
    resultModel->clear();
    resultModel->clearDeviceTopRows();
}

void NotifyResponse::onMeasurementChannelReloading()
{
    if (!applicationModel || !resultModel)
        return;

    // Groups present now, and their device numbers in list order.
    const int rows = resultModel->rowCount();
    int groups = 0;
    for (int r = 0; r < rows; ++r) {
        if (r == 0 || rowNo(r) != rowNo(r - 1))
            ++groups;
    }
    QList<int> previous;
    for (int i = 0; i < groups; ++i) {
        const int top = resultModel->deviceTopRow(i);
        if (top < 0 || top >= rows)
            break;
        const int number = rowNo(top);
        if (previous.isEmpty() || previous.last() != number)
            previous.append(number);
    }

    const int count = deviceCount();
    for (int f = 0; f < count; ++f)
        reloadDeviceGroup(f);

    if (groups > count)
        removeRowsOfRemovedDevices(previous);

    onStatusTextColorChange();
    const int displayed = resultModel->displayedRowCount();
    emitScreenUpdate(QStringLiteral("listCount"), displayed, false);
    emitScreenUpdate(QStringLiteral("allCheckBox"), displayed, allChecked());
}

void NotifyResponse::reloadDeviceGroup(int deviceIndex)
{
    LevelChecker *device = deviceAt(deviceIndex);
    if (!device)
        return;
    const int number = deviceIndex + 1;

    // The device's group: the last one of its number. A device without a group (added
    // without its group being built) gets one now, at the end of the list.
    int top = -1;
    for (int i = 0;; ++i) {
        const int position = resultModel->deviceTopRow(i);
        if (position < 0)
            break;
        if (position < resultModel->rowCount() && rowNo(position) == number
            && rowFlag(position, Role::LatestDataRole))
            top = position;
    }
    if (top < 0) {
        top = resultModel->rowCount();
        appendDeviceGroup(deviceIndex);
    }

    const int n = device->channelSettingCount();
    QVector<QString> planBand(n), planChannel(n), planFrequency(n);
    for (int k = 0; k < n; ++k) {
        const ChannelSettingRow plan = device->channelSetting(k);
        planBand[k] = ValueFormat::bandDisplayName(plan.bandTabIndex, true);
        planChannel[k] = plan.channel;
        planFrequency[k] = ValueFormat::frequencyText(plan.bandTabIndex, quint32(plan.frequency), false);
    }

    // Keep the rows whose channel is still in the plan. Each plan entry takes one row at
    // most, so a channel listed twice keeps two rows rather than gaining one per reload.
    QVector<bool> matched(n, false);
    int r = top + 1;
    while (r < resultModel->rowCount() && !rowFlag(r, Role::LatestDataRole) && rowNo(r) == number) {
        QString band = rowText(r, Role::BandRole);
        band.remove(kConverted);
        const QString channel = rowText(r, Role::ChannelRole);
        const QString frequency = rowText(r, Role::FrequencyRole);
        int found = -1;
        for (int k = 0; k < n; ++k) {
            if (!matched[k] && planBand[k] == band && planChannel[k] == channel
                && planFrequency[k] == frequency) {
                found = k;
                break;
            }
        }
        if (found >= 0) {
            matched[found] = true;
            ++r;
        } else {
            resultModel->removeRow(r);
        }
    }

    const bool topDisplay = rowFlag(top, Role::DisplayRole);
    for (int k = 0; k < n; ++k) {
        if (matched[k])
            continue;
        MeasureResultRow row = channelRowFor(device, k);
        row.display = !topDisplay;
        resultModel->insertRow(row, top + 1 + k);
    }
    if (n == 0) {
        MeasureResultRow row = placeholderRow(device, false);
        row.display = !topDisplay;
        resultModel->insertRow(row, top + 1);
    }

    rebuildDeviceTopRows();

    // The top row repeats the first channel row.
    const int first = top + 1;
    resultModel->setChannelData(
        top, rowText(first, Role::DatatimeRole), rowText(first, Role::BandRole),
        rowText(first, Role::ChannelRole), rowText(first, Role::LevelRole),
        rowText(first, Role::MerRole), rowText(first, Role::BerRole),
        rowText(first, Role::HikariRole), rowText(first, Role::FrequencyRole),
        rowText(first, Role::BroadbandSystemRole), rowText(first, Role::LocalFrequencyRole),
        rowText(first, Role::ModulationRole), rowText(first, Role::LayerRole),
        rowText(first, Role::PolarizationRole), rowFlag(first, Role::ErrorLevelRole),
        rowFlag(first, Role::ErrorMerRole), rowFlag(first, Role::ErrorBerRole),
        rowFlag(first, Role::ErrorHikariRole));

    const QString state = (n > 0 && device->ipAddressText() != kNoAddress)
                              ? rowText(top, Role::MeasurementStartRole)
                              : kStopped;
    for (int i = 0; i <= n; ++i) {
        const int position = top + i;
        if (i <= 1) {
            setRowValue(position, Role::TopDataVisibleRole, true);
            setRowValue(position, Role::SettingcheckRole, n > 0 ? kConfigured : kNotConfigured);
            setRowValue(position, Role::MeasurementStartRole, state);
        } else {
            setRowValue(position, Role::TopDataVisibleRole, false);
            setRowValue(position, Role::MeasurementStartRole, QString());
            setRowValue(position, Role::SettingcheckRole, QString());
        }
    }
    const QString name = device->name();
    for (int i = 0; i <= n; ++i)
        setRowValue(top + i, Role::NameRole, name);

    onDeviceStatusColorUpdate(deviceIndex);

    bool everyChannelChecked = n > 0;
    for (int i = 1; i <= n && everyChannelChecked; ++i)
        everyChannelChecked = resultModel->checkbox(top + i) >= 1;
    resultModel->setCheckbox(top, true, everyChannelChecked ? 1 : 0);
}

void NotifyResponse::removeRowsOfRemovedDevices(const QList<int> &deviceNumbers)
{
    if (!applicationModel || !resultModel)
        return;
    QList<int> gone = deviceNumbers;
    const int count = deviceCount();
    for (int f = 0; f < count; ++f) {
        if (LevelChecker *device = deviceAt(f))
            gone.removeAll(device->deviceNo());
    }
    for (int number : qAsConst(gone)) {
        int r = 0;
        while (r < resultModel->rowCount()) {
            if (rowNo(r) == number)
                resultModel->removeRow(r);
            else
                ++r;
        }
    }
    rebuildDeviceTopRows();
}

// ---------------------------------------------------------------------------------------
// List operations

void NotifyResponse::onMeasurementStartSet(int row, int available)
{
    if (resultModel && row >= 0 && row < resultModel->rowCount())
        resultModel->setMeasurementStart(row, available);
}

void NotifyResponse::onCheckBoxChange(int row, bool flg, int check)
{
    if (resultModel)
        resultModel->setCheckbox(row, flg, check);
}

void NotifyResponse::onCheckBoxClicked(int index)
{
    if (!applicationModel || !resultModel)
        return;
    logLine(QStringLiteral("チェックボックス index = %1").arg(index));
    const int rows = resultModel->rowCount();
    if (index < 0 || index >= rows)
        return;
    resultModel->setCheckbox(index, false, 0);

    const int number = rowNo(index);
    LevelChecker *device = deviceAt(number - 1);
    const int c = device ? device->channelSettingCount() : 0;
    // Only rows of the clicked device's own group are ever written.
    auto inGroup = [&](int r) { return r >= 0 && r < rows && rowNo(r) == number; };

    if (rowFlag(index, Role::LatestDataRole)) {
        const int h = resultModel->checkbox(index);
        if (c == 0) {
            if (inGroup(index + 1))
                resultModel->setCheckbox(index + 1, true, h);
        } else {
            for (int r = index + 1; r <= index + c && inGroup(r); ++r) {
                if (resultModel->checkbox(r) != h)
                    resultModel->setCheckbox(r, true, h);
            }
        }
    }

    int top = -1;
    for (int r = 0; r < rows; ++r) {
        if (rowNo(r) == number) {
            top = r;
            break;
        }
    }
    if (top >= 0) {
        if (c == 0) {
            resultModel->setCheckbox(top, true, resultModel->checkbox(index) != 0 ? 1 : 0);
        } else {
            bool every = true;
            for (int r = top + 1; r <= top + c && every; ++r)
                every = inGroup(r) && resultModel->checkbox(r) >= 1;
            resultModel->setCheckbox(top, true, every ? 1 : 0);
        }
    }
    emitScreenUpdate(QStringLiteral("allCheckBox"), 0, allChecked());
}

void NotifyResponse::onAllCheckBoxClicked(int clicked)
{
    if (!applicationModel || !resultModel)
        return;
    logLine(QStringLiteral("ALLチェックボックス clicked = %1").arg(clicked));
    const int rows = resultModel->rowCount();
    for (int r = 0; r < rows; ++r) {
        if (resultModel->checkbox(r) != clicked)
            resultModel->setCheckbox(r, true, clicked);
    }
}

void NotifyResponse::onDisplayChange(int row)
{
    if (resultModel)
        resultModel->toggleDeviceDisplay(row);
}

void NotifyResponse::onListCountUpdate()
{
    if (resultModel)
        emitScreenUpdate(QStringLiteral("listCount"), resultModel->displayedRowCount(), false);
}

void NotifyResponse::onFocusChange(int index, int clear, bool popup)
{
    if (!resultModel)
        return;
    const int role = popup ? Role::StatusPopupClickedRole : Role::ClickedRole;
    const int rows = resultModel->rowCount();
    for (int r = 0; r < rows; ++r) {
        if (rowFlag(r, role))
            setRowValue(r, role, false);
    }
    if (clear != 0 || index < 0 || index >= rows)
        return;
    setRowValue(index, role, true);
    for (int i = 0;; ++i) {
        const int top = resultModel->deviceTopRow(i);
        if (top < 0)
            break;
        if (top == index) {
            if (index + 1 < rows)
                setRowValue(index + 1, role, true);
            break;
        }
    }
    if (!applicationModel)
        return;
    LevelChecker *device = deviceAt(rowNo(index) - 1);
    if (device && device->channelSettingCount() == 1 && !rowFlag(index, Role::LatestDataRole)
        && index >= 1)
        setRowValue(index - 1, role, true);
}

void NotifyResponse::writeGroupsInOrder(const QList<int> &startRows)
{
    const int rows = resultModel->rowCount();
    QVector<bool> taken(rows, false);
    QVector<MeasureResultRow> ordered;
    ordered.reserve(rows);
    QList<int> tops;
    auto take = [&](int r) {
        if (taken[r])
            return;
        taken[r] = true;
        MeasureResultRow row = resultModel->row(r);
        if (row.latestData)
            tops.append(ordered.size());
        ordered.append(row);
    };
    for (int start : startRows) {
        const int number = rowNo(start);
        for (int r = start; r < rows && rowNo(r) == number; ++r)
            take(r);
    }
    // Rows of groups that no number or status picked keep their relative order at the end.
    for (int r = 0; r < rows; ++r)
        take(r);

    for (int j = 0; j < ordered.size(); ++j)
        resultModel->setRow(j, ordered.at(j));
    resultModel->clearDeviceTopRows();
    for (int position : qAsConst(tops))
        resultModel->appendDeviceTopRow(position);
}

void NotifyResponse::onDeviceNoSort(int order)
{
    if (!applicationModel || !resultModel)
        return;
    const int count = deviceCount();
    const int rows = resultModel->rowCount();
    QList<int> starts;
    const int step = order == 1 ? 1 : -1;
    // A number without rows is skipped, not the end of the sort: the rows of the numbers
    // after it must not be left where the sorted rows are written.
    for (int number = order == 1 ? 1 : count; number != 0 && number <= count; number += step) {
        for (int r = 0; r < rows; ++r) {
            if (rowNo(r) == number) {
                starts.append(r);
                break;
            }
        }
    }
    writeGroupsInOrder(starts);
}

void NotifyResponse::onStatusSort(int order)
{
    if (!applicationModel || !resultModel)
        return;
    const int count = deviceCount();
    const int rows = resultModel->rowCount();
    const QList<int> statuses = order == 1 ? QList<int>{0, 1, 2, 3} : QList<int>{3, 2, 1, 0};
    QList<int> starts;
    for (int status : statuses) {
        int last = -1;
        for (;;) {
            int found = -1;
            for (int i = 0; i < count; ++i) {
                const int top = resultModel->deviceTopRow(i);
                if (top < 0)
                    break;
                if (top < rows && rowInt(top, Role::StatusRole) == status && rowNo(top) > last) {
                    found = top;
                    break;
                }
            }
            if (found < 0)
                break;
            last = rowNo(found);
            starts.append(found);
        }
    }
    writeGroupsInOrder(starts);
}

void NotifyResponse::onDeviceStatusColorUpdate(int index)
{
    if (!applicationModel || !resultModel)
        return;
    const int top = findTopRow(index);
    if (top < 0)
        return;
    const int end = groupEnd(top);
    int status = int(ChannelStatus::Normal);
    for (int r = top; r < end; ++r) {
        const int code = resultModel->rowAt(r)->channelStatus;
        if (code > status && code != int(ChannelStatus::NoOwnStatus))
            status = code;
    }
    setRowValue(top, Role::StatusRole, status);
    if (top + 1 < end)
        setRowValue(top + 1, Role::StatusRole, status);
}

void NotifyResponse::onStatusTextColorChange()
{
    if (!applicationModel || !resultModel)
        return;
    bool error = false;
    const int count = deviceCount();
    const int rows = resultModel->rowCount();
    for (int i = 0; i < count && !error; ++i) {
        const int top = resultModel->deviceTopRow(i);
        if (top < 0)
            break;
        error = top < rows && isChannelStatusError(rowInt(top, Role::StatusRole));
    }
    emitScreenUpdate(QStringLiteral("statusError"), 0, error);
}

void NotifyResponse::markUpdatedRow(int deviceIndex, int channelIndex)
{
    if (!applicationModel || !resultModel)
        return;
    const int top = findTopRow(deviceIndex);
    if (top < 0)
        return;
    const int end = groupEnd(top);
    for (int r = top; r < end; ++r) {
        if (resultModel->rowAt(r)->updateData)
            setRowValue(r, Role::UpdateDataRole, false);
    }
    const int row = top + 1 + channelIndex;
    if (channelIndex >= 0 && row < end)
        setRowValue(row, Role::UpdateDataRole, true);
}

// ---------------------------------------------------------------------------------------
// Status popup

void NotifyResponse::onStatusPopupCheckBoxChange(int row, bool flg, int check)
{
    if (resultModel)
        resultModel->setStatusPopupCheckbox(row, flg, check);
}

void NotifyResponse::onStatusPopupCheckBoxClicked(int index)
{
    if (!applicationModel || !resultModel)
        return;
    logLine(QStringLiteral("チェックボックス index = %1").arg(index));
    resultModel->setStatusPopupCheckbox(index, false, 0);
    bool every = true;
    const int rows = resultModel->rowCount();
    for (int r = 0; r < rows && every; ++r) {
        if (isChannelStatusError(rowInt(r, Role::ChannelStatusRole)))
            every = rowInt(r, Role::StatusPoopupCheckboxRole) >= 1;
    }
    emitScreenUpdate(QStringLiteral("popupAllCheckBox"), 0, every);
}

void NotifyResponse::onStatusPopupAllCheckBoxClicked(int clicked)
{
    if (!applicationModel || !resultModel)
        return;
    logLine(QStringLiteral("ALLチェックボックス clicked = %1").arg(clicked));
    const int rows = resultModel->rowCount();
    for (int r = 0; r < rows; ++r) {
        if (!rowFlag(r, Role::LatestDataRole) && isChannelStatusError(rowInt(r, Role::ChannelStatusRole))
            && rowInt(r, Role::StatusPoopupCheckboxRole) != clicked)
            resultModel->setStatusPopupCheckbox(r, true, clicked);
    }
}

void NotifyResponse::onStatusPopupSelectChannelInfo(QString no, QString band, QString channel)
{
    Q_UNUSED(no)
    Q_UNUSED(band)
    Q_UNUSED(channel)
}

void NotifyResponse::onStatusErrorReset(int row)
{
    if (resultModel && row >= 0 && row < resultModel->rowCount())
        setRowValue(row, Role::ChannelStatusRole, int(ChannelStatus::Normal));
}

QString NotifyResponse::statusErrorMessage(const AlertRecord &record)
{
    QString s = record.dateTime + QLatin1Char('\n');
    s += QStringLiteral("異常：");
    if (record.connectionError) {
        s += QStringLiteral("接続エラー");
    } else {
        if (record.levelError)
            s += QStringLiteral("「レベル」");
        if (record.merCnError)
            s += QStringLiteral("「MER/CN」");
        if (record.berError)
            s += QStringLiteral("「BER」");
        if (record.hikariLevelError)
            s += QStringLiteral("「光レベル」");
    }
    s += QLatin1Char('\n');
    s += QStringLiteral("測定値：レベル ") + record.level + QStringLiteral("[dBuV]、MER/CN ")
         + record.merCn + QStringLiteral("[dB]、BER ") + record.ber + QStringLiteral("、光レベル ")
         + record.hikariLevel + QLatin1Char('\n');
    const bool marked = record.merCnThreshold != kNoValue && record.berThreshold != kNoValue;
    s += QStringLiteral("閾値：レベル <") + record.levelMin + QStringLiteral("[dBuV] ")
         + record.levelMax + QStringLiteral(">[dBuV]、MER/CN ")
         + (marked ? QStringLiteral("<") : QString()) + record.merCnThreshold
         + QStringLiteral("[dB]、BER ") + (marked ? QStringLiteral(">") : QString())
         + record.berThreshold + QStringLiteral("、\n　　　　光レベル <") + record.hikariLevelMin
         + QStringLiteral("[dBm] ") + record.hikariLevelMax + QStringLiteral(">[dBm]\n");
    s += QLatin1Char('\n');
    return s;
}

void NotifyResponse::buildStatusErrorText(int deviceIndex, int channelIndex, const AlertRecord &record)
{
    LevelChecker *device = deviceAt(deviceIndex);
    if (!device)
        return;
    device->addErrorMessage(statusErrorMessage(record), channelIndex);
    emitScreenUpdate(QStringLiteral("statusErrorMessageUpdate"), 0, false);
}

// ---------------------------------------------------------------------------------------
// From reply to stored result

void NotifyResponse::onNotifyResponse(uint index, QString response)
{
    struct ResultMoment
    {
        NotifyResponse *handler;
        ~ResultMoment() { handler->m_resultTime = QDateTime(); }
    } moment{this};
    m_resultTime = now();
    m_resultRoot = PlatformPaths::rootKey();
    const int deviceIndex = index > uint(INT_MAX) ? -1 : int(index);
    const int r = parseMeasurementResponse(response, deviceIndex);
    if (r < 0)
        return;
    writeResultLog(deviceIndex, r);
    writeIndividualLog(deviceIndex, r);
    emit setResponseValueEnd(deviceIndex, r);
}

int NotifyResponse::parseMeasurementResponse(const QString &response, int deviceIndex)
{
    if (!applicationModel)
        return -1;
    LevelChecker *device = deviceAt(deviceIndex);
    ChannelResultRow row;
    // A result that is not stored leaves one line, so that a lost result can be traced.
    auto dropped = [this, deviceIndex, &response](const char *reason) {
        QString text = response.trimmed();
        text.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
        logLine(QStringLiteral("Reply dropped (%1), device %2: %3")
                    .arg(QLatin1String(reason)).arg(deviceIndex + 1).arg(text));
        return -1;
    };
    const bool measurement = MeasurementReplyParser::isMeasurementText(response);
    if (measurement) {
        // The device list may have been rebuilt since the reply was relayed.
        if (!device)
            return dropped("no such device");
        if (!MeasurementReplyParser::parseMeasurement(response, device->terrestrialMerCnText(),
                                                      device->catvMerCnText(), &row))
            return dropped("unparsable");
    } else {
        if (!MeasurementReplyParser::isFailureText(response))
            return -1;
        logLine(response);
        const int c = MeasurementReplyParser::failurePosition(response);
        if (c < 0 || c >= applicationModel->maxChannelCount())
            return -1;
        // The position belongs to the plan the worker had when it failed; only a position
        // inside the device's current plan names a channel.
        if (!device || c >= device->channelSettingCount())
            return -1;
        row = MeasurementReplyParser::failureRow(device->channelSetting(c),
                                                 device->terrestrialMerCnText(),
                                                 device->catvMerCnText(), resultTime());
    }
    const int r = device->updateLatestResult(row);
    if (r < 0)
        return measurement ? dropped("channel not in the plan") : -1;
    device->addMeasurementHistory(row, r);
    return r;
}

void NotifyResponse::writeResultLog(int deviceIndex, int channelIndex)
{
    if (!applicationModel)
        return;
    LevelChecker *device = deviceAt(deviceIndex);
    if (!device || channelIndex < 0 || channelIndex >= device->channelSettingCount())
        return;
    applicationModel->reloadApplicationSetting();
    const QString data = applicationModel->applicationSetting().data;
    const QString line = ResultLogWriter::resultLine(device->latestResult(channelIndex),
                                                     device->channelSetting(channelIndex));
    const QDateTime at = resultTime();
    ResultLogWriter::appendResultLineAt(logPaths(deviceIndex, data, at.date()).result,
                                        device->deviceNo(), device->name(), line, at, logFiles.get());
}

void NotifyResponse::writeIndividualLog(int deviceIndex, int channelIndex)
{
    if (!applicationModel)
        return;
    LevelChecker *device = deviceAt(deviceIndex);
    if (!device || channelIndex < 0 || channelIndex >= device->channelSettingCount())
        return;
    const ChannelResultRow row = device->latestResult(channelIndex);
    const bool hasAlert = channelIndex < device->alertSettingCount();
    const AlertSettingRow alert = hasAlert ? device->alertSetting(channelIndex) : AlertSettingRow();
    const ResultHistoryLogWriter::Verdicts verdicts = ResultHistoryLogWriter::verdicts(
        row, hasAlert ? &alert : nullptr, device->startTime(), device->endTime(),
        device->inputTypeText());
    const QString line = ResultHistoryLogWriter::line(device->deviceNo(), device->name(), row,
                                                      device->channelSetting(channelIndex), verdicts);
    const QDateTime at = resultTime();
    // The history log's folder does not follow the settings' result folder.
    const QString data = applicationModel->applicationSetting().data;
    ResultHistoryLogWriter::appendLineAt(logPaths(deviceIndex, data, at.date()).history, line,
                                         logFiles.get());
}

void NotifyResponse::onSetResponseValueEnd(int index, int latestMeasurementResultIndex)
{
    if (!applicationModel)
        return;
    logLine(QStringLiteral("受信データの格納完了通知を受信"));
    const int p = latestMeasurementResultIndex;
    LevelChecker *device = deviceAt(index);
    if (!device || p < 0 || p >= device->channelSettingCount())
        return;
    const ChannelResultRow row = device->latestResult(p);
    const ChannelSettingRow plan = device->channelSetting(p);
    const QString band = listBandText(device, row, plan);
    const QString frequency = ValueFormat::frequencyText(row.bandTabIndex, quint32(plan.frequency), false);

    const int top = findTopRow(index);
    if (top >= 0) {
        resultModel->setMeasurementValues(top, row.dateTime, band, row.channel, frequency,
                                          row.level, row.merCn, row.ber, row.hikariLevel);
        const int own = channelRow(top, index + 1, p);
        if (own >= 0)
            resultModel->setMeasurementValues(own, row.dateTime, band, row.channel, frequency,
                                              row.level, row.merCn, row.ber, row.hikariLevel);
    }
    judgeThresholds(index, p);
    markUpdatedRow(index, p);
}

void NotifyResponse::judgeThresholds(int deviceIndex, int channelIndex)
{
    if (!applicationModel)
        return;
    const int p = channelIndex;
    LevelChecker *device = deviceAt(deviceIndex);
    if (!device || p < 0 || p >= device->channelSettingCount())
        return;

    // The texts that the channel's row shows; taken from the stored result when the list
    // has no row for the channel (the verdict and the logs still need them).
    const int top = findTopRow(deviceIndex);
    const int own = channelRow(top, deviceIndex + 1, p);
    QString dateTime, band, channel, level, merCn, ber, hikari;
    if (own >= 0) {
        dateTime = rowText(own, Role::DatatimeRole);
        band = rowText(own, Role::BandRole);
        channel = rowText(own, Role::ChannelRole);
        level = rowText(own, Role::LevelRole);
        merCn = rowText(own, Role::MerRole);
        ber = rowText(own, Role::BerRole);
        hikari = rowText(own, Role::HikariRole);
    } else {
        const ChannelResultRow row = device->latestResult(p);
        dateTime = row.dateTime;
        band = listBandText(device, row, device->channelSetting(p));
        channel = row.channel;
        level = row.level;
        merCn = row.merCn;
        ber = row.ber;
        hikari = row.hikariLevel;
    }
    const bool converted = band.contains(kConverted);
    QString plainBand = band;
    plainBand.remove(kConverted);

    // A channel without a threshold row is judged only for a silent device.
    const bool hasAlert = p < device->alertSettingCount();
    const AlertSettingRow a = hasAlert ? device->alertSetting(p)
                                       : noThresholds(device->channelSetting(p).bandTabIndex, channel);
    const QString merCnThreshold = converted ? a.convertCnr : a.merCn;

    AlertRecord record;
    if (hasAlert && ThresholdJudge::inAlertWindow(dateTime, device->startTime(), device->endTime())) {
        record.levelError = ThresholdJudge::levelBroken(level, a.levelMin, a.levelMax);
        if (!ThresholdJudge::isMerBerExemptBand(plainBand)) {
            record.merCnError = ThresholdJudge::merCnBroken(merCn, merCnThreshold);
            record.berError = ThresholdJudge::berBroken(ber, a.ber);
        }
        record.hikariLevelError = device->inputTypeText() == QStringLiteral("光")
                                  && ThresholdJudge::levelBroken(hikari, a.hikariLevelMin,
                                                                 a.hikariLevelMax);
    }
    if (ThresholdJudge::noValues(level, merCn, ber, hikari)) {
        record.connectionError = true;
        record.levelError = record.merCnError = record.berError = record.hikariLevelError = true;
    }

    if (record.levelError || record.merCnError || record.berError || record.hikariLevelError
        || record.connectionError) {
        record.band = band;
        record.channel = channel;
        record.dateTime = dateTime;
        record.level = level;
        record.merCn = merCn;
        record.ber = ber;
        record.hikariLevel = hikari;
        record.levelMin = a.levelMin;
        record.levelMax = a.levelMax;
        record.merCnThreshold = merCnThreshold;
        record.berThreshold = a.ber;
        record.hikariLevelMin = a.hikariLevelMin;
        record.hikariLevelMax = a.hikariLevelMax;
        device->addAlertRecord(record, p);
        writeErrorLog(deviceIndex, p);
        if (own >= 0)
            setRowValue(own, Role::ChannelStatusRole,
                        int(record.connectionError ? ChannelStatus::ConnectionError : ChannelStatus::Abnormal));
    } else if (own >= 0) {
        const int status = rowInt(own, Role::ChannelStatusRole);
        if (status == int(ChannelStatus::Abnormal) || status == int(ChannelStatus::ConnectionError))
            setRowValue(own, Role::ChannelStatusRole, int(ChannelStatus::Recovered));
    }

    for (int position : {top, own}) {
        if (position < 0)
            continue;
        setRowValue(position, Role::ErrorLevelRole, record.levelError);
        setRowValue(position, Role::ErrorMerRole, record.merCnError);
        setRowValue(position, Role::ErrorBerRole, record.berError);
        setRowValue(position, Role::ErrorHikariRole, record.hikariLevelError);
    }

    onDeviceStatusColorUpdate(deviceIndex);
    onStatusTextColorChange();
    if (resultModel)
        emitScreenUpdate(QStringLiteral("popupListCount"), resultModel->statusErrorCount(), false);
}

void NotifyResponse::writeErrorLog(int deviceIndex, int channelIndex)
{
    if (!applicationModel)
        return;
    LevelChecker *device = deviceAt(deviceIndex);
    if (!device)
        return;
    const int count = device->alertRecordCount(channelIndex);
    if (count < 1)
        return;
    applicationModel->reloadApplicationSetting();
    const QString data = applicationModel->applicationSetting().data;
    const AlertRecord record = device->alertRecord(channelIndex, count - 1);
    const QString line = ResultLogWriter::errorLine(device->deviceNo(), device->name(), record);
    if (ResultLogWriter::appendErrorLineAt(logPaths(deviceIndex, data, resultTime().date()).error, line,
                                           logFiles.get()))
        buildStatusErrorText(deviceIndex, channelIndex, record);
}
