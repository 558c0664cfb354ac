#include "FactoryFixtures.h"

#include "factory/CalibrationCurvesFile.h"
#include "factory/DecimalPointsFile.h"
#include "factory/NmeaTablesFile.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

// The fixture with line n replaced; without a replacement, the file ends
// before line n.
std::string edited(const std::string &name, int n, const char *replacement = nullptr)
{
    std::istringstream in(test::fixture(name));
    std::string text;
    int k = 0;
    for (std::string line; std::getline(in, line);) {
        if (++k == n && !replacement)
            break;
        text += (k == n ? std::string(replacement) : line.substr(0, line.size() - 1)) + "\r\n";
    }
    return text;
}

std::vector<uint8_t> slice(const auto &bytes, size_t first, size_t n)
{
    return std::vector<uint8_t>(bytes.begin() + long(first), bytes.begin() + long(first + n));
}

// Any of the three readers, reduced to its failure message.
template<auto read>
std::string problemIn(const std::string &text, std::string_view name)
{
    const auto result = read(text, name);
    return result ? std::string() : result.error();
}

} // namespace

TEST(FactoryDataFiles, FixturesGiveCurvesTablesAndDecimalPoints)
{
    const std::string cal = "CALCURVS.DAT";
    const auto curves = readCalibrationCurves(test::fixture(cal), cal);
    ASSERT_TRUE(curves.ok()) << curves.error();
    ASSERT_EQ(curves->size(), 2u);
    EXPECT_EQ((*curves)[0].address, 8192);
    EXPECT_EQ((*curves)[1].address, 8320);
    EXPECT_EQ(slice((*curves)[0].bytes, 0, 8), (std::vector<uint8_t>{0, 10, 0, 0, 0, 15, 0, 25}));
    EXPECT_EQ(slice((*curves)[1].bytes, 124, 4), (std::vector<uint8_t>{1, 64, 3, 7}));
    EXPECT_EQ(readCalibrationCurves("0,No curves\r\nanything", cal)->size(), 0u);
    EXPECT_EQ(readCalibrationCurves(edited(cal, 5, "1,65408,0,0,0,0,0,0"), cal)->front().address,
              65408);

    const auto nmea = readNmeaTables(test::fixture("NVMNMEAG.DAT"), "NVMNMEAG.DAT");
    ASSERT_TRUE(nmea.ok()) << nmea.error();
    EXPECT_EQ(slice(nmea->twoCharacter, 0, 2), (std::vector<uint8_t>{'G', 'P'}));
    EXPECT_EQ(slice(nmea->twoCharacter, 128, 2), (std::vector<uint8_t>{'M', 'C'})); // entry 65
    EXPECT_EQ(slice(nmea->threeCharacter, 0, 4), (std::vector<uint8_t>{'R', 'M', 'C', 0}));
    EXPECT_EQ(slice(nmea->threeCharacter, 508, 4), (std::vector<uint8_t>{'X', 'E', 'X', 0}));
    // Quotes are not part of a code; the rest of the line is not read.
    const auto quoted = readNmeaTables(edited("NVMNMEAG.DAT", 2, "1, \"ZY\" ,\"x"), "N");
    EXPECT_EQ(slice(quoted.value().twoCharacter, 0, 2), (std::vector<uint8_t>{'Z', 'Y'}));

    const auto points = readDecimalPoints(test::fixture("DECPTSA.DAT"), "DECPTSA.DAT");
    ASSERT_TRUE(points.ok()) << points.error();
    EXPECT_EQ(slice(*points, 0, 2), (std::vector<uint8_t>{0, 3}));
    EXPECT_EQ((*points)[63], 1);
}

