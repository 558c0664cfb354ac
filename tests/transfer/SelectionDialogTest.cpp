#include "TransferTestSupport.h"

#include "transfer/SelectionDialog.h"

namespace orvane::test {
namespace {

using DialogTest = TransferTest;

constexpr std::array<bool, 14> kDownloadEnabled
    = {false, false, false, false, false, false, false, true, true, true, true, false, true, true};

TEST_F(DialogTest, DownloadShowsItsOwnTicksAndForgetsThePcOnlyBoxes)
{
    state.transfer.DownloadSelection = {1, 1, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 1};
    std::array<bool, 14> shownTicks{};
    view.onShowSelection = [&] {
        shownTicks = view.ticks;
        // The user ticks everything, disabled boxes included (as if the
        // window let a tick through), then continues.
        view.ticks.fill(true);
        chooseContinue(state.transfer);
    };
    EXPECT_TRUE(askDownloadSelection(state.transfer, fake.platform, view));

    EXPECT_EQ(view.selectionCaption,
              "WARNING . . . Download data from Orvane to PC.    Are you sure?");
    EXPECT_EQ(view.enabledBoxes, kDownloadEnabled);
    EXPECT_EQ(shownTicks,
              (std::array<bool, 14>{true,
                                    true,
                                    false,
                                    false,
                                    false,
                                    false,
                                    false,
                                    false,
                                    true,
                                    false,
                                    true,
                                    true,
                                    false,
                                    true}));
    EXPECT_EQ(state.transfer.DownloadSelection,
              (Selection{0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1}));
    EXPECT_TRUE(state.transfer.TransferIsDownload);
    EXPECT_FALSE(view.selectionShown);
    EXPECT_EQ(fake.dialogs.beeps(), 1);
}

TEST_F(DialogTest, SetAndClearFollowTheDirection)
{
    state.transfer.TransferIsDownload = true;
    view.ticks.fill(false);
    setAllBoxes(state.transfer, view);
    EXPECT_EQ(view.ticks, kDownloadEnabled);

    state.transfer.TransferIsDownload = false;
    view.ticks.fill(false);
    setAllBoxes(state.transfer, view);
    for (const bool t : view.ticks)
        EXPECT_TRUE(t);

    view.enabledBoxes = kDownloadEnabled;
    clearAllBoxes(view);
    for (const bool t : view.ticks)
        EXPECT_FALSE(t);
    EXPECT_EQ(view.enabledBoxes, kDownloadEnabled); // Clear does not enable anything
}

TEST_F(DialogTest, UploadAndDownloadRememberTheirTicksApart)
{
    view.onShowSelection = [&] {
        view.ticks[0] = false; // untick Display Configurations in the upload
        view.ticks[8] = false; // and Tacho Sensitivity
        chooseCancel(state.transfer);
    };
    EXPECT_FALSE(askUploadSelection(state.transfer, fake.platform, view));
    EXPECT_EQ(view.selectionCaption,
              "WARNING . . . Upload data from PC to Orvane.    Are you sure?");
    for (const bool e : view.enabledBoxes)
        EXPECT_TRUE(e);
    // CANCEL still remembers the ticks.
    EXPECT_EQ(state.transfer.UploadSelection,
              (Selection{0, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1}));

    view.onShowSelection = [&] {
        chooseContinue(state.transfer);
    };
    EXPECT_TRUE(askDownloadSelection(state.transfer, fake.platform, view));
    EXPECT_EQ(state.transfer.DownloadSelection,
              (Selection{0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1}));

    // The next upload shows its own ticks again, every box enabled.
    std::array<bool, 14> shown{};
    view.onShowSelection = [&] {
        shown = view.ticks;
        chooseContinue(state.transfer);
    };
    EXPECT_TRUE(askUploadSelection(state.transfer, fake.platform, view));
    EXPECT_FALSE(shown[0]);
    EXPECT_FALSE(shown[8]);
    EXPECT_TRUE(shown[11]);
    for (const bool e : view.enabledBoxes)
        EXPECT_TRUE(e);
}

TEST_F(DialogTest, UploadWithoutWarningContinuesWithTheRememberedTicks)
{
    state.transfer.ShowUploadWarning = false;
    state.transfer.UploadSelection = {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0};
    EXPECT_TRUE(askUploadSelection(state.transfer, fake.platform, view));
    EXPECT_EQ(view.selectionShows, 0);
    EXPECT_EQ(state.transfer.UploadSelection,
              (Selection{1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0}));
}

TEST_F(DialogTest, WaitSleepsInTheEventLoopUntilTheClick)
{
    view.onShowSelection = [&] {
        at(7.0, [&] { chooseContinue(state.transfer); });
    };
    const double start = now();
    EXPECT_TRUE(askUploadSelection(state.transfer, fake.platform, view));
    EXPECT_DOUBLE_EQ(now() - start, 7.0);
    // One sleep per wake-up slice, not a spin.
    EXPECT_LE(fake.pump.waitCalls, int(7.0 / kChoiceWaitSlice) + 1);
}

TEST_F(DialogTest, ClosingTheDialogCountsAsCancel)
{
    // The close box.
    view.onShowSelection = [&] {
        at(2.0, [&] {
            selectionDialogClosed(state.transfer);
            view.selectionShown = false;
        });
    };
    EXPECT_FALSE(askDownloadSelection(state.transfer, fake.platform, view));
    EXPECT_EQ(state.transfer.TransferChoice, kChoiceCancel);

    // Hidden without any answer at all (Escape, the program closing windows).
    view.onShowSelection = [&] {
        at(1.0, [&] { view.selectionShown = false; });
    };
    EXPECT_FALSE(askUploadSelection(state.transfer, fake.platform, view));
    EXPECT_EQ(state.transfer.TransferChoice, kChoiceCancel);

    // A close after CONTINUE does not undo the answer.
    state.transfer.TransferChoice = kChoiceContinue;
    selectionDialogClosed(state.transfer);
    EXPECT_EQ(state.transfer.TransferChoice, kChoiceContinue);
}

} // namespace
} // namespace orvane::test
