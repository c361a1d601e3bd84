#include "screens/ResultSaveWriter.h"

#include "core/ConstantTables.h"
#include "core/MeasureResultModel.h"
#include "core/SharedTypes.h"
#include "core/ValueFormat.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "monitor/ResultLogWriter.h"

#include <QSaveFile>
#include <QTextCodec>
#include <QUrl>

namespace {
const QString kConverted = QStringLiteral("(換算)");
const QString kNoValue = QStringLiteral("---");
const QLatin1Char kComma(',');
const QLatin1Char kLineEnd('\n');

int rowNumber(const MeasureResultRow &row)
{
    bool ok = false;
    const int number = row.no.toInt(&ok);
    return ok ? number : -1;
}
} // namespace

QString ResultSaveWriter::channelResultHeader()
{
    return QStringLiteral("機器No,名称,日時,チャンネル,BAND,周波数(MHz),レベル,MER,BER,光レベル,"
                          "Layer/偏波,局発周波数(GHz),放送規格,変調方式");
}

QString ResultSaveWriter::errorHeader()
{
    return QStringLiteral("機器No,名称,日時,BAND,チャンネル,エラー項目,測定値レベル,閾値レベルMin,"
                          "閾値レベルMax,測定値MER,閾値MER,測定値BER,閾値BER,測定値光レベル,"
                          "閾値光レベルMin,閾値光レベルMax");
}

QString ResultSaveWriter::channelResultLine(int deviceNo, const QString &name, const ChannelResultRow &result,
                                            const ChannelSettingRow &plan)
{
    const int band = result.bandTabIndex;
    QString bandText = ValueFormat::bandDisplayName(band, true);
    if (result.convertedCn && (band == BandTerrestrial || band == BandCatv))
        bandText += kConverted;
    const QString polarization = PolarizationTable.value(band);
    const QString layer = (!polarization.isEmpty() && polarization != kNoValue) ? polarization : result.layer;
    const QStringList columns = {
        QString::number(deviceNo),
        name,
        result.dateTime,
        result.channel,
        bandText,
        ValueFormat::frequencyText(band, quint32(qMax(0, plan.frequency)), false),
        result.level,
        result.merCn,
        result.ber,
        result.hikariLevel,
        layer,
        ValueFormat::localFrequencyText(quint32(qMax(0, plan.localFrequency))),
        result.broadcastStandard,
        result.modulation,
    };
    return columns.join(kComma);
}

QString ResultSaveWriter::errorItems(const AlertRecord &record)
{
    if (record.connectionError)
        return QStringLiteral("接続エラー");
    QString items;
    if (record.levelError)
        items += QStringLiteral("「レベル」");
    if (record.merCnError)
        items += QStringLiteral("「MER/CN」");
    if (record.berError)
        items += QStringLiteral("「BER」");
    if (record.hikariLevelError)
        items += QStringLiteral("「光レベル」");
    return items;
}

QString ResultSaveWriter::errorLine(int deviceNo, const QString &name, const AlertRecord &record)
{
    return ResultLogWriter::errorColumns(deviceNo, name, record, record.dateTime, errorItems(record))
        .join(kComma);
}

QStringList ResultSaveWriter::channelResultLines(const MeasureResultModel &model, const DeviceList &devices)
{
    return collectLines(model, devices, Selection::ListTick);
}

QStringList ResultSaveWriter::errorLines(const MeasureResultModel &model, const DeviceList &devices)
{
    return collectLines(model, devices, Selection::PopupTick);
}

int ResultSaveWriter::tickedChannelRowCount(const MeasureResultModel &model)
{
    int count = 0;
    for (int r = 0; r < model.rowCount(); ++r) {
        const MeasureResultRow row = model.row(r);
        if (row.checkbox == 1 && !row.latestData)
            ++count;
    }
    return count;
}

int ResultSaveWriter::tickedPopupRowCount(const MeasureResultModel &model)
{
    int count = 0;
    for (int r = 0; r < model.rowCount(); ++r) {
        if (model.row(r).statusPoopupCheckbox == 1)
            ++count;
    }
    return count;
}

QStringList ResultSaveWriter::collectLines(const MeasureResultModel &model, const DeviceList &devices,
                                           Selection selection)
{
    QStringList lines;
    const int deviceCount = devices.deviceCount();
    const int rowCount = model.rowCount();

    // Device number per block position in the present display order.
    QList<int> numberAt;
    int last = -1;
    for (int i = 0; i < deviceCount; ++i) {
        const int number = rowNumber(model.row(model.deviceTopRow(i)));
        if (number != last) {
            numberAt.append(number);
            last = number;
        }
    }

    for (int n = 1; n <= deviceCount; ++n) {
        const int position = numberAt.lastIndexOf(n);
        if (position < 0)
            continue; // the device has no block in the list (yet)
        const int top = model.deviceTopRow(position);
        if (top < 0)
            continue;
        for (int r = top + 1; r < rowCount; ++r) {
            const MeasureResultRow row = model.row(r);
            if (row.latestData)
                break;
            const bool selected = selection == Selection::ListTick ? row.checkbox == 1
                                                                   : row.statusPoopupCheckbox == 1;
            if (!selected)
                continue;
            const int d = rowNumber(row);
            LevelChecker *device = devices.device(d - 1);
            if (!device)
                continue;
            int firstRow = -1;
            for (int k = 0; k < rowCount; ++k) {
                if (rowNumber(model.row(k)) == d) {
                    firstRow = k;
                    break;
                }
            }
            const int channel = qMax(0, r - firstRow - 1);
            if (selection == Selection::ListTick) {
                // A row past the device's plan names no channel.
                if (channel >= device->channelSettingCount())
                    continue;
                const ChannelSettingRow plan = device->channelSetting(channel);
                const int entries = device->measurementHistoryCount(channel);
                for (int k = 0; k < entries; ++k)
                    lines.append(channelResultLine(device->deviceNo(), device->name(),
                                                   device->measurementHistory(channel, k), plan));
            } else {
                if (channel >= LevelChecker::ChannelSlotCount)
                    continue;
                const int records = device->alertRecordCount(channel);
                for (int k = 0; k < records; ++k)
                    lines.append(errorLine(device->deviceNo(), device->name(), device->alertRecord(channel, k)));
            }
        }
    }
    return lines;
}

QString ResultSaveWriter::localPath(const QString &dialogText)
{
    const QUrl url(dialogText);
    if (url.isLocalFile())
        return url.toLocalFile();
    return dialogText;
}

ResultSaveWriter::Outcome ResultSaveWriter::writeFile(const QString &path, const QString &header,
                                                      const QStringList &lines)
{
    if (path.isEmpty())
        return Outcome::OpenFailed;
    QSaveFile file(path);
    // A folder where no temporary file may be made still takes the file itself.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return Outcome::OpenFailed;

    QString text = header + kLineEnd;
    for (const QString &line : lines)
        text += line + kLineEnd;
    const QByteArray bytes = QTextCodec::codecForName("Shift-JIS")->fromUnicode(text);
    // Flushed here: a short write found only by commit's own flush would pass as success.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return Outcome::WriteFailed;
    }
    return file.commit() ? Outcome::Written : Outcome::WriteFailed;
}
