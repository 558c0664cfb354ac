#include "transfer/SelectionDialog.h"

namespace orvane {

namespace {

// Boxes whose data only the PC changes, and the PC's clock: never downloaded.
bool forgottenAfterDownload(int category)
{
    return !kCategories[size_t(category)].enabledInDownload;
}

Selection readTicks(SelectionDialogView &view)
{
    Selection ticks{};
    for (int i = 0; i < kCategoryCount; ++i)
        ticks[size_t(i)] = view.boxTicked(i) ? 1 : 0;
    return ticks;
}

// Sleeps in the event loop until a button answers. A dialog that disappears
// without an answer (close box, Escape, the program closing its windows)
// counts as CANCEL, so the wait always ends.
void waitForChoice(TransferState &transfer, Platform &platform, SelectionDialogView &view)
{
    while (transfer.TransferChoice == kChoiceNone) {
        if (!view.selectionVisible()) {
            transfer.TransferChoice = kChoiceCancel;
            break;
        }
        platform.pump.waitForEvents(kChoiceWaitSlice);
    }
}

} // namespace

void clearAllBoxes(SelectionDialogView &view)
{
    for (int i = 0; i < kCategoryCount; ++i)
        view.setBoxTicked(i, false);
}

void setAllBoxes(const TransferState &transfer, SelectionDialogView &view)
{
    for (int i = 0; i < kCategoryCount; ++i) {
        // The download's Set leaves the boxes the instrument cannot change.
        if (!transfer.TransferIsDownload || kCategories[size_t(i)].enabledInDownload)
            view.setBoxTicked(i, true);
    }
}

void chooseContinue(TransferState &transfer)
{
    transfer.TransferChoice = kChoiceContinue;
}

void chooseCancel(TransferState &transfer)
{
    transfer.TransferChoice = kChoiceCancel;
}

void selectionDialogClosed(TransferState &transfer)
{
    if (transfer.TransferChoice == kChoiceNone)
        transfer.TransferChoice = kChoiceCancel;
}

bool askDownloadSelection(TransferState &transfer, Platform &platform, SelectionDialogView &view)
{
    platform.dialogs.beep();
    transfer.TransferChoice = kChoiceNone;
    transfer.TransferIsDownload = true;
    view.setSelectionCaption(kDownloadCaption);
    for (int i = 0; i < kCategoryCount; ++i)
        view.setBox(i,
                    kCategories[size_t(i)].enabledInDownload,
                    transfer.DownloadSelection[size_t(i)] == 1);
    view.showSelection();
    waitForChoice(transfer, platform, view);

    transfer.DownloadSelection = readTicks(view);
    for (int i = 0; i < kCategoryCount; ++i)
        if (forgottenAfterDownload(i))
            transfer.DownloadSelection[size_t(i)] = 0;
    view.hideSelection();
    return transfer.TransferChoice == kChoiceContinue;
}

bool askUploadSelection(TransferState &transfer, Platform &platform, SelectionDialogView &view)
{
    platform.dialogs.beep();
    transfer.TransferChoice = kChoiceContinue;
    transfer.TransferIsDownload = false;
    view.hideSelection();
    for (int i = 0; i < kCategoryCount; ++i)
        view.setBox(i, true, transfer.UploadSelection[size_t(i)] == 1);
    if (transfer.ShowUploadWarning) {
        view.setSelectionCaption(kUploadCaption);
        transfer.TransferChoice = kChoiceNone;
        view.showSelection();
        waitForChoice(transfer, platform, view);
    }
    transfer.UploadSelection = readTicks(view);
    view.hideSelection();
    return transfer.TransferChoice == kChoiceContinue;
}

} // namespace orvane
