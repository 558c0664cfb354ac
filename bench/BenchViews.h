#pragma once

#include "support/QuietConnectionView.h"

#include "factory/FactoryView.h"
#include "link/Connection.h"
#include "platform/Platform.h"
#include "platform/qt/QtFileSystem.h"
#include "transfer/TransferView.h"
#include "transfer/UploadReview.h"

#include <array>
#include <iostream>
#include <string>
#include <utility>

// Headless stand-ins for the windows: the selection dialog answers CONTINUE
// with every box it was given, questions are answered Yes, messages printed.

namespace orvane::bench {

class HeadlessTransferView : public TransferView
{
public:
    explicit HeadlessTransferView(TransferState &transfer)
        : m_transfer(transfer)
    {}

    void setSelectionCaption(const std::string &) override {}
    void setBox(int category, bool, bool ticked) override { m_ticks.at(size_t(category)) = ticked; }
    void setBoxTicked(int category, bool ticked) override { m_ticks.at(size_t(category)) = ticked; }
    bool boxTicked(int category) override { return m_ticks.at(size_t(category)); }
    void showSelection() override
    {
        m_visible = true;
        m_transfer.TransferChoice = 2; // CONTINUE
    }
    void hideSelection() override { m_visible = false; }
    bool selectionVisible() override { return m_visible; }
    void showProgress() override {}
    void setProgress(int, int) override {}
    void setProgressText(const std::string &) override {}
    void hideProgress() override {}
    void setConnectedCaption(const std::string &) override {}
    void redraw() override {}
    void clearDisplayIcons() override {}
    void rerunStartup() override {}
    void selectFirstConfiguration() override {}

private:
    TransferState &m_transfer;
    std::array<bool, 14> m_ticks{};
    bool m_visible = false;
};

// The factory window, keeping only its report box.
class ReportingFactoryView : public FactoryView
{
public:
    void setReport(const std::string &text) override { report = text; }
    void appendReport(const std::string &text) override { report += text; }
    void showProductCode(const std::string &) override {}
    void showProgress() override {}
    void setProgress(int, int) override {}
    void setProgressText(const std::string &) override {}
    void hideProgress() override {}
    void setConnectedCaption(const std::string &) override {}
    void imageChanged() override {}
    void hideWindow() override {}

    std::string report;
};

// The comparison window of a user who always uploads.
class UploadingReview : public UploadReviewView
{
public:
    bool confirmUpload(const Comparison &) override { return true; }
    bool uploadUnchanged() override { return true; }
};

// The real file system with the per-user data (the copies of each unit) in a
// scratch folder instead of the user's own.
class ScratchDataFileSystem : public QtFileSystem
{
public:
    explicit ScratchDataFileSystem(std::string folder)
        : m_folder(std::move(folder))
    {}
    std::string userDataFolder() override { return m_folder; }

private:
    std::string m_folder;
};

class YesDialogs : public UserDialogs
{
public:
    void beep() override {}
    MessageAnswer messageBox(const std::string &text,
                             const std::string &title,
                             MessageIcon,
                             MessageButtons buttons) override
    {
        if (buttons == MessageButtons::Ok)
            std::cerr << title << ": " << text << "\n";
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    std::string
    inputBox(const std::string &prompt, const std::string &, const std::string &) override
    {
        std::cerr << "unexpected input box: " << prompt << "\n";
        return {};
    }
    std::string openFileName(const std::string &, const std::string &) override { return {}; }
    std::string saveFileName(const std::string &, const std::string &) override { return {}; }
};

} // namespace orvane::bench
