#include "ConfigTestSupport.h"

#include "config/ConfigFile.h"
#include "config/FileCommands.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

// An image unlike the defaults in every table, with curve values that need
// the decimal point, exponents and the sign.
ConfigState unusualState()
{
    ConfigState state;
    uint32_t seed = 12345;
    auto nextByte = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return uint8_t(seed >> 16);
    };
    for (int i = 0; i <= 255; ++i)
        state.document.image.IntNvm[i] = nextByte();
    for (int c = 1; c <= 16; ++c) {
        for (int n = 0; n <= 127; ++n)
            state.document.image.CDC(c, n) = nextByte();
    }
    for (int k = 1; k <= 32; ++k) {
        for (int a = 1; a <= 32; ++a) {
            state.document.image.CalCurve(k, a, 1) = float(k * 100 + a) + 0.25f;
            state.document.image.CalCurve(k, a, 2) = -float(nextByte() + 1) / 8.0f;
        }
    }
    state.document.image.CalCurve(7, 1, 1) = 0.5f;
    state.document.image.CalCurve(7, 1, 2) = 1450.4f;
    state.document.image.CalCurve(7, 2, 1) = 1e-5f;
    state.document.image.CalCurve(7, 2, 2) = -0.001f;
    state.comPortNumber = 7;
    return state;
}

// A state whose every cell differs from what any file here holds.
ConfigState sentinelState()
{
    ConfigState state;
    for (int i = 0; i <= 256; ++i)
        state.document.image.IntNvm[i] = 0xEE;
    for (int c = 0; c <= 16; ++c) {
        for (int n = 0; n <= 128; ++n)
            state.document.image.CDC(c, n) = 0xEE;
    }
    for (int k = 0; k <= 32; ++k) {
        for (int a = 0; a <= 32; ++a) {
            for (int col = 0; col <= 2; ++col)
                state.document.image.CalCurve(k, a, col) = -7.0f;
        }
    }
    state.comPortNumber = 99;
    return state;
}

std::string textOf(ConfigState state)
{
    return fileTextOf(state);
}

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
        text.replace(pos, from.size(), to);
    return text;
}

} // namespace

TEST(ConfigFileReader, RoundTripRestoresEveryWrittenValue)
{
    ConfigState original = unusualState();
    original.document.image.CalCurve(7, 3, 1) = 12345678.0f;
    const std::string text = fileTextOf(original, {2026, 7, 4, 14, 5, 9});

    ConfigState back = sentinelState();
    const ConfigRead read = readTextInto(back, text);
    ASSERT_EQ(read.failure, std::nullopt);

    EXPECT_EQ(read.comPortNumber, 7);
    EXPECT_EQ(back.files.FileHeaderLines[1],
              "Orvane Display Configuration File - Do NOT make any changes!");
    EXPECT_EQ(back.files.FileHeaderLines[3], "Date created: 07-04-2026.  Time created: 14:05:09");
    EXPECT_EQ(back.files.FileHeaderLines[5], "*");
    for (int i = 0; i <= 255; ++i)
        EXPECT_EQ(back.document.image.IntNvm[i], i == 6 ? 1 : original.document.image.IntNvm[i])
            << i;
    EXPECT_EQ(back.document.image.IntNvm[256], 0xEE);
    for (int c = 0; c <= 16; ++c) {
        for (int n = 0; n <= 128; ++n) {
            const bool carried = c >= 1 && n <= 127;
            EXPECT_EQ(back.document.image.CDC(c, n),
                      carried ? original.document.image.CDC(c, n) : 0xEE)
                << c << "," << n;
        }
    }
    for (int k = 1; k <= 32; ++k) {
        for (int a = 1; a <= 32; ++a) {
            if (k == 7 && a == 3)
                continue;
            EXPECT_EQ(back.document.image.CalCurve(k, a, 1),
                      original.document.image.CalCurve(k, a, 1))
                << k << "," << a;
            EXPECT_EQ(back.document.image.CalCurve(k, a, 2),
                      original.document.image.CalCurve(k, a, 2))
                << k << "," << a;
        }
    }
    // Seven significant digits are all a file carries.
    EXPECT_EQ(back.document.image.CalCurve(7, 3, 1), 12345680.0f);
    EXPECT_EQ(back.document.image.CalCurve(0, 1, 1), -7.0f);
    EXPECT_EQ(back.document.image.CalCurve(1, 0, 1), -7.0f);

    // A second pass is stable: what was read writes the same text.
    back.comPortNumber = read.comPortNumber;
    const std::string second = fileTextOf(back);
    ConfigState again;
    const ConfigRead readAgain = readTextInto(again, second);
    ASSERT_EQ(readAgain.failure, std::nullopt);
    again.comPortNumber = readAgain.comPortNumber;
    EXPECT_EQ(fileTextOf(again), second);
}

