#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The command line of orvane-sim, read into plain values.

namespace orvane::sim {

struct SerialNumberBytes
{
    uint8_t year = 0, month = 0, day = 0, unit = 0;
};

struct SimOptions
{
    std::string linkPath;
    std::string statePath;
    std::optional<uint8_t> productCode;
    std::optional<SerialNumberBytes> serial;
    bool noAnswer = false;
    bool blankIdentity = false;
    bool corruptFirstNvmRead = false;
    std::optional<int> echoesStopAfter;
    int echoDelayMs = 0;
    bool quiet = false;
    bool help = false;
};

struct SimOptionsResult
{
    SimOptions options;
    std::string error; // empty when the command line was understood
};

// Arguments without the program name. Values follow their option as the
// next argument or after "=".
SimOptionsResult parseSimOptions(const std::vector<std::string> &arguments);

// YYMMDDnnn (or YMMDDnnn): year, month, day and unit of the day.
std::optional<SerialNumberBytes> parseSerialNumber(const std::string &text);

std::string simUsage();

} // namespace orvane::sim
