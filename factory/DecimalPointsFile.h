#pragma once

#include "platform/Result.h"

#include <array>
#include <cstdint>
#include <string_view>

// DECPTSA.DAT, the decimal-point table: a header line of five texts, 64 lines
// "number, byte, ...", and a last line holding one number.

namespace orvane {

inline constexpr std::string_view kDecimalPointsFileName = "DECPTSA.DAT";

inline constexpr int kDecimalPointEntries = 64;

using DecimalPointTable = std::array<uint8_t, kDecimalPointEntries>;

// The whole file is checked before anything is returned.
Result<DecimalPointTable> readDecimalPoints(std::string_view text, std::string_view fileName);

} // namespace orvane
