#include "monitor/ResultLogWriter.h"

#include "core/ConstantTables.h"
#include "core/SharedTypes.h"
#include "core/SystemLog.h"
#include "core/ValueFormat.h"
#include "monitor/DailyLogFiles.h"
#include "platform/AppendLossEpisodes.h"
#include "platform/PlatformPaths.h"
#include "platform/WholeLineAppend.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextCodec>

namespace {
const QString kConverted = QStringLiteral("(換算)");
const QString kNoValue = QStringLiteral("---");
const QString kResultHeader = QStringLiteral(
    "日時,チャンネル,BAND,周波数(MHz),レベル(dBuV),MER/CN(dB),BER,光レベル(dBm),"
    "Layer/偏波,局発周波数(GHz),放送規格,変調方式");
const QString kErrorHeader = QStringLiteral(
    "機器No,名称,日時,BAND,チャンネル,エラー項目,測定値レベル,閾値レベルMin,閾値レベルMax,"
    "測定値MER,閾値MER,測定値BER,閾値BER,測定値光レベル,閾値光レベルMin,閾値光レベルMax");

QTextCodec *shiftJis()
{
    static QTextCodec *const codec = QTextCodec::codecForName("Shift-JIS");
    return codec;
}

// The codec opens a converter for every call made without a state, which costs more than
// the conversion of a line: each thread keeps one. Shift-JIS carries no state from one
// text to the next, so the bytes are those of a call without a state; only a text ending in
// half a surrogate pair would leave it pending in the kept converter, and goes without.
QByteArray shiftJisBytes(const QString &text)
{
    if (!text.isEmpty() && text.at(text.size() - 1).isHighSurrogate())
        return shiftJis()->fromUnicode(text);
    thread_local QTextCodec::ConverterState state;
    return shiftJis()->fromUnicode(text.constData(), text.size(), &state);
}

// A folder that starts at a drive root without naming the drive ("\LOG\...", from an empty
// setting) means the current drive, which here is drive C below the root folder rather
// than the root of this machine's file system.
QString localPath(const QString &windowsPath)
{
    if (windowsPath.startsWith(QLatin1Char('\\')))
        return PlatformPaths::toLocal(QStringLiteral("C:") + windowsPath);
    return PlatformPaths::toLocal(windowsPath);
}

QString logPath(const QString &dataFolder, const QString &kind, int folderNumber, const QDate &date)
{
    return localPath(dataFolder + QLatin1Char('\\') + kind + QStringLiteral("\\機器No")
                     + QString::number(folderNumber) + QLatin1Char('\\')
                     + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv"));
}
} // namespace

QString ResultLogWriter::emptyDateTimeText()
{
    return QStringLiteral("----/--/-- --:--:--");
}

bool ResultLogWriter::appendToDailyFile(const QString &path, const std::function<QByteArray()> &head,
                                        const QByteArray &bytes, DailyLogFiles *files)
{
    if (files)
        return files->append(path, head, bytes);
    // Without the held files the gaps go to the application log all the same.
    static AppendLossEpisodes episodes([](const QString &message) {
        SystemLog::instance()->write(QStringLiteral("ResultLogWriter"), message, LogNormal);
    });
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
    QString reason;
    if (!WholeLineAppend::appendToPath(path, head, bytes, &reason)) {
        episodes.lost(path, reason, qMax(1, bytes.count('\n')));
        return false;
    }
    episodes.written(path);
    return true;
}

QString ResultLogWriter::resultLine(const ChannelResultRow &row, const ChannelSettingRow &plan)
{
    const int band = row.bandTabIndex;
    QString bandText = ValueFormat::bandDisplayName(band, true);
    if ((band == BandTerrestrial || band == BandCatv) && row.convertedCn)
        bandText += kConverted;
    const QString polarization = PolarizationTable.value(band);
    const QString layer = (!polarization.isEmpty() && polarization != kNoValue) ? polarization
                                                                                : row.layer;
    const QStringList columns = {
        row.dateTime.isEmpty() ? emptyDateTimeText() : row.dateTime,
        row.channel,
        bandText,
        ValueFormat::frequencyText(band, quint32(plan.frequency), false),
        row.level,
        row.merCn,
        row.ber,
        row.hikariLevel,
        layer,
        ValueFormat::localFrequencyText(quint32(plan.localFrequency)),
        row.broadcastStandard,
        row.modulation,
    };
    return columns.join(QLatin1Char(','));
}

QString ResultLogWriter::errorItems(const AlertRecord &record)
{
    if (record.connectionError)
        return QStringLiteral("接続エラー");
    QStringList items;
    if (record.levelError)
        items << QStringLiteral("レベル");
    if (record.merCnError)
        items << QStringLiteral("MER/CN");
    if (record.berError)
        items << QStringLiteral("BER");
    if (record.hikariLevelError)
        items << QStringLiteral("光レベル");
    return items.join(QStringLiteral("、"));
}

QString ResultLogWriter::errorLine(int deviceNo, const QString &name, const AlertRecord &record)
{
    return errorColumns(deviceNo, name, record,
                        record.dateTime.isEmpty() ? emptyDateTimeText() : record.dateTime,
                        errorItems(record))
        .join(QLatin1Char(','));
}

QStringList ResultLogWriter::errorColumns(int deviceNo, const QString &name, const AlertRecord &record,
                                          const QString &dateTimeText, const QString &itemsText)
{
    return {
        QString::number(deviceNo),
        name,
        dateTimeText,
        record.band,
        record.channel,
        itemsText,
        record.level,
        record.levelMin,
        record.levelMax,
        record.merCn,
        record.merCnThreshold,
        record.ber,
        record.berThreshold,
        record.hikariLevel,
        record.hikariLevelMin,
        record.hikariLevelMax,
    };
}

QString ResultLogWriter::resultLogPath(const QString &dataFolder, int folderNumber, const QDate &date)
{
    return logPath(dataFolder, QStringLiteral("LOG"), folderNumber, date);
}

QString ResultLogWriter::errorLogPath(const QString &dataFolder, int folderNumber, const QDate &date)
{
    return logPath(dataFolder, QStringLiteral("ERROR_LOG"), folderNumber, date);
}

bool ResultLogWriter::appendResultLine(const QString &dataFolder, int folderNumber, int deviceNo,
                                       const QString &name, const QString &line,
                                       const QDateTime &now, DailyLogFiles *files)
{
    return appendResultLineAt(resultLogPath(dataFolder, folderNumber, now.date()), deviceNo, name,
                              line, now, files);
}

bool ResultLogWriter::appendResultLineAt(const QString &path, int deviceNo, const QString &name,
                                         const QString &line, const QDateTime &now,
                                         DailyLogFiles *files)
{
    const QChar lf = QLatin1Char('\n');
    auto head = [&]() {
        return shiftJis()->fromUnicode(
            QStringLiteral("日付,") + now.toString(QStringLiteral("yyyy/MM/dd")) + lf
            + QStringLiteral("時刻,") + now.toString(QStringLiteral("hh:mm:ss")) + lf
            + QStringLiteral("機器No,") + QString::number(deviceNo) + lf
            + QStringLiteral("名称,") + name + lf + kResultHeader + lf);
    };
    return appendToDailyFile(path, head, shiftJisBytes(line + lf), files);
}

bool ResultLogWriter::appendErrorLine(const QString &dataFolder, int folderNumber,
                                      const QString &line, const QDateTime &now,
                                      DailyLogFiles *files)
{
    return appendErrorLineAt(errorLogPath(dataFolder, folderNumber, now.date()), line, files);
}

bool ResultLogWriter::appendErrorLineAt(const QString &path, const QString &line, DailyLogFiles *files)
{
    const QChar lf = QLatin1Char('\n');
    auto head = [&]() { return shiftJis()->fromUnicode(kErrorHeader + lf); };
    return appendToDailyFile(path, head, shiftJisBytes(line + lf), files);
}
