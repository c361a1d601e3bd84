#include "storage/DeviceListFile.h"

#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "storage/DeviceRowCheck.h"
#include "storage/RegistrationFile.h"
#include "storage/SettingFileText.h"

#include <QStringList>

QString DeviceListFile::headerLine()
{
    return QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長");
}

QVector<RegistrationRecord> DeviceListFile::recordsOf(const DeviceList &devices)
{
    QVector<RegistrationRecord> records;
    for (int i = 0; i < devices.deviceCount(); ++i) {
        if (const LevelChecker *device = devices.device(i))
            records.append(RegistrationFile::recordOf(*device));
    }
    return records;
}

QByteArray DeviceListFile::fileContent(const QVector<RegistrationRecord> &records)
{
    QString text = headerLine() + QLatin1Char('\n');
    for (int i = 0; i < records.size(); ++i) {
        const RegistrationRecord &record = records.at(i);
        QString address = record.ipAddress;
        if (record.port != RegistrationFile::DefaultPort)
            address += QLatin1Char(':') + QString::number(record.port);
        const QStringList fields { QString::number(i + 1), record.name, address, record.inputType,
                                   record.cycleInterval, record.startTime, record.endTime, record.wavelength };
        text += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

bool DeviceListFile::write(const QString &path, const QVector<RegistrationRecord> &records)
{
    return SettingFileText::writeAtomically(path, fileContent(records));
}

bool DeviceListFile::read(const QString &path, QVector<RegistrationRecord> *records, int *dropped,
                          ReadReport *report)
{
    ReadReport found;
    QStringList lines;
    if (!records
        || !SettingFileText::readLines(path, &lines, SettingFileText::Encoding::Utf8OrShiftJis, &found.shiftJis))
        return false;
    QVector<RegistrationRecord> result;
    bool headerSeen = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const int lineNo = i + 1;
        const QStringList fields = line.split(QLatin1Char(','));
        if (fields.size() < MinFields) {
            if (!SettingFileText::isBlank(line))
                found.skippedLines.append(lineNo);
            continue;
        }
        if (!headerSeen) {
            headerSeen = true;
            continue;
        }
        if (fields.at(0).isEmpty() || line.contains(QChar(0))) {
            found.skippedLines.append(lineNo);
            continue;
        }
        RegistrationRecord record;
        record.lineNo = lineNo;
        record.name = DeviceRowCheck::boundedName(fields.at(1));
        RegistrationFile::splitAddressField(fields.at(2), &record.ipAddress, &record.port);
        record.inputType = fields.at(3);
        record.cycleInterval = fields.at(4);
        record.startTime = fields.at(5);
        record.endTime = fields.at(6);
        record.wavelength = SettingFileText::field(fields, 7);
        record.problem = DeviceRowCheck::fileRowProblem(record.ipAddress, record.port, record.inputType,
                                                        record.cycleInterval, record.startTime, record.endTime);
        if (!record.problem.isEmpty()) {
            found.skippedLines.append(lineNo);
            continue;
        }
        if (result.size() >= MaxDevices) {
            found.linesPastLimit.append(lineNo);
            continue;
        }
        record.deviceNo = result.size() + 1;
        result.append(record);
    }
    *records = result;
    if (dropped)
        *dropped = found.linesPastLimit.size();
    if (report)
        *report = found;
    return true;
}
