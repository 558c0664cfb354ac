#include "config/Defaults.h"
#include "config/SenderLists.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

const int kDefaultOhms[32]
    = {10, 15,  20,  26,  31,  37,  42,  48,  53,  59,  64,  70,  75,  81,  86,  92,
       97, 103, 108, 114, 119, 125, 130, 136, 141, 147, 152, 158, 163, 169, 174, 180};
const int kDefaultValues[32]
    = {0,   32,  64,  96,  129, 161, 193, 225, 258, 290, 322, 354, 387, 419, 451, 483,
       516, 548, 580, 612, 645, 677, 709, 741, 774, 806, 838, 870, 903, 935, 967, 1000};

void expectDefaultCurve(const CalCurveTable &curves, int k)
{
    for (int a = 1; a <= 32; ++a) {
        EXPECT_EQ(curves(k, a, 1), float(kDefaultOhms[a - 1])) << "curve " << k << " point " << a;
        EXPECT_EQ(curves(k, a, 2), float(kDefaultValues[a - 1])) << "curve " << k << " point " << a;
    }
}

} // namespace

TEST(WriteDefaultsToRam, ConfigurationsGetTheFactoryTableAndLeaveUnusedCellsAlone)
{
    ConfigDocument document;
    for (int n = 0; n <= 128; ++n)
        document.image.CDC(0, n) = 7;
    for (int c = 1; c <= 16; ++c)
        document.image.CDC(c, 128) = 9;
    for (int c = 1; c <= 16; ++c)
        document.image.CDC(c, 0) = 0xAA;

    WriteDefaultsToRam(document, false);
    const CdcTable &cdc = document.image.CDC;

    for (int c = 1; c <= 16; ++c) {
        EXPECT_EQ(cdc(c, 0), 0) << c;
        EXPECT_EQ(cdc(c, 5), 255) << c;
        EXPECT_EQ(cdc(c, 127), 255) << c;
        EXPECT_EQ(cdc(c, 128), 9) << c;
    }
    for (int n = 0; n <= 128; ++n)
        EXPECT_EQ(cdc(0, n), 7) << n;
    EXPECT_EQ(cdc(16, 28), 0);
    EXPECT_EQ(cdc(1, 1), 196);
    EXPECT_EQ(cdc(13, 88), 21);
    EXPECT_EQ(cdc(15, 108), 26);
    // Bar limits high byte first: configuration 1 left bar 0..2000, right 100..240.
    EXPECT_EQ(cdc(1, 91), 0x07);
    EXPECT_EQ(cdc(1, 92), 0xD0);
    EXPECT_EQ(cdc.word(1, 109), 100);
    EXPECT_EQ(cdc.word(14, 91), 9999);
    EXPECT_EQ(cdc.word(16, 111), 3000);
    EXPECT_EQ(cdc(1, 93), 255);
}

TEST(WriteDefaultsToRam, SettingsImageMatchesTheFactoryValues)
{
    ConfigDocument document;
    document.image.IntNvm[0] = 0x5A;
    document.image.IntNvm[256] = 77;
    WriteDefaultsToRam(document, false);
    const IntNvmTable &nvm = document.image.IntNvm;

    EXPECT_EQ(nvm[0], 0);
    EXPECT_EQ(nvm[256], 77);
    EXPECT_EQ(nvm[1], 0x1A); // bar chart, 24 h, degrees F, PSI, knots
    EXPECT_EQ(nvm[2], 0x0E);
    EXPECT_EQ(nvm[6], 1);
    EXPECT_EQ(nvm[7], 5);
    EXPECT_EQ(nvm[12] * 1000000 + nvm[13] * 10000 + nvm[14] * 100 + nvm[15], 7033001);
    EXPECT_EQ(nvm.word(21), 1000);
    EXPECT_EQ(nvm.word(43), 1000);
    EXPECT_EQ(nvm[45], 50);
    EXPECT_EQ(nvm[66], 5);
    EXPECT_EQ(nvm[67], 10);
    EXPECT_EQ(nvm[68], 36);
    EXPECT_EQ(nvm[91], 10);
    EXPECT_EQ(nvm[98], 7);
    EXPECT_EQ(nvm[103], 23);
    EXPECT_EQ(nvm[106], 3);
    EXPECT_EQ(nvm[113], 3);
    EXPECT_EQ(nvm.word(114), 12000);
    // Alarm records: low then high.
    EXPECT_EQ(nvm.word(148), 0);
    EXPECT_EQ(nvm.word(150), 65535);
    EXPECT_EQ(nvm.word(172), 100);
    EXPECT_EQ(nvm.word(174), 900);
    EXPECT_EQ(nvm.word(210), 9999);
    EXPECT_EQ(nvm.word(226), 999);
    EXPECT_EQ(nvm.word(250), 999);
    for (int i : {116, 127, 252, 255})
        EXPECT_EQ(nvm[i], 255) << i;
    for (int i = 46; i <= 63; ++i)
        EXPECT_EQ(nvm[i], 0) << i;
}

TEST(WriteDefaultsToRam, FillsOnlyEmptyCurvesUnlessANewUnitIsPending)
{
    ConfigDocument document;
    // Curve 3: point 2 holds a value, the rest is zero; it counts as filled.
    document.image.CalCurve(3, 2, 2) = 12.5f;
    // Curve 4: data everywhere except the value of point 2; it counts as empty.
    for (int a = 1; a <= 32; ++a)
        document.image.CalCurve(4, a, 1) = 999.0f;
    document.image.CalCurve(0, 1, 1) = 42.0f;

    WriteDefaultsToRam(document, false);
    const CalCurveTable &curves = document.image.CalCurve;

    EXPECT_EQ(curves(3, 2, 2), 12.5f);
    EXPECT_EQ(curves(3, 1, 1), 0.0f);
    EXPECT_EQ(curves(3, 32, 2), 0.0f);
    for (int k : {1, 4, 32})
        expectDefaultCurve(curves, k);
    EXPECT_EQ(curves(1, 32, 1), 180.0f);
    EXPECT_EQ(curves(1, 32, 2), 1000.0f);
    EXPECT_EQ(curves(0, 1, 1), 42.0f);

    WriteDefaultsToRam(document, true);
    expectDefaultCurve(document.image.CalCurve, 3);
}

TEST(SenderLists, CodesAtOrBelowTheBaseGivePositionZero)
{
    IntNvmTable nvm;
    nvm[98] = 3;   // fuel, below base 6
    nvm[99] = 16;  // trim, equal to its base
    nvm[100] = 0;  // engine temperature none
    nvm[101] = 25; // oil pressure user curve
    nvm[103] = 0;
    const SenderListPositions lists = senderListPositionsFor(nvm);
    EXPECT_EQ(lists.fuel, 0);
    EXPECT_EQ(lists.trim, 0);
    EXPECT_EQ(lists.engineTemp, 0);
    EXPECT_EQ(lists.oilPressure, 16);
    EXPECT_EQ(lists.secondTank, 0);
}
