#include "monitor/ResultHistoryLogWriter.h"

#include "core/SharedTypes.h"
#include "core/ValueFormat.h"
#include "monitor/MeasurementReplyParser.h"
#include "monitor/ResultLogWriter.h"
#include "monitor/ThresholdJudge.h"
#include "platform/PlatformPaths.h"

#include <QStringList>

namespace {
const QString kHeader = QStringLiteral(
    "機器No,名称,日時,チャンネル,BAND,周波数(MHz),レベル(dBuV),MER/CN(dB),BER,光レベル,"
    "Layer/偏波,局発周波数(GHz),放送規格,変調方式,Levelエラー判定,Merエラー判定,"
    "Berエラー判定,光レベルエラー判定");

QString verdictText(bool passed)
{
    return passed ? QStringLiteral("1") : QStringLiteral("0");
}
}

ResultHistoryLogWriter::Verdicts ResultHistoryLogWriter::verdicts(const ChannelResultRow &row,
                                                                  const AlertSettingRow *alert,
                                                                  const QString &startTime,
                                                                  const QString &endTime,
                                                                  const QString &inputTypeText)
{
    Verdicts v;
    if (ThresholdJudge::noValues(row.level, row.merCn, row.ber, row.hikariLevel)) {
        v.level = v.merCn = v.ber = v.hikariLevel = false;
        return v;
    }
    if (!alert || !ThresholdJudge::inAlertWindow(row.dateTime, startTime, endTime))
        return v;
    const QString &merCnThreshold = row.convertedCn ? alert->convertCnr : alert->merCn;
    v.level = !ThresholdJudge::levelBroken(row.level, alert->levelMin, alert->levelMax);
    v.merCn = !ThresholdJudge::merCnBroken(row.merCn, merCnThreshold);
    v.ber = !ThresholdJudge::berBroken(row.ber, alert->ber);
    v.hikariLevel = inputTypeText != QStringLiteral("光")
                    || !ThresholdJudge::levelBroken(row.hikariLevel, alert->hikariLevelMin,
                                                    alert->hikariLevelMax);
    return v;
}

QString ResultHistoryLogWriter::line(int deviceNo, const QString &name, const ChannelResultRow &row,
                                     const ChannelSettingRow &plan, const Verdicts &verdicts)
{
    const int band = row.bandTabIndex;
    QString bandText = ValueFormat::bandDisplayName(band, true);
    if (row.convertedCn
        && (band == BandTerrestrial
            || (band == BandCatv && MeasurementReplyParser::isIsdbtCode(plan.broadbandSystem))))
        bandText += QStringLiteral("(換算)");
    const QStringList columns = {
        QString::number(deviceNo),
        name,
        row.dateTime.isEmpty() ? ResultLogWriter::emptyDateTimeText() : row.dateTime,
        row.channel,
        bandText,
        ValueFormat::frequencyText(band, quint32(plan.frequency), false),
        row.level,
        row.merCn,
        row.ber,
        row.hikariLevel,
        row.layer,
        ValueFormat::localFrequencyText(quint32(plan.localFrequency)),
        row.broadcastStandard,
        row.modulation,
        verdictText(verdicts.level),
        verdictText(verdicts.merCn),
        verdictText(verdicts.ber),
        verdictText(verdicts.hikariLevel),
    };
    return columns.join(QLatin1Char(','));
}

QString ResultHistoryLogWriter::headerLine()
{
    return kHeader;
}

QString ResultHistoryLogWriter::filePath(int folderNumber, const QDate &date)
{
    return PlatformPaths::toLocal(QStringLiteral("C:\\VELMORA\\NRT52\\InternalReadOnly\\INDIVIDUAL_LOG\\機器No")
                                  + QString::number(folderNumber) + QLatin1Char('\\')
                                  + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv"));
}

bool ResultHistoryLogWriter::appendLine(int folderNumber, const QString &line, const QDateTime &now,
                                        DailyLogFiles *files)
{
    return appendLineAt(filePath(folderNumber, now.date()), line, files);
}

bool ResultHistoryLogWriter::appendLineAt(const QString &path, const QString &line, DailyLogFiles *files)
{
    const QChar lf = QLatin1Char('\n');
    return ResultLogWriter::appendToDailyFile(path, [lf] { return (kHeader + lf).toUtf8(); },
                                              (line + lf).toUtf8(), files);
}
