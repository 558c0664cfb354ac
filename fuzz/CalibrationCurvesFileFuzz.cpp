// Feeds arbitrary bytes to the CALCURVS.DAT reader. Whatever the bytes,
// reading must end with a failure naming the file and line, or with 128-byte
// curves that fit below the top of the EEPROM.

#include "factory/CalibrationCurvesFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto curves = orvane::readCalibrationCurves(text, "CALCURVS.DAT");
    if (!curves) {
        if (curves.error().rfind("CALCURVS.DAT, line ", 0) != 0)
            __builtin_trap();
        return 0;
    }
    if (curves->size() > size_t(orvane::kMaxCurves))
        __builtin_trap();
    for (const auto &curve : *curves) {
        if (curve.bytes.size() != size_t(orvane::kCurveBytes)
            || curve.address + curve.bytes.size() > 65536)
            __builtin_trap();
    }
    return 0;
}
