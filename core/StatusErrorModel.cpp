#include "core/StatusErrorModel.h"

StatusErrorModel::StatusErrorModel(QObject *parent)
    : ListModelFrame({{DeviceNoRole, QByteArrayLiteral("deviceNo")},
                      {BandRole, QByteArrayLiteral("band")},
                      {ChannelRole, QByteArrayLiteral("channel")},
                      {DatatimeRole, QByteArrayLiteral("datatime")},
                      {LevelRole, QByteArrayLiteral("level")},
                      {MerRole, QByteArrayLiteral("mer")},
                      {BerRole, QByteArrayLiteral("ber")},
                      {ErrorLevelRole, QByteArrayLiteral("errorLevel")},
                      {ErrorMerRole, QByteArrayLiteral("errorMer")},
                      {ErrorBerRole, QByteArrayLiteral("errorBer")},
                      {AlertLevelMinRole, QByteArrayLiteral("alertLevelMin")},
                      {AlertLevelMaxRole, QByteArrayLiteral("alertLevelMax")},
                      {AlertMerRole, QByteArrayLiteral("alertMer")},
                      {AlertBerRole, QByteArrayLiteral("alertBer")},
                      {DisplayRole, QByteArrayLiteral("display")},
                      {ClickedRole, QByteArrayLiteral("clicked")}},
                     parent)
{
}

StatusErrorModel::~StatusErrorModel() = default;

int StatusErrorModel::shownRowCount() const
{
    return m_rows.shownCount();
}

QVariant StatusErrorModel::fieldData(int position, int role) const
{
    const StatusErrorResultRow &r = m_rows.at(position);
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

void StatusErrorModel::storeField(int position, int role, const QVariant &value)
{
    StatusErrorResultRow &r = m_rows.at(position);
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
}
