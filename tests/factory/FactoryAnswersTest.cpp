#include "factory/FactoryAnswers.h"
#include "factory/SerialNumber.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(SerialNumber, DigitsGiveYearMonthDayAndCappedUnit)
{
    const struct
    {
        const char *typed;
        SerialNumberBytes bytes;
    } cases[] = {
        {"100330001", {10, 3, 30, 1}},
        {"70330001", {7, 3, 30, 1}},
        {"703301999", {70, 33, 1, 255}}, // beyond single precision, unit capped
        {"70000000", {7, 0, 0, 0}},
        {" 2559999999 ", {255, 99, 99, 255}},
        {"+250101255", {25, 1, 1, 255}},
    };
    for (const auto &c : cases) {
        const auto bytes = parseSerialNumber(c.typed);
        ASSERT_TRUE(bytes.ok()) << c.typed << ": " << bytes.error();
        EXPECT_EQ(*bytes, c.bytes) << c.typed;
    }
}

TEST(SerialNumber, BadAnswersAreRefusedWithAReason)
{
    const struct
    {
        const char *typed;
        const char *reason;
    } cases[] = {
        {"69999999", "at least 70000000"},
        {"2560000000", "year is one byte"},
        {"", "not entered"},
        {"   ", "not entered"},
        {"7033000l", "digits only"},
        {"70,330,001", "digits only"},
        {"7.0330001E7", "digits only"},
        {"--70330001", "digits only"},
        {"-70330001", "at least 70000000"},
        {"123456789012345678901234", "far too large"},
    };
    for (const auto &c : cases) {
        const auto bytes = parseSerialNumber(c.typed);
        ASSERT_FALSE(bytes.ok()) << c.typed;
        EXPECT_NE(bytes.error().find(c.reason), std::string::npos)
            << c.typed << ": " << bytes.error();
    }
}

// Any answer parser, its value widened so that one table holds them all.
template<auto parse>
Result<long long> widened(std::string_view typed)
{
    const auto value = parse(typed);
    if (!value)
        return failure(value.error());
    return static_cast<long long>(*value);
}

TEST(FactoryAnswers, NumbersOutsideTheirRangeAreRefused)
{
    using Parse = Result<long long> (*)(std::string_view);
    const Parse product = widened<parseProductCode>;
    const Parse firmware = widened<parseFirmwareNumber>;
    const Parse eeprom = widened<parseEepromAddress>;
    const Parse copyCount = widened<parseCopySectorCount>;
    const Parse flashAddress = widened<parseFlashReadAddress>;
    const struct
    {
        Parse parse;
        const char *typed;
        long long expected; // -1: refused
    } cases[] = {
        {product, "1", 1},
        {product, "3", 3},
        {product, "0", -1},
        {product, "4", -1},
        {product, "", -1},
        {product, "2x", -1},
        {firmware, "0", 0},
        {firmware, "255", 255},
        {firmware, "256", -1},
        {firmware, "-1", -1},
        {firmware, "", -1},
        {eeprom, "65535", 65535},
        {eeprom, "65536", -1},
        {eeprom, "-1", -1},
        {copyCount, "12", 8},
        {copyCount, "0", 1},
        {copyCount, "8", 8},
        {copyCount, "3", 3},
        {copyCount, "65535", 8},
        {copyCount, "65536", -1},
        {copyCount, "-1", -1},
        {flashAddress, "", 7168},
        {flashAddress, " 8000", 8000},
        {flashAddress, "70000", -1},
    };
    for (const auto &c : cases) {
        const auto value = c.parse(c.typed);
        if (c.expected < 0) {
            EXPECT_FALSE(value.ok()) << c.typed;
            EXPECT_FALSE(value.error().empty()) << c.typed;
        } else {
            ASSERT_TRUE(value.ok()) << c.typed << ": " << value.error();
            EXPECT_EQ(*value, c.expected) << c.typed;
        }
    }
}

TEST(FactoryAnswers, StoreAddressLeavesRoomForEverySectorBelow32767)
{
    const struct
    {
        const char *typed;
        int sectors;
        bool ok;
    } cases[] = {
        {"16384", 16, true},
        {"32000", 16, false}, // 32000 + 1024 > 32767
        {"16383", 1, false},
        {"32703", 1, true}, // ends exactly at 32767
        {"32704", 1, false},
        {"&H4000", 1, false}, // digits only
    };
    for (const auto &c : cases) {
        const auto address = parseStoreAddress(c.typed, c.sectors);
        EXPECT_EQ(address.ok(), c.ok) << c.typed;
        if (!c.ok && std::string(c.typed).find('&') == std::string::npos) {
            EXPECT_EQ(address.error(), "Error - bad 24C512 address");
        }
    }
}

TEST(FactoryAnswers, FlashReadStaysWithinSixteenSectorsAnd64KiB)
{
    EXPECT_EQ(*parseFlashSectorCount("16", 7168), 16);
    EXPECT_FALSE(parseFlashSectorCount("17", 7168).ok());
    EXPECT_FALSE(parseFlashSectorCount("0", 7168).ok());
    EXPECT_EQ(*parseFlashSectorCount("1", 65472), 1);
    EXPECT_FALSE(parseFlashSectorCount("2", 65472).ok());
}
