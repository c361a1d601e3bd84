// The alert-threshold reader on any file content.
#include "FuzzFile.h"

#include "monitor/AlertSettingRow.h"
#include "storage/AlertSettingFile.h"

#include <QVector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const FuzzFile file(data, size, ".csv");
    QVector<AlertSettingRow> rows;
    AlertSettingFile::read(file.path(), &rows);
    return 0;
}
