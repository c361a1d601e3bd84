#include "support/ResultSamples.h"

ChannelResultRow sampleResult(const QString &dateTime, const QString &channel, const QString &level, int band)
{
    ChannelResultRow r;
    r.bandTabIndex = band;
    r.channel = channel;
    r.dateTime = dateTime;
    r.level = level;
    r.merCn = QStringLiteral("30.1");
    r.ber = QStringLiteral("<1.0E-8");
    r.hikariLevel = QStringLiteral("---");
    r.modulation = QStringLiteral("64QAM");
    r.layer = QStringLiteral("A");
    r.extraValue = QStringLiteral("0");
    r.broadcastStandard = QStringLiteral("ISDBT");
    return r;
}
