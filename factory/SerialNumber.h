#pragma once

#include "platform/Result.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace orvane {

// NewSerialBytes: year, month, day, unit; internal NVM bytes 12..15.
using SerialNumberBytes = std::array<uint8_t, 4>;

// Serial numbers read YYMMDDnnn (or YMMDDnnn): from 70,000,000 on, and the
// year must fit its byte.
inline constexpr long long kLowestSerialNumber = 70'000'000;
inline constexpr long long kHighestSerialNumber = 2'559'999'999;

// The four bytes of a serial number; the unit is capped at 255.
Result<SerialNumberBytes> serialNumberBytes(long long serial);

// The serial number as typed, exact to the last digit.
Result<SerialNumberBytes> parseSerialNumber(std::string_view typed);

} // namespace orvane
