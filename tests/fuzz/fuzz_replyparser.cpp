// The reply parser on any text a device and the SNMP library could hand it, and the result
// log and history lines built from what it accepts (with their verdicts).
#include "monitor/AlertSettingRow.h"
#include "monitor/ChannelResultRow.h"
#include "monitor/ChannelSettingRow.h"
#include "monitor/MeasurementReplyParser.h"
#include "monitor/ResultHistoryLogWriter.h"
#include "monitor/ResultLogWriter.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString response = QString::fromLocal8Bit(reinterpret_cast<const char *>(data), int(size));
    // The first byte picks the device's modes, so both conversions are reached.
    const QString mer = QStringLiteral("MER");
    const QString cnr = QStringLiteral("CNR");
    const bool terrestrialCnr = size > 0 && (data[0] & 1);
    const bool catvCnr = size > 0 && (data[0] & 2);

    if (MeasurementReplyParser::isFailureText(response))
        MeasurementReplyParser::failurePosition(response);
    if (!MeasurementReplyParser::isMeasurementText(response))
        return 0;
    ChannelResultRow row;
    if (!MeasurementReplyParser::parseMeasurement(response, terrestrialCnr ? cnr : mer,
                                                  catvCnr ? cnr : mer, &row))
        return 0;

    ChannelSettingRow plan;
    plan.bandTabIndex = row.bandTabIndex;
    plan.channel = row.channel;
    plan.frequency = 473142;
    plan.broadbandSystem = row.broadcastStandard;
    plan.localFrequency = (size > 1 && (data[1] & 1)) ? 10678000 : 0;
    ResultLogWriter::resultLine(row, plan);

    AlertSettingRow alert;
    alert.bandTabIndex = row.bandTabIndex;
    alert.channel = row.channel;
    alert.levelMin = QStringLiteral("40");
    alert.levelMax = QStringLiteral("80");
    alert.merCn = QStringLiteral("25");
    alert.ber = QStringLiteral("1.0E-4");
    alert.hikariLevelMin = QStringLiteral("-10");
    alert.hikariLevelMax = QStringLiteral("0");
    alert.convertCnr = QStringLiteral("---");
    const QString input = (size > 1 && (data[1] & 2)) ? QStringLiteral("光") : QStringLiteral("同軸");
    const AlertSettingRow *alerts[] = {&alert, nullptr};
    for (const AlertSettingRow *a : alerts) {
        const auto verdicts = ResultHistoryLogWriter::verdicts(row, a, QStringLiteral("08:00"),
                                                               QStringLiteral("17:00"), input);
        ResultHistoryLogWriter::line(1, QStringLiteral("受信点"), row, plan, verdicts);
    }
    return 0;
}
