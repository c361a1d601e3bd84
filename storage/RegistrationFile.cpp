#include "storage/RegistrationFile.h"

#include "monitor/LevelChecker.h"
#include "platform/PlatformPaths.h"
#include "storage/DeviceRowCheck.h"
#include "storage/SettingFileText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

// A line of the file needs more fields than this to count at all.
constexpr int MinimumFieldsExclusive = 10;

// The registration of a record without its identity and measurement state, which a device
// gets from its readout and its operator without its line being changed.
QString registeredKey(const RegistrationRecord &record)
{
    return QStringList { record.name, record.ipAddress, QString::number(record.port), record.inputType,
                         record.cycleInterval, record.startTime, record.endTime, record.wavelength,
                         record.terrestrialMerCn, record.catvMerCn }
        .join(QChar(0));
}

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

bool RegistrationFile::read(const QString &path, QVector<RegistrationRecord> *records, ReadReport *report)
{
    records->clear();
    ReadReport unused;
    ReadReport &found = report ? *report : unused;
    found = ReadReport();
    QStringList lines;
    if (!SettingFileText::readLines(path, &lines, SettingFileText::Encoding::Utf8OrShiftJis, &found.shiftJis))
        return false;

    bool headerSeen = false;
    bool currentLayout = true;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const int lineNo = i + 1;
        if (SettingFileText::isBlank(line))
            continue;
        const QStringList fields = line.split(QLatin1Char(','));
        if (!headerSeen) {
            if (fields.size() <= MinimumFieldsExclusive) {
                found.linesBeforeHeader.append(lineNo);
                continue;
            }
            headerSeen = true;
            bool numbered = false;
            fields.at(0).trimmed().toInt(&numbered);
            if (!numbered) {
                currentLayout = fields.at(7).contains(QStringLiteral("光波長"));
                continue;
            }
            // No header: this is the first device line; its length tells the layout.
            found.headerMissing = true;
            currentLayout = fields.size() != MinimumFieldsExclusive + 1;
        }
        if (records->size() >= MaxDevices) {
            found.linesPastLimit.append(lineNo);
            continue;
        }

        auto at = [&fields](int index) { return SettingFileText::field(fields, index); };
        RegistrationRecord record;
        record.deviceNo = records->size() + 1;
        record.lineNo = lineNo;
        if (fields.size() <= MinimumFieldsExclusive)
            record.problem = QStringLiteral("too few fields");
        else if (fields.at(0).isEmpty())
            record.problem = QStringLiteral("no device number");
        else if (line.contains(QChar(0)))
            record.problem = QStringLiteral("NUL byte");
        if (!record.problem.isEmpty()) {
            // A damaged line stands for its device without settings of its own.
            record.name = at(1);
            record.name.remove(QChar(0));
            record.inputType = QStringLiteral("同軸");
            record.cycleInterval = QStringLiteral("連続");
            record.startTime = QStringLiteral("常時");
            record.endTime = QStringLiteral("常時");
            record.wavelength = QStringLiteral("1550");
            record.heldLine = line;
            records->append(record);
            continue;
        }

        record.name = at(1);
        splitAddressField(at(2), &record.ipAddress, &record.port);
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
        record.problem = DeviceRowCheck::fileRowProblem(record.ipAddress, record.port, record.inputType,
                                                        record.cycleInterval, record.startTime, record.endTime);
        if (!record.problem.isEmpty()) {
            // Nothing is polled with values the screen refuses, and nothing rewrites them.
            record.ipAddress = QStringLiteral("0.0.0.0");
            record.port = DefaultPort;
            record.measurementState = int(MeasurementState::Stopped);
            record.heldLine = line;
        }
        // As the device record will show it.
        record.ipAddress = dottedAddress(record.addressBytes());
        records->append(record);
    }
    return true;
}

QString RegistrationFile::asidePath(const QString &path)
{
    return path + QStringLiteral(".damaged");
}

RegistrationFile::Aside RegistrationFile::keepAside(const QString &path, bool replace)
{
    const QString aside = asidePath(path);
    if (!replace && QFileInfo::exists(aside))
        return Aside::EarlierKept;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Aside::Failed;
    const QByteArray bytes = file.readAll();
    return file.error() == QFileDevice::NoError && SettingFileText::writeAtomically(aside, bytes) ? Aside::Kept
                                                                                                 : Aside::Failed;
}

QByteArray RegistrationFile::fileContent(const QVector<RegistrationRecord> &records,
                                         PortColumn portColumn)
{
    QString text = headerLine() + QLatin1Char('\n');
    for (int i = 0; i < records.size(); ++i) {
        const RegistrationRecord &record = records.at(i);
        if (!record.heldLine.isEmpty()) {
            text += record.heldLine + QLatin1Char('\n');
            continue;
        }
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
    if (!device.heldRegistrationLine().isEmpty() && registeredKey(record) == device.heldRegistrationKey())
        record.heldLine = device.heldRegistrationLine();
    return record;
}

void RegistrationFile::holdLine(LevelChecker *device, const RegistrationRecord &record)
{
    if (!device || record.heldLine.isEmpty())
        return;
    device->holdRegistrationLine(record.heldLine, registeredKey(recordOf(*device)));
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
