#include "TransferTestSupport.h"

#include "config/ConfigFile.h"
#include "config/ConfigTestSupport.h"
#include "transfer/RawCopy.h"
#include "transfer/UnitCopies.h"

#include <filesystem>

// The upload with the comparison window attached: it reads what the
// instrument holds, shows what will change, keeps a copy of the unit and
// writes only what differs, leaving the instrument as a full upload would.

namespace orvane::test {
namespace {

class RecordingReview : public UploadReviewView
{
public:
    bool confirmUpload(const Comparison &comparison) override
    {
        comparisons.push_back(comparison);
        return upload;
    }
    bool uploadUnchanged() override
    {
        ++unchangedQuestions;
        return insist;
    }

    bool upload = true;
    bool insist = false;
    std::vector<Comparison> comparisons;
    int unchangedQuestions = 0;
};

struct Memories
{
    std::array<uint8_t, 512> nvm{};
    std::array<uint8_t, 65536> eeprom{};
    bool operator==(const Memories &) const = default;
};

class ReviewedUploadTest : public TransferTest
{
protected:
    ReviewedUploadTest()
    {
        fake.files.userDataDir = folder.path();
        // The instrument first takes the PC's image as it stands.
        EXPECT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
        transfers.setUploadReview(&review);
        instrument().takeFrameLog();
    }

    void editConfiguration3() { state.document.image.CDC(3, 28) = 9; }      // display 1: Boat Speed
    void editConfiguration12() { state.document.image.CDC(12, 2) ^= 0x10; } // the lower RPM icon
    void editFuelTank() { state.document.image.IntNvm.setWord(21, 123); }
    void editCurve19()
    {
        for (int p = 5; p <= 8; ++p)
            state.document.image.CalCurve(19, p, 2) += 500;
    }

    Memories memories() { return {instrumentNvm(), eeprom()}; }
    void restore(const Memories &m)
    {
        instrumentNvm() = m.nvm;
        eeprom() = m.eeprom;
    }

    // The write frames the instrument served since the last call.
    std::vector<std::string> writes()
    {
        std::vector<std::string> lines;
        for (const std::string &line : instrument().takeFrameLog())
            if (line.starts_with("write "))
                lines.push_back(line);
        return lines;
    }

    // The copies kept so far, of the one unit there is.
    std::vector<UnitCopy> copies()
    {
        const std::vector<UnitHistory> units = listUnitHistory(fake.files);
        return units.empty() ? std::vector<UnitCopy>{} : units.front().copies;
    }

