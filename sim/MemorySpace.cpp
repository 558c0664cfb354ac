#include "sim/MemorySpace.h"

namespace orvane::sim {

const char *memoryName(MemoryId id)
{
    switch (id) {
    case MemoryId::InternalNvm:
        return "internal NVM";
    case MemoryId::Eeprom:
        return "EEPROM";
    case MemoryId::Iram:
        return "IRAM";
    case MemoryId::Xram:
        return "XRAM";
    case MemoryId::Flash:
        return "flash";
    }
    return "?";
}

std::vector<uint8_t> MemorySpace::read(uint16_t address, int count) const
{
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<uint16_t>(address + i);
        if (at < m_bytes.size())
            bytes.push_back(m_bytes[at]);
        else if (m_decoding == Decoding::Aliased && !m_bytes.empty())
            bytes.push_back(m_bytes[at % m_bytes.size()]);
        else
            bytes.push_back(kUnmapped);
    }
    return bytes;
}

bool MemorySpace::leavesMemory(uint16_t address, int count) const
{
    // A memory of the whole 16-bit range is never left: the counter wraps.
    constexpr size_t kAddressRange = 65536;
    return m_bytes
        .size()<kAddressRange &&static_cast<size_t>(address) + static_cast<size_t>(count)>
            m_bytes.size();
}

bool MemorySpace::write(uint16_t address, uint8_t value)
{
    if (m_bytes.empty() || (address >= m_bytes.size() && m_decoding == Decoding::Erased))
        return false;
    m_bytes[address % m_bytes.size()] = value;
    return true;
}

} // namespace orvane::sim
