#pragma once

#include "sim/MemorySpace.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The command frame as the instrument receives it: "=" (taken by the link
// state), then code, count, address high, address low. Data bytes of a write
// follow the frame and are not part of it.

namespace orvane::sim {

namespace command {
constexpr uint8_t kStart = 61; // "="
constexpr uint8_t kReadInternalNvm = 0;
constexpr uint8_t kWriteInternalNvm = 1;
constexpr uint8_t kReadEeprom = 2;
constexpr uint8_t kWriteEeprom = 3;
constexpr uint8_t kQuickProbe = 4;
constexpr uint8_t kIdentity = 5;
constexpr uint8_t kReadIram = 7;
constexpr uint8_t kReadXram = 8;
constexpr uint8_t kIspFromEeprom = 9;
constexpr uint8_t kIspMakerLoader = 10;
constexpr uint8_t kSetClock = 12;
constexpr uint8_t kExchangeMark = 13;
constexpr uint8_t kVersions = 14;
constexpr uint8_t kSoftReset = 251;
constexpr uint8_t kCopyToFlash = 252;
constexpr uint8_t kReadFlash = 253;
constexpr uint8_t kDisconnect = 255;
} // namespace command

struct Frame
{
    uint8_t code = 0;
    uint8_t countByte = 0;
    uint8_t addressHigh = 0;
    uint8_t addressLow = 0;

    // Count byte 0 stands for 256.
    int count() const { return countByte == 0 ? 256 : countByte; }
    uint16_t address() const { return static_cast<uint16_t>(addressHigh << 8 | addressLow); }
};

// Collects the four bytes that follow "=".
class FrameAssembler
{
public:
    void clear() { m_filled = 0; }
    // The finished frame once its fourth byte has arrived.
    std::optional<Frame> add(uint8_t byte);

private:
    std::array<uint8_t, 4> m_bytes{};
    int m_filled = 0;
};

// The memory a read or write code addresses, if it is one.
std::optional<MemoryId> readTarget(uint8_t code);
std::optional<MemoryId> writeTarget(uint8_t code);

// "read internal NVM 256 @0", "write EEPROM 128 @4096", ...
std::string transferLogLine(const char *verb, MemoryId memory, const Frame &frame);

} // namespace orvane::sim
