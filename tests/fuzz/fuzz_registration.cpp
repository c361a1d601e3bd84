// The registration file reader on any file content.
#include "FuzzFile.h"

#include "screens/RegistrationFile.h"
#include "screens/RegistrationRecord.h"

#include <QVector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const FuzzFile file(data, size, ".csv");
    QVector<RegistrationRecord> records;
    if (RegistrationFile::read(file.path(), &records))
        RegistrationFile::fileContent(records, RegistrationFile::PortColumn::Always);
    return 0;
}
