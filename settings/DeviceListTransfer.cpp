#include "settings/DeviceListTransfer.h"

#include "monitor/DeviceList.h"
#include "screens/ResultSaveWriter.h"
#include "settings/DeviceEditRecord.h"
#include "settings/DeviceSettingViewModel.h"
#include "storage/DeviceChoiceTables.h"
#include "storage/DeviceListFile.h"
#include "storage/DeviceRowCheck.h"
#include "storage/RegistrationRecord.h"

#include <QFileInfo>

namespace {

const QString Always = QStringLiteral("常時");
const QString NotSet = QStringLiteral("未設定");

// The screen's pop-up that shows a message with its OK button.
constexpr int PopupApplying = 4;

} // namespace

DeviceListTransfer::DeviceListTransfer(DeviceSettingViewModel &screen)
    : screen(screen)
{
}

QVector<DeviceEditRecord> DeviceListTransfer::importedRecords(const QVector<RegistrationRecord> &records)
{
    QVector<DeviceEditRecord> result;
    for (const RegistrationRecord &imported : records) {
        DeviceEditRecord record;
        record.deviceNo = QString::number(result.size() + 1);
        record.name = DeviceRowCheck::boundedName(imported.name);
        record.ipAddress = imported.ipAddress;
        record.port = imported.port;
        record.inputType = QString::number(inputTypeMap.value(imported.inputType, -1));
        record.cycleInterval = QString::number(cycleIntervalMap.value(imported.cycleInterval, -1));
        // A list without the wavelength column gets the wavelength of a new row.
        const int wavelength = hikariWaveLengthMap.value(imported.wavelength, -1);
        record.wavelength = wavelength < 0 ? DeviceEditRecord::blank(0).wavelength : QString::number(wavelength);
        record.settingFile = NotSet;
        record.startTime = imported.startTime;
        record.endTime = imported.endTime;
        record.validTimeText = imported.startTime == Always ? Always
                                                            : imported.startTime + QStringLiteral("～") + imported.endTime;
        result.append(record);
    }
    return result;
}

// An export writes the devices as they are registered, not the table's unapplied edits.
void DeviceListTransfer::exportTo(const QString &url)
{
    screen.log(url);
    const QString path = ResultSaveWriter::localPath(url);
    DeviceList *list = screen.devices();
    const QVector<RegistrationRecord> records = list ? DeviceListFile::recordsOf(*list) : QVector<RegistrationRecord>();
    if (DeviceListFile::write(path, records))
        return;
    screen.log(QStringLiteral("device list export: %1 cannot be written").arg(path), LogError);
    screen.setPageProperty("settingok", true);
    screen.setPageProperty("settngtext", QStringLiteral("%1を保存できませんでした。").arg(QFileInfo(path).fileName()));
    emit screen.openPopup(PopupApplying);
}

// A file that cannot be read, or holds no device line, changes nothing: an empty table
// would make the next apply delete every device.
void DeviceListTransfer::importFrom(const QString &url)
{
    const QString path = ResultSaveWriter::localPath(url);
    screen.log(path);
    QVector<RegistrationRecord> records;
    int dropped = 0;
    DeviceListFile::ReadReport report;
    const QString fileName = QFileInfo(path).fileName();
    const auto showMessage = [this](const QString &text) {
        screen.setPageProperty("settingok", true);
        screen.setPageProperty("settngtext", text);
        emit screen.openPopup(PopupApplying);
    };
    if (!DeviceListFile::read(path, &records, &dropped, &report)) {
        screen.log(QStringLiteral("device list import: %1 cannot be read").arg(path), LogError);
        showMessage(QStringLiteral("%1を読み込めませんでした。").arg(fileName));
        return;
    }
    if (report.shiftJis)
        screen.log(QStringLiteral("device list import: %1 is no UTF-8: read as Shift-JIS").arg(path));
    QStringList skipped;
    for (int lineNo : qAsConst(report.skippedLines))
        skipped.append(QString::number(lineNo));
    if (!skipped.isEmpty())
        screen.log(QStringLiteral("device list import: lines %1 skipped").arg(skipped.join(QLatin1Char(','))), LogError);
    if (dropped > 0)
        screen.log(QStringLiteral("device list import: %1 devices beyond the %2th left out").arg(dropped).arg(DeviceSettingViewModel::MaxRows));
    for (int lineNo : qAsConst(report.linesPastLimit))
        skipped.append(QString::number(lineNo));
    // A long list names its first lines only.
    constexpr int NamedLines = 10;
    QString skippedText;
    if (!skipped.isEmpty()) {
        const bool more = skipped.size() > NamedLines;
        skippedText = QStringLiteral("%1%2行目は読み込めませんでした。")
                          .arg(QStringList(skipped.mid(0, NamedLines)).join(QStringLiteral("、")),
                               more ? QStringLiteral("…") : QString());
    }
    if (records.isEmpty()) {
        screen.log(QStringLiteral("device list import: %1 holds no device line").arg(path), LogError);
        QString text = QStringLiteral("%1に機器の行がありません。").arg(fileName);
        if (!skippedText.isEmpty())
            text += QLatin1Char('\n') + skippedText;
        showMessage(text);
        return;
    }
    screen.setImportedRecords(importedRecords(records));
    for (int i = 0; i < records.size() && i < DeviceSettingViewModel::MaxRows; ++i)
        screen.writeDeviceLog(i, WorkLogDeviceAdded);
    if (!skippedText.isEmpty())
        showMessage(skippedText);
}
