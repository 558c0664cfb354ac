#pragma once

// What `orvane` returns, documented in its --help and manual page.

namespace orvane::cli {

constexpr int kExitDone = 0;
constexpr int kExitRefused = 1; // refused, bad input, or compare found differences
constexpr int kExitUsage = 2;
constexpr int kExitNoInstrument = 3;
constexpr int kExitFailedHalfWay = 4; // the message says what was written

} // namespace orvane::cli
