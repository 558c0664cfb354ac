#pragma once

#include "link/ExchangeView.h"

#include <string>

namespace orvane {

// What the factory tools show on the windows: the factory window's report box
// and product code, and the progress window and connection caption of every
// exchange. The factory window implements it; the tests record it.
class FactoryView : public ExchangeView
{
public:
    virtual void setReport(const std::string &text) = 0; // txtHalveroData
    virtual void appendReport(const std::string &text) = 0;
    virtual void showProductCode(const std::string &text) = 0; // txtTessaroProductID

    // The editor's image changed under the windows (new-unit defaults).
    virtual void imageChanged() = 0;
    // Hides frmHalvero; it keeps its state for the next time it is shown.
    virtual void hideWindow() = 0;
};

} // namespace orvane