TEST(FactoryDataFiles, BadFilesNameTheFileAndLine)
{
    using Check = std::string (*)(const std::string &, std::string_view);
    const Check curves = problemIn<readCalibrationCurves>;
    const Check nmea = problemIn<readNmeaTables>;
    const Check points = problemIn<readDecimalPoints>;
    const std::string cal = "CALCURVS.DAT", nm = "NVMNMEAG.DAT", dp = "DECPTSA.DAT";
    const struct
    {
        Check check;
        std::string name;
        std::string text;
        const char *where;
        const char *reason;
    } cases[] = {
        {curves, cal, edited(cal, 5, "1,8192,10,0,0,10,0,256"), "line 5:", "field 8 is 256"},
        {curves,
         cal,
         edited(cal, 5, "1,65409,0,0,0,0,0,0"),
         "line 5:",
         "is 65409; it must be 0 to 65408"},
        {curves, cal, edited(cal, 6, "2,70000,0,0,0,0,0,0"), "line 6:", "must be 0 to 65535"},
        {curves,
         cal,
         edited(cal, 7, "3,8200,20,5,0,20,0"),
         "line 7:",
         "8 fields expected, the line has 7"},
        {curves, cal, edited(cal, 7, "3,8200,20,5,0,20,0,50,1"), "line 7:", "more than 8 fields"},
        {curves, cal, edited(cal, 8, "300,8204,0,0,0,0,0,0"), "line 8:", "field 1 is 300"},
        {curves,
         cal,
         edited(cal, 9, "5,8208,ohms,0,0,0,0,0"),
         "line 9:",
         "(\"ohms\") is not a number"},
        {curves, cal, edited(cal, 40, "1,,10,0,0,10,0,0"), "line 40:", "field 2 is empty"},
        {curves, cal, edited(cal, 1, "2"), "line 1:", "2 fields expected, the line has 1"},
        {curves, cal, edited(cal, 1, "-1,None"), "line 1:", "must be 0 to 512"},
        {curves, cal, edited(cal, 1, "3,Three"), "line 72:", "heading line 1 of curve 3"},
        {curves, cal, edited(cal, 39), "line 39:", "heading line 3 of curve 2"},
        {curves, cal, edited(cal, 51), "line 51:", "point 12 of curve 2"},
        {nmea, nm, edited(nm, 1, "a,b,c,d"), "line 1:", "5 fields expected, the line has 4"},
        {nmea, nm, edited(nm, 1, "a,b,c,d,e,"), "line 1:", "more than 5 fields"},
        {nmea, nm, edited(nm, 2, "1,G,talker 1"), "line 2:", "\"G\" has fewer than 2 characters"},
        {nmea, nm, edited(nm, 130, "1,RM"), "line 130:", "\"RM\" has fewer than 3 characters"},
        {nmea, nm, edited(nm, 3, "2"), "line 3:", "at least 2 fields expected, the line has 1"},
        {nmea, nm, edited(nm, 4, "x,GN"), "line 4:", "not a number"},
        {nmea, nm, edited(nm, 5, "4,\"II"), "line 5:", "no closing quote"},
        {nmea, nm, edited(nm, 6, "5,\"IN\"x"), "line 6:", "text after its closing quote"},
        {nmea, nm, edited(nm, 258, "end"), "line 258:", "not a number"},
        {nmea, nm, edited(nm, 258), "line 258:", "the file ends before this line"},
        {nmea, nm, edited(nm, 101), "line 101:", "two-character code entry 100"},
        {points, dp, edited(dp, 2, "1, 300"), "line 2:", "field 2 is 300"},
        {points, dp, edited(dp, 3, "2"), "line 3:", "at least 2 fields expected"},
        {points, dp, edited(dp, 1, ""), "line 1:", "5 fields expected, the line has 0"},
        {points, dp, edited(dp, 66), "line 66:", "the closing number"},
        {points, dp, "", "line 1:", "the five header texts"},
    };
    for (const auto &c : cases) {
        const std::string problem = c.check(c.text, c.name);
        EXPECT_TRUE(test::failsWith(problem, c.name + ", " + c.where, c.reason)) << problem;
    }
}
