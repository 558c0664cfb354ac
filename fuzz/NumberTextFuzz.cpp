// Feeds arbitrary text to the typed-number reader and to the boxes that store
// what it reads. Whatever the text: the number read ends where the reader says
// it does, it is finite, and a value the editor shows reads back as itself;
// every stored limit stays in its range, and a limit shown in its box and
// accepted unchanged keeps its value.

#include "config/NumberText.h"
#include "editors/LimitValues.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace {

// Larger magnitudes are shown in exponent form with fewer digits than the
// value has, so they are not expected to read back exactly.
constexpr double kExactlyShown = 1e15;
// Up to here a double holds three decimals with room to spare.
constexpr double kDecimalsShown = 1e9;
constexpr uint16_t kMaxShownBarValue = 65530; // 655.3 with two decimals

void checkScan(std::string_view text)
{
    const orvane::ScannedNumber scanned = orvane::scanNumber(text);
    if (scanned.consumed > text.size())
        __builtin_trap();
    if (!scanned.found) {
        if (scanned.value != 0 || scanned.consumed != 0)
            __builtin_trap();
        return;
    }
    if (scanned.consumed == 0 || !std::isfinite(scanned.value))
        __builtin_trap();
    // What follows the number does not change it.
    if (orvane::typedNumber(text.substr(0, scanned.consumed)) != scanned.value)
        __builtin_trap();
    if (std::fabs(scanned.value) < kExactlyShown
        && orvane::typedNumber(orvane::displayNumber(scanned.value)) != scanned.value)
        __builtin_trap();
    // Rounded to the decimals, give or take what the double itself cannot
    // tell apart at this magnitude.
    const double unitsInLastPlace
        = 4 * std::fabs(scanned.value) * std::numeric_limits<double>::epsilon();
    for (int decimals = 0; decimals <= 3; ++decimals) {
        const double shown = orvane::typedNumber(orvane::formatDecimals(scanned.value, decimals));
        if (std::fabs(scanned.value) < kDecimalsShown
            && std::fabs(shown - scanned.value)
                   > 0.5 * std::pow(10.0, -decimals) * 1.000001 + unitsInLastPlace)
            __builtin_trap();
    }
}

void checkStoredLimits(std::string_view text)
{
    const double typed = orvane::typedNumber(text);
    for (int decimals = 0; decimals <= 2; ++decimals) {
        const uint16_t alarm = orvane::alarmValueFromText(text, decimals);
        const uint16_t bar = orvane::barLimitValueFromText(text, decimals);
        // Below the range is clamped to its foot, whatever the scale.
        if (typed <= 0 && (alarm != 0 || bar != 0))
            __builtin_trap();
        if (bar > kMaxShownBarValue && decimals == 2)
            __builtin_trap();
    }
}

void checkShownLimitsKeepTheirValue(const uint8_t *data, size_t size)
{
    if (size < 2)
        return;
    const auto value = uint16_t(data[0] << 8 | data[1]);
    for (int decimals = 0; decimals <= 2; ++decimals) {
        const std::string shown = orvane::limitText(value, decimals);
        if (orvane::alarmValueFromText(shown, decimals) != value)
            __builtin_trap();
        if ((decimals < 2 || value <= kMaxShownBarValue)
            && orvane::barLimitValueFromText(shown, decimals) != value)
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    checkScan(text);
    checkStoredLimits(text);
    checkShownLimitsKeepTheirValue(data, size);
    return 0;
}
