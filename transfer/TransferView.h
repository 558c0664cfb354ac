#pragma once

#include "transfer/SelectionDialog.h"

#include <string>

namespace orvane {

// What the transfers and maintenance commands need of the windows: the
// selection dialog, the progress window `frmProgress`, and the few parts of
// the main window they redraw or re-run. The transfer controller implements
// it over the real windows; the tests record it.
class TransferView : public SelectionDialogView
{
public:
    // frmProgress: shown without being modal.
    virtual void showProgress() = 0;
    virtual void setProgress(int value, int maximum) = 0;      // ProgressBar1
    virtual void setProgressText(const std::string &text) = 0; // lblProgress
    virtual void hideProgress() = 0;

    // frmMain.
    virtual void setConnectedCaption(const std::string &text) = 0; // lblConnected
    // UpdateInstrumentDisplay, then ShowAlarmAndLimits.
    virtual void redraw() = 0;
    // ClearDisplayIcons on the panel and the preview.
    virtual void clearDisplayIcons() = 0;
    // The main window's start-up sequence, run again by the factory reset.
    virtual void rerunStartup() = 0;
    // Focus on configuration button 1 and the captions of configuration 1.
    virtual void selectFirstConfiguration() = 0;
};

} // namespace orvane
