#include "core/MeasureResultModel.h"

#include "core/ChannelStatus.h"

namespace {

QString measurementStartText(int state)
{
    if (state == 1)
        return QStringLiteral("測定中");
    return QStringLiteral("停止中");
}

// A check box is either given its value or toggled: 0 becomes 1, anything else 0.
int checkboxValue(int current, bool set, int value)
{
    if (set)
        return value;
    return current == 0 ? 1 : 0;
}

} // namespace

MeasureResultModel::MeasureResultModel(QObject *parent)
    : ListModelFrame({{LatestDataRole, QByteArrayLiteral("latestData")},
                      {TopDataVisibleRole, QByteArrayLiteral("topDataVisible")},
                      {UpdateDataRole, QByteArrayLiteral("updateData")},
                      {NoRole, QByteArrayLiteral("no")},
                      {MeasurementStartRole, QByteArrayLiteral("measurementStart")},
                      {DeviceNoRole, QByteArrayLiteral("deviceNo")},
                      {NameRole, QByteArrayLiteral("name")},
                      {DatatimeRole, QByteArrayLiteral("datatime")},
                      {BandRole, QByteArrayLiteral("band")},
                      {ChannelRole, QByteArrayLiteral("channel")},
                      {FrequencyRole, QByteArrayLiteral("frequency")},
                      {LevelRole, QByteArrayLiteral("level")},
                      {MerRole, QByteArrayLiteral("mer")},
                      {BerRole, QByteArrayLiteral("ber")},
                      {HikariRole, QByteArrayLiteral("hikari")},
                      {StatusRole, QByteArrayLiteral("status")},
                      {ChannelStatusRole, QByteArrayLiteral("channelStatus")},
                      {CheckboxRole, QByteArrayLiteral("checkbox")},
                      {StatusPoopupCheckboxRole, QByteArrayLiteral("statusPoopupCheckbox")},
                      {SettingcheckRole, QByteArrayLiteral("settingcheck")},
                      {DisplayRole, QByteArrayLiteral("display")},
                      {ClickedRole, QByteArrayLiteral("clicked")},
                      {StatusPopupClickedRole, QByteArrayLiteral("statusPopupClicked")},
                      {ErrorLevelRole, QByteArrayLiteral("errorLevel")},
                      {ErrorMerRole, QByteArrayLiteral("errorMer")},
                      {ErrorBerRole, QByteArrayLiteral("errorBer")},
                      {ErrorHikariRole, QByteArrayLiteral("errorHikari")},
                      {BroadbandSystemRole, QByteArrayLiteral("broadbandSystem")},
                      {LocalFrequencyRole, QByteArrayLiteral("localFrequency")},
                      {ModulationRole, QByteArrayLiteral("modulation")},
                      {LayerRole, QByteArrayLiteral("layer")},
                      {PolarizationRole, QByteArrayLiteral("polarization")}},
                     parent)
{
}

MeasureResultModel::~MeasureResultModel() = default;

bool MeasureResultModel::isStatusError(const MeasureResultRow &row)
{
    return !row.latestData && isChannelStatusError(row.channelStatus);
}

void MeasureResultModel::forget(int position)
{
    if (m_rows.holds(position) && isStatusError(m_rows.at(position)))
        --m_statusErrors;
}

void MeasureResultModel::count(int position)
{
    if (!m_rows.holds(position))
        return;
    const MeasureResultRow &row = m_rows.at(position);
    if (isStatusError(row))
        ++m_statusErrors;
}

void MeasureResultModel::takeNumber(int position)
{
    if (m_rows.holds(position))
        m_numbers[position] = m_rows.at(position).no.toInt();
}

void MeasureResultModel::clear()
{
    m_rows.reset();
    m_numbers.clear();
    m_statusErrors = 0;
}

void MeasureResultModel::addRow(const MeasureResultRow &row)
{
    // The number first: the views may read the list while the row is announced.
    m_numbers.append(row.no.toInt());
    if (isStatusError(row))
        ++m_statusErrors;
    m_rows.append(row);
}

int MeasureResultModel::rowNumber(int position) const
{
    return position >= 0 && position < m_numbers.size() ? m_numbers.at(position) : 0;
}

int MeasureResultModel::topRowOf(int number, int count) const
{
    const int rows = m_rows.size();
    for (int i = 0; i < count && i < m_deviceTopRows.size(); ++i) {
        const int top = m_deviceTopRows.at(i);
        if (top < 0)
            break;
        if (top < rows && m_numbers.at(top) == number && m_rows.at(top).latestData)
            return top;
    }
    return -1;
}

int MeasureResultModel::groupEnd(int top) const
{
    const int rows = m_rows.size();
    const int number = rowNumber(top);
    int end = top + 1;
    while (end < rows && !m_rows.at(end).latestData && m_numbers.at(end) == number)
        ++end;
    return end;
}

MeasureResultRow MeasureResultModel::row(int position) const
{
    return m_rows.value(position);
}

const MeasureResultRow *MeasureResultModel::rowAt(int position) const
{
    return m_rows.holds(position) ? &m_rows.at(position) : nullptr;
}

