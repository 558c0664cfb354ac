#pragma once

#include "link/Connection.h"

#include <string>

namespace orvane::test {

// The main window's side of connecting, reduced to the one caption that
// transfers and benchmarks look at.
class QuietConnectionView : public ConnectionView
{
public:
    void setCommsPortCaption(const std::string &) override {}
    void setConnectedCaption(const std::string &text) override { connectedCaption = text; }
    void setSerialNumberCaption(const std::string &) override {}
    void showConnecting(const std::string &) override {}
    void setConnectingCaption(const std::string &) override {}
    void hideConnecting() override {}
    void showComms() override {}
    void hideComms() override {}
    void selectCommsOption(int) override {}
    void showIdentity(const std::string &, const std::string &, const std::string &) override {}
    void showChipVersions(const std::array<std::string, 4> &) override {}
    void showProductCode(const std::string &) override {}
    void showUploadCount(const std::string &) override {}
    void hideProgress() override {}

    std::string connectedCaption;
};

} // namespace orvane::test
