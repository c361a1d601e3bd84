#include "core/DeviceSettingModel.h"

DeviceSettingModel::DeviceSettingModel(QObject *parent)
    : ListModelFrame({{DevicenoRole, QByteArrayLiteral("deviceno")},
                      {DevicenameRole, QByteArrayLiteral("devicename")},
                      {IpaddressRole, QByteArrayLiteral("ipaddress")},
                      {InputtypeRole, QByteArrayLiteral("inputtype")},
                      {SettingfileRole, QByteArrayLiteral("settingfile")},
                      {ValidtimeRole, QByteArrayLiteral("validtime")},
                      {CycleIntervalRole, QByteArrayLiteral("cycleInterval")},
                      {HikariWaveLengthRole, QByteArrayLiteral("hikariWaveLength")}},
                     parent)
{
}

DeviceSettingModel::~DeviceSettingModel() = default;

void DeviceSettingModel::clear()
{
    m_rows.clear();
}

void DeviceSettingModel::addRow(const DeviceSettingRow &row)
{
    m_rows.append(row);
}

void DeviceSettingModel::appendRow(const DeviceSettingRow &row)
{
    addRow(row);
}

void DeviceSettingModel::replaceRows(const QVector<DeviceSettingRow> &rows)
{
    m_rows.replaceAll(rows, roleIds());
    emit rowsReplaced();
}

QString DeviceSettingModel::ipAddress(int position) const
{
    return m_rows.value(position).ipaddress;
}

QString DeviceSettingModel::deviceName(int position) const
{
    return m_rows.value(position).devicename;
}

void DeviceSettingModel::setInputType(const QString &inputType, int position)
{
    setText(&DeviceSettingRow::inputtype, inputType, position);
}

void DeviceSettingModel::setValidTime(const QString &validTime, int position)
{
    setText(&DeviceSettingRow::validtime, validTime, position);
}

void DeviceSettingModel::setCycleInterval(const QString &cycleInterval, int position)
{
    setText(&DeviceSettingRow::cycleInterval, cycleInterval, position);
}

void DeviceSettingModel::setHikariWaveLength(const QString &hikariWaveLength, int position)
{
    setText(&DeviceSettingRow::hikariWaveLength, hikariWaveLength, position);
}

void DeviceSettingModel::setText(QString DeviceSettingRow::*field, const QString &text,
                                 int position)
{
    m_rows.change(position, roleIds(), [&](DeviceSettingRow &r) { r.*field = text; });
}

int DeviceSettingModel::shownRowCount() const
{
    return m_rows.shownCount();
}

QVariant DeviceSettingModel::fieldData(int position, int role) const
{
    const DeviceSettingRow &r = m_rows.at(position);
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

void DeviceSettingModel::storeField(int position, int role, const QVariant &value)
{
    DeviceSettingRow &r = m_rows.at(position);
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
}