void MeasureResultModel::insertRow(const MeasureResultRow &row, int position)
{
    if (position < 0 || position > m_rows.size())
        return;
    m_numbers.insert(position, row.no.toInt());
    if (isStatusError(row))
        ++m_statusErrors;
    m_rows.insert(position, row);
}

void MeasureResultModel::removeRow(int position)
{
    if (!m_rows.holds(position))
        return;
    forget(position);
    m_numbers.remove(position);
    m_rows.remove(position);
}

void MeasureResultModel::setRow(int position, const MeasureResultRow &row)
{
    QVector<int> roles = roleIds();
    roles.removeOne(UpdateDataRole);
    forget(position);
    m_rows.change(position, roles, [&row](MeasureResultRow &target) {
        const bool keptUpdate = target.updateData;
        target = row;
        target.updateData = keptUpdate;
    });
    takeNumber(position);
    count(position);
}

void MeasureResultModel::setMeasurementValues(int position, const QString &datatime,
                                              const QString &band, const QString &channel,
                                              const QString &frequency, const QString &level,
                                              const QString &mer, const QString &ber,
                                              const QString &hikari)
{
    m_rows.change(position,
                  {DatatimeRole, BandRole, ChannelRole, FrequencyRole, LevelRole, MerRole,
                   BerRole, HikariRole},
                  [&](MeasureResultRow &r) {
                      r.datatime = datatime;
                      r.band = band;
                      r.channel = channel;
                      r.frequency = frequency;
                      r.level = level;
                      r.mer = mer;
                      r.ber = ber;
                      r.hikari = hikari;
                  });
}

void MeasureResultModel::setChannelData(int position, const QString &datatime,
                                        const QString &band, const QString &channel,
                                        const QString &level, const QString &mer,
                                        const QString &ber, const QString &hikari,
                                        const QString &frequency, const QString &broadbandSystem,
                                        const QString &localFrequency, const QString &modulation,
                                        const QString &layer, const QString &polarization,
                                        bool errorLevel, bool errorMer, bool errorBer,
                                        bool errorHikari)
{
    m_rows.change(position,
                  {DatatimeRole, BandRole, ChannelRole, LevelRole, MerRole, BerRole, HikariRole,
                   FrequencyRole, BroadbandSystemRole, LocalFrequencyRole, ModulationRole,
                   LayerRole, PolarizationRole, ErrorLevelRole, ErrorMerRole, ErrorBerRole,
                   ErrorHikariRole},
                  [&](MeasureResultRow &r) {
                      r.datatime = datatime;
                      r.band = band;
                      r.channel = channel;
                      r.level = level;
                      r.mer = mer;
                      r.ber = ber;
                      r.hikari = hikari;
                      r.frequency = frequency;
                      r.broadbandSystem = broadbandSystem;
                      r.localFrequency = localFrequency;
                      r.modulation = modulation;
                      r.layer = layer;
                      r.polarization = polarization;
                      r.errorLevel = errorLevel;
                      r.errorMer = errorMer;
                      r.errorBer = errorBer;
                      r.errorHikari = errorHikari;
                  });
}

void MeasureResultModel::setMeasurementStart(int position, int state)
{
    // Any other state keeps the text but is announced all the same.
    m_rows.change(position, {MeasurementStartRole}, [state](MeasureResultRow &r) {
        if (state == 0 || state == 1)
            r.measurementStart = measurementStartText(state);
    });
}

int MeasureResultModel::checkbox(int position) const
{
    return m_rows.value(position).checkbox;
}

void MeasureResultModel::setCheckbox(int position, bool set, int value)
{
    m_rows.change(position, {CheckboxRole}, [set, value](MeasureResultRow &r) {
        r.checkbox = checkboxValue(r.checkbox, set, value);
    });
}

void MeasureResultModel::setStatusPopupCheckbox(int position, bool set, int value)
{
    m_rows.change(position, {StatusPoopupCheckboxRole}, [set, value](MeasureResultRow &r) {
        r.statusPoopupCheckbox = checkboxValue(r.statusPoopupCheckbox, set, value);
    });
}

int MeasureResultModel::displayedRowCount() const
{
    return m_rows.countIf([](const MeasureResultRow &r) { return r.display; });
}

int MeasureResultModel::statusErrorCount() const
{
    return m_statusErrors;
}

void MeasureResultModel::clearDeviceTopRows()
{
    m_deviceTopRows.clear();
}

void MeasureResultModel::appendDeviceTopRow(int position)
{
    m_deviceTopRows.append(position);
}

int MeasureResultModel::deviceTopRow(int i) const
{
    return m_deviceTopRows.value(i, -1);
}

void MeasureResultModel::setDeviceTopRow(int i, int position)
{
    if (i < 0 || i >= m_deviceTopRows.size())
        return;
    m_deviceTopRows[i] = position;
}

