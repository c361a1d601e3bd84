// The registration file reader and the device-list import reader on any file content
// (UTF-8 or Shift-JIS, NUL bytes, damaged lines).
#include "FuzzFile.h"

#include "storage/DeviceListFile.h"
#include "storage/RegistrationFile.h"
#include "storage/RegistrationRecord.h"

#include <QVector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const FuzzFile file(data, size, ".csv");
    QVector<RegistrationRecord> records;
    RegistrationFile::ReadReport report;
    if (RegistrationFile::read(file.path(), &records, &report))
        RegistrationFile::fileContent(records, RegistrationFile::PortColumn::Always);
    QVector<RegistrationRecord> listed;
    DeviceListFile::ReadReport listReport;
    if (DeviceListFile::read(file.path(), &listed, nullptr, &listReport))
        DeviceListFile::fileContent(listed);
    return 0;
}
