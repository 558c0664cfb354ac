#include "editors/NmeaSelection.h"

#include "EditingState.h"

#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvane;
using namespace orvane::test;

namespace {

// A line whose far end answers every poll with the next letter after a
// millisecond of virtual time, and that can be cut or refuse to connect.
class ScriptedLine : public NmeaLine
{
public:
    explicit ScriptedLine(FakePlatform &fake)
        : m_fake(fake)
    {}

    bool connect() override { return connects; }
    void sendByte(uint8_t byte) override { sent.push_back(byte); }
    void sendByteCheckEcho(uint8_t byte) override
    {
        sent.push_back(byte);
        if (++polls == cutAfterPolls)
            isLost = true;
        m_fake.pump.waitForEvents(0.001);
        m_received = std::string(1, char('a' + polls % 26));
    }
    std::string received() const override { return m_received; }
    bool lost() const override { return isLost; }
    std::string lostMessage() const override { return "Lost the connection to Orvane on COM 1."; }
    bool portOpen() const override { return true; }
    void endExchange() override { ++exchangesEnded; }
    std::string busyReason() const override { return busy; }
    void setHeld(bool held) override { this->held = held; }

    bool connects = true;
    int cutAfterPolls = -1;
    bool isLost = false;
    int polls = 0;
    int exchangesEnded = 0;
    std::string busy;
    bool held = false;
    std::vector<uint8_t> sent;

private:
    FakePlatform &m_fake;
    std::string m_received;
};

class RecordingView : public LiveNmeaView
{
public:
    void setCaption(const std::string &text) override { caption = text; }
    void showWindow() override { shown = true; }
    void hideWindow() override { shown = false; }
    bool windowShown() const override { return shown; }
    void showText(const std::string &text) override { this->text = text; }

    std::string caption;
    std::string text;
    bool shown = false;
};

} // namespace

TEST(NmeaSelection, LiveViewRefusesABusyLineStopsWithoutConnectionAndReportsALostLink)
{
    FakePlatform fake;
    EditingState state;
    RecordingView view;
    ScriptedLine line(fake);
    LiveNmeaData live(state.editor, fake.platform, view);

    line.busy = "An upload to the Orvane is running. Wait for it to finish.";
    EXPECT_EQ(live.ViewData(line), LiveNmeaEnd::Busy);
    EXPECT_EQ(fake.dialogs.beeps(), 1);
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(fake.dialogs.messages()[0].text, line.busy);
    EXPECT_FALSE(view.shown);
    line.busy.clear();

    line.connects = false;
    state.editor.nmeaInputNumber = 3;
    EXPECT_EQ(live.ViewData(line), LiveNmeaEnd::NotConnected);
    EXPECT_TRUE(view.shown);
    EXPECT_EQ(view.caption, "Incoming Nmea Data:  Channel  3A and Channel  3B");
    EXPECT_TRUE(line.sent.empty());
    EXPECT_FALSE(line.held);

    // A second View Data while the loop runs hands it the new channel
    // instead of starting another loop.
    line.connects = true;
    line.cutAfterPolls = 300;
    fake.scheduler.schedule(fake.scheduler.now() + 0.1, [&] {
        EXPECT_TRUE(line.held);
        state.editor.nmeaInputNumber = 4;
        EXPECT_EQ(live.ViewData(line), LiveNmeaEnd::AlreadyRunning);
    });
    EXPECT_EQ(live.ViewData(line), LiveNmeaEnd::LinkLost);
    ASSERT_EQ(line.sent.front(), LiveNmeaData::kStreamStart);
    EXPECT_EQ(std::count(line.sent.begin(), line.sent.end(), 63), 1);
    EXPECT_EQ(line.sent[1], 3);
    EXPECT_EQ(line.sent.back(), 4);
    EXPECT_EQ(line.exchangesEnded, 0) << "nothing can be sent on a lost link";
    ASSERT_EQ(fake.dialogs.messages().size(), 2u);
    EXPECT_EQ(fake.dialogs.messages()[1].title, "Communications Error");
    EXPECT_EQ(view.text.size(), LiveNmeaData::kKeptCharacters);
    EXPECT_EQ(view.text, live.text());
    EXPECT_FALSE(line.held);
    EXPECT_FALSE(state.editor.liveNmeaData);
    EXPECT_FALSE(live.running());
}
