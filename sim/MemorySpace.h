#pragma once

#include <cstdint>
#include <span>
#include <vector>

// One of the instrument's memories as the command set sees it: a 16-bit
// address counter that wraps at 65536, over a memory that may be smaller.

namespace orvane::sim {

enum class MemoryId { InternalNvm, Eeprom, Iram, Xram, Flash };

const char *memoryName(MemoryId id);

// What the part answers at an address beyond its memory.
enum class Decoding {
    // The locations are not there: they read as an erased byte and ignore
    // writes (the internal NVM above 511, the flash above 32767).
    Erased,
    // Only the address lines the memory needs are decoded, so the memory
    // repeats: the address is taken modulo its size (the 8-bit IRAM pointer,
    // the 15-bit XRAM decoder).
    Aliased,
};

class MemorySpace
{
public:
    static constexpr uint8_t kUnmapped = 255;

    explicit MemorySpace(std::span<uint8_t> bytes, Decoding decoding = Decoding::Erased)
        : m_bytes(bytes)
        , m_decoding(decoding)
    {}

    std::vector<uint8_t> read(uint16_t address, int count) const;
    // False when the address lies beyond the memory (nothing stored).
    bool write(uint16_t address, uint8_t value);
    size_t size() const { return m_bytes.size(); }
    Decoding decoding() const { return m_decoding; }
    // Whether a block of count bytes from address reaches past the memory's end.
    bool leavesMemory(uint16_t address, int count) const;

private:
    std::span<uint8_t> m_bytes;
    Decoding m_decoding;
};

} // namespace orvane::sim
