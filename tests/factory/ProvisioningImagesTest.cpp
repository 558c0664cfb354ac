#include "factory/ProvisioningImages.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

// A buffer as the instrument might hold it: no value of a fresh unit.
NvmBuffer heldNvm()
{
    NvmBuffer nvm{};
    for (size_t i = 0; i < nvm.size(); ++i)
        nvm[i] = uint8_t(0xA0 ^ i);
    return nvm;
}

uint8_t xorOf(const NvmBuffer &nvm)
{
    uint8_t x = 0;
    for (size_t i = 1; i < 256; ++i)
        x ^= nvm[i];
    return x;
}

} // namespace

TEST(ProvisioningImages, LogRecordHoldsTheIntervalTwiceWithItsCheckByte)
{
    const auto record = logRecord(uint16_t(46 << 8 | 224));
    EXPECT_EQ(record[0], 207); // 1 ^ 46 ^ 224
    EXPECT_EQ(record[32], 207);
    for (size_t copy : {0u, 32u}) {
        EXPECT_EQ(record[copy + 1], 1);
        EXPECT_EQ(record[copy + 6], 46);
        EXPECT_EQ(record[copy + 7], 224);
        for (size_t i : {2u, 5u, 8u, 31u})
            EXPECT_EQ(record[copy + i], 0) << copy + i;
    }
    for (size_t i = 64; i < 128; ++i)
        EXPECT_EQ(record[i], 255) << i;

    const auto blocks = logAreaBlocks(1200);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].address, 0);
    EXPECT_EQ(blocks[0].bytes[6], 4);
    EXPECT_EQ(blocks[0].bytes[7], 176);
    EXPECT_EQ(blocks[1].address, 128);
    EXPECT_EQ(blocks[1].bytes, std::vector<uint8_t>(128, 255));
}

TEST(ProvisioningImages, ZeroLogsAndDateSetsAFreshUnitAndOnlyBrenlowByte3)
{
    for (const auto &[code, byte3] : {std::pair{1, 0}, {2, 1}, {3, 0}}) {
        NvmBuffer nvm = heldNvm();
        zeroLogsAndDate(nvm, uint8_t(code));
        EXPECT_EQ(nvm[3], byte3) << code;
        EXPECT_EQ(nvm[0], xorOf(nvm)) << code;
        EXPECT_EQ(nvm[17] & nvm[18] & nvm[19], 255); // no date of first use
        EXPECT_EQ(nvm[21] << 8 | nvm[22], 1000);
        EXPECT_EQ(nvm[92] << 8 | nvm[93], 500);
        EXPECT_EQ(nvm[114] << 8 | nvm[115], 1200);
        EXPECT_EQ(nvm[107], 100);
        for (size_t kept : {1u, 2u, 4u, 12u, 15u, 94u, 103u, 111u, 116u, 255u})
            EXPECT_EQ(nvm[kept], heldNvm()[kept]) << kept;
    }
}

TEST(ProvisioningImages, NewSerialNumberGoesToBytes12To15WithFirmwareAt94)
{
    NvmBuffer nvm = heldNvm();
    writeNewSerialNumber(nvm, {70, 33, 1, 255}, 42);
    EXPECT_EQ(nvm[12], 70);
    EXPECT_EQ(nvm[15], 255);
    EXPECT_EQ(nvm[94], 42);
    EXPECT_EQ(nvm[255], 255);
    EXPECT_EQ(nvm[11], heldNvm()[11]);
    EXPECT_EQ(nvm[16], heldNvm()[16]);
    EXPECT_EQ(nvm[0], xorOf(nvm));
}

TEST(ProvisioningImages, NmeaBlocksCarryTheTablesInOrder)
{
    NmeaTables tables;
    for (size_t i = 0; i < tables.twoCharacter.size(); ++i)
        tables.twoCharacter[i] = uint8_t(i);
    for (size_t i = 0; i < tables.threeCharacter.size(); ++i)
        tables.threeCharacter[i] = uint8_t(i * 3);
    DecimalPointTable points{};
    points[63] = 9;

    const auto blocks = nmeaUploadBlocks(tables, points);
    const uint16_t addresses[] = {6400, 6528, 6656, 6784, 6912, 7040, 7168};
    ASSERT_EQ(blocks.size(), std::size(addresses));
    for (size_t b = 0; b < blocks.size(); ++b) {
        EXPECT_EQ(blocks[b].address, addresses[b]);
        EXPECT_EQ(blocks[b].bytes.size(), b < 6 ? 128u : 64u);
    }
    // Entries 65..128 of the two-character table go to 6528.
    EXPECT_EQ(blocks[1].bytes.front(), 128);
    EXPECT_EQ(blocks[1].bytes.back(), 255);
    EXPECT_EQ(blocks[2].bytes[1], 3);
    EXPECT_EQ(blocks[5].bytes.back(), uint8_t(511 * 3));
    EXPECT_EQ(blocks[6].bytes[63], 9);

    EXPECT_EQ(productCodeBlock(2), (EepromBlock{7232, {2}}));
}
