#pragma once

#include "cli/Progress.h"
#include "factory/FactoryView.h"
#include "link/Connection.h"
#include "transfer/TransferState.h"
#include "transfer/TransferView.h"
#include "transfer/UploadReview.h"

#include <array>
#include <functional>
#include <string>

// The windows' parts a command talks to, on the terminal: progress on
// standard error, the selection dialog answered with the categories of the
// command line.

namespace orvane::cli {

class TerminalTransferView : public TransferView
{
public:
    TerminalTransferView(TransferState &transfer, Progress &progress)
        : m_transfer(transfer)
        , m_progress(progress)
    {}

    // The boxes are ticked as the transfer state's selections say, which
    // the command set from --only; the dialog answers CONTINUE at once.
    void setSelectionCaption(const std::string &) override {}
    void setBox(int category, bool, bool ticked) override { m_ticks.at(size_t(category)) = ticked; }
    void setBoxTicked(int category, bool ticked) override { m_ticks.at(size_t(category)) = ticked; }
    bool boxTicked(int category) override { return m_ticks.at(size_t(category)); }
    void showSelection() override { m_transfer.TransferChoice = kChoiceContinue; }
    void hideSelection() override {}
    bool selectionVisible() override { return false; }

    void showProgress() override {}
    void setProgress(int value, int maximum) override { m_progress.setProgress(value, maximum); }
    void setProgressText(const std::string &text) override { m_progress.setText(text); }
    void hideProgress() override { m_progress.endLine(); }

    void setConnectedCaption(const std::string &) override {}
    void redraw() override {}
    void clearDisplayIcons() override {}
    void rerunStartup() override {}
    void selectFirstConfiguration() override {}

private:
    TransferState &m_transfer;
    Progress &m_progress;
    std::array<bool, TransferState::kCategories> m_ticks{};
};

class TerminalConnectionView : public ConnectionView
{
public:
    explicit TerminalConnectionView(Progress &progress)
        : m_progress(progress)
    {}

    void setCommsPortCaption(const std::string &) override {}
    void setConnectedCaption(const std::string &) override {}
    void setSerialNumberCaption(const std::string &) override {}
    // The caption grows a dot per probe; the terminal shows it once.
    void showConnecting(const std::string &) override { m_progress.setText("connecting"); }
    void setConnectingCaption(const std::string &) override {}
    void hideConnecting() override {}
    void showComms() override {}
    void hideComms() override {}
    void selectCommsOption(int) override {}
    void showIdentity(const std::string &, const std::string &, const std::string &) override {}
    void showChipVersions(const std::array<std::string, 4> &) override {}
    void showProductCode(const std::string &) override {}
    void showUploadCount(const std::string &) override {}
    void hideProgress() override { m_progress.endLine(); }

private:
    Progress &m_progress;
};

// The factory window's parts that Make NEW shows: only its progress.
class TerminalFactoryView : public FactoryView
{
public:
    explicit TerminalFactoryView(Progress &progress)
        : m_progress(progress)
    {}

    void setReport(const std::string &) override {}
    void appendReport(const std::string &) override {}
    void showProductCode(const std::string &) override {}
    void showProgress() override {}
    void setProgress(int value, int maximum) override { m_progress.setProgress(value, maximum); }
    void setProgressText(const std::string &text) override { m_progress.setText(text); }
    void hideProgress() override { m_progress.endLine(); }
    void setConnectedCaption(const std::string &) override {}
    void imageChanged() override {}
    void hideWindow() override {}

private:
    Progress &m_progress;
};

// Upload or Cancel once the differences are known: they are printed, and
// `approve` says whether to go on.
class TerminalReview : public UploadReviewView
{
public:
    TerminalReview(Progress &progress, std::function<bool()> approve, bool writeUnchanged)
        : m_progress(progress)
        , m_approve(std::move(approve))
        , m_writeUnchanged(writeUnchanged)
    {}

    bool confirmUpload(const Comparison &comparison) override;
    bool confirmRestore(const Comparison &comparison) override;
    bool uploadUnchanged() override;

    // The instrument already held everything and nothing was written.
    bool foundUnchanged() const { return m_unchanged && !m_writeUnchanged; }
    // The user did not approve the changes.
    bool refused() const { return m_refused; }

private:
    bool confirm(const char *heading, const Comparison &comparison);

    Progress &m_progress;
    std::function<bool()> m_approve;
    bool m_writeUnchanged;
    bool m_unchanged = false;
    bool m_refused = false;
};

} // namespace orvane::cli
