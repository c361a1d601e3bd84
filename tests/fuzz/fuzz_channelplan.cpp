// The channel-plan reader, both readings, on any file content.
#include "FuzzFile.h"

#include "storage/ChannelSettingEntry.h"
#include "storage/ChannelSettingFile.h"
#include "storage/MeasuredChannelPlan.h"

#include <QVector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const FuzzFile file(data, size, ".csv");
    QVector<ChannelSettingEntry> rows;
    ChannelSettingFile::read(file.path(), &rows);
    MeasuredChannelPlan plan;
    ChannelSettingFile::readMeasured(file.path(), &plan);
    return 0;
}
