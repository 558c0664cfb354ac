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
        bytes.push_back(at < m_bytes.size() ? m_bytes[at] : kUnmapped);
    }
    return bytes;
}

bool MemorySpace::write(uint16_t address, uint8_t value)
{
    if (address >= m_bytes.size())
        return false;
    m_bytes[address] = value;
    return true;
}

} // namespace orvane::sim
