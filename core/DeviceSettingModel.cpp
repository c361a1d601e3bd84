#include "core/DeviceSettingModel.h"

DeviceSettingModel::DeviceSettingModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_roleNames.insert(DevicenoRole, QByteArrayLiteral("deviceno"));
    m_roleNames.insert(DevicenameRole, QByteArrayLiteral("devicename"));
    m_roleNames.insert(IpaddressRole, QByteArrayLiteral("ipaddress"));
    m_roleNames.insert(InputtypeRole, QByteArrayLiteral("inputtype"));
    m_roleNames.insert(SettingfileRole, QByteArrayLiteral("settingfile"));
    m_roleNames.insert(ValidtimeRole, QByteArrayLiteral("validtime"));
    m_roleNames.insert(CycleIntervalRole, QByteArrayLiteral("cycleInterval"));
    m_roleNames.insert(HikariWaveLengthRole, QByteArrayLiteral("hikariWaveLength"));
}

DeviceSettingModel::~DeviceSettingModel() = default;

int DeviceSettingModel::rowCount(const QModelIndex &parent) const
{
    // A list has no children; answering for a valid parent would make it look like a tree.
    if (parent.isValid())
        return 0;
    int count = 0;
    for (const DeviceSettingRow &r : m_rows) {
        if (!r.deviceno.isEmpty())
            ++count;
    }
    return count;
}

QVariant DeviceSettingModel::data(const QModelIndex &index, int role) const
{
    if (!hasIndex(index.row(), index.column(), index.parent()))
        return QVariant();
    const DeviceSettingRow &r = m_rows.at(index.row());
    switch (role) {
    case DevicenoRole: return r.deviceno;
    case DevicenameRole: return r.devicename;
    case IpaddressRole: return r.ipaddress;
    case InputtypeRole: return r.inputtype;
    case SettingfileRole: return r.settingfile;
    case ValidtimeRole: return r.validtime;
    case CycleIntervalRole: return r.cycleInterval;
    case HikariWaveLengthRole: return r.hikariWaveLength;
    default: return QVariant();
    }
}

bool DeviceSettingModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!hasIndex(index.row(), index.column(), index.parent()) || !value.isValid())
        return false;
    DeviceSettingRow &r = m_rows[index.row()];
    const QString text = value.toString();
    switch (role) {
    case DevicenoRole: r.deviceno = text; break;
    case DevicenameRole: r.devicename = text; break;
    case IpaddressRole: r.ipaddress = text; break;
    case InputtypeRole: r.inputtype = text; break;
    case SettingfileRole: r.settingfile = text; break;
    case ValidtimeRole: r.validtime = text; break;
    case CycleIntervalRole: r.cycleInterval = text; break;
    case HikariWaveLengthRole: r.hikariWaveLength = text; break;
    default: break;
    }
    emit dataChanged(index, index, {role});
    return true;
}

QHash<int, QByteArray> DeviceSettingModel::roleNames() const
{
    return m_roleNames;
}

void DeviceSettingModel::setCapacity(int capacity)
{
    m_capacity = capacity;
}

void DeviceSettingModel::clear()
{
    // Rows without a device number were never announced, so only the counted ones are
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

void DeviceSettingModel::addRow(const DeviceSettingRow &row)
{
    // A row without a device number is not counted, so the views learn of nothing.
    if (row.deviceno.isEmpty()) {
        m_rows.append(row);
        return;
    }
    const int count = rowCount();
    beginInsertRows(QModelIndex(), count, count);
    m_rows.append(row);
    endInsertRows();
}

void DeviceSettingModel::appendRow(const DeviceSettingRow &row)
{
    addRow(row);
}

QString DeviceSettingModel::ipAddress(int position) const
{
    if (position < 0 || position >= m_rows.size())
        return QString();
    return m_rows.at(position).ipaddress;
}

QString DeviceSettingModel::deviceName(int position) const
{
    if (position < 0 || position >= m_rows.size())
        return QString();
    return m_rows.at(position).devicename;
}

void DeviceSettingModel::setInputType(const QString &inputType, int position)
{
    if (!isCountedRow(position))
        return;
    m_rows[position].inputtype = inputType;
    emitWholeRowChanged(position);
}

void DeviceSettingModel::setValidTime(const QString &validTime, int position)
{
    if (!isCountedRow(position))
        return;
    m_rows[position].validtime = validTime;
    emitWholeRowChanged(position);
}

void DeviceSettingModel::setCycleInterval(const QString &cycleInterval, int position)
{
    if (!isCountedRow(position))
        return;
    m_rows[position].cycleInterval = cycleInterval;
    emitWholeRowChanged(position);
}

void DeviceSettingModel::setHikariWaveLength(const QString &hikariWaveLength, int position)
{
    if (!isCountedRow(position))
        return;
    m_rows[position].hikariWaveLength = hikariWaveLength;
    emitWholeRowChanged(position);
}

bool DeviceSettingModel::isCountedRow(int position) const
{
    return position >= 0 && position < rowCount();
}

void DeviceSettingModel::emitWholeRowChanged(int position)
{
    const QModelIndex at = index(position, 0);
    emit dataChanged(at, at,
                     {DevicenoRole, DevicenameRole, IpaddressRole, InputtypeRole, SettingfileRole,
                      ValidtimeRole, CycleIntervalRole, HikariWaveLengthRole});
}
