#include "factory/ProvisioningImages.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

// A buffer as the instrument might hold it: no value of a fresh unit.
SettingsImage heldNvm()
{
    SettingsImage nvm{};
    for (size_t i = 0; i < nvm.size(); ++i)
        nvm[i] = uint8_t(0xA0 ^ i);
    return nvm;
}

bool checkByteRight(const SettingsImage &nvm)
{
    uint8_t x = 0;
    for (uint8_t byte : nvm)
        x ^= byte;
    return x == 0;
}

} // namespace

TEST(ProvisioningImages, LogRecordHoldsTheIntervalTwiceWithItsCheckByte)
{
    const auto blocks = logAreaBlocks(uint16_t(46 << 8 | 224));
    ASSERT_EQ(blocks.size(), 2u);
    const auto &record = blocks[0].bytes;
    EXPECT_EQ(blocks[0].address, 0);
    EXPECT_EQ(record[0], 207); // 1 ^ 46 ^ 224
    EXPECT_EQ(record[32], 207);
    const std::vector<uint8_t> copy = {1, 0, 0, 0, 0, 46, 224, 0};
    EXPECT_EQ(std::vector<uint8_t>(record.begin() + 1, record.begin() + 9), copy);
    EXPECT_EQ(std::vector<uint8_t>(record.begin() + 33, record.begin() + 41), copy);
    EXPECT_EQ(std::count(record.begin() + 8, record.begin() + 32, 0), 24);
    EXPECT_EQ(std::count(record.begin() + 64, record.end(), 255), 64);
    EXPECT_EQ(blocks[1], (EepromBlock{128, std::vector<uint8_t>(128, 255)}));
}

TEST(ProvisioningImages, InternalNvmOfAFreshUnitAndItsSerialNumber)
{
    for (const auto &[code, byte3] : {std::pair{1, 0}, {2, 1}, {3, 0}}) {
        SettingsImage nvm = heldNvm();
        zeroLogsAndDate(nvm, uint8_t(code));
        EXPECT_EQ(nvm[3], byte3) << code; // only a Brenlow
        EXPECT_TRUE(checkByteRight(nvm));
        EXPECT_EQ(nvm[17] & nvm[18] & nvm[19], 255); // no date of first use
        EXPECT_EQ(nvm[21] << 8 | nvm[22], 1000);
        EXPECT_EQ(nvm[114] << 8 | nvm[115], 1200);
        for (size_t kept : {1u, 2u, 4u, 12u, 94u, 103u, 111u, 116u, 255u})
            EXPECT_EQ(nvm[kept], heldNvm()[kept]) << kept;
    }

    SettingsImage nvm = heldNvm();
    writeNewSerialNumber(nvm, {70, 33, 1, 255}, 42);
    EXPECT_EQ(std::vector<uint8_t>(nvm.begin() + 11, nvm.begin() + 17),
              (std::vector<uint8_t>{heldNvm()[11], 70, 33, 1, 255, heldNvm()[16]}));
    EXPECT_EQ(nvm[94], 42);
    EXPECT_EQ(nvm[255], 255);
    EXPECT_TRUE(checkByteRight(nvm));
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
    EXPECT_EQ(blocks[1].bytes.front(), 128); // entries 65..128 of the two-character table
    EXPECT_EQ(blocks[2].bytes[1], 3);
    EXPECT_EQ(blocks[5].bytes.back(), uint8_t(511 * 3));
    EXPECT_EQ(blocks[6].bytes[63], 9);
    EXPECT_EQ(productCodeBlock(2), (EepromBlock{7232, {2}}));
}
