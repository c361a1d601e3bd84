#include "core/ChannelDetailsModel.h"

ChannelDetailsModel::ChannelDetailsModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_roleNames.insert(ChannelNoRole, QByteArrayLiteral("channelNo"));
    m_roleNames.insert(BandNameRole, QByteArrayLiteral("BandName"));
    m_roleNames.insert(ChannelNameRole, QByteArrayLiteral("ChannelName"));
    m_roleNames.insert(FrequencycodeRole, QByteArrayLiteral("Frequencycode"));
    m_roleNames.insert(BroadbandRole, QByteArrayLiteral("Broadband"));
    m_roleNames.insert(LocalFrequencyRole, QByteArrayLiteral("LocalFrequency"));
    m_roleNames.insert(PowerSupplyRole, QByteArrayLiteral("PowerSupply"));
    m_roleNames.insert(LevelMinRole, QByteArrayLiteral("LevelMin"));
    m_roleNames.insert(LevelMaxRole, QByteArrayLiteral("LevelMax"));
    m_roleNames.insert(MerRole, QByteArrayLiteral("Mer"));
    m_roleNames.insert(BerRole, QByteArrayLiteral("Ber"));
    m_roleNames.insert(HikariLevelMinRole, QByteArrayLiteral("HikariLevelMin"));
    m_roleNames.insert(HikariLevelMaxRole, QByteArrayLiteral("HikariLevelMax"));
    m_roleNames.insert(ConvCNRRole, QByteArrayLiteral("ConvCNR"));
}

ChannelDetailsModel::~ChannelDetailsModel() = default;

int ChannelDetailsModel::rowCount(const QModelIndex &parent) const
{
    // A list has no children; answering for a valid parent would make it look like a tree.
    if (parent.isValid())
        return 0;
    int count = 0;
    for (const ChannelDetailsRow &r : m_rows) {
        if (!r.channelNo.isEmpty())
            ++count;
    }
    return count;
}

QVariant ChannelDetailsModel::data(const QModelIndex &index, int role) const
{
    if (!hasIndex(index.row(), index.column(), index.parent()))
        return QVariant();
    const ChannelDetailsRow &r = m_rows.at(index.row());
    switch (role) {
    case ChannelNoRole: return r.channelNo;
    case BandNameRole: return r.BandName;
    case ChannelNameRole: return r.ChannelName;
    case FrequencycodeRole: return r.Frequencycode;
    case BroadbandRole: return r.Broadband;
    case LocalFrequencyRole: return r.LocalFrequency;
    case PowerSupplyRole: return r.PowerSupply;
    case LevelMinRole: return r.LevelMin;
    case LevelMaxRole: return r.LevelMax;
    case MerRole: return r.Mer;
    case BerRole: return r.Ber;
    case HikariLevelMinRole: return r.HikariLevelMin;
    case HikariLevelMaxRole: return r.HikariLevelMax;
    case ConvCNRRole: return r.ConvCNR;
    default: return QVariant();
    }
}

bool ChannelDetailsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!hasIndex(index.row(), index.column(), index.parent()) || !value.isValid())
        return false;
    ChannelDetailsRow &r = m_rows[index.row()];
    const QString text = value.toString();
    switch (role) {
    case ChannelNoRole: r.channelNo = text; break;
    case BandNameRole: r.BandName = text; break;
    case ChannelNameRole: r.ChannelName = text; break;
    case FrequencycodeRole: r.Frequencycode = text; break;
    case BroadbandRole: r.Broadband = text; break;
    case LocalFrequencyRole: r.LocalFrequency = text; break;
    case PowerSupplyRole: r.PowerSupply = text; break;
    case LevelMinRole: r.LevelMin = text; break;
    case LevelMaxRole: r.LevelMax = text; break;
    case MerRole: r.Mer = text; break;
    case BerRole: r.Ber = text; break;
    case HikariLevelMinRole: r.HikariLevelMin = text; break;
    case HikariLevelMaxRole: r.HikariLevelMax = text; break;
    case ConvCNRRole: r.ConvCNR = text; break;
    default: break;
    }
    emit dataChanged(index, index, {role});
    return true;
}

QHash<int, QByteArray> ChannelDetailsModel::roleNames() const
{
    return m_roleNames;
}

void ChannelDetailsModel::setCapacity(int capacity)
{
    m_capacity = capacity;
}

void ChannelDetailsModel::clear()
{
    // Rows without a channel number were never announced, so only the counted ones are
    // announced as removed; all rows go, so none of them resurfaces after a refill.
    const int count = rowCount();
    if (count < 1) {
        m_rows.clear();
        return;
    }
    beginRemoveRows(QModelIndex(), 0, count - 1);
    m_rows.clear();
    endRemoveRows();
}

void ChannelDetailsModel::addRow(const ChannelDetailsRow &row)
{
    // A row without a channel number is not counted, so the views learn of nothing.
    if (row.channelNo.isEmpty()) {
        m_rows.append(row);
        return;
    }
    const int count = rowCount();
    beginInsertRows(QModelIndex(), count, count);
    m_rows.append(row);
    endInsertRows();
}

void ChannelDetailsModel::setPowerSupply(const QString &powerSupply, int position)
{
    if (!isCountedRow(position))
        return;
    m_rows[position].PowerSupply = powerSupply;
    emitRowChanged(position, {PowerSupplyRole});
}

void ChannelDetailsModel::setLocalFrequency(const QString &frequency,
                                            const QString &localFrequency, int position)
{
    if (!isCountedRow(position))
        return;
    ChannelDetailsRow &r = m_rows[position];
    r.Frequencycode = frequency;
    r.LocalFrequency = localFrequency;
    emitRowChanged(position, {FrequencycodeRole, LocalFrequencyRole});
}

bool ChannelDetailsModel::isCountedRow(int position) const
{
    return position >= 0 && position < rowCount();
}

void ChannelDetailsModel::emitRowChanged(int position, const QVector<int> &roles)
{
    const QModelIndex at = index(position, 0);
    emit dataChanged(at, at, roles);
}
