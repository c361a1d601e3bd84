// The history file reader on any file content, for one of the channels of the seed files.
#include "FuzzFile.h"

#include "screens/HistoryFileReader.h"

#include <QStringList>
#include <QVector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const FuzzFile file(data, size, ".csv");
    static const HistoryFileReader readers[] = {
        HistoryFileReader(QStringLiteral("地デジ"), QStringLiteral("13")),
        HistoryFileReader(QStringLiteral("BS"), QStringLiteral("BS1")),
        HistoryFileReader(QStringLiteral("CATV"), QStringLiteral("C24")),
    };
    // One reader per input (each sets up a large block buffer): the first byte picks it.
    const HistoryFileReader &reader = readers[size > 0 ? data[0] % 3 : 0];
    QVector<IndividualResultListRow> rows;
    QStringList dates;
    reader.readFile(file.path(), &rows, &dates);
    return 0;
}
