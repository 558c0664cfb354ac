#pragma once

#include "link/ExchangeView.h"
#include "transfer/SelectionDialog.h"

#include <string>

namespace orvane {

// What the transfers and maintenance commands need of the windows: the
// selection dialog, the progress window and connection caption of every
// exchange, and the few parts of the main window they redraw or re-run. The
// transfer controller implements it over the real windows; the tests record
// it.
class TransferView : public SelectionDialogView, public ExchangeView
{
public:
    // frmMain: UpdateInstrumentDisplay, then ShowAlarmAndLimits.
    virtual void redraw() = 0;
    // ClearDisplayIcons on the panel and the preview.
    virtual void clearDisplayIcons() = 0;
    // The main window's start-up sequence, run again by the factory reset.
    virtual void rerunStartup() = 0;
    // Focus on configuration button 1 and the captions of configuration 1.
    virtual void selectFirstConfiguration() = 0;
};

} // namespace orvane
