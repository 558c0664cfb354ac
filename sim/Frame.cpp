#include "sim/Frame.h"

namespace orvane::sim {

std::optional<Frame> FrameAssembler::add(uint8_t byte)
{
    m_bytes[static_cast<size_t>(m_filled++)] = byte;
    if (m_filled < static_cast<int>(m_bytes.size()))
        return std::nullopt;
    m_filled = 0;
    return Frame{m_bytes[0], m_bytes[1], m_bytes[2], m_bytes[3]};
}

std::optional<MemoryId> readTarget(uint8_t code)
{
    switch (code) {
    case command::kReadInternalNvm:
        return MemoryId::InternalNvm;
    case command::kReadEeprom:
        return MemoryId::Eeprom;
    case command::kReadIram:
        return MemoryId::Iram;
    case command::kReadXram:
        return MemoryId::Xram;
    case command::kReadFlash:
        return MemoryId::Flash;
    default:
        return std::nullopt;
    }
}

std::optional<MemoryId> writeTarget(uint8_t code)
{
    switch (code) {
    case command::kWriteInternalNvm:
        return MemoryId::InternalNvm;
    case command::kWriteEeprom:
        return MemoryId::Eeprom;
    default:
        return std::nullopt;
    }
}

std::string transferLogLine(const char *verb, MemoryId memory, const Frame &frame)
{
    return std::string(verb) + " " + memoryName(memory) + " " + std::to_string(frame.count()) + " @"
           + std::to_string(frame.address());
}

} // namespace orvane::sim
