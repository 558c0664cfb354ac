#pragma once

#include "app/AppState.h"
#include "config/Defaults.h"
#include "link/ByteLink.h"
#include "link/Connection.h"
#include "support/FakePlatform.h"
#include "support/QuietConnectionView.h"
#include "transfer/Identification.h"
#include "transfer/Transfers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane::test {

// The windows of a transfer, recorded. The selection dialog answers through
// `onShowSelection`, as a user clicking in it would.
class RecordingTransferView : public TransferView
{
public:
    // Selection dialog.
    void setSelectionCaption(const std::string &caption) override { selectionCaption = caption; }
    void setBox(int category, bool enabled, bool ticked) override
    {
        enabledBoxes.at(size_t(category)) = enabled;
        ticks.at(size_t(category)) = ticked;
    }
    void setBoxTicked(int category, bool ticked) override { ticks.at(size_t(category)) = ticked; }
    bool boxTicked(int category) override { return ticks.at(size_t(category)); }
    void showSelection() override
    {
        selectionShown = true;
        ++selectionShows;
        if (onShowSelection)
            onShowSelection();
    }
    void hideSelection() override { selectionShown = false; }
    bool selectionVisible() override { return selectionShown; }

    // Progress window.
    void showProgress() override { progressShown = true; }
    void setProgress(int value, int maximum) override { progress.emplace_back(value, maximum); }
    void setProgressText(const std::string &text) override { progressLabels.push_back(text); }
    void hideProgress() override { progressShown = false; }

    // Main window.
    void setConnectedCaption(const std::string &text) override
    {
        connectedCaptions.push_back(text);
        if (onConnectedCaption)
            onConnectedCaption(text);
    }
    void redraw() override { ++redraws; }
    void clearDisplayIcons() override { ++iconClears; }
    void rerunStartup() override
    {
        ++startups;
        if (onRerunStartup)
            onRerunStartup();
    }
    void selectFirstConfiguration() override { ++firstConfigSelections; }

    std::string selectionCaption;
    std::array<bool, 14> enabledBoxes{};
    std::array<bool, 14> ticks{};
    bool selectionShown = false;
    int selectionShows = 0;
    std::function<void()> onShowSelection;

    bool progressShown = false;
    std::vector<std::pair<int, int>> progress;
    std::vector<std::string> progressLabels;

    std::vector<std::string> connectedCaptions;
    std::function<void(const std::string &)> onConnectedCaption;
    int redraws = 0;
    int iconClears = 0;
    int startups = 0;
    int firstConfigSelections = 0;
    std::function<void()> onRerunStartup;
};

// What a command ended with, for comparisons: its outcome, or nothing when it
// stopped half-way (its error() is then the message the user saw).
inline std::optional<TransferOutcome> outcomeOf(const TransferResult &result)
{
    if (!result)
        return std::nullopt;
    return *result;
}

// One editor and one instrument on the fake platform, the editor's image at
// its factory defaults, the selection dialog answering CONTINUE at once.
class TransferTest : public ::testing::Test
{
protected:
    TransferTest()
    {
        link.setComPortNumber(1);
        loadFactoryDefaults(state.document, state.editor, state.transfer.NewUnitPending);
        state.transfer.UploadSelection.fill(1);
        state.transfer.DownloadSelection = {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1};
        view.onShowSelection = [this] {
            state.transfer.TransferChoice = 2;
        };
    }

    sim::Instrument &instrument() { return fake.instrument; }
    std::array<uint8_t, 512> &instrumentNvm() { return fake.instrument.internalNvm(); }
    std::array<uint8_t, 65536> &eeprom() { return fake.instrument.eeprom(); }
    double now() const { return fake.scheduler.now(); }

    // Connects ahead of a command, so that the command's own time and bytes
    // can be measured alone.
    void connectFirst()
    {
        ASSERT_TRUE(connectToInstrument(connection, state.document.image));
        written0 = fake.port.written.size();
    }

    // Bytes the editor wrote since connectFirst().
    std::vector<uint8_t> writtenSinceConnect() const
    {
        std::vector<uint8_t> bytes;
        for (size_t i = written0; i < fake.port.written.size(); ++i)
            bytes.push_back(fake.port.written[i].second);
        return bytes;
    }

    // Makes the instrument's settings check byte right again after a test
    // changed them.
    void fixInstrumentCheckByte()
    {
        uint8_t x = 0;
        for (int i = 1; i < 256; ++i)
            x ^= instrumentNvm()[size_t(i)];
        instrumentNvm()[0] = x;
    }

    // How often a frame went out since connectFirst().
    int framesSent(const std::vector<uint8_t> &frame) const
    {
        const auto bytes = writtenSinceConnect();
        int count = 0;
        for (size_t i = 0; i + frame.size() <= bytes.size(); ++i)
            if (std::equal(frame.begin(), frame.end(), bytes.begin() + long(i)))
                ++count;
        return count;
    }

    std::vector<uint8_t> lastWritten(size_t n) const
    {
        const auto bytes = writtenSinceConnect();
        return {bytes.end() - long(std::min(n, bytes.size())), bytes.end()};
    }

    // Runs `action` at virtual time `at` (seconds from now).
    void at(double secondsFromNow, std::function<void()> action)
    {
        fake.scheduler.schedule(now() + secondsFromNow, std::move(action));
    }

    FakePlatform fake;
    AppState state;
    QuietConnectionView connectionView;
    ByteLink link{fake.platform};
    Connection connection{fake.platform, link, connectionView};
    RecordingTransferView view;
    Transfers transfers{state.document,
                        state.transfer,
                        state.editor,
                        fake.platform,
                        link,
                        connection,
                        view};
    size_t written0 = 0;
};

} // namespace orvane::test
