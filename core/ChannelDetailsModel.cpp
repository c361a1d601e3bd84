#include "core/ChannelDetailsModel.h"

ChannelDetailsModel::ChannelDetailsModel(QObject *parent)
    : ListModelFrame({{ChannelNoRole, QByteArrayLiteral("channelNo")},
                      {BandNameRole, QByteArrayLiteral("BandName")},
                      {ChannelNameRole, QByteArrayLiteral("ChannelName")},
                      {FrequencycodeRole, QByteArrayLiteral("Frequencycode")},
                      {BroadbandRole, QByteArrayLiteral("Broadband")},
                      {LocalFrequencyRole, QByteArrayLiteral("LocalFrequency")},
                      {PowerSupplyRole, QByteArrayLiteral("PowerSupply")},
                      {LevelMinRole, QByteArrayLiteral("LevelMin")},
                      {LevelMaxRole, QByteArrayLiteral("LevelMax")},
                      {MerRole, QByteArrayLiteral("Mer")},
                      {BerRole, QByteArrayLiteral("Ber")},
                      {HikariLevelMinRole, QByteArrayLiteral("HikariLevelMin")},
                      {HikariLevelMaxRole, QByteArrayLiteral("HikariLevelMax")},
                      {ConvCNRRole, QByteArrayLiteral("ConvCNR")}},
                     parent)
{
}

ChannelDetailsModel::~ChannelDetailsModel() = default;

void ChannelDetailsModel::clear()
{
    m_rows.clear();
}

void ChannelDetailsModel::addRow(const ChannelDetailsRow &row)
{
    m_rows.append(row);
}

void ChannelDetailsModel::setPowerSupply(const QString &powerSupply, int position)
{
    m_rows.change(position, {PowerSupplyRole},
                  [&](ChannelDetailsRow &r) { r.PowerSupply = powerSupply; });
}

void ChannelDetailsModel::setLocalFrequency(const QString &frequency,
                                            const QString &localFrequency, int position)
{
    m_rows.change(position, {FrequencycodeRole, LocalFrequencyRole}, [&](ChannelDetailsRow &r) {
        r.Frequencycode = frequency;
        r.LocalFrequency = localFrequency;
    });
}

int ChannelDetailsModel::shownRowCount() const
{
    return m_rows.shownCount();
}

QVariant ChannelDetailsModel::fieldData(int position, int role) const
{
    const ChannelDetailsRow &r = m_rows.at(position);
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

void ChannelDetailsModel::storeField(int position, int role, const QVariant &value)
{
    ChannelDetailsRow &r = m_rows.at(position);
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
}
