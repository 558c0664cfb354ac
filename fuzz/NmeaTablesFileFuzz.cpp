// Feeds arbitrary bytes to the NVMNMEAG.DAT reader. Whatever the bytes,
// reading must end with a failure naming the file and line, or with tables
// whose three-character entries end in 0 and that make the seven blocks sent.

#include "factory/NmeaTablesFile.h"
#include "factory/ProvisioningImages.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto tables = orvane::readNmeaTables(text, "NVMNMEAG.DAT");
    if (!tables) {
        if (tables.error().rfind("NVMNMEAG.DAT, line ", 0) != 0)
            __builtin_trap();
        return 0;
    }
    for (size_t i = 3; i < tables->threeCharacter.size(); i += 4) {
        if (tables->threeCharacter[i] != 0)
            __builtin_trap();
    }
    if (orvane::nmeaUploadBlocks(*tables, {}).size() != 7)
        __builtin_trap();
    return 0;
}