    TempFolder folder;
    RecordingReview review;
};

TEST_F(ReviewedUploadTest, WritingOnlyWhatDiffersLeavesTheInstrumentAsAFullUpload)
{
    const struct
    {
        const char *what;
        std::function<void()> edit;
        std::vector<std::string> skippingWrites;
    } cases[] = {
        // Only the counter changes in the settings: it and the check byte go.
        {"one configuration",
         [this] { editConfiguration3(); },
         {"write internal NVM 1 @11", "write internal NVM 1 @0", "write EEPROM 128 @4352"}},
        {"a setting, a configuration and a curve",
         [this] {
             editConfiguration12();
             editFuelTank();
             editCurve19();
         },
         {"write internal NVM 256 @0", "write EEPROM 128 @5504", "write EEPROM 128 @14592"}},
        {"nothing, written all the same", [] {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.edit();
        const Memories start = memories();
        const ConfigImage image = state.document.image;

        state.transfer.forceFullWrite = true;
        review.insist = true;
        ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
        const Memories full = memories();
        EXPECT_EQ(writes().size(), 1u + 16u + 6u);

        restore(start);
        state.document.image = image;
        state.transfer.forceFullWrite = false;
        review.insist = false;
        const TransferResult skipping = transfers.cmdUpload();
        if (c.skippingWrites.empty()) {
            // Nothing to write: the user is told and nothing goes.
            EXPECT_EQ(outcomeOf(skipping), TransferOutcome::Cancelled);
            EXPECT_EQ(memories(), start);
        } else {
            ASSERT_EQ(outcomeOf(skipping), TransferOutcome::Completed) << skipping.error();
            EXPECT_EQ(memories(), full);
        }
        EXPECT_EQ(writes(), c.skippingWrites);
        // The clock and the soft reset go as always.
        EXPECT_EQ(lastWritten(5), (std::vector<uint8_t>{61, 251, 0, 0, 0}));
        EXPECT_FALSE(link.linkState().IsConnected);
    }
}

TEST_F(ReviewedUploadTest, TheUserSeesWhatWillChangeAndCancellingWritesNothing)
{
    editConfiguration3();
    editFuelTank();
    editCurve19();
    review.upload = false;
    const Memories start = memories();
    EXPECT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Cancelled);

    ASSERT_EQ(review.comparisons.size(), 1u);
    const ImageDifferences &d = review.comparisons.front().differences;
    // The counter and the date change with every upload and are not listed.
    EXPECT_EQ(d.settings, (std::vector<int>{21, 22}));
    EXPECT_EQ(d.configurations, (std::vector<std::pair<int, int>>{{3, 28}}));
    EXPECT_EQ(d.curves, (std::vector<CurveDifference>{{19, 4, "", ""}}));
    EXPECT_EQ(review.comparisons.front().before.CDC(3, 28), 1); // Engine RPM
    EXPECT_EQ(review.comparisons.front().after.CDC(3, 28), 9);

    EXPECT_EQ(memories(), start);
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(copies().empty());
    EXPECT_EQ(lastWritten(5), (std::vector<uint8_t>{61, 251, 0, 0, 0}));
    EXPECT_FALSE(view.progressShown);
}

TEST_F(ReviewedUploadTest, TheCopyKeptBeforeWritingHoldsWhatTheUnitHeld)
{
    const Memories before = memories();
    editConfiguration3();
    editFuelTank();
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);

    const std::vector<UnitCopy> kept = copies();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].serial, "240530007"); // the simulator's unit
    EXPECT_EQ(kept[0].taken, "2026-07-04 14:05:09");
    EXPECT_EQ(kept[0].changes, "Display Configurations 3; Fuel Tank Size");

    // The raw file holds the bytes as read.
    const Result<RawCopy> raw = readRawCopyText(*fake.files.readFile(kept[0].rawFile));
    ASSERT_TRUE(raw.ok()) << raw.error();
    const InstrumentSnapshot &s = raw->snapshot;
    EXPECT_TRUE(std::equal(s.settings.begin(), s.settings.end(), before.nvm.begin()));
    for (int c = 1; c <= 16; ++c)
        EXPECT_TRUE(std::equal(s.configurations[size_t(c - 1)].begin(),
                               s.configurations[size_t(c - 1)].end(),
                               before.eeprom.begin() + configRecordAddress(c)))
            << c;
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(
            std::equal(s.curves[size_t(i)].begin(),
                       s.curves[size_t(i)].end(),
                       before.eeprom.begin() + curveRecordAddress(kUploadedCurves[size_t(i)])));

    // The configuration file opens as the image that restores the unit.
    ConfigImage reopened;
    FileState files;
    ASSERT_FALSE(readConfigFile(reopened, files, fake.platform, kept[0].configFile).failure);
    EXPECT_EQ(reopened.CDC(3, 28), 1);
    EXPECT_EQ(reopened.IntNvm.word(21), before.nvm[21] * 256 + before.nvm[22]);
    for (const int n : kUploadedCurves)
        EXPECT_EQ(curveRecord(reopened.CalCurve, n), curveRecord(state.document.image.CalCurve, n));
}

