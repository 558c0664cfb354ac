#pragma once

#include "sim/SimOptions.h"

#include <string>
#include <vector>

// The command line of orvane-sim, read with Qt's command-line parser. The
// executable links Qt Core for its event loop already; the protocol core
// does not, and this reader stays out of it.

namespace orvane::sim {

struct SimOptionsResult
{
    SimOptions options;
    std::string error; // empty when the command line was understood
};

// Arguments without the program name. Values follow their option as the
// next argument or after "=".
SimOptionsResult parseSimOptions(const std::vector<std::string> &arguments);

std::string simUsage();

} // namespace orvane::sim
