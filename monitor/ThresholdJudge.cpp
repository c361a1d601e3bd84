#include "monitor/ThresholdJudge.h"

namespace {
const QString kNoValue = QStringLiteral("---");
const QChar kBelow = QLatin1Char('<');
const QChar kAbove = QLatin1Char('>');
}

double ThresholdJudge::number(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok); // QString::toDouble always uses the C locale
    return ok ? value : 0.0;
}

bool ThresholdJudge::inAlertWindow(const QString &dateTime, const QString &start,
                                   const QString &end)
{
    if (start == QStringLiteral("常時"))
        return true;
    const QString time = dateTime.mid(11, 5);
    if (start < end)
        return start <= time && time <= end;
    if (end < start)
        return time >= start || time <= end;
    return false;
}

bool ThresholdJudge::levelBroken(const QString &value, const QString &min, const QString &max)
{
    if (value.contains(kBelow) || value.contains(kAbove) || value.contains(kNoValue))
        return true;
    const double v = number(value);
    return v < number(min) || v > number(max);
}

bool ThresholdJudge::merCnBroken(const QString &value, const QString &threshold)
{
    QString text = value;
    text.remove(kBelow);
    if (text.contains(kNoValue))
        return true;
    if (text.contains(kAbove))
        return false;
    return number(text) < number(threshold);
}

bool ThresholdJudge::berBroken(const QString &value, const QString &threshold)
{
    QString text = value;
    text.remove(kAbove);
    if (text.contains(kNoValue))
        return true;
    return number(text) > number(threshold);
}

bool ThresholdJudge::noValues(const QString &level, const QString &merCn, const QString &ber,
                              const QString &hikariLevel)
{
    return level.contains(kNoValue) && merCn.contains(kNoValue) && ber.contains(kNoValue)
           && hikariLevel.contains(kNoValue);
}

bool ThresholdJudge::isMerBerExemptBand(const QString &bandText)
{
    return bandText == QStringLiteral("PILOT") || bandText == QStringLiteral("CATV上り")
           || bandText == QStringLiteral("LTE") || bandText == QStringLiteral("FM");
}