TEST_F(ReviewedUploadTest, TheCopyHoldsEveryRecordAlsoWhereTheUploadLeavesThemAlone)
{
    state.transfer.UploadSelection[size_t(categoryIndex(Category::DisplayConfigurations))] = 0;
    state.transfer.UploadSelection[size_t(categoryIndex(Category::SenderCurves))] = 0;
    editConfiguration3(); // not ticked: neither compared nor written
    editFuelTank();
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    ASSERT_EQ(review.comparisons.size(), 1u);
    EXPECT_EQ(review.comparisons[0].differences.settings, (std::vector<int>{21, 22}));
    EXPECT_TRUE(review.comparisons[0].differences.configurations.empty());
    EXPECT_EQ(writes(), (std::vector<std::string>{"write internal NVM 256 @0"}));

    const std::vector<UnitCopy> kept = copies();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].changes, "Fuel Tank Size");
    const Result<RawCopy> raw = readRawCopyText(*fake.files.readFile(kept[0].rawFile));
    ASSERT_TRUE(raw.ok()) << raw.error();
    EXPECT_TRUE(raw->snapshot.hasConfigurations);
    EXPECT_TRUE(raw->snapshot.hasCurves);
}

TEST_F(ReviewedUploadTest, ACopyThatCannotBeSavedStopsTheUploadBeforeAnyWrite)
{
    // A file where the copies' folder should be.
    ASSERT_TRUE(fake.files.writeFileAtomically(folder.file("units"), "in the way").ok());
    editConfiguration3();
    const Memories start = memories();
    const TransferResult result = transfers.cmdUpload();

    ASSERT_FALSE(result.ok());
    EXPECT_TRUE(result.error().starts_with("The copy of unit 240530007 could not be saved in "))
        << result.error();
    EXPECT_TRUE(
        result.error().ends_with(" Nothing was written to the Orvane. Make room on the disk "
                                 "or check the folder's permissions, then try again."))
        << result.error();
    EXPECT_EQ(fake.dialogs.messages().back().title, "Copy Not Saved");
    EXPECT_EQ(memories(), start);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(lastWritten(5), (std::vector<uint8_t>{61, 251, 0, 0, 0}));
    EXPECT_EQ(link.linkState().lineUser, LineUser::None);
}

TEST_F(ReviewedUploadTest, AFaultAfterTheCopyWasSavedLeavesAReadableCopy)
{
    const Memories before = memories();
    editConfiguration3();
    editFuelTank();
    instrument().faults().echoesStopAfter = 100; // in the middle of the settings
    instrument().restartEchoCount();
    const TransferResult result = transfers.cmdUpload();
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(),
              "No answer from the Orvane while writing the Orvane's settings. Check the cable and "
              "the instrument's power, then try again.");

    const std::vector<UnitCopy> kept = copies();
    ASSERT_EQ(kept.size(), 1u);
    ConfigImage reopened;
    FileState files;
    ASSERT_FALSE(readConfigFile(reopened, files, fake.platform, kept[0].configFile).failure);
    for (int i = 1; i < 256; ++i)
        EXPECT_EQ(reopened.IntNvm[i], before.nvm[size_t(i)]) << i;
    for (int c = 1; c <= 16; ++c)
        for (int b = 0; b < 128; ++b)
            ASSERT_EQ(reopened.CDC(c, b), before.eeprom[size_t(configRecordAddress(c) + b)]);
}