TEST(ConfigFileReader, ByteOutOfRangeStopsAtItsLineAndKeepsEarlierItems)
{
    const std::string good = textOf(unusualState());
    const int line = intNvmLine(5);
    ConfigState state = sentinelState();

    const ConfigRead read = readTextInto(state, withLine(good, line, " 5 , 256 "));
    const auto &failure = read.failure;

    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, line);
    EXPECT_EQ(failure->expected, "a byte 0..255 for IntNvm byte 5");
    EXPECT_EQ(failure->found, "\"256\"");
    ConfigState expected = unusualState();
    storeCheckBytes(expected.document.image);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(state.document.image.IntNvm[i], expected.document.image.IntNvm[i]) << i;
    for (int i = 5; i <= 255; ++i)
        EXPECT_EQ(state.document.image.IntNvm[i], 0xEE) << i;
    EXPECT_EQ(read.comPortNumber, 7);
    EXPECT_EQ(state.document.image.CDC(1, 1), 0xEE);
}

TEST(ConfigFileReader, MalformedItemsAreNamedWithLineAndContent)
{
    const std::string good = defaultsText();
    struct Case
    {
        int line;
        std::string text;
        std::string expected;
        std::string found;
    };
    const std::vector<Case> cases = {
        {6, "COMport=,-1 ", "a byte 0..255 for the COM port number", "\"-1\""},
        {intNvmLine(9), " 9 , 255.5 ", "a byte 0..255 for IntNvm byte 9", "\"255.5\""},
        {intNvmLine(9), " 9 , 12abc ", "a byte 0..255 for IntNvm byte 9", "\"12abc\""},
        {intNvmLine(9), " 9 , ", "a byte 0..255 for IntNvm byte 9", "nothing"},
        {cdcLine(3, 5),
         "CDC( 3 - 5 ),  abc ",
         "a byte 0..255 for configuration 3 byte 5",
         "\"abc\""},
        {curveLine(4, 2), " 15 , 1E+39 ", "the value of curve 4 point 2", "\"1E+39\""},
        {curveLine(4, 2), " x , 32 ", "the resistance (ohms) of curve 4 point 2", "\"x\""},
        {3351, "end", "the closing line -1", "\"end\""},
    };
    for (const Case &c : cases) {
        ConfigState state;
        const auto failure = readTextInto(state, withLine(good, c.line, c.text)).failure;
        ASSERT_TRUE(failure) << c.text;
        EXPECT_EQ(failure->line, c.line) << c.text;
        EXPECT_EQ(failure->expected, c.expected) << c.text;
        EXPECT_EQ(failure->found, c.found) << c.text;
    }
}

TEST(ConfigFileReader, NumbersReadByTheTypedNumberRules)
{
    const std::string good = defaultsText();
    std::string text = withLine(good, curveLine(2, 1), " .5 , 12. ");
    text = withLine(text, intNvmLine(20), " 20 , 12.0 ");
    text = withLine(text, intNvmLine(21), " 21 , 2.5 ");
    text = withLine(text, intNvmLine(22), "22,&HFF");
    text = withLine(text, 6, "COMport=,\t3");
    ConfigState state;

    const ConfigRead read = readTextInto(state, text);
    ASSERT_EQ(read.failure, std::nullopt);

    EXPECT_EQ(state.document.image.CalCurve(2, 1, 1), 0.5f);
    EXPECT_EQ(state.document.image.CalCurve(2, 1, 2), 12.0f);
    EXPECT_EQ(state.document.image.IntNvm[20], 12);
    EXPECT_EQ(state.document.image.IntNvm[21], 2);
    EXPECT_EQ(state.document.image.IntNvm[22], 255);
    EXPECT_EQ(read.comPortNumber, 3);
}

