#include "sim/FactoryImage.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace orvane::sim::factory {

namespace {

void put(std::span<uint8_t> memory, int address, std::initializer_list<int> values)
{
    for (const int v : values)
        memory[static_cast<size_t>(address++)] = static_cast<uint8_t>(v);
}

void putWord(std::span<uint8_t> memory, int address, int value)
{
    put(memory, address, {value >> 8, value & 0xFF});
}

// Sources and bar limits of the sixteen display configurations.
struct ConfigurationDefaults
{
    int icons[4];
    int display1, display2, display3;
    int leftBar, leftLow, leftHigh;
    int rightBar, rightLow, rightHigh;
};

constexpr ConfigurationDefaults kConfigurations[16] = {
    {{196, 75, 132, 0}, 1, 9, 25, 3, 0, 2000, 2, 100, 240},
    {{192, 99, 128, 0}, 1, 9, 6, 3, 0, 2000, 2, 100, 240},
    {{192, 67, 128, 0}, 1, 9, 10, 3, 0, 2000, 2, 100, 240},
    {{204, 83, 64, 0}, 25, 9, 1, 3, 0, 2000, 2, 100, 240},
    {{204, 99, 64, 0}, 25, 9, 6, 3, 0, 2000, 2, 100, 240},
    {{204, 67, 64, 0}, 25, 9, 10, 3, 0, 2000, 2, 100, 240},
    {{198, 89, 32, 0}, 9, 25, 1, 3, 0, 2000, 2, 100, 240},
    {{198, 73, 32, 0}, 9, 25, 10, 3, 0, 2000, 2, 100, 240},
    {{198, 105, 32, 0}, 9, 25, 6, 3, 0, 2000, 2, 100, 240},
    {{192, 65, 128, 0}, 1, 29, 30, 3, 0, 2000, 2, 100, 240},
    {{204, 65, 64, 0}, 25, 29, 30, 3, 0, 2000, 2, 100, 240},
    {{192, 65, 32, 0}, 9, 29, 30, 3, 0, 2000, 2, 100, 240},
    {{60, 4, 64, 0}, 25, 18, 13, 21, 0, 1000, 27, 0, 1000},
    {{51, 2, 32, 0}, 9, 23, 24, 0, 0, 9999, 25, 0, 500},
    {{0, 4, 0, 0}, 18, 19, 20, 6, 0, 500, 26, 0, 300},
    {{0, 0, 0, 0}, 0, 0, 0, 0, 0, 5000, 0, 0, 3000},
};

void fillDisplayConfiguration(std::span<uint8_t> record, const ConfigurationDefaults &c)
{
    std::fill(record.begin(), record.end(), kErased);
    put(record, 1, {c.icons[0], c.icons[1], c.icons[2], c.icons[3]});
    put(record, 28, {c.display1});
    put(record, 48, {c.display2});
    put(record, 68, {c.display3});
    put(record, 88, {c.leftBar});
    putWord(record, 89, c.leftLow);
    putWord(record, 91, c.leftHigh);
    put(record, 108, {c.rightBar});
    putWord(record, 109, c.rightLow);
    putWord(record, 111, c.rightHigh);
    record[0] = checkByte(record);
}

// The linear default sender curve (10..180 ohms against 0..100.0), as 32
// points of input high, input low, value high, value low on the 10-bit input
// scale, its ends moved to inputs 0 and 1023.
void fillDefaultCurve(std::span<uint8_t> record)
{
    constexpr int kPoints = 32;
    constexpr double kPullUpOhms = 180;
    constexpr int kFullScale = 1023;
    int input[kPoints];
    int value[kPoints];
    for (int p = 1; p <= kPoints; ++p) {
        const double ohms = std::floor(p * 5.483871 + 4.516129);
        const float a = static_cast<float>(ohms * kFullScale / (ohms + kPullUpOhms));
        input[p - 1] = std::clamp(static_cast<int>(std::nearbyint(a)), 0, kFullScale);
        value[p - 1] = static_cast<int>(std::floor((p - 1) * 32.258065));
    }
    const double firstSlope = double(value[0] - value[1]) / (input[0] - input[1]);
    const double lastSlope = double(value[30] - value[31]) / (input[30] - input[31]);
    value[0]
        = std::clamp(static_cast<int>(std::nearbyint(value[0] - input[0] * firstSlope)), 0, 65535);
    value[31]
        = std::clamp(static_cast<int>((kFullScale - input[30]) * lastSlope + value[30]), 0, 65535);
    input[0] = 0;
    input[31] = kFullScale;
    for (int p = 0; p < kPoints; ++p) {
        putWord(record, 4 * p, input[p]);
        putWord(record, 4 * p + 2, value[p]);
    }
}

// The first log record: a fresh unit with the maintenance interval of the
// settings, written twice.
void fillLogRecord(std::span<uint8_t> record, std::span<const uint8_t> nvm)
{
    std::fill(record.begin(), record.end(), 0);
    std::fill(record.begin() + 64, record.end(), kErased);
    for (const int half : {0, 32}) {
        record[static_cast<size_t>(half + 1)] = 1;
        record[static_cast<size_t>(half + 6)] = nvm[114];
        record[static_cast<size_t>(half + 7)] = nvm[115];
    }
    const uint8_t check = checkByte(record.first(32));
    record[0] = check;
    record[32] = check;
}

} // namespace

