// The history file reader on any file content, for the channels of the seed files.
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
    for (const HistoryFileReader &reader : readers) {
        QVector<IndividualResultListRow> rows;
        QStringList dates;
        reader.readFile(file.path(), &rows, &dates);
    }
    return 0;
}