void MeasureResultModel::toggleDeviceDisplay(int position)
{
    if (!m_rows.holds(position))
        return;
    int top = -1;
    bool found = false;
    for (int t : qAsConst(m_deviceTopRows)) {
        if (t == position || t + 1 == position) {
            top = t;
            found = true;
            break;
        }
    }
    // The top rows outlive a clear of the rows, so an entry may point past the list.
    if (!found || !m_rows.holds(top))
        return;
    bool channelsShown = false;
    m_rows.change(top, {DisplayRole}, [&channelsShown](MeasureResultRow &r) {
        r.display = !r.display;
        channelsShown = !r.display;
    });
    const QString device = m_rows.at(top).no;
    for (int k = top + 1; k < m_rows.size() && m_rows.at(k).no == device; ++k) {
        m_rows.change(k, {DisplayRole},
                      [channelsShown](MeasureResultRow &r) { r.display = channelsShown; });
    }
}

int MeasureResultModel::shownRowCount() const
{
    return m_rows.shownCount();
}

QVariant MeasureResultModel::fieldData(int position, int role) const
{
    const MeasureResultRow &r = m_rows.at(position);
    switch (role) {
    case LatestDataRole: return r.latestData;
    case TopDataVisibleRole: return r.topDataVisible;
    case UpdateDataRole: return r.updateData;
    case NoRole: return r.no;
    case MeasurementStartRole: return r.measurementStart;
    case DeviceNoRole: return r.deviceNo;
    case NameRole: return r.name;
    case DatatimeRole: return r.datatime;
    case BandRole: return r.band;
    case ChannelRole: return r.channel;
    case FrequencyRole: return r.frequency;
    case LevelRole: return r.level;
    case MerRole: return r.mer;
    case BerRole: return r.ber;
    case HikariRole: return r.hikari;
    case StatusRole: return r.status;
    case ChannelStatusRole: return r.channelStatus;
    case CheckboxRole: return r.checkbox;
    case StatusPoopupCheckboxRole: return r.statusPoopupCheckbox;
    case SettingcheckRole: return r.settingcheck;
    case DisplayRole: return r.display;
    case ClickedRole: return r.clicked;
    case StatusPopupClickedRole: return r.statusPopupClicked;
    case ErrorLevelRole: return r.errorLevel;
    case ErrorMerRole: return r.errorMer;
    case ErrorBerRole: return r.errorBer;
    case ErrorHikariRole: return r.errorHikari;
    case BroadbandSystemRole: return r.broadbandSystem;
    case LocalFrequencyRole: return r.localFrequency;
    case ModulationRole: return r.modulation;
    case LayerRole: return r.layer;
    case PolarizationRole: return r.polarization;
    default: return QVariant();
    }
}

void MeasureResultModel::storeField(int position, int role, const QVariant &value)
{
    forget(position);
    storeValue(position, role, value);
    if (role == NoRole)
        takeNumber(position);
    count(position);
}

void MeasureResultModel::storeValue(int position, int role, const QVariant &value)
{
    MeasureResultRow &r = m_rows.at(position);
    // The first three flags arrive as numbers from the response handler: non-zero is true.
    switch (role) {
    case LatestDataRole: r.latestData = value.toUInt() != 0; break;
    case TopDataVisibleRole: r.topDataVisible = value.toUInt() != 0; break;
    case UpdateDataRole: r.updateData = value.toUInt() != 0; break;
    case NoRole: r.no = value.toString(); break;
    case MeasurementStartRole: r.measurementStart = value.toString(); break;
    case DeviceNoRole: r.deviceNo = value.toString(); break;
    case NameRole: r.name = value.toString(); break;
    case DatatimeRole: r.datatime = value.toString(); break;
    case BandRole: r.band = value.toString(); break;
    case ChannelRole: r.channel = value.toString(); break;
    case FrequencyRole: r.frequency = value.toString(); break;
    case LevelRole: r.level = value.toString(); break;
    case MerRole: r.mer = value.toString(); break;
    case BerRole: r.ber = value.toString(); break;
    case HikariRole: r.hikari = value.toString(); break;
    case StatusRole: r.status = static_cast<int>(value.toUInt()); break;
    case ChannelStatusRole: r.channelStatus = static_cast<int>(value.toUInt()); break;
    case CheckboxRole: r.checkbox = static_cast<int>(value.toUInt()); break;
    case StatusPoopupCheckboxRole: r.statusPoopupCheckbox = static_cast<int>(value.toUInt()); break;
    case SettingcheckRole: r.settingcheck = value.toString(); break;
    case DisplayRole: r.display = value.toBool(); break;
    case ClickedRole: r.clicked = value.toBool(); break;
    case StatusPopupClickedRole: r.statusPopupClicked = value.toBool(); break;
    case ErrorLevelRole: r.errorLevel = value.toBool(); break;
    case ErrorMerRole: r.errorMer = value.toBool(); break;
    case ErrorBerRole: r.errorBer = value.toBool(); break;
    case ErrorHikariRole: r.errorHikari = value.toBool(); break;
    case BroadbandSystemRole: r.broadbandSystem = value.toString(); break;
    case LocalFrequencyRole: r.localFrequency = value.toString(); break;
    case ModulationRole: r.modulation = value.toString(); break;
    case LayerRole: r.layer = value.toString(); break;
    case PolarizationRole: r.polarization = value.toString(); break;
    default: break;
    }
}
