#include "ConfigTestSupport.h"

#include "config/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

using namespace orvane;

TEST(NumberText, RoundsHalvesToEven)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(255.7), 256);
}

TEST(NumberText, PrintConventionHasSignBlank)
{
    EXPECT_EQ(displayNumber(3LL), " 3");
    EXPECT_EQ(displayNumber(-3LL), "-3");
    EXPECT_EQ(fileNumber(26), " 26 ");
    EXPECT_EQ(displayNumber(120.5), " 120.5");
    EXPECT_EQ(displayNumber(0.0), " 0");
    EXPECT_EQ(displayNumber(6500.0), " 6500");
    EXPECT_EQ(displayNumber(1000.0), " 1000");
    EXPECT_EQ(displayNumber(0.25), " .25");
}

TEST(NumberText, ShownValuesReadBackAsThemselves)
{
    // Small values with all their digits need more than 17 decimals; the
    // first was found by fuzzing.
    for (const double value : {2.504535565255141414151e-9,
                               -1.0 / 3.0 * 1e-5,
                               0.1 + 0.2,
                               123456.789012345,
                               9.99999999e-10,
                               1e15 - 1})
        EXPECT_EQ(typedNumber(displayNumber(value)), value) << displayNumber(value);
}

TEST(NumberText, SingleValuesAreShortestWithoutLeadingZero)
{
    EXPECT_EQ(singleText(0.5f), " .5");
    EXPECT_EQ(singleText(-0.5f), "-.5");
    EXPECT_EQ(singleText(1000.0f), " 1000");
    EXPECT_EQ(singleText(1450.4f), " 1450.4");
    EXPECT_EQ(singleText(0.1f), " .1");
    EXPECT_EQ(singleText(12345678.0f), " 1.234568E+07");
    EXPECT_EQ(singleText(0.0f), " 0");
}

TEST(NumberText, TypedNumbersFollowTheEditorRules)
{
    EXPECT_EQ(typedNumber(" 12.5abc"), 12.5);
    EXPECT_EQ(typedNumber("1 2 3"), 123);
    EXPECT_EQ(typedNumber("abc"), 0);
    EXPECT_EQ(typedNumber(".5"), 0.5);
    EXPECT_EQ(typedNumber("-5"), -5);
    EXPECT_EQ(typedNumber("1.2.5"), 1.2);
    EXPECT_EQ(typedNumber("1e3"), 1000);
    EXPECT_EQ(typedNumber("1e"), 1);
    EXPECT_EQ(typedNumber("&H1F"), 31);
    EXPECT_EQ(typedNumber("&o17"), 15);
    EXPECT_EQ(typedNumber("&HFFFF"), -1);
    EXPECT_FALSE(scanNumber("").found);
    EXPECT_FALSE(scanNumber("-").found);
}

TEST(NumberText, FixedDecimalFormats)
{
    EXPECT_EQ(formatDecimals(123.4, 1), "123.4");
    EXPECT_EQ(formatDecimals(0, 2), "0.00");
    EXPECT_EQ(formatDecimals(655.35, 2), "655.35");
    EXPECT_EQ(formatDecimals(65535, 0), "65535");
    EXPECT_EQ(twoDigits(7), "07");
    EXPECT_EQ(twoDigits(23), "23");
}

// Puts the process locale back when the test ends, however it ends.
struct LocaleGuard
{
    ~LocaleGuard() { std::setlocale(LC_ALL, saved.c_str()); }
    const std::string saved = std::setlocale(LC_ALL, nullptr);
};

// A PC set to a decimal comma (Windows always has the German locale; Linux
// only where it is generated) must not change one character of what the
// editor shows, reads or files.
TEST(NumberText, PointDecimalWhateverTheLocale)
{
    const std::string pointFile = test::defaultsText();
    const LocaleGuard guard;
    const char *comma = nullptr;
    for (const char *name : {"German_Germany.1252", "de_DE.UTF-8", "de_DE"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            comma = name;
            break;
        }
    }
    if (comma == nullptr)
        GTEST_SKIP() << "no decimal-comma locale on this system";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",") << comma;

    EXPECT_EQ(displayNumber(120.5), " 120.5");
    EXPECT_EQ(singleText(1450.4f), " 1450.4");
    EXPECT_EQ(singleText(12345678.0f), " 1.234568E+07");
    EXPECT_EQ(typedNumber("12.5"), 12.5);
    EXPECT_EQ(typedNumber("1,5"), 1);
    EXPECT_EQ(formatDecimals(655.35, 2), "655.35");
    EXPECT_EQ(test::defaultsText(), pointFile);
}
