#include "sim/StartupRam.h"

#include "sim/NmeaFeed.h"

#include <algorithm>
#include <initializer_list>
#include <string>

namespace orvane::sim::startup {

namespace {

constexpr int kSettingsSize = 256;
constexpr int kConfigurationBase = 4096; // 24C512: configuration 1..16, 128 bytes each
constexpr int kConfigurationSize = 128;
constexpr int kConfigurations = 16;
constexpr int kNvmUnits = 1;
constexpr int kNvmCurrentConfiguration = 6;

void put(std::span<uint8_t> memory, int address, std::initializer_list<int> values)
{
    for (const int v : values)
        memory[static_cast<size_t>(address++)] = static_cast<uint8_t>(v);
}

int configurationInUse(std::span<const uint8_t> nvm)
{
    const int c = nvm[kNvmCurrentConfiguration];
    return c >= 1 && c <= kConfigurations ? c : 1;
}

// Seven-segment codes of the digits 0..9, bit 7 the decimal point after it.
constexpr uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
constexpr uint8_t kPoint = 0x80;

// A display's digits as segment bytes: a blank is 0, a "." lights the point
// of the digit before it. Returns the address after the last digit.
int putDigits(std::span<uint8_t> memory, int address, const std::string &text)
{
    for (const char c : text) {
        if (c == '.')
            memory[static_cast<size_t>(address - 1)] |= kPoint;
        else
            memory[static_cast<size_t>(address++)] = c == ' ' ? 0 : kSegments[c - '0'];
    }
    return address;
}

} // namespace

void fillIram(std::span<uint8_t> iram, std::span<const uint8_t> nvm)
{
    std::fill(iram.begin(), iram.end(), 0);
    put(iram, 0x00, {0x80, 0x00, 0x10, 0x00, 0x00, 0x01, 0x00, 0x00}); // R0: receive ring
    put(iram, 0x08, {0x80, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3D}); // ring head and tail
    put(iram, 0x10, {0x2C, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}); // tick counters
    put(iram, 0x20, {0x01, 0x00, nvm[kNvmUnits]});
    put(iram, 0x30, {0, 0, 0, 0x2C, configurationInUse(nvm)});
    // Engine off on the bench: rpm, engine temperature 18.5, oil pressure,
    // fuel 100.0 %, battery 12.6 V, trim, second tank, speed, depth 35.2,
    // water temperature 18.5.
    constexpr int kReadings[] = {0, 185, 0, 1000, 126, 0, 1000, 0, 352, 185};
    int at = kIramReadings;
    for (const int r : kReadings) {
        put(iram, at, {r >> 8, r & 0xFF});
        at += 2;
    }
    // An 8051 call pushes the return address low byte first. Main loop
    // (0x011E) -> command dispatcher (0x03B5) -> memory read (0x0647); above
    // the stack pointer, the return address of the settings copy that ran
    // at start-up (0x0492).
    put(iram, kIramStack, {0x1E, 0x01, 0xB5, 0x03, 0x47, 0x06, 0x92, 0x04});
}

void fillXram(std::span<uint8_t> xram,
              std::span<const uint8_t> nvm,
              std::span<const uint8_t> eeprom)
{
    std::fill(xram.begin(), xram.end(), 0);
    std::copy_n(nvm.begin(), kSettingsSize, xram.begin() + kXramSettingsCopy);
    const int record = kConfigurationBase + kConfigurationSize * (configurationInUse(nvm) - 1);
    std::copy_n(eeprom.begin() + record,
                kConfigurationSize,
                xram.begin() + kXramConfigurationInUse);
    for (int channel = 1; channel <= NmeaFeed::kChannels; ++channel) {
        const std::string heard = NmeaFeed::round(channel, 0);
        const size_t length = std::min(heard.size(), static_cast<size_t>(kXramNmeaBufferSize));
        std::copy_n(heard.begin(),
                    length,
                    xram.begin() + kXramNmeaBuffers + kXramNmeaBufferSize * (channel - 1));
    }
    // Three displays of four digits, then the icon bytes of the
    // configuration in use.
    int at = kXramLcdBuffer;
    for (const char *text : {"   0", "18.5", "12.6"})
        at = putDigits(xram, at, text);
    std::copy_n(eeprom.begin() + record + 1, 4, xram.begin() + at);
}

} // namespace orvane::sim::startup
