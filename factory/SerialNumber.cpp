#include "factory/SerialNumber.h"

#include "factory/FactoryAnswers.h"

#include <algorithm>
#include <string>

namespace orvane {

namespace {

constexpr long long kYearUnit = 10'000'000;
constexpr long long kMonthUnit = 100'000;
constexpr long long kDayUnit = 1'000;
constexpr long long kHighestUnit = 255;

} // namespace

Result<SerialNumberBytes> serialNumberBytes(long long serial)
{
    if (serial < kLowestSerialNumber)
        return failure("The serial number must be at least 70000000 (YMMDDnnn); "
                       + std::to_string(serial) + " is too small.");
    if (serial > kHighestSerialNumber)
        return failure("The serial number must be at most 2559999999, as its year is one byte; "
                       + std::to_string(serial) + " is too large.");
    const long long year = serial / kYearUnit;
    const long long month = (serial - year * kYearUnit) / kMonthUnit;
    const long long day = (serial - year * kYearUnit - month * kMonthUnit) / kDayUnit;
    const long long unit = serial % kDayUnit;
    return SerialNumberBytes{uint8_t(year),
                             uint8_t(month),
                             uint8_t(day),
                             uint8_t(std::min(unit, kHighestUnit))};
}

Result<SerialNumberBytes> parseSerialNumber(std::string_view typed)
{
    const auto serial = parseWholeAnswer(typed, "The serial number");
    if (!serial)
        return failure(serial.error());
    return serialNumberBytes(*serial);
}

} // namespace orvane
