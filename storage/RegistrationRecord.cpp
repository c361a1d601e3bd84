#include "storage/RegistrationRecord.h"

#include "core/ConstantTables.h"
#include "storage/DeviceChoiceTables.h"
#include "storage/SettingFileText.h"

#include <QStringList>

#include <cstring>

int RegistrationRecord::inputTypeCode() const
{
    return DeviceChoiceTables::codeOf(inputTypeMap, inputType);
}

int RegistrationRecord::cycleIntervalCode() const
{
    return DeviceChoiceTables::codeOf(cycleIntervalMap, cycleInterval);
}

int RegistrationRecord::wavelengthCode() const
{
    return DeviceChoiceTables::codeOf(hikariWaveLengthMap, wavelength);
}

int RegistrationRecord::terrestrialMerCnCode() const
{
    return MerCnrTable.value(terrestrialMerCn, 0);
}

int RegistrationRecord::catvMerCnCode() const
{
    return MerCnrTable.value(catvMerCn, 0);
}

std::array<quint8, 4> RegistrationRecord::addressBytes() const
{
    std::array<quint8, 4> bytes {};
    const QStringList parts = ipAddress.split(QLatin1Char('.'));
    for (int i = 0; i < 4 && i < parts.size(); ++i)
        bytes[i] = static_cast<quint8>(SettingFileText::toInt(parts.at(i)) & 0xFF);
    return bytes;
}

quint32 RegistrationRecord::packedAddress() const
{
    const std::array<quint8, 4> bytes = addressBytes();
    quint32 packed = 0;
    std::memcpy(&packed, bytes.data(), sizeof packed);
    return packed;
}
