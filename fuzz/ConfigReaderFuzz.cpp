// Feeds arbitrary bytes to the configuration file reader. Whatever the bytes,
// reading must end with success or a failure value; and whatever the reader
// accepts, the writer must write back as a file the reader accepts again.

#include "app/AppState.h"
#include "config/ConfigFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    auto state = std::make_unique<orvane::AppState>();
    if (orvane::readConfigText(*state, text))
        return 0;

    const std::string written = orvane::configFileText(*state, {});
    auto again = std::make_unique<orvane::AppState>();
    if (orvane::readConfigText(*again, written))
        __builtin_trap();
    return 0;
}
