#include "core/ValueFormat.h"

#include "core/SharedTypes.h"

#include <QMap>
#include <QPair>
#include <QStringList>

namespace {

// Function-local statics: built once on first use, thread-safe under C++11 rules, since
// the workers format frequencies too.

const QMap<int, QPair<QString, QString>> &bandDisplayNameTable()
{
    static const QMap<int, QPair<QString, QString>> table = {
        {BandTerrestrial, {QStringLiteral("地デジ"), QStringLiteral("地上デジタル")}},
        {BandBsRight, {QStringLiteral("BS"), QStringLiteral("BS")}},
        {BandBsLeft, {QStringLiteral("BS"), QStringLiteral("BS")}},
        {BandCsRight, {QStringLiteral("110°CS"), QStringLiteral("110°CS")}},
        {BandCsLeft, {QStringLiteral("110°CS"), QStringLiteral("110°CS")}},
        {BandCatv, {QStringLiteral("CATV"), QStringLiteral("CATV")}},
        {BandSkyperfectv, {QStringLiteral("スカパー！光"), QStringLiteral("スカパー！プレミアムサービス光")}},
        {BandCatvUpstream, {QStringLiteral("CATV上り"), QStringLiteral("CATV上り")}},
        {BandJcsat3aHorizontal, {QStringLiteral("JCSAT-3A"), QStringLiteral("JCSAT-3A")}},
        {BandJcsat3aVertical, {QStringLiteral("JCSAT-3A"), QStringLiteral("JCSAT-3A")}},
        {BandJcsat4bHorizontal, {QStringLiteral("JCSAT-4B"), QStringLiteral("JCSAT-4B")}},
        {BandJcsat4bVertical, {QStringLiteral("JCSAT-4B"), QStringLiteral("JCSAT-4B")}},
        {BandSccBHorizontal, {QStringLiteral("SCC-B"), QStringLiteral("SCC-B")}},
        {BandSccBVertical, {QStringLiteral("SCC-B"), QStringLiteral("SCC-B")}},
        {BandSccCHorizontal, {QStringLiteral("SCC-C"), QStringLiteral("SCC-C")}},
        {BandSccCVertical, {QStringLiteral("SCC-C"), QStringLiteral("SCC-C")}},
        {BandLte, {QStringLiteral("LTE"), QStringLiteral("LTE")}},
        {BandFm, {QStringLiteral("FM"), QStringLiteral("FM")}},
        {BandPilot, {QStringLiteral("PILOT"), QStringLiteral("PILOT")}},
    };
    return table;
}

const QMap<int, int> &frequencyDecimalsTable()
{
    static const QMap<int, int> table = {
        {BandTerrestrial, 3},
        {BandBsRight, 2}, {BandBsLeft, 2}, {BandCsRight, 2}, {BandCsLeft, 2},
        {BandCatv, 3},
        {BandSkyperfectv, 3},
        {BandCatvUpstream, 2},
        {BandJcsat3aHorizontal, 2}, {BandJcsat3aVertical, 2},
        {BandJcsat4bHorizontal, 2}, {BandJcsat4bVertical, 2},
        {BandSccBHorizontal, 2}, {BandSccBVertical, 2},
        {BandSccCHorizontal, 2}, {BandSccCVertical, 2},
        {BandLte, 0},
        {BandFm, 1},
        {BandPilot, 2},
    };
    return table;
}

const QMap<int, QString> &localFrequencyCodeTable()
{
    static const QMap<int, QString> table = {
        {10678000, QStringLiteral("0")},
        {11200000, QStringLiteral("1")},
        {11300000, QStringLiteral("2")},
    };
    return table;
}

} // namespace

QString ValueFormat::bandDisplayName(const int &band, bool shortName)
{
    const auto &table = bandDisplayNameTable();
    const auto it = table.constFind(band);
    if (it == table.constEnd())
        return QString();
    return shortName ? it->first : it->second;
}

bool ValueFormat::bandNamesDiffer(int band1, int band2)
{
    return bandDisplayName(band1, true) != bandDisplayName(band2, true);
}

QString ValueFormat::frequencyText(const int &band, const quint32 &frequencyKHz, const bool &wholeNumber)
{
    // Single precision on purpose: the device protocol and the logs carry these texts.
    const float mhz = static_cast<float>(frequencyKHz) / 1000.0f;
    const int decimals = wholeNumber ? 0 : frequencyDecimalsTable().value(band, 2);
    return QString::number(static_cast<double>(mhz), 'f', decimals);
}

QString ValueFormat::localFrequencyText(quint32 frequencyKHz)
{
    if (frequencyKHz == 0)
        return QStringLiteral("---");
    const float ghz = static_cast<float>(frequencyKHz) / 1000000.0f;
    int decimals = 3;
    if (frequencyKHz % 100000 == 0)
        decimals = 1;
    else if (frequencyKHz % 10000 == 0)
        decimals = 2;
    return QString::number(static_cast<double>(ghz), 'f', decimals);
}

QString ValueFormat::localFrequencyCode(const int &frequencyKHz)
{
    return localFrequencyCodeTable().value(frequencyKHz);
}

bool ValueFormat::isIpAddressText(const QString &text)
{
    const int first = text.indexOf(QLatin1Char('.'));
    if (first <= 0)
        return false;
    const int second = text.indexOf(QLatin1Char('.'), first + 1);
    if (second < 0)
        return false;
    return text.indexOf(QLatin1Char('.'), second + 1) >= 0;
}

QString ValueFormat::normalizeTimeText(const QString &text, const QString &defaultText, int fields)
{
    if (fields < 1)
        return defaultText;
    const QStringList parts = text.split(QLatin1Char(':'), Qt::KeepEmptyParts);
    if (parts.size() < fields)
        return defaultText;
    // A part that is no number reads as 0.
    const int hour = parts.at(0).toInt();
    if (hour < 0 || hour > 24)
        return defaultText;
    if (fields >= 2) {
        const int minute = parts.at(1).toInt();
        if (minute < 0 || minute > 59)
            return defaultText;
    }
    if (fields >= 3) {
        const int second = parts.at(2).toInt();
        if (second < 0 || second > 59)
            return defaultText;
    }
    return parts.mid(0, fields).join(QLatin1Char(':'));
}
