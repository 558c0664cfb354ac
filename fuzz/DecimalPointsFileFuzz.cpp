// Feeds arbitrary bytes to the DECPTSA.DAT reader. Whatever the bytes, reading
// must end with a failure naming the file and line, or with the 64-entry table.

#include "factory/DecimalPointsFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto table = orvane::readDecimalPoints(text, "DECPTSA.DAT");
    if (!table && table.error().rfind("DECPTSA.DAT, line ", 0) != 0)
        __builtin_trap();
    return 0;
}
