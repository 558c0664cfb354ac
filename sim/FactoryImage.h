#pragma once

#include <cstdint>
#include <span>

// The memories of a plausible instrument fresh from the factory: settings
// with a valid check byte, a serial number, an upload count, the firmware
// version; the display configurations, sender curves, log record and product
// code in the 24C512; a boot area and the version block in flash.

namespace orvane::sim::factory {

constexpr uint8_t kFirmwareVersion = 23;
constexpr uint8_t kHardwareVersion = 3;
constexpr uint8_t kModuleVersions[4] = {12, 7, 9, 4}; // U101, U201, U301, U401
constexpr uint8_t kProductCode = 1;                   // Orvane
constexpr uint8_t kErased = 255;

constexpr int kSettingsSize = 256; // the part of the internal NVM the editor moves
constexpr int kDisplayConfigurationBase = 4096;
constexpr int kCurveBase = 12288;
constexpr int kRecordSize = 128;

// Exclusive-or of bytes 1..size-1: the check byte of a settings image (byte 0
// of the internal NVM) and of a display configuration record.
uint8_t checkByte(std::span<const uint8_t> record);

void fillInternalNvm(std::span<uint8_t> nvm);
void fillEeprom(std::span<uint8_t> eeprom, std::span<const uint8_t> nvm);
void fillFlash(std::span<uint8_t> flash, int versionBlockAddress);

} // namespace orvane::sim::factory
