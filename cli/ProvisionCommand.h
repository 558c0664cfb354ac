#pragma once

#include "platform/Result.h"

#include <string_view>
#include <vector>

// orvane provision: Make NEW on several ports at once.

namespace orvane::cli {

// "1-8", "1,3,5" or both ("1-4,7"): COM numbers 1..16, each once, in
// ascending order. The failure says what is wrong.
Result<std::vector<int>> parsePortList(std::string_view text);

} // namespace orvane::cli
