// Feeds arbitrary bytes to the configuration file reader. Whatever the bytes,
// reading must end with success or a failure value; and whatever the reader
// accepts, the writer must write back as a file the reader accepts again.

#include "config/ConfigFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    auto image = std::make_unique<orvane::ConfigImage>();
    orvane::FileState files;
    const orvane::ConfigRead read = orvane::readConfigText(*image, files, text);
    if (read.failure)
        return 0;

    const std::string written = orvane::configFileText(*image, files, read.comPortNumber, {});
    auto again = std::make_unique<orvane::ConfigImage>();
    orvane::FileState againFiles;
    if (orvane::readConfigText(*again, againFiles, written).failure)
        __builtin_trap();
    return 0;
}
