#include "core/MeasureResultModel.h"

namespace {

QString measurementStartText(int state)
{
    if (state == 1)
        return QStringLiteral("測定中");
    return QStringLiteral("停止中");
}

} // namespace

MeasureResultModel::MeasureResultModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_roleNames.insert(LatestDataRole, QByteArrayLiteral("latestData"));
    m_roleNames.insert(TopDataVisibleRole, QByteArrayLiteral("topDataVisible"));
    m_roleNames.insert(UpdateDataRole, QByteArrayLiteral("updateData"));
    m_roleNames.insert(NoRole, QByteArrayLiteral("no"));
    m_roleNames.insert(MeasurementStartRole, QByteArrayLiteral("measurementStart"));
    m_roleNames.insert(DeviceNoRole, QByteArrayLiteral("deviceNo"));
    m_roleNames.insert(NameRole, QByteArrayLiteral("name"));
    m_roleNames.insert(DatatimeRole, QByteArrayLiteral("datatime"));
    m_roleNames.insert(BandRole, QByteArrayLiteral("band"));
    m_roleNames.insert(ChannelRole, QByteArrayLiteral("channel"));
    m_roleNames.insert(FrequencyRole, QByteArrayLiteral("frequency"));
    m_roleNames.insert(LevelRole, QByteArrayLiteral("level"));
    m_roleNames.insert(MerRole, QByteArrayLiteral("mer"));
    m_roleNames.insert(BerRole, QByteArrayLiteral("ber"));
    m_roleNames.insert(HikariRole, QByteArrayLiteral("hikari"));
    m_roleNames.insert(StatusRole, QByteArrayLiteral("status"));
    m_roleNames.insert(ChannelStatusRole, QByteArrayLiteral("channelStatus"));
    m_roleNames.insert(CheckboxRole, QByteArrayLiteral("checkbox"));
    m_roleNames.insert(StatusPoopupCheckboxRole, QByteArrayLiteral("statusPoopupCheckbox"));
    m_roleNames.insert(SettingcheckRole, QByteArrayLiteral("settingcheck"));
    m_roleNames.insert(DisplayRole, QByteArrayLiteral("display"));
    m_roleNames.insert(ClickedRole, QByteArrayLiteral("clicked"));
    m_roleNames.insert(StatusPopupClickedRole, QByteArrayLiteral("statusPopupClicked"));
    m_roleNames.insert(ErrorLevelRole, QByteArrayLiteral("errorLevel"));
    m_roleNames.insert(ErrorMerRole, QByteArrayLiteral("errorMer"));
    m_roleNames.insert(ErrorBerRole, QByteArrayLiteral("errorBer"));
    m_roleNames.insert(ErrorHikariRole, QByteArrayLiteral("errorHikari"));
    m_roleNames.insert(BroadbandSystemRole, QByteArrayLiteral("broadbandSystem"));
    m_roleNames.insert(LocalFrequencyRole, QByteArrayLiteral("localFrequency"));
    m_roleNames.insert(ModulationRole, QByteArrayLiteral("modulation"));
    m_roleNames.insert(LayerRole, QByteArrayLiteral("layer"));
    m_roleNames.insert(PolarizationRole, QByteArrayLiteral("polarization"));
}

MeasureResultModel::~MeasureResultModel() = default;

int MeasureResultModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_rows.size();
}

QVariant MeasureResultModel::data(const QModelIndex &index, int role) const
{
    if (!hasIndex(index.row(), index.column(), index.parent()))
        return QVariant();
    const MeasureResultRow &r = m_rows.at(index.row());
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

bool MeasureResultModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!hasIndex(index.row(), index.column(), index.parent()) || !value.isValid())
        return false;
    MeasureResultRow &r = m_rows[index.row()];
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
    emit dataChanged(index, index, {role});
    return true;
}

QHash<int, QByteArray> MeasureResultModel::roleNames() const
{
    return m_roleNames;
}

void MeasureResultModel::setCapacity(int capacity)
{
    m_capacity = capacity;
}

