#pragma once

#include "sim/Instrument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What orvane-sim's command line sets, as plain values, and the limits that
// it and the control lines hold values to.

namespace orvane::sim {

constexpr long kMaxEchoDelayMs = 600000; // ten minutes is slow enough for any test
constexpr long kMaxFaultCount = 1000000000;
constexpr long kMaxShortReadBytes = 255; // a read asks for 256 bytes at most

// A whole decimal number from 0 to maximum, digits only.
std::optional<long> parseCount(const std::string &text, long maximum);

struct SerialNumberBytes
{
    uint8_t year = 0, month = 0, day = 0, unit = 0;
};

// The program's options; the fault knobs are the instrument's own settings.
struct SimOptions
{
    std::string linkPath;
    std::string statePath;
    std::optional<uint8_t> productCode;
    std::optional<SerialNumberBytes> serial;
    FaultSettings faults;
    std::string controlPath;
    bool quiet = false;
    bool help = false;
};

// YYMMDDnnn (or YMMDDnnn): year, month, day and unit of the day.
std::optional<SerialNumberBytes> parseSerialNumber(const std::string &text);

// Sets the instrument's product code, serial number and fault knobs as the
// options say.
void applySimOptions(const SimOptions &options, Instrument &instrument);

} // namespace orvane::sim
