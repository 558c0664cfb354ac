#pragma once

#include "platform/Result.h"
#include "transfer/TransferCategories.h"

#include <array>
#include <string>
#include <string_view>

// Short names of the fourteen transfer categories for --only, in table order.

namespace orvane::cli {

inline constexpr std::array<std::string_view, kCategoryCount> kCategoryNames = {
    "configurations",
    "maintenance-alarm",
    "units",
    "sender-curves",
    "pulley-ratio",
    "fuel-tank",
    "second-tank",
    "damping",
    "tacho-sensitivity",
    "alarm-values",
    "tod-alarms",
    "clock",
    "fine-calibrations",
    "race-timers",
};

// "damping,race-timers" or "all" as a selection; a failure names the word
// that is not a category. `allowed` limits what may be named (a download
// cannot take categories the instrument cannot change).
Result<Selection> parseCategories(std::string_view text, const Selection &allowed);

// "damping, race-timers" for messages.
std::string categoryList(const Selection &selection);

} // namespace orvane::cli
