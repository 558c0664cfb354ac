#include "transfer/TransferImage.h"

#include <gtest/gtest.h>

#include <set>

namespace orvane {
namespace {

SettingsImage bufferFilled(uint8_t value)
{
    SettingsImage b{};
    b.fill(value);
    return b;
}

std::set<int> range(int first, int last)
{
    std::set<int> s;
    for (int i = first; i <= last; ++i)
        s.insert(i);
    return s;
}

std::set<int> unite(std::initializer_list<std::set<int>> parts)
{
    std::set<int> s;
    for (const auto &p : parts)
        s.insert(p.begin(), p.end());
    return s;
}

// Addresses 0..255 where the buffer now holds the PC's marker.
std::set<int> changed(const SettingsImage &b, uint8_t marker)
{
    std::set<int> s;
    for (int i = 0; i < 256; ++i)
        if (b[size_t(i)] == marker)
            s.insert(i);
    return s;
}

TEST(UploadCounterTest, CountsUpAndWraps)
{
    const struct
    {
        uint8_t high, low, newHigh, newLow;
    } cases[] = {{0, 255, 1, 0}, {255, 255, 0, 0}, {3, 7, 3, 8}, {0, 0, 0, 1}};
    for (const auto &c : cases) {
        SettingsImage b{};
        b[10] = c.high;
        b[11] = c.low;
        bumpUploadCounter(b, false);
        EXPECT_EQ(b[10], c.newHigh) << int(c.high) << "/" << int(c.low);
        EXPECT_EQ(b[11], c.newLow) << int(c.high) << "/" << int(c.low);
    }
    SettingsImage b{};
    b[10] = 40;
    b[11] = 2;
    bumpUploadCounter(b, true);
    EXPECT_EQ(b[10], 0);
    EXPECT_EQ(b[11], 1);
}

TEST(FirstUploadDateTest, KeepsTheEarliestDate)
{
    const LocalDateTime july4th{2024, 7, 4, 9, 30, 0};

    SettingsImage blank = bufferFilled(255);
    EXPECT_TRUE(keepFirstUploadDate(blank, july4th));
    EXPECT_EQ(blank[17], 24);
    EXPECT_EQ(blank[18], 7);
    EXPECT_EQ(blank[19], 4);

    SettingsImage older{};
    older[17] = 23;
    older[18] = 1;
    older[19] = 1;
    EXPECT_FALSE(keepFirstUploadDate(older, july4th));
    EXPECT_EQ(older[17], 23);
    EXPECT_EQ(older[18], 1);
    EXPECT_EQ(older[19], 1);

    // A later stored date (a clock that once ran ahead) gives way.
    SettingsImage later{};
    later[17] = 24;
    later[18] = 12;
    later[19] = 31;
    EXPECT_TRUE(keepFirstUploadDate(later, july4th));
    EXPECT_EQ(later[18], 7);

    // Only the two-digit year counts: 2099 stores 99.
    SettingsImage far = bufferFilled(255);
    keepFirstUploadDate(far, {2099, 12, 31, 0, 0, 0});
    EXPECT_EQ(far[17], 99);
}

TEST(UploadMergeTest, TicksChooseTheAddressesAndNmeaAlwaysGoes)
{
    IntNvmTable pc;
    for (int i = 0; i < 257; ++i)
        pc[i] = 0xAA;

    Selection none{};
    SettingsImage b = bufferFilled(0x11);
    mergeUploadCategories(b, pc, none);
    EXPECT_EQ(changed(b, 0xAA), range(68, 91));

    Selection damping{};
    damping[size_t(categoryIndex(Category::DisplayDamping))] = 1;
    b = bufferFilled(0x11);
    mergeUploadCategories(b, pc, damping);
    EXPECT_EQ(changed(b, 0xAA), unite({range(68, 91), {102, 113}, range(104, 110)}));

    Selection calibrations{};
    calibrations[size_t(categoryIndex(Category::FineCalibrations))] = 1;
    b = bufferFilled(0x11);
    mergeUploadCategories(b, pc, calibrations);
    // Byte 32 lies between the two calibration runs and stays the instrument's.
    EXPECT_EQ(changed(b, 0xAA),
              unite({range(68, 91), range(26, 31), range(33, 45), {64, 65, 111, 112}}));

    Selection all{};
    all.fill(1);
    b = bufferFilled(0x11);
    mergeUploadCategories(b, pc, all);
    EXPECT_EQ(changed(b, 0xAA),
              unite({range(128, 227),
                     {1, 2, 7, 21, 22, 23, 24, 66, 114, 115, 102, 113, 103},
                     range(104, 110),
                     range(98, 101),
                     range(46, 61),
                     range(68, 91),
                     range(26, 31),
                     range(33, 45),
                     {64, 65, 111, 112}}));
    // The check byte, counter, serial number and date are never taken from the PC.
    for (const int i : {0, 10, 11, 12, 13, 14, 15, 17, 18, 19})
        EXPECT_EQ(b[size_t(i)], 0x11) << i;
}

TEST(DownloadCopyTest, OnlyTickedCategoriesTheInstrumentCanChange)
{
    SettingsImage instrument = bufferFilled(0x5C);
    IntNvmTable pc;
    Selection tacho{};
    tacho[size_t(categoryIndex(Category::TachoSensitivity))] = 1;
    copyDownloadCategories(pc, instrument, tacho);
    for (int i = 0; i < 257; ++i)
        EXPECT_EQ(pc[i], i == 2 ? 0x5C : 0) << i;

    // PC-only categories never come down, even when their flag is set.
    Selection pcOnly{};
    for (const Category c : {Category::DisplayConfigurations,
                             Category::UnitsOfMeasure,
                             Category::FuelTankSize,
                             Category::TodClock})
        pcOnly[size_t(categoryIndex(c))] = 1;
    IntNvmTable untouched;
    copyDownloadCategories(untouched, instrument, pcOnly);
    EXPECT_EQ(untouched, IntNvmTable{});

    Selection timers{};
    timers[size_t(categoryIndex(Category::RaceTimers))] = 1;
    timers[size_t(categoryIndex(Category::TodAlarms))] = 1;
    IntNvmTable some;
    copyDownloadCategories(some, instrument, timers);
    for (int i = 0; i < 257; ++i)
        EXPECT_EQ(some[i], (i == 66 || (i >= 46 && i <= 61)) ? 0x5C : 0) << i;
}

TEST(ConfigurationRecordTest, CheckByteGoesFirstAndIntoTheImage)
{
    CdcTable cdc;
    for (int b = 1; b < 128; ++b)
        cdc(5, b) = uint8_t(b * 3);
    cdc(5, 128) = 77; // beyond the record
    uint8_t x = 0;
    for (int b = 1; b < 128; ++b)
        x ^= uint8_t(b * 3);

    const auto record = configurationRecord(cdc, 5);
    EXPECT_EQ(record[0], x);
    EXPECT_EQ(cdc(5, 0), x);
    EXPECT_EQ(record[1], 3);
    EXPECT_EQ(record[127], uint8_t(127 * 3));
}

TEST(CurvePointTest, ResistanceAndReadingEncoding)
{
    // 180 ohms is mid-scale: a = 511.5, high 1, low 256 limited to 255.
    EXPECT_EQ(encodeCurvePoint(180.0f, 0.0f), (CurvePoint{1, 255, 0, 0}));
    EXPECT_EQ(encodeCurvePoint(10.0f, 500.0f), (CurvePoint{0, 54, 1, 244}));
    EXPECT_EQ(encodeCurvePoint(0.0f, 1000.0f), (CurvePoint{0, 0, 3, 232}));
    // Nonsense resistances give a point on the scale instead of garbage.
    EXPECT_EQ(encodeCurvePoint(-180.0f, 0.0f).input(), 0);
    EXPECT_EQ(encodeCurvePoint(-100.0f, 0.0f).input(), 0);
}

class CurveRecordTest : public ::testing::Test
{
protected:
    CurveRecordTest()
    {
        // 10 ohms per point, reading 500 rising by 40; point 18 is 180 ohms.
        for (int p = 1; p <= 32; ++p) {
            curves(6, p, 1) = float(10 * p);
            curves(6, p, 2) = float(500 + 40 * (p - 1));
        }
    }
    CalCurveTable curves;
};

TEST_F(CurveRecordTest, EndPointsAreExtrapolatedToTheEndsOfTheScale)
{
    const auto record = curveRecord(curves, 6);
    // Point 1: inputs 54 and 102, values 500 and 540: slope 5/6, so 455 at 0.
    EXPECT_EQ(record[0], 0);
    EXPECT_EQ(record[1], 0);
    EXPECT_EQ(record[2], 1);
    EXPECT_EQ(record[3], 199);
    // Point 2 as encoded.
    EXPECT_EQ(record[4], 0);
    EXPECT_EQ(record[5], 102);
    EXPECT_EQ(record[6], 2);
    EXPECT_EQ(record[7], 28);
    // Point 18, 180 ohms.
    EXPECT_EQ(record[68], 1);
    EXPECT_EQ(record[69], 255);
    EXPECT_EQ(record[70], 4);
    EXPECT_EQ(record[71], 156);
    // Point 32: inputs 647 and 655, values 1700 and 1740: slope 5, 3580 at 1023.
    EXPECT_EQ(record[124], 3);
    EXPECT_EQ(record[125], 255);
    EXPECT_EQ(record[126], 13);
    EXPECT_EQ(record[127], 252);
}

TEST_F(CurveRecordTest, ExtrapolationIsLimitedAndSurvivesEqualInputs)
{
    // A steep fall below the first point would go negative: limited to 0.
    curves(6, 1, 2) = 0;
    curves(6, 2, 2) = 2000;
    // Points 31 and 32 at the same resistance: a flat end instead of a
    // division by zero.
    curves(6, 32, 1) = curves(6, 31, 1);
    const auto points = curvePoints(curves, 6);
    EXPECT_EQ(points[0], (CurvePoint{0, 0, 0, 0}));
    EXPECT_EQ(points[31].input(), 1023);
    EXPECT_EQ(points[31].value(), points[30].value());

    // Equal inputs at the start keep the first value.
    curves(6, 2, 1) = curves(6, 1, 1);
    curves(6, 1, 2) = 700;
    EXPECT_EQ(curvePoints(curves, 6)[0].value(), 700);

    // A rise beyond 65535 is limited there.
    curves(6, 32, 1) = 320;
    curves(6, 32, 2) = 65000;
    curves(6, 31, 2) = 0;
    EXPECT_EQ(curvePoints(curves, 6)[31].value(), 65535);
}

} // namespace
} // namespace orvane
