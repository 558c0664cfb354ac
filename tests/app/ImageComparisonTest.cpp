#include "app/ImageComparison.h"

#include "config/ConfigFile.h"
#include "config/ConfigTestSupport.h"
#include "config/Defaults.h"
#include "transfer/TransferTestSupport.h"

namespace orvane::test {
namespace {

ConfigImage defaultImage()
{
    ConfigImage image;
    writeDefaultConfigurations(image.CDC);
    writeDefaultIntNvm(image.IntNvm);
    for (int n = 1; n <= 32; ++n)
        writeDefaultCurve(image.CalCurve, n);
    storeCheckBytes(image);
    return image;
}

// One change in each of several categories, and one byte nothing names.
ConfigImage editedImage()
{
    ConfigImage b = defaultImage();
    b.CDC(3, 28) = 9;            // display 1: Engine RPM -> Boat Speed
    b.CDC(3, 2) |= 0x20;         // the FUEL icon
    b.CDC.setWord(3, 91, 2500);  // left bar (oil pressure, one decimal)
    b.IntNvm[1] |= 0x20;         // Knots -> MPH
    b.IntNvm.setWord(21, 123);   // fuel tank, tenths
    b.IntNvm[106] = 7;           // damping of Boat Speed
    b.IntNvm.setWord(130, 6500); // Engine RPM high alarm
    b.IntNvm[98] = 9;            // fuel sender
    b.IntNvm[74] = 20;           // NMEA #2A talker SD -> II
    b.IntNvm[230] = 1;           // a spare alarm record
    for (int p = 5; p <= 8; ++p)
        b.CalCurve(19, p, 2) += 1;
    storeCheckBytes(b);
    return b;
}

const DifferenceReport kEditedReport = {
    {"Display Configurations",
     {"Configuration 3, digital display 1: Engine RPM \u2192 Boat Speed",
      "Configuration 3, icon FUEL: off \u2192 on",
      "Configuration 3, left bar upper limit: 200.0 \u2192 250.0"}},
    {"Units of Measure", {"Speed units: Knots/NM \u2192 MPH/Miles"}},
    {"Sender Curves",
     {"Fuel sender: 7:  Linear: USA 10-180 ohm \u2192 9:  User defined fuel sender curve",
      "Sender curve 19: 4 points differ"}},
    {"Fuel Tank Size", {"Fuel tank size: 100.0 \u2192 12.3"}},
    {"Display Damping", {"Display damping of Boat Speed: 3 \u2192 7"}},
    {"Hi/Lo Alarm Values", {"Engine RPM high alarm: 9999 \u2192 6500"}},
    {"NMEA Inputs", {"NMEA input #2A: SD DBT, 1 comma \u2192 II DBT, 1 comma"}},
    {"Other Settings", {"Settings byte 230: 3 \u2192 1"}},
};

TEST(ImageComparisonTest, TwoKnownImagesListExactlyTheirDifferences)
{
    EXPECT_EQ(describeDifferences(compareImages(defaultImage(), editedImage())), kEditedReport);
    EXPECT_TRUE(describeDifferences(compareImages(defaultImage(), defaultImage())).empty());
}

// Every differing bit gets a line, and no line reads the same on both sides.
TEST(ImageComparisonTest, NoDifferingBitIsLeftSilentOrWordedAlike)
{
    const ConfigImage a = defaultImage();
    const auto expectOneGroup = [&](const ConfigImage &b, std::string_view title, int where) {
        const DifferenceReport report = describeDifferences(compareImages(a, b));
        ASSERT_EQ(report.size(), 1u) << where;
        EXPECT_EQ(report[0].title, title) << where;
        EXPECT_FALSE(report[0].lines.empty()) << where;
        for (const std::string &line : report[0].lines) {
            const size_t arrow = line.find(" \u2192 ");
            const size_t colon = line.find(": ");
            ASSERT_LT(colon, arrow) << line;
            EXPECT_NE(line.substr(colon + 2, arrow - colon - 2),
                      line.substr(arrow + std::string_view(" \u2192 ").size()))
                << line;
        }
    };
    for (int i = 0; i < 256; ++i)
        for (int bit = 0; bit < 8; ++bit) {
            ConfigImage b = a;
            b.IntNvm[i] ^= uint8_t(1 << bit);
            expectOneGroup(b, groupTitle(settingsGroup(i)), i * 8 + bit);
        }
    for (int n = 0; n < 128; ++n)
        for (int bit = 0; bit < 8; ++bit) {
            ConfigImage b = a;
            b.CDC(9, n) ^= uint8_t(1 << bit);
            expectOneGroup(b, "Display Configurations", n * 8 + bit);
        }
    for (int n = 1; n <= 32; ++n) {
        ConfigImage b = a;
        b.CalCurve(n, 32, 1) += 0.5f;
        expectOneGroup(b, "Sender Curves", n);
    }

    ConfigImage b = a;
    b.IntNvm.setWord(114, uint16_t(a.IntNvm.word(114) + 1));
    EXPECT_EQ(describeDifferences(compareImages(a, b)).at(0).lines,
              std::vector<std::string>{
                  "Engine maintenance alarm: 200.0 hours \u2192 200 hours 1 minute"});
}

TEST(ImageComparisonTest, ConfigurationFilesCompareAndOneThatCannotBeReadIsNamed)
{
    TempFolder folder;
    FakePlatform fake;
    ConfigImage a = defaultImage();
    ConfigImage b = editedImage();
    b.IntNvm[6] = 1; // reading a file makes configuration 1 the edited one
    ASSERT_TRUE(saveConfigsFileAs(a, FileState{}, 1, fake.platform, folder.file("A.CFG")).ok());
    ASSERT_TRUE(saveConfigsFileAs(b, FileState{}, 2, fake.platform, folder.file("B.CFG")).ok());

    const Result<DifferenceReport> report
        = compareConfigFiles(fake.platform, folder.file("A.CFG"), folder.file("B.CFG"));
    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(*report, kEditedReport);

    ASSERT_TRUE(fake.files.writeFileAtomically(folder.file("BAD.CFG"), "not a file\r\n").ok());
    const Result<DifferenceReport> bad
        = compareConfigFiles(fake.platform, folder.file("A.CFG"), folder.file("BAD.CFG"));
    ASSERT_FALSE(bad.ok());
    EXPECT_TRUE(bad.error().starts_with("The file " + folder.file("BAD.CFG")
                                        + " is not a complete configuration file."))
        << bad.error();
}

class CompareWithOrvaneTest : public TransferTest
{};

TEST_F(CompareWithOrvaneTest, WordsWhatAnUploadWouldChangeAndWritesNothing)
{
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    state.document.image.CDC(3, 28) = 9;
    state.document.image.IntNvm.setWord(21, 123);
    const auto nvm = instrumentNvm();
    const auto memory = eeprom();

    const std::optional<DifferenceReport> report
        = compareWithOrvane(transfers, state.transfer.UploadSelection);
    ASSERT_TRUE(report);
    EXPECT_EQ(*report,
              (DifferenceReport{
                  {"Display Configurations",
                   {"Configuration 3, digital display 1: Engine RPM \u2192 Boat Speed"}},
                  {"Fuel Tank Size", {"Fuel tank size: 100.0 \u2192 12.3"}},
              }));
    EXPECT_EQ(instrumentNvm(), nvm);
    EXPECT_EQ(eeprom(), memory);
    EXPECT_FALSE(link.linkState().IsConnected);

    // Without the configurations ticked, they are neither read nor compared.
    Selection ticks = state.transfer.UploadSelection;
    ticks[size_t(categoryIndex(Category::DisplayConfigurations))] = 0;
    const std::optional<DifferenceReport> settingsOnly = compareWithOrvane(transfers, ticks);
    ASSERT_TRUE(settingsOnly);
    EXPECT_EQ(*settingsOnly,
              (DifferenceReport{{"Fuel Tank Size", {"Fuel tank size: 100.0 \u2192 12.3"}}}));

    instrument().faults().noAnswer = true;
    EXPECT_FALSE(compareWithOrvane(transfers, ticks));
}

} // namespace
} // namespace orvane::test
