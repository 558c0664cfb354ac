#pragma once

#include "FactoryFixtures.h"

#include "app/AppState.h"
#include "factory/FactoryExchange.h"
#include "link/ByteLink.h"
#include "link/Connection.h"
#include "support/FakePlatform.h"
#include "support/QuietConnectionView.h"
#include "support/TempFolder.h"
#include "transfer/Identification.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace orvane::test {

// The factory window, recorded.
class RecordingFactoryView : public FactoryView
{
public:
    void setReport(const std::string &text) override { report = text; }
    void appendReport(const std::string &text) override { report += text; }
    void showProductCode(const std::string &text) override { productCode = text; }
    void showProgress() override { progressShown = true; }
    void setProgress(int value, int maximum) override { progress.emplace_back(value, maximum); }
    void setProgressText(const std::string &text) override { progressText = text; }
    void hideProgress() override { progressShown = false; }
    void setConnectedCaption(const std::string &text) override { connectedCaption = text; }
    void imageChanged() override { ++imageChanges; }
    void hideWindow() override { hidden = true; }

    std::string report;
    std::string productCode;
    bool progressShown = false;
    std::vector<std::pair<int, int>> progress;
    std::string progressText;
    std::string connectedCaption;
    int imageChanges = 0;
    bool hidden = false;
};

// A fresh folder, removed with everything in it at the end.
class FactoryFolder : public TempFolder
{
public:
    void write(const std::string &name, const std::string &text) const
    {
        std::ofstream(file(name), std::ios::binary) << text;
    }
    std::optional<std::string> read(const std::string &name) const
    {
        std::ifstream in(file(name), std::ios::binary);
        if (!in)
            return std::nullopt;
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

// One editor and one in-process instrument on the fake platform, the working
// folder holding the data file and code module fixtures.
class FactoryToolTest : public ::testing::Test
{
protected:
    static constexpr const char *kModuleNames[] = {
        "CommandMode.COD",
        "IspSerialLoader.COD",
        "HiLoEditor.COD",
        "CalibrationEditor.COD",
        "EditTachoSensitivity.COD",
        "DampingEditor.COD",
        "TimeAlarmsEditor.COD",
        "ShoBackgroundAlarms.COD",
        "Brenlow_UoM_Editor.COD",
        "KeelOffsetEditor.COD",
    };

    FactoryToolTest()
    {
        link.setComPortNumber(1);
        // The factory window opens only in factory mode, which accepts a Brenlow.
        link.setFactoryMode(true);
        state.files.WorkingFolder = folder.path();
        fake.files.userDataDir = folder.path(); // where copies of units are kept
        for (const char *name : {"CALCURVS.DAT", "NVMNMEAG.DAT", "DECPTSA.DAT"})
            folder.write(name, fixture(name));
        for (const char *name : kModuleNames)
            folder.write(name, fixture(std::string("modules/") + name));
    }

    sim::Instrument &instrument() { return fake.instrument; }
    std::array<uint8_t, 512> &nvm() { return fake.instrument.internalNvm(); }
    std::array<uint8_t, 65536> &eeprom() { return fake.instrument.eeprom(); }
    double now() const { return fake.scheduler.now(); }

    // Connects ahead of a tool, so that its own bytes can be looked at alone.
    void connectFirst()
    {
        ASSERT_TRUE(connectToInstrument(connection, state.document.image));
        written0 = fake.port.written.size();
    }

    std::vector<uint8_t> written() const
    {
        std::vector<uint8_t> bytes;
        for (size_t i = written0; i < fake.port.written.size(); ++i)
            bytes.push_back(fake.port.written[i].second);
        return bytes;
    }

    // When byte `index` (counted from connectFirst) went out.
    double writtenAt(size_t index) const { return fake.port.written.at(written0 + index).first; }

    // Where `bytes` first went out in the bytes since connectFirst; npos when never.
    size_t find(const std::vector<uint8_t> &bytes, size_t from = 0) const
    {
        const auto all = written();
        const auto at = std::search(all.begin() + long(std::min(from, all.size())),
                                    all.end(),
                                    bytes.begin(),
                                    bytes.end());
        return at == all.end() ? std::string::npos : size_t(at - all.begin());
    }

    // The last n bytes written.
    std::vector<uint8_t> lastWritten(size_t n) const
    {
        const auto all = written();
        return {all.end() - long(std::min(n, all.size())), all.end()};
    }

    // Runs `action` at virtual time `at` (seconds from now).
    void at(double secondsFromNow, std::function<void()> action)
    {
        fake.scheduler.schedule(now() + secondsFromNow, std::move(action));
    }

    // Answers, in order, the confirmations (Yes), the input boxes and the
    // file boxes of one tool.
    void answer(std::vector<std::string> inputs, int yes = 0, std::vector<std::string> files = {})
    {
        for (int i = 0; i < yes; ++i)
            fake.dialogs.messageAnswers.push_back(MessageAnswer::Yes);
        for (auto &text : inputs)
            fake.dialogs.inputAnswers.push_back(std::move(text));
        for (auto &path : files)
            fake.dialogs.fileAnswers.push_back(std::move(path));
    }

    // Message boxes that tell something (not the Yes/No questions).
    std::vector<DialogCall> notices() const
    {
        std::vector<DialogCall> found;
        for (const DialogCall &call : fake.dialogs.messages())
            if (call.buttons == MessageButtons::Ok)
                found.push_back(call);
        return found;
    }

    FakePlatform fake;
    AppState state;
    FactoryFolder folder;
    QuietConnectionView connectionView;
    ByteLink link{fake.platform};
    Connection connection{fake.platform, link, connectionView};
    RecordingFactoryView view;
    FactoryServices services{fake.platform,
                             link,
                             connection,
                             state.document,
                             state.transfer,
                             state.files,
                             view};
    size_t written0 = 0;
};

// What a tool ended with, for comparisons: its outcome, or nothing when it
// refused or stopped (its error() is then the message the user saw).
inline std::optional<FactoryOutcome> outcomeOf(const FactoryResult &result)
{
    if (!result)
        return std::nullopt;
    return *result;
}

} // namespace orvane::test
