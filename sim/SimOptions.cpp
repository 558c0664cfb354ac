#include "sim/SimOptions.h"

#include <algorithm>
#include <cctype>

namespace orvane::sim {

std::optional<long> parseCount(const std::string &text, long maximum)
{
    if (text.empty() || text.size() > 10
        || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    // Ten digits overflow a 32-bit long (Windows), where stol would throw.
    const long long value = std::stoll(text);
    if (value > maximum)
        return std::nullopt;
    return static_cast<long>(value);
}

std::optional<SerialNumberBytes> parseSerialNumber(const std::string &text)
{
    constexpr size_t kShortForm = 8; // YMMDDnnn
    constexpr size_t kLongForm = 9;  // YYMMDDnnn
    if (text.size() != kShortForm && text.size() != kLongForm)
        return std::nullopt;
    const auto number = parseCount(text, 999999999);
    if (!number)
        return std::nullopt;
    const long s = *number;
    const long unit = s % 1000;
    if (unit > 255)
        return std::nullopt;
    return SerialNumberBytes{static_cast<uint8_t>(s / 10000000),
                             static_cast<uint8_t>(s / 100000 % 100),
                             static_cast<uint8_t>(s / 1000 % 100),
                             static_cast<uint8_t>(unit)};
}

void applySimOptions(const SimOptions &options, Instrument &instrument)
{
    if (options.productCode)
        instrument.setProductCode(*options.productCode);
    if (options.serial)
        instrument.setSerial(options.serial->year,
                             options.serial->month,
                             options.serial->day,
                             options.serial->unit);
    instrument.faults() = options.faults;
}

} // namespace orvane::sim
