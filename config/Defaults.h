#pragma once

#include "config/ConfigDocument.h"
#include "config/ConfigImage.h"

namespace orvane {

// Fills CDC, IntNvm and the empty sender curves (every curve while a new unit
// is being provisioned) with the factory defaults and marks the image
// changed. For the editors it is a new image (imageReplaced); callers redraw
// afterwards.
void WriteDefaultsToRam(ConfigDocument &document, bool newUnitPending);

// Rows 0..127 of configurations 1..16; column 0 and row 128 stay as they are.
void writeDefaultConfigurations(CdcTable &cdc);

// Bytes 0..255; byte 256 stays as it is.
void writeDefaultIntNvm(IntNvmTable &nvm);

// Points 1..32 of one curve: 10 ohm / 0 rising to 180 ohm / 1000.
void writeDefaultCurve(CalCurveTable &curves, int curve);

// A curve counts as empty when the value of its point 2 is exactly 0.
bool isEmptyCurve(const CalCurveTable &curves, int curve);

} // namespace orvane
