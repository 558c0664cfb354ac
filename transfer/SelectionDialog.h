#pragma once

#include "platform/Platform.h"
#include "transfer/TransferCategories.h"
#include "transfer/TransferState.h"

#include <string>

// The warning dialog `frmBeingSentReceived` in which the user unticks the
// categories a download or upload must not overwrite. The window implements
// the view; the transfers drive it through the functions below.

namespace orvane {

class SelectionDialogView
{
public:
    virtual ~SelectionDialogView() = default;
    virtual void setSelectionCaption(const std::string &caption) = 0;
    // Box `category` (0..13 in table order).
    virtual void setBox(int category, bool enabled, bool ticked) = 0;
    virtual void setBoxTicked(int category, bool ticked) = 0;
    virtual bool boxTicked(int category) = 0;
    // Shown without being modal, so the main window stays live.
    virtual void showSelection() = 0;
    virtual void hideSelection() = 0;
    virtual bool selectionVisible() = 0;
};

inline constexpr const char *kDownloadCaption
    = "WARNING . . . Download data from Orvane to PC.    Are you sure?";
inline constexpr const char *kUploadCaption
    = "WARNING . . . Upload data from PC to Orvane.    Are you sure?";

// Answers kept in `TransferChoice`.
constexpr uint8_t kChoiceNone = 0;
constexpr uint8_t kChoiceCancel = 1;
constexpr uint8_t kChoiceContinue = 2;

// How long one sleep of the wait for an answer may last; a click wakes it sooner.
constexpr double kChoiceWaitSlice = 1.0;

// Button handlers of the dialog.
void clearAllBoxes(SelectionDialogView &view);                              // "Clear"
void setAllBoxes(const TransferState &transfer, SelectionDialogView &view); // "Set"
void chooseContinue(TransferState &transfer);                               // "CONTINUE"
void chooseCancel(TransferState &transfer);                                 // "CANCEL"
// The close box, Escape, or anything else that hides the dialog unanswered.
void selectionDialogClosed(TransferState &transfer);

// The download's dialog: beeps, shows the download ticks (boxes the
// instrument cannot change disabled), waits for the answer, remembers the
// ticks without those boxes. True for CONTINUE.
bool askDownloadSelection(TransferState &transfer, Platform &platform, SelectionDialogView &view);

// The upload's dialog, with every box enabled; skipped (CONTINUE with the
// remembered ticks) while `ShowUploadWarning` is clear. True for CONTINUE.
bool askUploadSelection(TransferState &transfer, Platform &platform, SelectionDialogView &view);

} // namespace orvane
