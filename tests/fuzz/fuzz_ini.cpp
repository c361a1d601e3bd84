// The INI readers (application settings, polling intervals) on any file content.
#include "FuzzFile.h"

#include "core/ApplicationSetting.h"
#include "storage/PollingSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const FuzzFile file(data, size, ".ini");
    ApplicationSetting::readFile(file.path());
    PollingSettings::read(file.path());
    return 0;
}
