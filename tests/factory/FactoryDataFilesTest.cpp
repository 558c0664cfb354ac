#include "FactoryFixtures.h"

#include "factory/CalibrationCurvesFile.h"
#include "factory/DecimalPointsFile.h"
#include "factory/NmeaTablesFile.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace orvane;

namespace {

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string joined(const std::vector<std::string> &lines)
{
    std::string text;
    for (const auto &line : lines)
        text += line + "\r\n";
    return text;
}

// The fixture with line n (1-based) replaced.
std::string withLine(const std::string &name, int n, const std::string &replacement)
{
    auto lines = linesOf(test::fixture(name));
    lines.at(size_t(n - 1)) = replacement;
    return joined(lines);
}

// The fixture's first n lines.
std::string firstLines(const std::string &name, int n)
{
    auto lines = linesOf(test::fixture(name));
    lines.resize(size_t(n));
    return joined(lines);
}

// Any of the three readers, reduced to its verdict.
template<auto read>
std::string problemIn(const std::string &text, std::string_view name)
{
    const auto result = read(text, name);
    return result ? std::string() : result.error();
}

} // namespace

TEST(CalibrationCurvesFile, EachCurveIsOneBlockAtItsFirstPointAddress)
{
    const auto blocks = readCalibrationCurves(test::fixture("CALCURVS.DAT"), "CALCURVS.DAT");
    ASSERT_TRUE(blocks.ok()) << blocks.error();
    ASSERT_EQ(blocks->size(), 2u);
    EXPECT_EQ((*blocks)[0].address, 8192);
    EXPECT_EQ((*blocks)[1].address, 8320);
    EXPECT_EQ((*blocks)[0].bytes.size(), 128u);
    const std::vector<uint8_t> firstPoints(blocks->front().bytes.begin(),
                                           blocks->front().bytes.begin() + 8);
    EXPECT_EQ(firstPoints, (std::vector<uint8_t>{0, 10, 0, 0, 0, 15, 0, 25}));
    const std::vector<uint8_t> lastPoint(blocks->back().bytes.end() - 4,
                                         blocks->back().bytes.end());
    EXPECT_EQ(lastPoint, (std::vector<uint8_t>{1, 64, 3, 7}));

    const auto none = readCalibrationCurves("0,No curves\r\nanything\r\n", "CALCURVS.DAT");
    ASSERT_TRUE(none.ok()) << none.error();
    EXPECT_TRUE(none->empty());

    const auto top
        = readCalibrationCurves(withLine("CALCURVS.DAT", 5, "1, 65408, 10, 0.0, 0, 10, 0, 0"),
                                "CALCURVS.DAT");
    ASSERT_TRUE(top.ok()) << top.error();
    EXPECT_EQ(top->front().address, 65408);
}

TEST(NmeaTablesFile, CodesBecomeCharacterBytesAndBlocksFollowTheTables)
{
    const auto tables = readNmeaTables(test::fixture("NVMNMEAG.DAT"), "NVMNMEAG.DAT");
    ASSERT_TRUE(tables.ok()) << tables.error();
    EXPECT_EQ(tables->twoCharacter[0], 'G');
    EXPECT_EQ(tables->twoCharacter[1], 'P');
    EXPECT_EQ(tables->twoCharacter[128], 'M'); // entry 65: "MC"
    EXPECT_EQ(tables->twoCharacter[129], 'C');
    const std::vector<uint8_t> first(tables->threeCharacter.begin(),
                                     tables->threeCharacter.begin() + 4);
    EXPECT_EQ(first, (std::vector<uint8_t>{'R', 'M', 'C', 0}));
    const std::vector<uint8_t> last(tables->threeCharacter.end() - 4, tables->threeCharacter.end());
    EXPECT_EQ(last, (std::vector<uint8_t>{'X', 'E', 'X', 0}));

    // Quotes are not part of a code; anything after the code is not read.
    const auto quoted
        = readNmeaTables(withLine("NVMNMEAG.DAT", 2, "1, \"ZZ\" ,\"x"), "NVMNMEAG.DAT");
    ASSERT_TRUE(quoted.ok()) << quoted.error();
    EXPECT_EQ(quoted->twoCharacter[0], 'Z');
    EXPECT_EQ(quoted->twoCharacter[1], 'Z');
}

TEST(DecimalPointsFile, EntriesAreTheSecondFieldOfEachLine)
{
    const auto table = readDecimalPoints(test::fixture("DECPTSA.DAT"), "DECPTSA.DAT");
    ASSERT_TRUE(table.ok()) << table.error();
    EXPECT_EQ((*table)[0], 0);
    EXPECT_EQ((*table)[1], 3);
    EXPECT_EQ((*table)[63], 1);
}

