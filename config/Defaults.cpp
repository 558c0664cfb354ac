#include "config/Defaults.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace orvane {

namespace {

constexpr int kOhmsColumn = 1;
constexpr int kValueColumn = 2;
constexpr uint8_t kUnusedByte = 255;

// One byte of every configuration, configurations 1..16 left to right.
struct ConfigByteRow
{
    int byte;
    std::array<uint8_t, kConfigurations> values;
};

// One 16-bit value (high byte first) of every configuration.
struct ConfigWordRow
{
    int byte;
    std::array<uint16_t, kConfigurations> values;
};

constexpr std::array<ConfigByteRow, 10> kConfigByteDefaults{{
    {0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {1, {196, 192, 192, 204, 204, 204, 198, 198, 198, 192, 204, 192, 60, 51, 0, 0}},
    {2, {75, 99, 67, 83, 99, 67, 89, 73, 105, 65, 65, 65, 4, 2, 4, 0}},
    {3, {132, 128, 128, 64, 64, 64, 32, 32, 32, 128, 64, 32, 64, 32, 0, 0}},
    {4, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {28, {1, 1, 1, 25, 25, 25, 9, 9, 9, 1, 25, 9, 25, 9, 18, 0}},
    {48, {9, 9, 9, 9, 9, 9, 25, 25, 25, 29, 29, 29, 18, 23, 19, 0}},
    {68, {25, 6, 10, 1, 6, 10, 1, 10, 6, 30, 30, 30, 13, 24, 20, 0}},
    {88, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 21, 0, 6, 0}},
    {108, {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 27, 25, 26, 0}},
}};

// Bar limits: left bar lower/upper at 89/91, right bar lower/upper at 109/111.
constexpr std::array<ConfigWordRow, 4> kConfigWordDefaults{{
    {89, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {91,
     {2000,
      2000,
      2000,
      2000,
      2000,
      2000,
      2000,
      2000,
      2000,
      2000,
      2000,
      2000,
      1000,
      9999,
      500,
      5000}},
    {109, {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 0, 0, 0, 0}},
    {111, {240, 240, 240, 240, 240, 240, 240, 240, 240, 240, 240, 240, 1000, 500, 300, 3000}},
}};

void setBytes(IntNvmTable &nvm, int first, std::initializer_list<uint8_t> values)
{
    for (uint8_t v : values)
        nvm[first++] = v;
}

void fillBytes(IntNvmTable &nvm, int first, int last, uint8_t value)
{
    for (int i = first; i <= last; ++i)
        nvm[i] = value;
}

// Alarm records are low alarm then high alarm, 16 bits each.
void setAlarmRecords(IntNvmTable &nvm, int first, int count, uint16_t low, uint16_t high)
{
    for (int r = 0; r < count; ++r) {
        nvm.setWord(first + 4 * r, low);
        nvm.setWord(first + 4 * r + 2, high);
    }
}

void writeDefaultSettings(IntNvmTable &nvm)
{
    setBytes(nvm, 0, {0, 26, 14, 0, 0, 1, 1, 5, 0, 0});
    setBytes(nvm, 10, {0, 0, 7, 3, 30, 1, 0, 255, 255, 255, 0});
    setBytes(nvm, 21, {3, 232, 3, 232});
    nvm[25] = 10;
    setBytes(nvm, 26, {3, 232, 3, 232, 3, 232});
    nvm[32] = 0;
    for (int i = 33; i <= 43; i += 2)
        nvm.setWord(i, 1000);
    nvm[45] = 50;
    fillBytes(nvm, 46, 63, 0);
    setBytes(nvm, 64, {3, 232, 5, 10});
    setBytes(nvm, 68, {36, 54,  3, 36, 54, 1, 28, 13, 1, 20, 101, 2,
                       20, 101, 2, 0,  0,  0, 16, 9,  6, 16, 9,   10});
    setBytes(nvm, 92, {1, 244, 255, 255, 255, 255});
    setBytes(nvm, 98, {7, 20, 3, 11, 0, 23});
    setBytes(nvm, 104, {3, 0, 3, 10, 10, 0, 0});
    setBytes(nvm, 111, {3, 232, 3, 46, 224});
    fillBytes(nvm, 116, 127, 255);
}

void writeDefaultAlarms(IntNvmTable &nvm)
{
    setAlarmRecords(nvm, 128, 1, 0, 9999);
    setAlarmRecords(nvm, 132, 1, 0, 250);
    setAlarmRecords(nvm, 136, 1, 0, 1800);
    setAlarmRecords(nvm, 140, 2, 0, 999);
    setAlarmRecords(nvm, 148, 1, 0, 65535);
    setAlarmRecords(nvm, 152, 1, 0, 9900);
    setAlarmRecords(nvm, 156, 1, 0, 999);
    setAlarmRecords(nvm, 160, 3, 0, 3300);
    setAlarmRecords(nvm, 172, 1, 100, 900);
    setAlarmRecords(nvm, 176, 1, 0, 999);
    setAlarmRecords(nvm, 180, 8, 0, 9999);
    setAlarmRecords(nvm, 212, 4, 0, 999);
    setAlarmRecords(nvm, 228, 6, 0, 999);
    fillBytes(nvm, 252, 255, 255);
}

} // namespace

void writeDefaultConfigurations(CdcTable &cdc)
{
    for (int c = 1; c <= kConfigurations; ++c) {
        for (int n = 0; n < kConfigBytes; ++n)
            cdc(c, n) = kUnusedByte;
        for (const ConfigByteRow &row : kConfigByteDefaults)
            cdc(c, row.byte) = row.values[size_t(c - 1)];
        for (const ConfigWordRow &row : kConfigWordDefaults)
            cdc.setWord(c, row.byte, row.values[size_t(c - 1)]);
    }
}

void writeDefaultIntNvm(IntNvmTable &nvm)
{
    writeDefaultSettings(nvm);
    writeDefaultAlarms(nvm);
}

void writeDefaultCurve(CalCurveTable &curves, int curve)
{
    // Computed in double precision and floored, so the curve ends exactly at
    // 180 ohm and 1000.
    for (int a = 1; a <= kCurvePoints; ++a) {
        curves(curve, a, kOhmsColumn) = float(std::floor(a * 5.483871 + 4.516129));
        curves(curve, a, kValueColumn) = float(std::floor((a - 1) * 32.258065));
    }
}

bool isEmptyCurve(const CalCurveTable &curves, int curve)
{
    return curves(curve, 2, kValueColumn) == 0.0f;
}

void WriteDefaultsToRam(ConfigDocument &document, bool newUnitPending)
{
    ConfigImage &image = document.image;
    writeDefaultConfigurations(image.CDC);
    for (int k = 1; k <= kCurves; ++k) {
        if (newUnitPending || isEmptyCurve(image.CalCurve, k))
            writeDefaultCurve(image.CalCurve, k);
    }
    writeDefaultIntNvm(image.IntNvm);
    document.changed = true;
}

} // namespace orvane
