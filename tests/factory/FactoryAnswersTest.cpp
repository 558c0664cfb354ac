#include "factory/FactoryAnswers.h"
#include "factory/SerialNumber.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orvane;

TEST(SerialNumber, ExactDigitsGiveYearMonthDayUnitOrAreRefused)
{
    const struct
    {
        const char *typed;
        SerialNumberBytes bytes;
        const char *reason; // refused when set
    } cases[] = {
        {"100330001", {10, 3, 30, 1}, nullptr},
        {"70330001", {7, 3, 30, 1}, nullptr},
        {"703301999", {70, 33, 1, 255}, nullptr}, // beyond single precision, unit capped
        {"70000000", {7, 0, 0, 0}, nullptr},
        {" 2559999999 ", {255, 99, 99, 255}, nullptr},
        {"69999999", {}, "at least 70000000"},
        {"-70330001", {}, "at least 70000000"},
        {"2560000000", {}, "year is one byte"},
        {"  ", {}, "not entered"},
        {"7033000l", {}, "digits only"},
        {"70,330,001", {}, "digits only"},
        {"7.0330001E7", {}, "digits only"},
        {"--70330001", {}, "digits only"},
        {"123456789012345678901234", {}, "far too large"},
    };
    for (const auto &c : cases) {
        const auto bytes = parseSerialNumber(c.typed);
        if (c.reason)
            EXPECT_NE(bytes.error().find(c.reason), std::string::npos) << c.typed << bytes.error();
        else
            EXPECT_EQ(bytes.ok() ? *bytes : SerialNumberBytes{}, c.bytes)
                << c.typed << bytes.error();
    }
}

namespace {

using Parse = std::function<Result<long long>(std::string_view)>;

// Any answer parser, its value widened so that one table holds them all.
template<typename F>
Parse widen(F parse)
{
    return [parse](std::string_view typed) -> Result<long long> {
        const auto value = parse(typed);
        if (!value)
            return failure(value.error());
        return static_cast<long long>(*value);
    };
}

} // namespace

TEST(FactoryAnswers, NumbersOutsideTheirRangeAreRefusedWithAMessage)
{
    const Parse product = widen(parseProductCode);
    const Parse firmware = widen(parseFirmwareNumber);
    const Parse eeprom = widen([](std::string_view t) { return parseEepromAddress(t); });
    const Parse copy = widen(parseCopySectorCount);
    const Parse flash = widen(parseFlashReadAddress);
    const Parse store16 = widen([](std::string_view t) { return parseStoreAddress(t, 16); });
    const Parse store1 = widen([](std::string_view t) { return parseStoreAddress(t, 1); });
    const Parse flashCount
        = widen([](std::string_view t) { return parseFlashSectorCount(t, 7168); });
    const Parse topCount
        = widen([](std::string_view t) { return parseFlashSectorCount(t, 32704); });
    const char *bad = "Error - bad 24C512 address";
    const struct
    {
        const Parse &parse;
        const char *typed;
        long long expected; // when no reason
        const char *reason;
    } cases[] = {
        {product, "1", 1, nullptr},        {product, "3", 3, nullptr},
        {product, "0", 0, "1 to 3"},       {product, "4", 0, "1 to 3"},
        {product, "", 0, "not entered"},   {product, "2x", 0, "digits only"},
        {firmware, "0", 0, nullptr},       {firmware, "255", 255, nullptr},
        {firmware, "256", 0, "0 to 255"},  {firmware, "-1", 0, "0 to 255"},
        {eeprom, "65535", 65535, nullptr}, {eeprom, "65536", 0, "0 to 65535"},
        {copy, "12", 8, nullptr},          {copy, "0", 1, nullptr},
        {copy, "3", 3, nullptr},           {copy, "65535", 8, nullptr},
        {copy, "65536", 0, "0 to 65535"},  {copy, "-1", 0, "0 to 65535"},
        {flash, "", 7168, nullptr},        {flash, " 8000", 8000, nullptr},
        {flash, "32768", 0, "0 to 32767"}, {store16, "16384", 16384, nullptr},
        {store16, "32000", 0, bad},        {store1, "16383", 0, bad}, // 32000 + 1024 > 32767
        {store1, "32703", 32703, nullptr}, {store1, "32704", 0, bad},
        {flashCount, "16", 16, nullptr},   {flashCount, "17", 0, "1 to 16"},
        {flashCount, "0", 0, "1 to 16"},   {topCount, "1", 1, nullptr},
        {topCount, "2", 0, "1 to 1"},
    };
    for (const auto &c : cases) {
        const auto value = c.parse(c.typed);
        if (c.reason)
            EXPECT_NE(value.error().find(c.reason), std::string::npos) << c.typed << value.error();
        else
            EXPECT_EQ(value.ok() ? *value : -1, c.expected) << c.typed << value.error();
    }
}

TEST(FactoryAnswers, HexAndOctalFormsAreWholeUnsignedNumbers)
{
    const struct
    {
        const char *typed;
        long long value; // when no reason
        const char *reason;
    } cases[] = {
        {"&H1C40", 7232, nullptr},
        {" &hffff ", 65535, nullptr}, // the top of the 24C512, not -1
        {"&O16100", 7232, nullptr},
        {"&o7", 7, nullptr},
        {"+12", 12, nullptr},
        {"&H", 0, "is not one"},
        {"&H1G", 0, "is not one"},
        {"&O8", 0, "is not one"},
        {"&H-1", 0, "is not one"},
        {"& H10", 0, "is not one"},
        {"1.5", 0, "is not one"},
        {"12abc", 0, "is not one"},
        {"1 2", 0, "is not one"},
        {"&HFFFFFFFFFFFFFFFFF", 0, "far too large"},
    };
    for (const auto &c : cases) {
        const auto value = parseWholeAnswer(c.typed, "The address");
        if (c.reason)
            EXPECT_NE(value.error().find(c.reason), std::string::npos) << c.typed << value.error();
        else
            EXPECT_EQ(value.ok() ? *value : -1, c.value) << c.typed << value.error();
    }
}
