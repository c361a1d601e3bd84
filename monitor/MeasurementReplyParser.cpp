#include "monitor/MeasurementReplyParser.h"

#include "core/ConstantTables.h"
#include "core/SharedTypes.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>

namespace {
const QString kNoValue = QStringLiteral("---");
const QString kCnr = QStringLiteral("CNR");
const QString kValueTag = QStringLiteral("STRING: ");
const QString kHexValueTag = QStringLiteral("Hex-STRING: ");
constexpr int kElementCount = 12;

int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}
}

bool MeasurementReplyParser::isMeasurementText(const QString &response)
{
    return response.contains(QLatin1String("lcMeasResult.0"));
}

bool MeasurementReplyParser::isFailureText(const QString &response)
{
    return response.contains(QLatin1String("Timeout")) || response.contains(QLatin1String("Error"));
}

QString MeasurementReplyParser::decodedHexString(const QString &response)
{
    const int tag = response.indexOf(kHexValueTag);
    if (tag < 0)
        return response;
    // Pairs of hex digits, each followed by a space, sixteen to a line.
    QByteArray bytes;
    int i = tag + kHexValueTag.size();
    const int size = response.size();
    while (i < size) {
        const QChar c = response.at(i);
        if (c == QLatin1Char(' ') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            ++i;
            continue;
        }
        if (i + 1 >= size)
            break;
        const int high = hexDigit(c);
        const int low = hexDigit(response.at(i + 1));
        const bool pairEnds = i + 2 >= size || response.at(i + 2).isSpace();
        if (high < 0 || low < 0 || !pairEnds)
            break;
        bytes.append(char(high * 16 + low));
        i += 2;
    }
    // The same conversion as a printable rendering gets.
    return response.left(tag) + kValueTag + QString::fromLocal8Bit(bytes) + response.mid(i);
}

bool MeasurementReplyParser::parseMeasurement(const QString &reply,
                                              const QString &terrestrialMerCnText,
                                              const QString &catvMerCnText, ChannelResultRow *row)
{
    const QString response = decodedHexString(reply);
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