TEST_F(ReviewedUploadTest, TheNewCopySurvivesFiftyFutureDatedOnes)
{
    // A clock once set a year ahead left 50 copies: 46 numbered, 4 named
    // before copies were numbered.
    InstrumentSnapshot held;
    std::copy_n(instrumentNvm().begin(), 256, held.settings.begin());
    for (int k = 0; k < 46; ++k)
        ASSERT_TRUE(
            saveUnitCopy(fake.files, held, "future " + std::to_string(k), {2027, 3, 1, 0, k, 0}, 1)
                .ok());
    const std::string unitFolder = folder.file("units/240530007");
    const std::string source = copies().front().rawFile;
    for (int day = 1; day <= 4; ++day)
        for (const char *extension : {".CFG", ".RAW"})
            std::filesystem::copy_file(source.substr(0, source.size() - 4) + extension,
                                       unitFolder + "/2027-01-0" + std::to_string(day) + "_000000"
                                           + extension);
    ASSERT_EQ(copies().size(), 50u);

    editConfiguration3();
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    const std::vector<UnitCopy> kept = copies();
    ASSERT_EQ(kept.size(), 50u);
    EXPECT_EQ(kept.front().taken, "2026-07-04 14:05:09");
    EXPECT_EQ(kept.front().changes, "Display Configurations 3");
    EXPECT_TRUE(std::filesystem::exists(kept.front().configFile));
    EXPECT_TRUE(std::filesystem::exists(kept.front().rawFile));
    // The oldest went: the first of those named before the count began.
    EXPECT_EQ(kept[1].changes, "future 45");
    EXPECT_TRUE(kept.back().configFile.ends_with("/2027-01-02_000000.CFG"));
    EXPECT_FALSE(std::filesystem::exists(unitFolder + "/2027-01-01_000000.CFG"));
}

// A disk that says it wrote what it did not.
class TruncatingFiles : public FakeFileSystem
{
public:
    Result<> writeFileAtomically(const std::string &path, const std::string &content) override
    {
        const bool config = path.ends_with(".CFG");
        return FakeFileSystem::writeFileAtomically(path,
                                                   config ? content.substr(0, content.size() / 2)
                                                          : content);
    }
};

TEST_F(ReviewedUploadTest, ACopyThatDoesNotReadBackIsNoCopy)
{
    TruncatingFiles files;
    files.userDataDir = folder.path();
    InstrumentSnapshot held;
    std::copy_n(instrumentNvm().begin(), 256, held.settings.begin());
    const Result<UnitCopy> copy = saveUnitCopy(files, held, "", {2026, 7, 4, 14, 5, 9}, 1);
    ASSERT_FALSE(copy.ok());
    EXPECT_TRUE(copy.error().starts_with("The copy of unit 240530007 was saved in "
                                         + folder.file("units/240530007")
                                         + " but does not read back: "))
        << copy.error();
    EXPECT_NE(copy.error().find(".CFG, line 1531: expected the label before configuration 10 byte "
                                "107, found the end of the file."),
              std::string::npos)
        << copy.error();
    // Nothing half-made is left to look like a copy.
    EXPECT_TRUE(copies().empty());
}

TEST_F(ReviewedUploadTest, UnitCopiesKeepTheLastFiftyNewestFirst)
{
    InstrumentSnapshot held;
    held.settings[12] = 24; // serial number 240506007
    held.settings[13] = 5;
    held.settings[14] = 6;
    held.settings[15] = 7;
    for (int k = 0; k < 52; ++k) {
        const LocalDateTime taken{2026, 1, 1 + k / 24, k % 24, 0, 0};
        ASSERT_TRUE(saveUnitCopy(fake.files, held, "change " + std::to_string(k), taken, 3).ok());
    }
    // Two within one second keep both.
    ASSERT_TRUE(saveUnitCopy(fake.files, held, "again", {2026, 1, 3, 3, 0, 0}, 3).ok());

    const std::vector<UnitHistory> units = listUnitHistory(fake.files);
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units[0].serial, "240506007");
    const std::vector<UnitCopy> &kept = units[0].copies;
    ASSERT_EQ(kept.size(), 50u);
    EXPECT_EQ(kept.front().changes, "again");
    EXPECT_EQ(kept[1].changes, "change 51");
    EXPECT_EQ(kept[1].taken, "2026-01-03 03:00:00");
    EXPECT_EQ(kept.back().changes, "change 3"); // 0, 1 and 2 went
    for (const UnitCopy &copy : kept)
        EXPECT_FALSE(copy.configFile.empty() || copy.rawFile.empty());
}

} // namespace
} // namespace orvane::test
