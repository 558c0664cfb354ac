#pragma once

#include <array>
#include <cstdint>
#include <span>

// The instrument's settings memory (internal NVM bytes 0..255) as the PC
// holds a copy of it: read whole, merged, written back whole. Byte 0 is the
// exclusive-or of bytes 1..255; the instrument and every writer keep it so.

namespace orvane {

inline constexpr int kSettingsSize = 256;

// Index = address.
using SettingsImage = std::array<uint8_t, kSettingsSize>;

// Exclusive-or of bytes 1..255: the check byte kept in byte 0.
uint8_t settingsCheckByte(std::span<const uint8_t, kSettingsSize> settings);

} // namespace orvane
