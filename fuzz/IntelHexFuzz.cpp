// Feeds arbitrary bytes to the Intel HEX reader. Whatever the bytes, reading
// must end with a failure or whole sectors of the flash window; and those
// sectors, written as a .COD file, must read back the same.

#include "factory/CodeFile.h"
#include "factory/IntelHex.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto code = orvane::readIntelHex(text, "FUZZ.HEX");
    if (!code) {
        if (code.error().rfind("FUZZ.HEX", 0) != 0)
            __builtin_trap();
        return 0;
    }
    const int sectors = code->sectorCount();
    if (sectors < 1 || sectors > orvane::kMaxCodeSectors
        || code->bytes.size() != size_t(sectors * orvane::kSectorBytes))
        __builtin_trap();
    const auto back
        = orvane::readCodeFile(orvane::codeFileText(*code,
                                                    orvane::kCodeWindowStart,
                                                    orvane::CodeFileOrigin::HexConversion),
                               "FUZZ.COD");
    if (!back || !(*back == *code))
        __builtin_trap();
    return 0;
}
