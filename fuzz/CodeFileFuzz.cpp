// Feeds arbitrary bytes to the .COD reader. Whatever the bytes, reading must
// end with a failure naming the file or with 1..16 whole sectors, which the
// writer writes back as a file that reads the same.

#include "factory/CodeFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto code = orvane::readCodeFile(text, "FUZZ.COD");
    if (!code) {
        if (code.error().rfind("FUZZ.COD, line ", 0) != 0)
            __builtin_trap();
        return 0;
    }
    const int sectors = code->sectorCount();
    if (sectors < 1 || sectors > orvane::kMaxCodeSectors
        || code->bytes.size() != size_t(sectors * orvane::kSectorBytes))
        __builtin_trap();
    const auto back
        = orvane::readCodeFile(orvane::codeFileText(*code, 7168, orvane::CodeFileOrigin::FlashRead),
                               "FUZZ.COD");
    if (!back || !(*back == *code))
        __builtin_trap();
    return 0;
}
