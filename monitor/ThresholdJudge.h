#pragma once

#include <QString>

// The pass/fail rules for measured value texts against alert thresholds, shared by the
// result list's judgement and the history log's verdicts. Value texts are as the device
// sends them: "---" means no value, "<" below and ">" above the measurable range.
class ThresholdJudge
{
public:
    // A decimal number read without locale (an exponent is allowed); anything that is no
    // number reads as 0.
    static double number(const QString &text);

    // Whether a result of dateTime ("yyyy/MM/dd hh:mm:ss") lies in the device's daily alert
    // window from start to end ("hh:mm", compared as texts; "常時" as start means always).
    static bool inAlertWindow(const QString &dateTime, const QString &start, const QString &end);

    // Level or optical level outside [min, max], out of range or without value.
    static bool levelBroken(const QString &value, const QString &min, const QString &max);
    // MER/CN below its threshold or without value; above the range is good.
    static bool merCnBroken(const QString &value, const QString &threshold);
    // BER above its threshold or without value.
    static bool berBroken(const QString &value, const QString &threshold);
    // The device gave no value at all: the four texts all hold "---".
    static bool noValues(const QString &level, const QString &merCn, const QString &ber,
                         const QString &hikariLevel);
    // Bands whose MER/CN and BER the result list does not judge, by short display name.
    static bool isMerBerExemptBand(const QString &bandText);
};
