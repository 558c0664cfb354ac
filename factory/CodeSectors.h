#pragma once

#include <cstdint>
#include <vector>

namespace orvane {

// Code modules run from flash 7168..8191: sixteen 64-byte sectors.
inline constexpr int kCodeWindowStart = 7168;
inline constexpr int kCodeWindowBytes = 1024;
inline constexpr int kSectorBytes = 64;
inline constexpr int kMaxCodeSectors = kCodeWindowBytes / kSectorBytes;

// A code module as .COD files and the EEPROM store carry it: whole sectors,
// 64 x N bytes with N = 1..16, in address order.
struct CodeSectors
{
    std::vector<uint8_t> bytes;

    int sectorCount() const { return int(bytes.size()) / kSectorBytes; }
    bool operator==(const CodeSectors &) const = default;
};

} // namespace orvane
