#include "FactoryFixtures.h"

#include "factory/CodeFile.h"
#include "factory/IntelHex.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace orvane;

namespace {

// A data record of n bytes first, first + 1, ...; the checksum is not read.
std::string record(int address, int n, int first = 1)
{
    char text[16];
    std::snprintf(text, sizeof text, ":%02X%04X00", n, address);
    std::string line = text;
    for (int k = 0; k < n; ++k) {
        std::snprintf(text, sizeof text, "%02X", (first + k) & 0xFF);
        line += text;
    }
    return line + "\r\n";
}

const std::string kEnd = ":00000001FF\r\n";

} // namespace

TEST(IntelHex, Hex2DecTakesOnlyUpperCaseDigits)
{
    const std::pair<char, int> cases[]
        = {{'0', 0}, {'9', 9}, {'A', 10}, {'F', 15}, {'a', -1}, {'G', -1}, {':', -1}, {'@', -1}};
    for (const auto &[c, value] : cases)
        EXPECT_EQ(Hex2Dec(c) ? int(*Hex2Dec(c)) : -1, value) << c;
}

TEST(IntelHex, RecordsCovering7168To7679GiveEightSectorsAndTheExactCodFile)
{
    const auto code = readIntelHex(test::fixture("CODE.HEX"), "CODE.HEX");
    ASSERT_TRUE(code.ok()) << code.error();
    EXPECT_EQ(code->sectorCount(), 8);
    const std::string text = codeFileText(*code, kCodeWindowStart, CodeFileOrigin::HexConversion);
    EXPECT_EQ(text, test::fixture("CODE.COD"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 512);
}

TEST(IntelHex, OnlyBytesInsideTheFlashWindowCountAndTheHighestSetsTheSectors)
{
    const struct
    {
        std::string records;
        int sectors;
        std::vector<std::pair<int, int>> bytes; // image offset, value
    } cases[] = {
        {record(7168, 32), 1, {{0, 1}, {31, 32}, {32, 0}, {63, 0}}}, // 32 zero bytes padded
        // Begins below the window: the running address never enters it.
        {record(7160, 16, 100) + record(7200, 1, 9), 1, {{0, 0}, {7, 0}, {32, 9}}},
        {record(8184, 16), 16, {{1015, 0}, {1016, 1}, {1023, 8}}}, // cut at 8192
        {record(7680, 1, 7) + record(7168, 1, 5), 9, {{0, 5}, {512, 7}}},
        {record(7168, 2, 1) + record(7169, 1, 3), 1, {{0, 1}, {1, 3}}},
        {":021C00zz0405\n:00\ngarbage\n", 1, {{0, 4}, {1, 5}}}, // type, checksum, after end unread
    };
    for (const auto &c : cases) {
        const auto code = readIntelHex(c.records + kEnd, "T.HEX");
        ASSERT_TRUE(code.ok()) << c.records << code.error();
        EXPECT_EQ(code->sectorCount(), c.sectors) << c.records;
        EXPECT_EQ(code->bytes.size(), size_t(c.sectors * kSectorBytes)) << c.records;
        for (const auto &[offset, value] : c.bytes)
            EXPECT_EQ(code->bytes.at(size_t(offset)), value) << c.records << offset;
    }
}

TEST(IntelHex, BadFilesNameTheFileAndLine)
{
    const std::string good = record(7168, 2);
    const struct
    {
        std::string text;
        const char *where;
        const char *reason;
    } cases[] = {
        {"\r\n" + good + kEnd, "T.HEX, line 1:", "must begin with ':'"},
        {good + "0200000001AB\r\n" + kEnd, "T.HEX, line 2:", "must begin with ':'"},
        {":02\r\n" + kEnd, "T.HEX, line 1:", "too short: it ends before the address"},
        {":021C000001\r\n" + kEnd, "T.HEX, line 1:", "ends before the data byte 2"},
        {good + ":021c000001023F\r\n" + kEnd, "T.HEX, line 2:", "character 5 ('c')"},
        {":02G0000001023F\r\n" + kEnd, "T.HEX, line 1:", "character 4 ('G') of the address"},
        {":021C0000010g3F\r\n" + kEnd, "T.HEX, line 1:", "('g') of the data byte 2"},
        {":0", "T.HEX, line 1:", "before the byte count"},
        {good + good, "T.HEX, line 3:", "without an end record"},
        {"", "T.HEX, line 1:", "without an end record"},
        {record(7160, 3) + kEnd, "T.HEX:", "no record holds code"},
        {record(8192, 1) + kEnd, "T.HEX:", "no record holds code"},
    };
    for (const auto &c : cases) {
        const auto code = readIntelHex(c.text, "T.HEX");
        EXPECT_TRUE(test::failsWith(code.error(), c.where, c.reason)) << c.text << code.error();
    }
}
