#include "transfer/RawCopy.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

RawCopy sampleCopy()
{
    RawCopy copy{"240530007", "2026-07-04 14:05:09", "Fuel Tank Size", {}};
    for (int i = 0; i < 256; ++i)
        copy.snapshot.settings[size_t(i)] = uint8_t(i * 7);
    copy.snapshot.hasConfigurations = true;
    for (int c = 0; c < 16; ++c)
        copy.snapshot.configurations[size_t(c)].fill(uint8_t(c + 1));
    return copy;
}

TEST(RawCopyTest, ReadsBackWhatWasWrittenWithOnlyTheRecordsThatWereRead)
{
    const RawCopy copy = sampleCopy();
    const std::string text = rawCopyText(copy);
    EXPECT_TRUE(text.starts_with("Orvane unit copy: raw bytes as read\r\nSerial number: 240530007"
                                 "\r\nTaken: 2026-07-04 14:05:09\r\nNext upload changed: Fuel Tank "
                                 "Size\r\nNVM 0000: 00 07 0E 15"));
    EXPECT_NE(text.find("\r\nEEPROM 1780: 10 10 10"), std::string::npos); // configuration 16
    const Result<RawCopy> read = readRawCopyText(text);
    ASSERT_TRUE(read.ok()) << read.error();
    EXPECT_EQ(read->serial, copy.serial);
    EXPECT_EQ(read->taken, copy.taken);
    EXPECT_EQ(read->changes, copy.changes);
    EXPECT_EQ(read->snapshot, copy.snapshot);
    EXPECT_FALSE(read->snapshot.hasCurves);
}

TEST(RawCopyTest, AFileThatIsNotAWholeCopySaysWhere)
{
    const std::string good = rawCopyText(sampleCopy());
    const auto replaced = [&](const std::string &from, const std::string &to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const struct
    {
        std::string text;
        std::string message;
    } cases[] = {
        {"DEFAULT.CFG\r\n",
         "Line 1 is not \"Orvane unit copy: raw bytes as read\": this is not a raw copy of a "
         "unit."},
        {replaced("NVM 0010: ", "NVM 0010: 7G "), "Line 6: \"7G\" is not a hexadecimal byte."},
        {replaced("NVM 0010: ", "FLASH 0010: "), "Line 6: unknown memory \"FLASH\"."},
        {replaced("NVM 0010: ", "NVM 10000: "), "Line 6: not a hexadecimal address."},
        {replaced("NVM 0010: ", "NVM 0400: "),
         "The raw copy does not hold all 256 settings bytes."},
    };
    for (const auto &c : cases) {
        const Result<RawCopy> read = readRawCopyText(c.text);
        ASSERT_FALSE(read.ok()) << c.message;
        EXPECT_EQ(read.error(), c.message);
    }
}

} // namespace
} // namespace orvane
