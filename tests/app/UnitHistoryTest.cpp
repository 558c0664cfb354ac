#include "app/FileMenu.h"

#include "config/ConfigTestSupport.h"
#include "transfer/TransferTestSupport.h"
#include "transfer/UnitCopies.h"

// Restoring a unit: the copy an upload kept is found in the unit's history,
// opened as the working image and uploaded.

namespace orvane::test {
namespace {

class AlwaysUpload : public UploadReviewView
{
public:
    bool confirmUpload(const Comparison &) override { return true; }
    bool confirmRestore(const Comparison &comparison) override
    {
        restores.push_back(comparison);
        return true;
    }
    bool uploadUnchanged() override { return true; }

    std::vector<Comparison> restores;
};

class UnitHistoryTest : public TransferTest
{
protected:
    UnitHistoryTest()
    {
        fake.files.userDataDir = folder.path();
        state.files.WorkingFolder = folder.path();
        transfers.setUploadReview(&review);
    }

    TempFolder folder;
    AlwaysUpload review;
};

TEST_F(UnitHistoryTest, TheKeptCopyOpensAndUploadsTheUnitBackToWhatItHeld)
{
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed); // the PC's image
    ASSERT_EQ(listUnitHistory(fake.files).size(), 1u);
    std::filesystem::remove_all(folder.file("units"));
    const std::array<uint8_t, 512> nvm = instrumentNvm();
    const std::array<uint8_t, 65536> memory = eeprom();

    // An upload that changes a configuration, a setting and a curve.
    state.document.image.CDC(3, 28) = 9;
    state.document.image.IntNvm.setWord(21, 123);
    state.document.image.CalCurve(9, 10, 2) += 300;
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    ASSERT_NE(eeprom()[size_t(configRecordAddress(3) + 28)],
              memory[size_t(configRecordAddress(3) + 28)]);

    std::vector<UnitHistory> units = listUnitHistory(fake.files);
    ASSERT_EQ(units.size(), 1u);
    ASSERT_EQ(units[0].copies.size(), 1u);
    EXPECT_EQ(units[0].copies[0].changes,
              "Display Configurations 3; Sender Curves 9; Fuel Tank Size");
    link.setComPortNumber(7);
    ASSERT_EQ(openConfigFileAt(state, link, fake.platform, units[0].copies[0].configFile),
              FileCommandResult::Done);
    EXPECT_TRUE(state.document.changed);
    EXPECT_EQ(link.linkState().ComPortNumber, 1); // the port the copy was taken on
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);

    // Everything is back, apart from the counter of uploads and its check byte.
    for (int i = 1; i < 256; ++i) {
        if (i == 10 || i == 11)
            continue;
        EXPECT_EQ(instrumentNvm()[size_t(i)], nvm[size_t(i)]) << i;
    }
    EXPECT_EQ(eeprom(), memory);
    units = listUnitHistory(fake.files);
    ASSERT_EQ(units[0].copies.size(), 2u);
    EXPECT_EQ(units[0].copies[0].changes,
              "Display Configurations 3; Sender Curves 9; Fuel Tank Size");
}

TEST_F(UnitHistoryTest, RestoringExactlyGivesBackEveryByteOfAUnitWithOddRecords)
{
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed); // the PC's image
    std::filesystem::remove_all(folder.file("units"));
    // What no configuration file can give back: a configuration whose check
    // byte is wrong, a curve no points give back (point 31 at the top input),
    // configuration 9 as the one the unit shows, no date of the first upload
    // yet, and the upload counter, which every upload counts up.
    eeprom()[size_t(configRecordAddress(5) + 40)] ^= 0x01;
    eeprom()[size_t(curveRecordAddress(22) + 120)] = 0x03;
    eeprom()[size_t(curveRecordAddress(22) + 121)] = 0xFF;
    instrumentNvm()[6] = 9;
    std::fill_n(instrumentNvm().begin() + 17, 3, uint8_t(255));
    fixInstrumentCheckByte();
    const std::array<uint8_t, 512> nvm = instrumentNvm();
    const std::array<uint8_t, 65536> memory = eeprom();

    // An upload over it of every category, as the PC's image has them.
    state.document.image.CDC(3, 28) = 9;
    state.document.image.IntNvm.setWord(21, 123);
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    ASSERT_NE(eeprom(), memory);
    ASSERT_NE(instrumentNvm(), nvm);

    const std::vector<UnitHistory> units = listUnitHistory(fake.files);
    ASSERT_EQ(units.size(), 1u);
    ASSERT_EQ(units[0].copies.size(), 1u);
    // As a command line names it: by its raw file.
    const Result<UnitCopy> named = unitCopyAt(fake.files, units[0].copies[0].rawFile);
    ASSERT_TRUE(named.ok()) << named.error();
    EXPECT_EQ(named->configFile, units[0].copies[0].configFile);
    EXPECT_EQ(named->taken, units[0].copies[0].taken);
    EXPECT_EQ(named->serial, "240530007");
    instrument().takeFrameLog();
    const TransferResult restored = transfers.RestoreUnitExactly(*named);
    ASSERT_EQ(outcomeOf(restored), TransferOutcome::Completed) << restored.error();

    EXPECT_EQ(instrumentNvm(), nvm);
    EXPECT_EQ(eeprom(), memory);
    // Only what differed went: the settings and configurations 3 and 5 and
    // curve 22.
    std::vector<std::string> writes;
    for (const std::string &line : instrument().frameLog())
        if (line.starts_with("write "))
            writes.push_back(line);
    EXPECT_EQ(
        writes,
        (std::vector<std::string>{"write internal NVM 256 @0",
                                  "write EEPROM 128 @4352",
                                  "write EEPROM 128 @4608",
                                  "write EEPROM 128 @" + std::to_string(curveRecordAddress(22))}));
    // The user saw it all first, the counter going back among the rest.
    ASSERT_EQ(review.restores.size(), 1u);
    const ImageDifferences &shown = review.restores[0].differences;
    EXPECT_NE(std::find(shown.settings.begin(), shown.settings.end(), 11), shown.settings.end());
    EXPECT_NE(std::find(shown.settings.begin(), shown.settings.end(), 17), shown.settings.end());
    ASSERT_EQ(shown.curves.size(), 1u);
    EXPECT_TRUE(shown.curves[0].beforeOdd.empty());
    EXPECT_TRUE(shown.curves[0].afterOdd.starts_with("its last value "))
        << shown.curves[0].afterOdd;
    // What the unit held just before is a copy of its own.
    EXPECT_EQ(listUnitHistory(fake.files)[0].copies.size(), 2u);
    EXPECT_EQ(link.linkState().lineUser, LineUser::None);
    EXPECT_FALSE(link.linkState().IsConnected);
}

