#pragma once

#include "platform/Result.h"
#include "transfer/InstrumentSnapshot.h"

#include <string>
#include <string_view>

// The raw bytes an upload read from a unit before writing, as a text file
// that a person can read and the editor can read back. CR LF lines:
//
//   Orvane unit copy: raw bytes as read
//   Serial number: 120530007
//   Taken: 2026-07-04 14:05:09
//   Next upload changed: Display Configurations 3; Fuel Tank Size
//   NVM 0000: 00 1A 0E ...                 16 bytes a line, hexadecimal
//   EEPROM 1000: 4B 63 ...                 the records that were read
//
// The header values are free text; a data line names its memory and the
// address of its first byte, both in hexadecimal.

namespace orvane {

inline constexpr std::string_view kRawCopyTitle = "Orvane unit copy: raw bytes as read";

struct RawCopy
{
    std::string serial;
    std::string taken;
    std::string changes; // what the upload that followed changed
    InstrumentSnapshot snapshot;
};

std::string rawCopyText(const RawCopy &copy);

// Reads the text back. The settings must be complete; the configuration and
// curve records count as read when every one of their bytes is there. A
// failure names the line and what is wrong with it.
Result<RawCopy> readRawCopyText(std::string_view text);

} // namespace orvane
