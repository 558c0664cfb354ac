#pragma once

#include "transfer/TransferCategories.h"

// How long the parts of a transfer are expected to take, in the progress
// bar's units (milliseconds): their fixed pauses, frames and wire time.

namespace orvane {

int settingsReadMs();
int recordWriteMs(int bytes, double trailingPause);
// A pause, then one frame.
int endMs(double pause);
// One read of a pair of configuration records.
int configurationsReadMs();
// The two reads of a curve record that must agree.
int curveReadMs();
// The configuration and curve records a comparison reads.
int recordReadsMs(bool configurations, bool curves);
// An upload of the ticked categories, writing everything.
int uploadMs(const Selection &ticks);

} // namespace orvane
