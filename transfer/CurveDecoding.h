#pragma once

#include "config/ConfigImage.h"

#include <array>
#include <cstdint>

// A sender curve's EEPROM record turned back into points of `CalCurve`: the
// inverse of the upload's encoding. The encoding rounds the resistance to a
// whole input step and the reading to a whole unit, and moves the first and
// last points to inputs 0 and 1023, so the original points cannot come back;
// the points chosen instead encode to the same 128 bytes, which is what the
// instrument holds and what the next upload would write.

namespace orvane {

// Whether a record has the form every upload gives it: its first point at
// input 0 and its last at input 1023. Records of another form (a blank
// EEPROM, or written by something else) cannot come from any curve.
bool hasUploadedCurveForm(const std::array<uint8_t, 128> &record);

// Fills points 1..32 of curve n from its record. Resistances and readings
// are the plainest numbers that encode right (15 rather than 15.06355), the
// first point sits at 0 ohms and the last at the top of the input scale.
// False, with the curve left as it was, when no points give the record back
// byte for byte (a record not of the uploaded form).
bool decodeCurveRecord(const std::array<uint8_t, 128> &record, CalCurveTable &curves, int n);

} // namespace orvane
