#pragma once

#include <cstdint>
#include <span>
#include <vector>

// One of the instrument's memories as the command set sees it: a 16-bit
// address counter that wraps at 65536, over a memory that may be smaller.
// Locations beyond the memory read as an erased byte and ignore writes.

namespace orvane::sim {

enum class MemoryId { InternalNvm, Eeprom, Iram, Xram, Flash };

const char *memoryName(MemoryId id);

class MemorySpace
{
public:
    static constexpr uint8_t kUnmapped = 255;

    explicit MemorySpace(std::span<uint8_t> bytes)
        : m_bytes(bytes)
    {}

    std::vector<uint8_t> read(uint16_t address, int count) const;
    // False when the address lies beyond the memory (nothing stored).
    bool write(uint16_t address, uint8_t value);

private:
    std::span<uint8_t> m_bytes;
};

} // namespace orvane::sim
