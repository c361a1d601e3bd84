#include "core/StatusErrorModel.h"

StatusErrorModel::StatusErrorModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_roleNames.insert(DeviceNoRole, QByteArrayLiteral("deviceNo"));
    m_roleNames.insert(BandRole, QByteArrayLiteral("band"));
    m_roleNames.insert(ChannelRole, QByteArrayLiteral("channel"));
    m_roleNames.insert(DatatimeRole, QByteArrayLiteral("datatime"));
    m_roleNames.insert(LevelRole, QByteArrayLiteral("level"));
    m_roleNames.insert(MerRole, QByteArrayLiteral("mer"));
    m_roleNames.insert(BerRole, QByteArrayLiteral("ber"));
    m_roleNames.insert(ErrorLevelRole, QByteArrayLiteral("errorLevel"));
    m_roleNames.insert(ErrorMerRole, QByteArrayLiteral("errorMer"));
    m_roleNames.insert(ErrorBerRole, QByteArrayLiteral("errorBer"));
    m_roleNames.insert(AlertLevelMinRole, QByteArrayLiteral("alertLevelMin"));
    m_roleNames.insert(AlertLevelMaxRole, QByteArrayLiteral("alertLevelMax"));
    m_roleNames.insert(AlertMerRole, QByteArrayLiteral("alertMer"));
    m_roleNames.insert(AlertBerRole, QByteArrayLiteral("alertBer"));
    m_roleNames.insert(DisplayRole, QByteArrayLiteral("display"));
    m_roleNames.insert(ClickedRole, QByteArrayLiteral("clicked"));
}

StatusErrorModel::~StatusErrorModel() = default;

int StatusErrorModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_rows.size();
}

QVariant StatusErrorModel::data(const QModelIndex &index, int role) const
{
    if (!hasIndex(index.row(), index.column(), index.parent()))
        return QVariant();
    const StatusErrorResultRow &r = m_rows.at(index.row());
    switch (role) {
    case DeviceNoRole: return r.deviceNo;
    case BandRole: return r.band;
    case ChannelRole: return r.channel;
    case DatatimeRole: return r.datatime;
    case LevelRole: return r.level;
    case MerRole: return r.mer;
    case BerRole: return r.ber;
    case ErrorLevelRole: return r.errorLevel;
    case ErrorMerRole: return r.errorMer;
    case ErrorBerRole: return r.errorBer;
    case AlertLevelMinRole: return r.alertLevelMin;
    case AlertLevelMaxRole: return r.alertLevelMax;
    case AlertMerRole: return r.alertMer;
    case AlertBerRole: return r.alertBer;
    case DisplayRole: return r.display;
    case ClickedRole: return r.clicked;
    default: return QVariant();
    }
}

bool StatusErrorModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!hasIndex(index.row(), index.column(), index.parent()) || !value.isValid())
        return false;
    StatusErrorResultRow &r = m_rows[index.row()];
    switch (role) {
    case DeviceNoRole: r.deviceNo = value.toString(); break;
    case BandRole: r.band = value.toString(); break;
    case ChannelRole: r.channel = value.toString(); break;
    case DatatimeRole: r.datatime = value.toString(); break;
    case LevelRole: r.level = value.toString(); break;
    case MerRole: r.mer = value.toString(); break;
    case BerRole: r.ber = value.toString(); break;
    case ErrorLevelRole: r.errorLevel = value.toBool(); break;
    case ErrorMerRole: r.errorMer = value.toBool(); break;
    case ErrorBerRole: r.errorBer = value.toBool(); break;
    case AlertLevelMinRole: r.alertLevelMin = value.toString(); break;
    case AlertLevelMaxRole: r.alertLevelMax = value.toString(); break;
    case AlertMerRole: r.alertMer = value.toString(); break;
    case AlertBerRole: r.alertBer = value.toString(); break;
    case DisplayRole: r.display = value.toBool(); break;
    case ClickedRole: r.clicked = value.toBool(); break;
    default: break;
    }
    emit dataChanged(index, index, {role});
    return true;
}

QHash<int, QByteArray> StatusErrorModel::roleNames() const
{
    return m_roleNames;
}
