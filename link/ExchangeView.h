#pragma once

#include <string>

namespace orvane {

// What every command that talks to the instrument shows while it runs: the
// progress window `frmProgress` and the main window's connection caption. The
// transfer and factory views extend it with their own windows.
class ExchangeView
{
public:
    virtual ~ExchangeView() = default;

    // frmProgress, shown without being modal.
    virtual void showProgress() = 0;
    virtual void setProgress(int value, int maximum) = 0;      // ProgressBar1
    virtual void setProgressText(const std::string &text) = 0; // lblProgress
    virtual void hideProgress() = 0;

    virtual void setConnectedCaption(const std::string &text) = 0; // frmMain lblConnected
};

} // namespace orvane
