#pragma once

#include "link/ByteLink.h"

// The connection's resynchronisation, and what the editor does when a unit
// is out of step with it: an exchange that was cut short (a pulled cable,
// echoes that stopped) can leave the instrument in the middle of a frame or
// of a block write, still waiting for the bytes it was promised. It takes
// whatever comes next as those bytes, so the editor feeds it "#" until it is
// back at the start of a frame; eight "#" there are answered with "@".

namespace orvane {

// The longest block a write frame announces (count byte 0).
inline constexpr int kLongestBlock = 256;
// After the feeding, runs of eight "#": a half-received frame header may
// take up to four of the first run.
inline constexpr int kRecoveryRuns = 2;
inline constexpr double kResyncPause = 0.1; // after the eight "#", before the answer is read

// Clear, eight "#", pause; true when the unit answered "@".
bool resynchronise(ByteLink &link);

// Feeds "#" one at a time while the unit echoes it (it is storing the rest of
// a block write), then resynchronises. True when the unit answered "@". The
// block it was writing is then filled with "#" and must be written again.
bool bringBackIntoStep(ByteLink &link);

} // namespace orvane