uint8_t checkByte(std::span<const uint8_t> record)
{
    uint8_t x = 0;
    for (size_t i = 1; i < record.size(); ++i)
        x ^= record[i];
    return x;
}

void fillInternalNvm(std::span<uint8_t> nvm)
{
    std::fill(nvm.begin(), nvm.end(), kErased);
    std::fill(nvm.begin(), nvm.begin() + kSettingsSize, 0);
    put(nvm, 1, {26, 14, 0, 0, 1, 1, 5, 0, 0}); // units, sensitivity, ..., pulley ratio
    put(nvm, 10, {0, 3});                       // three configuration uploads so far
    put(nvm, 12, {24, 5, 30, 7});               // serial number 240530007
    put(nvm, 16, {0, 24, 5, 30, 0});            // first upload on 5/30/24
    put(nvm, 21, {3, 232, 3, 232, 10});         // tanks of 100.0
    for (const int at : {26, 28, 30, 33, 35, 37, 39, 41, 43, 64, 111})
        putWord(nvm, at, 1000); // fine calibrations
    put(nvm, 45, {50});
    put(nvm, 46, {6, 30, 18, 0}); // two time-of-day alarms, the rest at 00:00
    put(nvm, 66, {5, 10});
    put(nvm, 68, {36, 54,  3, 36, 54, 1, 28, 13, 1, 20, 101, 2,
                  20, 101, 2, 0,  0,  0, 16, 9,  6, 16, 9,   10}); // NMEA inputs
    put(nvm, 92, {1, 244, kFirmwareVersion, 255, 255, 255});
    put(nvm, 98, {7, 20, 3, 11, 0, 23}); // sender types
    put(nvm, 104, {3, 0, 3, 10, 10, 0, 0});
    put(nvm, 113, {3, 46, 224}); // damping, maintenance interval 12000 minutes
    std::fill(nvm.begin() + 116, nvm.begin() + 128, kErased);
    constexpr int kHighAlarms[25]
        = {9999, 250,  1800, 999,  999,  65535, 9900, 999,  3300, 3300, 3300, 900, 999,
           9999, 9999, 9999, 9999, 9999, 9999,  9999, 9999, 999,  999,  999,  999};
    for (int r = 0; r < 25; ++r) {
        putWord(nvm, 128 + 4 * r, r == 11 ? 100 : 0);
        putWord(nvm, 130 + 4 * r, kHighAlarms[r]);
    }
    for (int r = 0; r < 6; ++r)
        putWord(nvm, 230 + 4 * r, 999);
    std::fill(nvm.begin() + 252, nvm.begin() + kSettingsSize, kErased);
    nvm[0] = checkByte(nvm.first(kSettingsSize));
}

void fillEeprom(std::span<uint8_t> eeprom, std::span<const uint8_t> nvm)
{
    std::fill(eeprom.begin(), eeprom.end(), kErased);
    fillLogRecord(eeprom.subspan(0, kRecordSize), nvm);
    for (int c = 0; c < 16; ++c)
        fillDisplayConfiguration(
            eeprom.subspan(static_cast<size_t>(kDisplayConfigurationBase + kRecordSize * c),
                           kRecordSize),
            kConfigurations[c]);
    for (int n = 0; n < 32; ++n)
        fillDefaultCurve(
            eeprom.subspan(static_cast<size_t>(kCurveBase + kRecordSize * n), kRecordSize));
    eeprom[7232] = kProductCode;
}

void fillFlash(std::span<uint8_t> flash, int versionBlockAddress)
{
    constexpr size_t kBootAreaSize = 7168;
    std::fill(flash.begin(), flash.end(), kErased);
    // Stand-in for the resident firmware: a fixed pseudo-random sequence, so
    // dumps show code-like bytes and stay the same from run to run.
    uint32_t seed = 0x4F52564Eu;
    for (size_t i = 0; i < kBootAreaSize && i < flash.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        flash[i] = static_cast<uint8_t>(seed >> 24);
    }
    put(flash,
        versionBlockAddress,
        {kHardwareVersion,
         kModuleVersions[0],
         kModuleVersions[1],
         kModuleVersions[2],
         kModuleVersions[3]});
}

} // namespace orvane::sim::factory
