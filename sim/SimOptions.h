#pragma once

#include "sim/Instrument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The command line of orvane-sim, read into plain values.

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
    std::optional<int> shortReadBytes;
    std::optional<int> shortReadsNext; // without it every read is cut
    int badCheckByteReads = 0;         // or kEveryTime
    std::string controlPath;
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

// Sets the instrument's product code, serial number and fault knobs as the
// options say.
void applySimOptions(const SimOptions &options, Instrument &instrument);

} // namespace orvane::sim
