#include "TransferTestSupport.h"

namespace orvane::test {
namespace {

class DownloadTest : public TransferTest
{
protected:
    DownloadTest()
    {
        for (int i = 1; i < 256; ++i)
            instrumentNvm()[size_t(i)] = uint8_t(255 - i);
        fixInstrumentCheckByte();
    }

    void tickOnly(Category c)
    {
        state.transfer.DownloadSelection.fill(0);
        state.transfer.DownloadSelection[size_t(categoryIndex(c))] = 1;
    }
};

TEST_F(DownloadTest, OnlyTachoSensitivityChangesByteTwoAlone)
{
    tickOnly(Category::TachoSensitivity);
    connectFirst(); // connecting reads the upload counter into the image
    ConfigImage expected = state.document.image;
    expected.IntNvm[2] = 253;

    const double start = now();
    const TransferResult result = transfers.cmdDownload();
    ASSERT_EQ(outcomeOf(result), TransferOutcome::Completed) << result.error();
    EXPECT_EQ(state.document.image, expected);

    // Delay, read, then the soft reset: 1.95 s of fixed pauses.
    EXPECT_NEAR(now() - start, 0.2 + 0.25 + 1.0 + 0.25 + 0.25, 1e-6);
    EXPECT_EQ(writtenSinceConnect(), (std::vector<uint8_t>{61, 0, 0, 0, 0, 61, 251, 0, 0, 0}));
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_EQ(connectionView.connectedCaption, "Not connected to Orvane");
    EXPECT_EQ(view.redraws, 1);
    EXPECT_FALSE(view.progressShown);
}

TEST_F(DownloadTest, ConnectsOnDemandAndFillsTheBar)
{
    const TransferResult result = transfers.cmdDownload();
    ASSERT_EQ(outcomeOf(result), TransferOutcome::Completed) << result.error();
    EXPECT_EQ(fake.port.openCount, 1);
    // Default ticks: damping, tacho, alarms, time-of-day alarms, calibrations, race timers.
    EXPECT_EQ(state.document.image.IntNvm[66], 255 - 66);
    EXPECT_EQ(state.document.image.IntNvm[150], 255 - 150);
    EXPECT_NE(state.document.image.IntNvm[1], 255 - 1); // units of measure stay the PC's
    ASSERT_FALSE(view.progress.empty());
    EXPECT_EQ(view.progress.front().first, 0);
    EXPECT_EQ(view.progress.back().first, view.progress.back().second);
    EXPECT_EQ(view.progressLabels.front(), "Reading the Orvane's settings");
}

TEST_F(DownloadTest, GarbledFirstReadIsReadAgainBeforeAnythingChanges)
{
    instrument().faults().corruptFirstNvmRead = true;
    tickOnly(Category::RaceTimers);
    connectFirst();
    ASSERT_EQ(outcomeOf(transfers.cmdDownload()), TransferOutcome::Completed);
    EXPECT_EQ(framesSent({61, 0, 0, 0, 0}), 2);
    EXPECT_EQ(state.document.image.IntNvm[66], 255 - 66);
}

TEST_F(DownloadTest, CancelChangesNothingAndRemembersTheTicks)
{
    const ConfigImage before = state.document.image;
    view.onShowSelection = [&] {
        view.ticks[8] = false;
        state.transfer.TransferChoice = 1;
    };
    EXPECT_EQ(outcomeOf(transfers.cmdDownload()), TransferOutcome::Cancelled);
    EXPECT_TRUE(fake.port.written.empty());
    EXPECT_EQ(state.document.image, before);
    EXPECT_EQ(state.transfer.DownloadSelection[8], 0);
    EXPECT_EQ(state.transfer.DownloadSelection[7], 1);
}

} // namespace
} // namespace orvane::test
