#include "FactoryFixtures.h"

#include "factory/CodeFile.h"
#include "factory/IntelHex.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>

using namespace orvane;

namespace {

// One data record of a HEX file, upper-case digits, with its checksum.
std::string record(int address, const std::vector<uint8_t> &data)
{
    std::vector<int> body = {int(data.size()), address >> 8, address & 0xFF, 0};
    body.insert(body.end(), data.begin(), data.end());
    const int sum = std::accumulate(body.begin(), body.end(), 0);
    body.push_back(-sum & 0xFF);
    std::string line = ":";
    for (int b : body) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", b);
        line += digits;
    }
    return line;
}

std::string hexFile(const std::vector<std::string> &records)
{
    std::string text;
    for (const auto &r : records)
        text += r + "\r\n";
    return text + ":00000001FF\r\n";
}

std::vector<uint8_t> counting(int n, int first)
{
    std::vector<uint8_t> bytes(size_t(n), 0);
    std::iota(bytes.begin(), bytes.end(), uint8_t(first));
    return bytes;
}

} // namespace

TEST(IntelHex, Hex2DecTakesOnlyUpperCaseDigits)
{
    const struct
    {
        char c;
        int value; // -1: not a digit
    } cases[] = {{'0', 0},
                 {'9', 9},
                 {'A', 10},
                 {'F', 15},
                 {'a', -1},
                 {'f', -1},
                 {'G', -1},
                 {':', -1},
                 {'@', -1},
                 {' ', -1},
                 {'\0', -1}};
    for (const auto &c : cases) {
        const auto value = Hex2Dec(c.c);
        EXPECT_EQ(value ? int(*value) : -1, c.value) << int(c.c);
    }
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

TEST(IntelHex, OnlyBytesInsideTheFlashWindowCount)
{
    const struct
    {
        const char *name;
        std::vector<std::string> records;
        int sectors;
        std::vector<std::pair<int, int>> bytes; // image offset, value
    } cases[] = {
        {"record ending at 7200",
         {record(7168, counting(32, 1))},
         1,
         {{0, 1}, {31, 32}, {32, 0}, {63, 0}}},
        // Begins below the window: the running address never enters it.
        {"record from 7160 adds nothing",
         {record(7160, counting(16, 100)), record(7200, {9})},
         1,
         {{0, 0}, {7, 0}, {32, 9}}},
        {"record from 8184 cut at the end",
         {record(8184, counting(16, 1))},
         16,
         {{1016, 1}, {1023, 8}, {1015, 0}}},
        // The count follows the highest byte stored, not the last record.
        {"out of order", {record(7680, {7}), record(7168, {5})}, 9, {{0, 5}, {512, 7}}},
        {"later record overwrites", {record(7168, {1, 2}), record(7169, {3})}, 1, {{0, 1}, {1, 3}}},
    };
    for (const auto &c : cases) {
        const auto code = readIntelHex(hexFile(c.records), "T.HEX");
        ASSERT_TRUE(code.ok()) << c.name << ": " << code.error();
        EXPECT_EQ(code->sectorCount(), c.sectors) << c.name;
        EXPECT_EQ(code->bytes.size(), size_t(c.sectors * kSectorBytes)) << c.name;
        for (const auto &[offset, value] : c.bytes)
            EXPECT_EQ(code->bytes.at(size_t(offset)), value) << c.name << " @" << offset;
    }
}

TEST(IntelHex, BadFilesNameTheFileAndLine)
{
    const std::string good = record(7168, {1, 2});
    const struct
    {
        std::string text;
        const char *where;
        const char *reason;
    } cases[] = {
        {"\r\n" + hexFile({good}), "T.HEX, line 1:", "must begin with ':'"},
        {hexFile({good, "0200000001AB"}), "T.HEX, line 2:", "must begin with ':'"},
        {hexFile({":02", good}), "T.HEX, line 1:", "too short"},
        {hexFile({":021C000001"}), "T.HEX, line 1:", "data byte 2"},
        {hexFile({":041C00000102"}), "T.HEX, line 1:", "data byte 3"},
        {hexFile({good, ":021c000001023F"}), "T.HEX, line 2:", "character 5 ('c')"},
        {hexFile({":02G0000001023F"}), "T.HEX, line 1:", "character 4 ('G') of the address"},
        {hexFile({":021C0000010g3F"}), "T.HEX, line 1:", "of the data byte 2"},
        {":0", "T.HEX, line 1:", "byte count"},
        {good + "\r\n" + good + "\r\n", "T.HEX, line 3:", "without an end record"},
        {"", "T.HEX, line 1:", "without an end record"},
        {hexFile({record(7160, {1, 2, 3})}), "T.HEX:", "no record holds code"},
        {hexFile({record(0, {1})}), "T.HEX:", "no record holds code"},
    };
    for (const auto &c : cases) {
        const auto code = readIntelHex(c.text, "T.HEX");
        ASSERT_FALSE(code.ok()) << c.text;
        EXPECT_EQ(code.error().rfind(c.where, 0), 0u) << code.error();
        EXPECT_NE(code.error().find(c.reason), std::string::npos) << code.error();
    }
}

TEST(IntelHex, TypeAndChecksumAreNotReadNorAnythingAfterTheEndRecord)
{
    const auto code = readIntelHex(":021C00zz0405\n:00\ngarbage\n:021c", "T.HEX");
    ASSERT_TRUE(code.ok()) << code.error();
    EXPECT_EQ(code->bytes[0], 4);
    EXPECT_EQ(code->bytes[1], 5);
}
