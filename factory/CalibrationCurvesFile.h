#pragma once

#include "factory/EepromBlock.h"
#include "platform/Result.h"

#include <string_view>
#include <vector>

// CALCURVS.DAT, the factory calibration curves: a header line "K, text", then
// K sections of three heading lines and 32 point lines of eight fields:
// unused byte, EEPROM address, two unused numbers, the point's four bytes.

namespace orvane {

inline constexpr std::string_view kCalibrationCurvesFileName = "CALCURVS.DAT";

// A curve's 128 bytes fill the EEPROM from the address on its first point
// line, which must leave room for them.
inline constexpr int kCurveBytes = 128;
inline constexpr int kMaxCurves = 512; // as many as 128-byte curves fit 64 KiB

// One 128-byte block per curve, in file order; the whole file is checked
// before anything is returned. K = 0 gives no block.
Result<std::vector<EepromBlock>> readCalibrationCurves(std::string_view text,
                                                       std::string_view fileName);

} // namespace orvane
