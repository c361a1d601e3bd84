#include "monitor/MeasurementReplyParser.h"

#include "core/ConstantTables.h"
#include "core/SharedTypes.h"

#include <QStringList>
#include <QVector>

namespace {
const QString kNoValue = QStringLiteral("---");
const QString kCnr = QStringLiteral("CNR");
const QString kValueTag = QStringLiteral("STRING: ");
constexpr int kElementCount = 12;
}

bool MeasurementReplyParser::isMeasurementText(const QString &response)
{
    return response.contains(QLatin1String("lcMeasResult.0"));
}

bool MeasurementReplyParser::isFailureText(const QString &response)
{
    return response.contains(QLatin1String("Timeout")) || response.contains(QLatin1String("Error"));
}

bool MeasurementReplyParser::parseMeasurement(const QString &response,
                                              const QString &terrestrialMerCnText,
                                              const QString &catvMerCnText, ChannelResultRow *row)
{
    const int p = response.indexOf(kValueTag);
    const int q = response.indexOf(QLatin1Char('\n'));
    if (p < 0 || q < 0)
        return false;
    // The length is the line feed's position, not its distance from p: the value runs on
    // past the line feed (normally to the end, taking the closing quote along).
    QString value = response.mid(p, q);
    value.remove(kValueTag);
    value.remove(QLatin1Char('\n'));

    const QVector<QStringRef> e = value.splitRef(QLatin1Char(','), Qt::KeepEmptyParts);
    if (e.size() < kElementCount)
        return false;

    ChannelResultRow r;
    QString dateTime = e.at(0).toString();
    dateTime.remove(QLatin1Char('"'));
    r.dateTime = dateTime;
    r.bandTabIndex = BandCodeTable.value(e.at(1).toString(), BandTerrestrial);
    r.channel = e.at(2).toString();
    r.level = e.at(4).toString();
    r.merCn = e.at(5).toString();
    r.ber = e.at(6).toString();
    r.extraValue = e.at(7).toString();
    r.broadcastStandard = e.at(8).toString();
    r.layer = e.at(10).toString();
    r.hikariLevel = e.at(11).toString();

    switch (r.bandTabIndex) {
    case BandCatvUpstream:
    case BandPilot:
        r.modulation = QStringLiteral("CW");
        break;
    case BandLte:
        r.modulation = kNoValue;
        break;
    case BandFm:
        r.modulation = QStringLiteral("FM");
        break;
    default:
        r.modulation = e.at(9) == kNoValue ? QStringLiteral("UNLOCK") : e.at(9).toString();
        break;
    }
    r.convertedCn = convertedCn(r.bandTabIndex, terrestrialMerCnText, catvMerCnText,
                                r.broadcastStandard == QLatin1String("ISDBT"));
    *row = r;
    return true;
}

int MeasurementReplyParser::failurePosition(const QString &response)
{
    const QVector<QStringRef> e = response.splitRef(QLatin1Char(','), Qt::KeepEmptyParts);
    if (e.size() < 2)
        return -1;
    bool ok = false;
    const int position = e.at(1).trimmed().toInt(&ok);
    return ok ? position : 0;
}

ChannelResultRow MeasurementReplyParser::failureRow(const ChannelSettingRow &plan,
                                                    const QString &terrestrialMerCnText,
                                                    const QString &catvMerCnText,
                                                    const QDateTime &now)
{
    ChannelResultRow r;
    r.bandTabIndex = plan.bandTabIndex;
    r.channel = plan.channel;
    r.dateTime = now.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
    r.level = kNoValue;
    r.merCn = kNoValue;
    r.ber = kNoValue;
    r.hikariLevel = kNoValue;
    r.modulation = kNoValue;
    r.layer = kNoValue;
    r.extraValue = kNoValue;
    r.broadcastStandard = kNoValue;
    r.convertedCn = convertedCn(r.bandTabIndex, terrestrialMerCnText, catvMerCnText,
                                isIsdbtCode(plan.broadbandSystem));
    return r;
}

bool MeasurementReplyParser::convertedCn(int band, const QString &terrestrialMerCnText,
                                         const QString &catvMerCnText, bool isdbt)
{
    if (band == BandTerrestrial)
        return terrestrialMerCnText == kCnr;
    if (band == BandCatv)
        return catvMerCnText == kCnr && isdbt;
    return false;
}

bool MeasurementReplyParser::isIsdbtCode(const QString &broadbandSystem)
{
    bool ok = false;
    const uint code = broadbandSystem.toUInt(&ok);
    return !ok || code == 0;
}