TEST_F(UnitHistoryTest, ARestoreThatCannotBeExactOrIsForAnotherUnitWritesNothing)
{
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    state.document.image.CDC(3, 28) = 9;
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    const std::vector<UnitHistory> units = listUnitHistory(fake.files);
    ASSERT_EQ(units.size(), 1u);
    const UnitCopy copy = units[0].copies[0];
    const std::string raw = *fake.files.readFile(copy.rawFile);
    const std::array<uint8_t, 65536> memory = eeprom();

    // The raw copy gone, or short of records: refused before connecting.
    const struct
    {
        const char *what;
        std::optional<std::string> rawText;
        std::string why;
    } unreadable[] = {
        {"missing", std::nullopt, copy.rawFile + " cannot be read: "},
        {"short of its curves",
         raw.substr(0, raw.find("EEPROM 3280:")), // curve 6, the first curve line
         copy.rawFile + " does not hold every configuration and curve record."},
    };
    for (const auto &c : unreadable) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(copy.rawFile);
        if (c.rawText) {
            ASSERT_TRUE(fake.files.writeFileAtomically(copy.rawFile, *c.rawText).ok());
        }
        const size_t sent = fake.port.written.size();
        const TransferResult result = transfers.RestoreUnitExactly(copy);
        ASSERT_FALSE(result.ok());
        EXPECT_TRUE(result.error().starts_with("The copy of unit 240530007 taken " + copy.taken
                                               + " cannot restore the unit exactly: " + c.why))
            << result.error();
        EXPECT_TRUE(result.error().ends_with("Open the copy and upload it instead: that gives the "
                                             "unit the settings its configuration file holds."));
        EXPECT_EQ(fake.port.written.size(), sent);
        EXPECT_EQ(fake.dialogs.messages().back().title, "Restore This Unit Exactly");
    }

    const std::string bad = folder.file("units/240530007/DEFAULT.CFG.bad");
    const std::string gone = folder.file("units/240530007/000009_gone.RAW");
    EXPECT_EQ(unitCopyAt(fake.files, bad).error(),
              bad + " is not a copy of a unit: its name must end in .CFG or .RAW.");
    EXPECT_EQ(unitCopyAt(fake.files, gone).error(), gone + " cannot be found.");

    // Another unit on the line: read, but nothing written.
    ASSERT_TRUE(fake.files.writeFileAtomically(copy.rawFile, raw).ok());
    instrument().setSerial(24, 5, 30, 8);
    instrument().takeFrameLog();
    const TransferResult other = transfers.RestoreUnitExactly(copy);
    EXPECT_EQ(other.error(),
              "The Orvane attached is unit 240530008, but this copy is of unit 240530007. Nothing "
              "was written to the Orvane. Attach unit 240530007 to restore it, or open the copy "
              "and upload it to give unit 240530008 its settings.");
    for (const std::string &line : instrument().frameLog())
        EXPECT_FALSE(line.starts_with("write ")) << line;
    EXPECT_EQ(eeprom(), memory);
    EXPECT_TRUE(review.restores.empty());
}

TEST_F(UnitHistoryTest, ACopyThatCannotBeReadChangesNothing)
{
    const ConfigImage before = state.document.image;
    UnitCopy copy;
    copy.configFile = folder.file("missing.CFG");
    EXPECT_EQ(openConfigFileAt(state, link, fake.platform, copy.configFile),
              FileCommandResult::Failed);
    EXPECT_EQ(state.document.image, before);
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_TRUE(fake.dialogs.messages()[0].text.starts_with("The file " + copy.configFile
                                                            + " could not be opened"));
}

} // namespace
} // namespace orvane::test
