#pragma once

#include "config/SettingsFields.h"

#include <array>
#include <cstdint>

// The instrument's five-byte command frames: start mark, command code, count,
// address high, address low. Building a frame needs no port, so every frame
// can be checked byte for byte.

namespace orvane {

using Frame = std::array<uint8_t, 5>;

constexpr uint8_t kStartMark = 61;     // "="
constexpr uint8_t kPresenceProbe = 61; // "=" alone, answered by "="
constexpr uint8_t kResyncByte = 35;    // "#", sent eight times
constexpr int kResyncCount = 8;
constexpr uint8_t kResyncAnswer = 64;    // "@"
constexpr uint8_t kExchangeBegins = 123; // "{", the exchange mark's data byte
constexpr uint8_t kExchangeEnds = 0;

enum class CommandCode : uint8_t {
    ReadInternalNvm = 0,
    WriteInternalNvm = 1,
    ReadEeprom = 2,
    WriteEeprom = 3,
    QuickProbe = 4,
    Identity = 5,
    ReadIram = 7,
    ReadXram = 8,
    IspFromEeprom = 9,
    IspMakerLoader = 10,
    SetClock = 12,
    ExchangeMark = 13,
    Versions = 14,
    SoftReset = 251,
    CopyToFlash = 252,
    ReadFlash = 253,
    Disconnect = 255,
};

// The most bytes one read or write frame carries; sent as a count of 0.
constexpr int kMaxFrameCount = 256;

// Arguments that do not fit a frame are programming errors: the check reports
// them and the frame is built from the nearest values that fit, so it stays
// five bytes the instrument can parse. A frame with no safe near value (an
// in-system programming code that is not one) becomes the harmless versions
// frame.

// A read or write of `count` (1..256) bytes at `address` (0..65535).
Frame memoryFrame(CommandCode code, int count, int address);

// Frames with fixed bytes.
Frame quickProbeFrame();   // 61 4 5 5 5
Frame identityFrame();     // 61 5 5 5 5
Frame versionsFrame();     // 61 14 0 0 0
Frame exchangeMarkFrame(); // 61 13 1 229 5: one byte at 0xE505 follows
Frame setClockFrame(int hours, int minutes);
Frame softResetFrame();           // 61 251 0 0 0: ends a download or upload
Frame disconnectFrame();          // 61 255 0 0 0: ends backup, restore, firmware update
Frame ispFrame(CommandCode code); // 9 or 10
// Copies `sectors` (1..16) 64-byte sectors of code from the EEPROM at
// `address` into the flash ROM. Out of range, nothing is copied: the versions
// frame goes instead.
Frame copyToFlashFrame(int sectors, int address);

// Internal NVM addresses the frames read and write.
constexpr int kFirmwareVersionAddress = kFirmwareVersion.address;
constexpr int kUploadCounterAddress = kUploadCounter.address; // 2 bytes high first
constexpr int kNvmChecksumAddress = kSettingsCheckByte.address;
constexpr int kFirmwareUpdateRequestAddress = kFirmwareUpdate.address;

// Fixed EEPROM addresses the main window uses.
constexpr int kProductCodeAddress = 7232;
constexpr int kConfigRecordsAddress = 4096; // 128 bytes per configuration
constexpr int kCurveRecordsAddress = 12288; // 128 bytes per sender curve
constexpr int kRecordSize = 128;
constexpr int kNvmBackupAddress = 20608;
constexpr int kEepromBackupAddress = 32768;

// EEPROM address of display configuration c (1..16) and sender curve n (1..32).
constexpr int configRecordAddress(int c)
{
    return kConfigRecordsAddress + kRecordSize * (c - 1);
}
constexpr int curveRecordAddress(int n)
{
    return kCurveRecordsAddress + kRecordSize * (n - 1);
}

} // namespace orvane
