#include "ConfigTestSupport.h"

#include "config/ConfigFile.h"
#include "config/FileCommands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace orvane;
using namespace orvane::test;

TEST(ConfigFileWriter, DefaultsFileHasTheDescribedLines)
{
    const std::string text = defaultsText({2026, 7, 4, 14, 5, 9});
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    const std::vector<std::string> lines = crlfLines(text);
    ASSERT_EQ(lines.size(), 3351u);
    for (const std::string &line : lines)
        ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line end in " << line;

    auto line = [&](int n) {
        return lines.at(size_t(n - 1));
    };
    EXPECT_EQ(line(1), "Orvane Display Configuration File - Do NOT make any changes!");
    EXPECT_EQ(line(2), "Ver 1.4.31");
    EXPECT_EQ(line(3), "Date created: 07-04-2026.  Time created: 14:05:09");
    EXPECT_EQ(line(4), "*");
    EXPECT_EQ(line(5), "*");
    EXPECT_EQ(line(6), "COMport=, 0 ");
    EXPECT_EQ(line(8), " 1 , 26 ");
    EXPECT_EQ(line(intNvmLine(255)), " 255 , 255 ");
    EXPECT_EQ(line(263), " ");
    EXPECT_EQ(line(263 + 129), " ");
    // XOR of configuration 1's defaults, worked out by hand from the table.
    EXPECT_EQ(line(cdcLine(1, 0)), "CDC( 1 - 0 ),  88 ");
    EXPECT_EQ(line(cdcLine(1, 1)), "CDC( 1 - 1 ),  196 ");
    EXPECT_EQ(line(cdcLine(16, 127)), "CDC( 16 - 127 ),  255 ");
    EXPECT_EQ(line(curveLine(1, 1)), " 10 , 0 ");
    EXPECT_EQ(line(curveLine(1, 32)), " 180 , 1000 ");
    EXPECT_EQ(line(curveLine(32, 32)), " 180 , 1000 ");
    EXPECT_EQ(line(3351), "-1");

    int xorOfBytes = 0;
    for (int i = 1; i <= 255; ++i)
        xorOfBytes ^= lineValue(line(intNvmLine(i)));
    EXPECT_EQ(lineValue(line(7)), xorOfBytes);
}

TEST(ConfigFileWriter, StoresTheCheckBytesItWrites)
{
    ConfigState state = defaultState();
    state.document.image.CDC(2, 40) = 0x3C;
    state.document.image.IntNvm[200] = 0x81;
    const std::vector<std::string> lines = crlfLines(fileTextOf(state));

    EXPECT_EQ(lineValue(lines.at(size_t(intNvmLine(0) - 1))), state.document.image.IntNvm[0]);
    EXPECT_EQ(state.document.image.IntNvm[0], state.document.image.IntNvm.checkByte());
    for (int c = 1; c <= 16; ++c) {
        EXPECT_EQ(lineValue(lines.at(size_t(cdcLine(c, 0) - 1))), state.document.image.CDC(c, 0))
            << c;
        EXPECT_EQ(state.document.image.CDC(c, 0), state.document.image.CDC.checkByte(c)) << c;
    }

    // Configuration 2's check byte depends on configuration 2 alone.
    const uint8_t second = state.document.image.CDC(2, 0);
    state.document.image.CDC(1, 40) ^= 0xFF;
    state.document.image.CDC(3, 40) ^= 0x0F;
    state.document.image.CDC(0, 40) ^= 0x01;
    state.document.image.IntNvm[40] ^= 0x10;
    fileTextOf(state);
    EXPECT_EQ(state.document.image.CDC(2, 0), second);
    state.document.image.CDC(2, 127) ^= 0x21;
    fileTextOf(state);
    EXPECT_EQ(state.document.image.CDC(2, 0), second ^ 0x21);
}

TEST(ConfigFileWriter, PortAndCurveValuesFollowThePrintConvention)
{
    ConfigState state = defaultState();
    state.comPortNumber = 3;
    state.document.image.CalCurve(2, 1, 1) = 0.5f;
    state.document.image.CalCurve(2, 1, 2) = -12.25f;
    state.document.image.CalCurve(2, 2, 1) = 1e-5f;
    state.document.image.CalCurve(2, 2, 2) = 12345678.0f;
    const std::vector<std::string> lines = crlfLines(fileTextOf(state));

    EXPECT_EQ(lines.at(5), "COMport=, 3 ");
    EXPECT_EQ(lines.at(size_t(curveLine(2, 1) - 1)), " .5 ,-12.25 ");
    EXPECT_EQ(lines.at(size_t(curveLine(2, 2) - 1)), " 1E-05 , 1.234568E+07 ");
}

TEST(ConfigFileWriter, NonFiniteCurveValuesStillGiveAReadableFile)
{
    ConfigState state = defaultState();
    state.document.image.CalCurve(5, 3, 1) = std::numeric_limits<float>::infinity();
    state.document.image.CalCurve(5, 3, 2) = std::numeric_limits<float>::quiet_NaN();
    const std::string text = fileTextOf(state);

    ConfigState back;
    EXPECT_EQ(readTextInto(back, text).failure, std::nullopt);
    EXPECT_TRUE(std::isfinite(back.document.image.CalCurve(5, 3, 1)));
    EXPECT_GT(back.document.image.CalCurve(5, 3, 1), 3.4e38f);
    EXPECT_EQ(back.document.image.CalCurve(5, 3, 2), 0.0f);
}

class ConfigFileSave : public ConfigFixtureBase, public ::testing::Test
{};

TEST_F(ConfigFileSave, WritesConfigFileNameInTheWorkingFolder)
{
    WriteDefaultsToRam(state.document, false);
    state.comPortNumber = 4;
    fake.clock.local = {2031, 12, 1, 23, 0, 7};

    const Result<> result
        = SaveConfigsFile(state.document, state.files, state.comPortNumber, platform);

    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_FALSE(state.document.changed);
    const std::string text = readText(folder.file("DEFAULT.CFG"));
    EXPECT_EQ(crlfLines(text).size(), 3351u);
    EXPECT_EQ(crlfLines(text).at(2), "Date created: 12-01-2031.  Time created: 23:00:07");
    EXPECT_EQ(crlfLines(text).at(5), "COMport=, 4 ");
}

TEST_F(ConfigFileSave, FailedWriteIsReportedAndChangesOnlyTheCheckBytes)
{
    // Tests run as root, so permissions cannot stop a write: a parent that is
    // a regular file does.
    writeText(folder.file("blocker"), "not a folder");
    state.files.ConfigFileName = "blocker/DEFAULT.CFG";
    WriteDefaultsToRam(state.document, false);
    ConfigState before = state;

    const Result<> result
        = SaveConfigsFile(state.document, state.files, state.comPortNumber, platform);

    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.error().empty());
    EXPECT_TRUE(state.document.changed);
    storeCheckBytes(before.document.image);
    EXPECT_EQ(state.document.image, before.document.image);
    EXPECT_EQ(readText(folder.file("blocker")), "not a folder");
}
