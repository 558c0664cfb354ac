#pragma once

#include "config/ConfigImage.h"
#include "platform/Result.h"

#include <array>
#include <cstdint>
#include <string>

// A sender curve's EEPROM record turned back into points of `CalCurve`: the
// inverse of the upload's encoding. The encoding rounds the resistance to a
// whole input step and the reading to a whole unit, and moves the first and
// last points to inputs 0 and 1023, so the original points cannot come back;
// the points chosen instead encode to the same 128 bytes, which is what the
// instrument holds and what the next upload would write.

namespace orvane {

// Fills points 1..32 of curve n from its record. Resistances and readings
// are the plainest numbers that encode right (15 rather than 15.06355), the
// first point sits at 0 ohms and the last at the top of the input scale.
// When no points give the record back byte for byte (a blank EEPROM, or a
// record no upload can have written) the curve is left as it was and the
// failure says why, as a clause: "its first point is at input 12, not 0".
Result<> decodeCurveRecord(const std::array<uint8_t, 128> &record, CalCurveTable &curves, int n);

// Why no points give curve n's record back; empty when some do.
std::string whyNotPoints(const std::array<uint8_t, 128> &record, int n);

} // namespace orvane