void MeasureResultModel::clear()
{
    if (rowCount() < 1)
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void MeasureResultModel::addRow(const MeasureResultRow &row)
{
    const int n = m_rows.size();
    beginInsertRows(QModelIndex(), n, n);
    m_rows.append(row);
    endInsertRows();
}

MeasureResultRow MeasureResultModel::row(int position) const
{
    if (!isRow(position))
        return MeasureResultRow();
    return m_rows.at(position);
}

void MeasureResultModel::insertRow(const MeasureResultRow &row, int position)
{
    // The end of the list is a valid place to insert.
    if (position < 0 || position > m_rows.size())
        return;
    beginInsertRows(QModelIndex(), position, position);
    m_rows.insert(position, row);
    endInsertRows();
}

void MeasureResultModel::removeRow(int position)
{
    if (!isRow(position))
        return;
    beginRemoveRows(QModelIndex(), position, position);
    m_rows.remove(position);
    endRemoveRows();
}

void MeasureResultModel::setRow(int position, const MeasureResultRow &row)
{
    if (!isRow(position))
        return;
    MeasureResultRow &target = m_rows[position];
    const bool keptUpdate = target.updateData;
    target = row;
    target.updateData = keptUpdate;
    QVector<int> roles;
    for (int role = LatestDataRole; role <= PolarizationRole; ++role) {
        if (role != UpdateDataRole)
            roles.append(role);
    }
    emitRowChanged(position, roles);
}

void MeasureResultModel::setMeasurementValues(int position, const QString &datatime,
                                              const QString &band, const QString &channel,
                                              const QString &frequency, const QString &level,
                                              const QString &mer, const QString &ber,
                                              const QString &hikari)
{
    if (!isRow(position))
        return;
    MeasureResultRow &r = m_rows[position];
    r.datatime = datatime;
    r.band = band;
    r.channel = channel;
    r.frequency = frequency;
    r.level = level;
    r.mer = mer;
    r.ber = ber;
    r.hikari = hikari;
    emitRowChanged(position, {DatatimeRole, BandRole, ChannelRole, FrequencyRole, LevelRole,
                              MerRole, BerRole, HikariRole});
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
    if (!isRow(position))
        return;
    MeasureResultRow &r = m_rows[position];
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
    emitRowChanged(position, {DatatimeRole, BandRole, ChannelRole, LevelRole, MerRole, BerRole,
                              HikariRole, FrequencyRole, BroadbandSystemRole, LocalFrequencyRole,
                              ModulationRole, LayerRole, PolarizationRole, ErrorLevelRole,
                              ErrorMerRole, ErrorBerRole, ErrorHikariRole});
}

void MeasureResultModel::setMeasurementStart(int position, int state)
{
    if (!isRow(position))
        return;
    if (state == 0 || state == 1)
        m_rows[position].measurementStart = measurementStartText(state);
    emitRowChanged(position, {MeasurementStartRole});
}

int MeasureResultModel::checkbox(int position) const
{
    if (!isRow(position))
        return 0;
    return m_rows.at(position).checkbox;
}

void MeasureResultModel::setCheckbox(int position, bool set, int value)
{
    if (!isRow(position))
        return;
    int &box = m_rows[position].checkbox;
    box = set ? value : (box == 0 ? 1 : 0);
    emitRowChanged(position, {CheckboxRole});
}

void MeasureResultModel::setStatusPopupCheckbox(int position, bool set, int value)
{
    if (!isRow(position))
        return;
    int &box = m_rows[position].statusPoopupCheckbox;
    box = set ? value : (box == 0 ? 1 : 0);
    emitRowChanged(position, {StatusPoopupCheckboxRole});
}

int MeasureResultModel::displayedRowCount() const
{
    int count = 0;
    for (const MeasureResultRow &r : m_rows) {
        if (r.display)
            ++count;
    }
    return count;
}

int MeasureResultModel::statusErrorCount() const
{
    int count = 0;
    for (const MeasureResultRow &r : m_rows) {
        if (!r.latestData && r.channelStatus >= 1 && r.channelStatus <= 3)
            ++count;
    }
    return count;
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
    if (i < 0 || i >= m_deviceTopRows.size())
        return -1;
    return m_deviceTopRows.at(i);
}

void MeasureResultModel::setDeviceTopRow(int i, int position)
{
    if (i < 0 || i >= m_deviceTopRows.size())
        return;
    m_deviceTopRows[i] = position;
}

void MeasureResultModel::toggleDeviceDisplay(int position)
{
    if (!isRow(position))
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
    if (!found || !isRow(top))
        return;
    MeasureResultRow &topRow = m_rows[top];
    topRow.display = !topRow.display;
    const QString device = topRow.no;
    const bool channelsShown = !topRow.display;
    emitRowChanged(top, {DisplayRole});
    for (int k = top + 1; k < m_rows.size() && m_rows.at(k).no == device; ++k) {
        m_rows[k].display = channelsShown;
        emitRowChanged(k, {DisplayRole});
    }
}

bool MeasureResultModel::isRow(int position) const
{
    return position >= 0 && position < m_rows.size();
}

void MeasureResultModel::emitRowChanged(int position, const QVector<int> &roles)
{
    const QModelIndex at = index(position, 0);
    emit dataChanged(at, at, roles);
}
