#pragma once

#include "platform/Result.h"

#include <array>
#include <cstdint>
#include <string_view>

// NVMNMEAG.DAT, the NMEA code tables: a header line of five texts, 128 lines
// "number, two-character code, ...", 128 lines "number, three-character code,
// ...", and a last line holding one number.

namespace orvane {

inline constexpr std::string_view kNmeaTablesFileName = "NVMNMEAG.DAT";

inline constexpr int kNmeaCodes = 128; // entries of each table

struct NmeaTables
{
    // Entry k (1..128) at bytes 2k-2, 2k-1: the codes of its two characters.
    std::array<uint8_t, 2 * kNmeaCodes> twoCharacter{};
    // Entry k at bytes 4k-4 .. 4k-2 and a 0 at byte 4k-1.
    std::array<uint8_t, 4 * kNmeaCodes> threeCharacter{};

    bool operator==(const NmeaTables &) const = default;
};

// The whole file is checked before anything is returned.
Result<NmeaTables> readNmeaTables(std::string_view text, std::string_view fileName);

} // namespace orvane
