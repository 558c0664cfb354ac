#pragma once

#include <cstdint>
#include <vector>

namespace orvane {

// Bytes to write into the 24C512 EEPROM from one address on: one "=" 3 frame
// of 64 or 128 data bytes (or the single product code byte).
struct EepromBlock
{
    uint16_t address = 0;
    std::vector<uint8_t> bytes;

    bool operator==(const EepromBlock &) const = default;
};

} // namespace orvane
