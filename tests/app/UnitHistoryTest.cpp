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
    bool uploadUnchanged() override { return true; }
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
    ASSERT_EQ(openUnitCopy(state, link, fake.platform, units[0].copies[0]),
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

TEST_F(UnitHistoryTest, ACopyThatCannotBeReadChangesNothing)
{
    const ConfigImage before = state.document.image;
    UnitCopy copy;
    copy.configFile = folder.file("missing.CFG");
    EXPECT_EQ(openUnitCopy(state, link, fake.platform, copy), FileCommandResult::Failed);
    EXPECT_EQ(state.document.image, before);
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_TRUE(fake.dialogs.messages()[0].text.starts_with("The file " + copy.configFile
                                                            + " could not be opened"));
}

} // namespace
} // namespace orvane::test
