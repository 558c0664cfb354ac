#pragma once

#include <string>

namespace orvane {

// What the factory tools show on the windows: the factory window's report box
// and product code, the progress window frmProgress, the main window's
// connection caption. The factory window implements it; the tests record it.
class FactoryView
{
public:
    virtual ~FactoryView() = default;

    virtual void setReport(const std::string &text) = 0; // txtHalveroData
    virtual void appendReport(const std::string &text) = 0;
    virtual void showProductCode(const std::string &text) = 0; // txtTessaroProductID

    // frmProgress, shown without being modal.
    virtual void showProgress() = 0;
    virtual void setProgress(int value, int maximum) = 0;
    virtual void setProgressText(const std::string &text) = 0;
    virtual void hideProgress() = 0;

    virtual void setConnectedCaption(const std::string &text) = 0; // frmMain lblConnected
    // The editor's image changed under the windows (new-unit defaults).
    virtual void imageChanged() = 0;
    // Hides frmHalvero; it keeps its state for the next time it is shown.
    virtual void hideWindow() = 0;
};

} // namespace orvane
