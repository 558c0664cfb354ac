#pragma once

#include <cstdint>
#include <span>

// What the firmware's start-up leaves in the processor's RAM by the time it
// serves its first command, so that factory dumps of IRAM and XRAM show a
// running instrument rather than zeros. The C start-up clears both RAMs;
// the firmware then sets up its registers, flags, readings and stack and
// copies its working data in from the non-volatile memories. Everything is
// derived from fixed values and the memories, so two power-ups of the same
// instrument leave the same bytes.
//
// IRAM (256 bytes, reached through the 8-bit pointer of an 8051):
//   0x00..0x17  register banks 0 (main loop), 1 (serial interrupt), 2 (tick)
//   0x20..0x2F  bit flags: settings loaded, units of the settings
//   0x30..0x34  clock (hours, minutes, seconds, ticks), configuration in use
//   0x40..0x53  live readings, 16-bit, high byte first
//   0x80..0xBF  serial receive ring and NMEA field scratch (empty)
//   0xC0..      stack: three return addresses of the command dispatcher's
//               call chain, then one stale return address left by start-up
// XRAM (32 KiB):
//   0x0000      working copy of the 256-byte settings image
//   0x0100      the display configuration in use (its 128-byte record)
//   0x0200      four 256-byte NMEA receive buffers with the last sentences
//               heard on inputs 1..4
//   0x0600      LCD segment buffer
//   the rest    zero

namespace orvane::sim::startup {

constexpr int kIramStack = 0xC0;
constexpr int kIramCurrentConfiguration = 0x34;
constexpr int kIramReadings = 0x40;

constexpr int kXramSettingsCopy = 0x0000;
constexpr int kXramConfigurationInUse = 0x0100;
constexpr int kXramNmeaBuffers = 0x0200;
constexpr int kXramNmeaBufferSize = 256;
constexpr int kXramLcdBuffer = 0x0600;

// nvm: the internal NVM (at least its 256-byte settings image); eeprom: the
// whole 24C512.
void fillIram(std::span<uint8_t> iram, std::span<const uint8_t> nvm);
void fillXram(std::span<uint8_t> xram,
              std::span<const uint8_t> nvm,
              std::span<const uint8_t> eeprom);

} // namespace orvane::sim::startup