TEST(FactoryDataFiles, BadFilesNameTheFileAndLine)
{
    using Check = std::string (*)(const std::string &, std::string_view);
    const Check curves = problemIn<readCalibrationCurves>;
    const Check nmea = problemIn<readNmeaTables>;
    const Check points = problemIn<readDecimalPoints>;
    const std::string cal = "CALCURVS.DAT";
    const std::string nm = "NVMNMEAG.DAT";
    const std::string dp = "DECPTSA.DAT";
    const struct
    {
        Check check;
        std::string name;
        std::string text;
        const char *where;
        const char *reason;
    } cases[] = {
        {curves,
         cal,
         withLine(cal, 5, "1, 8192, 10, 0.0, 0, 10, 0, 256"),
         "line 5:",
         "field 8 is 256"},
        {curves,
         cal,
         withLine(cal, 5, "1, 65409, 10, 0, 0, 1, 0, 0"),
         "line 5:",
         "must be 0 to 65408"},
        {curves,
         cal,
         withLine(cal, 6, "2, 70000, 15, 2.5, 0, 15, 0, 25"),
         "line 6:",
         "must be 0 to 65535"},
        {curves,
         cal,
         withLine(cal, 7, "3, 8200, 20, 5.0, 0, 20, 0"),
         "line 7:",
         "8 fields expected, the line has 7"},
        {curves,
         cal,
         withLine(cal, 7, "3, 8200, 20, 5.0, 0, 20, 0, 50, 1"),
         "line 7:",
         "more than 8 fields"},
        {curves,
         cal,
         withLine(cal, 8, "300, 8204, 25, 7.5, 0, 25, 0, 75"),
         "line 8:",
         "field 1 is 300"},
        {curves,
         cal,
         withLine(cal, 9, "5, 8208, ohms, 10.0, 0, 30, 0, 100"),
         "line 9:",
         "(\"ohms\") is not a number"},
        {curves, cal, withLine(cal, 40, "1,,10,0,0,10,0,0"), "line 40:", "field 2 is empty"},
        {curves, cal, withLine(cal, 1, "2"), "line 1:", "2 fields expected, the line has 1"},
        {curves, cal, withLine(cal, 1, "-1,None"), "line 1:", "must be 0 to 512"},
        {curves, cal, withLine(cal, 1, "3,Three"), "line 72:", "heading line 1 of curve 3"},
        {curves, cal, firstLines(cal, 38), "line 39:", "heading line 3 of curve 2"},
        {curves, cal, firstLines(cal, 50), "line 51:", "point 12 of curve 2"},
        {nmea, nm, withLine(nm, 1, "a,b,c,d"), "line 1:", "5 fields expected, the line has 4"},
        {nmea, nm, withLine(nm, 1, "a,b,c,d,e,"), "line 1:", "more than 5 fields"},
        {nmea, nm, withLine(nm, 2, "1,G,talker 1"), "line 2:", "\"G\" has fewer than 2 characters"},
        {nmea, nm, withLine(nm, 130, "1,RM"), "line 130:", "\"RM\" has fewer than 3 characters"},
        {nmea, nm, withLine(nm, 3, "2"), "line 3:", "at least 2 fields expected, the line has 1"},
        {nmea, nm, withLine(nm, 4, "x,GN"), "line 4:", "not a number"},
        {nmea, nm, withLine(nm, 5, "4,\"II"), "line 5:", "no closing quote"},
        {nmea, nm, withLine(nm, 6, "5,\"IN\"x"), "line 6:", "text after its closing quote"},
        {nmea, nm, withLine(nm, 258, "end"), "line 258:", "not a number"},
        {nmea, nm, firstLines(nm, 257), "line 258:", "the closing number"},
        {nmea, nm, firstLines(nm, 100), "line 101:", "two-character code entry 100"},
        {points, dp, withLine(dp, 2, "1, 300"), "line 2:", "field 2 is 300"},
        {points, dp, withLine(dp, 3, "2"), "line 3:", "at least 2 fields expected"},
        {points, dp, withLine(dp, 1, ""), "line 1:", "5 fields expected, the line has 0"},
        {points, dp, firstLines(dp, 65), "line 66:", "the closing number"},
        {points, dp, "", "line 1:", "the five header texts"},
    };
    for (const auto &c : cases) {
        const std::string problem = c.check(c.text, c.name);
        ASSERT_FALSE(problem.empty()) << c.name << " " << c.where << c.reason;
        EXPECT_EQ(problem.rfind(c.name + ", " + c.where, 0), 0u) << problem;
        EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
    }
}