TEST(ConfigFileReader, HandEditedLabelsAndLineEndsReadTheSameValues)
{
    ConfigState original = unusualState();
    const std::string text = fileTextOf(original);
    std::vector<std::string> lines = crlfLines(text);
    lines[5] = "Port number,3 ";
    for (int i = 0; i <= 255; ++i)
        lines[size_t(intNvmLine(i) - 1)].replace(0,
                                                 lines[size_t(intNvmLine(i) - 1)].find(','),
                                                 "x");
    lines[size_t(cdcLine(2, 7) - 1)]
        = "second display config byte seven," + std::to_string(original.document.image.CDC(2, 7));
    lines[size_t(263 + 129 - 1)] = "";
    const std::string edited = joinLines(lines);

    ConfigState expected;
    ASSERT_EQ(readTextInto(expected, text).failure, std::nullopt);

    for (const std::string &end : {std::string("\n"), std::string("\r")}) {
        ConfigState state;
        const ConfigRead read = readTextInto(state, replaceAll(edited, "\r\n", end));
        ASSERT_EQ(read.failure, std::nullopt);
        EXPECT_EQ(state.document.image, expected.document.image);
        EXPECT_EQ(read.comPortNumber, 3);

        const std::string bad = withLine(edited, cdcLine(16, 1), "CDC( 16 - 1 ), 300");
        const auto failure = readTextInto(state, replaceAll(bad, "\r\n", end)).failure;
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->line, cdcLine(16, 1));
    }
}

TEST(ConfigFileReader, FileEndingEarlyKeepsWhatWasReadAndNamesTheNextItem)
{
    const std::string text = textOf(unusualState());
    const std::vector<std::string> lines = crlfLines(text);
    const std::string cut = joinLines({lines.begin(), lines.begin() + curveLine(4, 1) - 1});
    ConfigState state = sentinelState();

    const auto failure = readTextInto(state, cut).failure;

    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, curveLine(4, 1));
    EXPECT_EQ(failure->expected, "the resistance (ohms) of curve 4 point 1");
    EXPECT_EQ(failure->found, "the end of the file");
    EXPECT_EQ(state.document.image.CalCurve(3, 32, 1),
              unusualState().document.image.CalCurve(3, 32, 1));
    EXPECT_EQ(state.document.image.CalCurve(4, 1, 1), -7.0f);

    ConfigState empty;
    const auto nothing = readTextInto(empty, "").failure;
    ASSERT_TRUE(nothing);
    EXPECT_EQ(nothing->line, 1);
    EXPECT_EQ(nothing->expected, "header line 1");
}

class StartupRead : public ConfigFixtureBase, public ::testing::Test
{};

TEST_F(StartupRead, TruncatedWorkingFileKeepsItsCurvesThroughTheDefaults)
{
    ConfigState written = unusualState();
    const std::vector<std::string> lines = crlfLines(fileTextOf(written));
    writeText(folder.file("DEFAULT.CFG"),
              joinLines({lines.begin(), lines.begin() + curveLine(3, 1) - 1}));

    const auto failure = readConfigsAtStartup(state.document, state.files, platform).failure;
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, curveLine(3, 1));
    EXPECT_TRUE(fake.dialogs.calls.empty());

    WriteDefaultsToRam(state.document, false);
    EXPECT_EQ(state.document.image.CalCurve(2, 5, 2), written.document.image.CalCurve(2, 5, 2));
    EXPECT_EQ(state.document.image.CalCurve(3, 32, 1), 180.0f);
    EXPECT_EQ(state.document.image.IntNvm[7], 5);
}

TEST_F(StartupRead, MissingWorkingFileFailsWithoutAMessage)
{
    const auto failure = readConfigsAtStartup(state.document, state.files, platform).failure;
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 0);
    EXPECT_TRUE(fake.dialogs.calls.empty());
}

TEST_F(StartupRead, WholeWorkingFileMatchesMemory)
{
    WriteDefaultsToRam(state.document, false);
    ASSERT_TRUE(SaveConfigsFile(state.document, state.files, state.comPortNumber, platform).ok());
    state.document.changed = true;
    EXPECT_EQ(readConfigsAtStartup(state.document, state.files, platform).failure, std::nullopt);
    EXPECT_FALSE(state.document.changed);
}
