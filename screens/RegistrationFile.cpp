#include "screens/RegistrationFile.h"

#include "monitor/LevelChecker.h"
#include "platform/PlatformPaths.h"
#include "screens/SettingFileText.h"

#include <QStringList>

namespace {

// A line of the file needs more fields than this to count at all.
constexpr int MinimumFieldsExclusive = 10;

QString dottedAddress(const std::array<quint8, 4> &bytes)
{
    return QStringLiteral("%1.%2.%3.%4").arg(bytes[0]).arg(bytes[1]).arg(bytes[2]).arg(bytes[3]);
}

} // namespace

QString RegistrationFile::filePath()
{
    return PlatformPaths::toLocal(QStringLiteral(
        "C:\\VELMORA\\NRT52\\InternalReadOnly\\CheckerSettings\\DeviceRegistSetting.csv"));
}

QString RegistrationFile::headerLine()
{
    return QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
                          "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)");
}

bool RegistrationFile::read(const QString &path, QVector<RegistrationRecord> *records)
{
    records->clear();
    QStringList lines;
    if (!SettingFileText::readLines(path, &lines))
        return false;

    bool headerSeen = false;
    bool currentLayout = true;
    for (const QString &line : qAsConst(lines)) {
        const QStringList fields = line.split(QLatin1Char(','));
        if (fields.size() <= MinimumFieldsExclusive)
            continue;
        if (!headerSeen) {
            headerSeen = true;
            currentLayout = fields.at(7).contains(QStringLiteral("光波長"));
            continue;
        }
        if (fields.at(0).isEmpty())
            continue;
        if (records->size() >= MaxDevices)
            break;

        auto at = [&fields](int index) { return SettingFileText::field(fields, index); };
        RegistrationRecord record;
        record.deviceNo = records->size() + 1;
        record.name = at(1);
        splitAddressField(at(2), &record.ipAddress, &record.port);
        // As the device record will show it.
        record.ipAddress = dottedAddress(record.addressBytes());
        record.inputType = at(3);
        record.cycleInterval = at(4);
        record.startTime = at(5);
        record.endTime = at(6);
        if (currentLayout) {
            record.wavelength = at(7);
            record.serialNumber = at(8);
            record.macAddress = at(9);
            record.firmwareVersion = at(10);
            record.measurementState = SettingFileText::toInt(at(11));
            record.terrestrialMerCn = at(12);
            record.catvMerCn = at(13);
        } else {
            record.wavelength = QStringLiteral("1550");
            record.serialNumber = at(7);
            record.macAddress = at(8);
            record.firmwareVersion = at(9);
            record.measurementState = SettingFileText::toInt(at(10));
            record.terrestrialMerCn = QStringLiteral("MER");
            record.catvMerCn = QStringLiteral("MER");
        }
        records->append(record);
    }
    return true;
}

QByteArray RegistrationFile::fileContent(const QVector<RegistrationRecord> &records,
                                         PortColumn portColumn)
{
    QString text = headerLine() + QLatin1Char('\n');
    for (int i = 0; i < records.size(); ++i) {
        const RegistrationRecord &record = records.at(i);
        QString address = record.ipAddress;
        if (portColumn == PortColumn::Always || record.port != DefaultPort)
            address += QLatin1Char(':') + QString::number(record.port);
        const QStringList fields {
            QString::number(i + 1),
            record.name,
            address,
            record.inputType,
            record.cycleInterval,
            record.startTime,
            record.endTime,
            record.wavelength,
            record.serialNumber,
            record.macAddress,
            record.firmwareVersion,
            QString::number(record.measurementState),
            record.terrestrialMerCn,
            record.catvMerCn,
        };
        text += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

bool RegistrationFile::write(const QString &path, const QVector<RegistrationRecord> &records,
                             PortColumn portColumn)
{
    return SettingFileText::writeAtomically(path, fileContent(records, portColumn));
}

void RegistrationFile::splitAddressField(const QString &field, QString *address, int *port)
{
    const int colon = field.indexOf(QLatin1Char(':'));
    if (colon > 0) {
        *address = field.left(colon);
        bool ok = false;
        const uint value = field.mid(colon + 1).toUInt(&ok);
        *port = ok ? static_cast<int>(value) : 0;
    } else {
        *address = field;
        *port = DefaultPort;
    }
}

RegistrationRecord RegistrationFile::recordOf(const LevelChecker &device)
{
    RegistrationRecord record;
    record.deviceNo = device.deviceNo();
    record.name = device.name();
    record.ipAddress = device.ipAddress();
    record.port = device.port();
    record.inputType = device.inputTypeText();
    record.cycleInterval = device.cycleIntervalText();
    record.startTime = device.startTime();
    record.endTime = device.endTime();
    record.wavelength = device.wavelengthText();
    record.serialNumber = device.serialNumber();
    record.macAddress = device.macAddress();
    record.firmwareVersion = device.firmwareVersion();
    record.measurementState = device.measurementState();
    record.terrestrialMerCn = device.terrestrialMerCnText();
    record.catvMerCn = device.catvMerCnText();
    return record;
}

void RegistrationFile::applyTo(LevelChecker *device, const RegistrationRecord &record)
{
    if (!device)
        return;
    device->setSerialNumber(record.serialNumber);
    device->setMacAddress(record.macAddress);
    device->setFirmwareVersion(record.firmwareVersion);
    device->setTerrestrialMerCn(record.terrestrialMerCnCode());
    device->setCatvMerCn(record.catvMerCnCode());
    device->setMeasurementState(record.measurementState);
}
