#include "LinkTestSupport.h"

#include "link/Commands.h"

namespace orvane::test {
namespace {

class ConnectionTest : public ::testing::Test
{
protected:
    ConnectionTest()
    {
        link.setComPortNumber(1);
        instrument.setSerial(12, 5, 30, 7);
        instrument.setFirmwareVersion(17);
        instrument.setHardwareVersions({3, {21, 22, 23, 24}});
        instrument.setProductCode(1);
        instrument.internalNvm()[10] = 1;
        instrument.internalNvm()[11] = 2;
    }

    void putInstrumentInCommandMode()
    {
        for (int i = 0; i < kResyncCount; ++i)
            instrument.feed(kResyncByte);
    }

    int writtenCount(uint8_t byte) const
    {
        return int(std::count_if(fake.port.written.begin(),
                                 fake.port.written.end(),
                                 [byte](auto &w) { return w.second == byte; }));
    }

    FakePlatform fake;
    sim::Instrument &instrument = fake.instrument;
    ByteLink link{fake.platform};
    RecordingView view;
    Connection connection{fake.platform, link, view};
};

TEST_F(ConnectionTest, FullHandshakeSendsTheExactBytesWithTheExactPauses)
{
    const double start = fake.scheduler.now();
    const ConnectOutcome outcome = connection.ConnectToTessaro();
    ASSERT_TRUE(outcome);

    WireScript script(start + Connection::kPortSettlePause);
    script.send({61, 4, 5, 5, 5}).pause(0.1);                 // quick probe: idle, answers "="
    script.send({61}).pause(0.1);                             // presence probe
    script.send({35, 35, 35, 35, 35, 35, 35, 35}).pause(0.1); // resynchronisation
    script.send({61, 14, 0, 0, 0}).pause(0.1);                // versions
    script.send({61, 2, 1, 28, 64}).pause(0.1);               // product code
    script.send({61, 13, 1, 229, 5}).pause(0.1);              // exchange mark
    script.send({123}).pause(0.1);
    script.send({61, 5, 5, 5, 5}).pause(0.1);   // identity
    script.send({61, 0, 1, 0, 94}).pause(0.25); // firmware byte
    script.send({61, 0, 2, 0, 10}).pause(0.25); // upload counter
    expectWire(fake.port.written, script.entries);
    EXPECT_NEAR(fake.scheduler.now(), script.end(), 1e-9);

    const LinkState &ls = link.linkState();
    EXPECT_TRUE(ls.IsConnected);
    EXPECT_EQ(ls.SerialNumberText, " 120530007");
    EXPECT_EQ(ls.SoftwareVersionText, " 17");
    EXPECT_EQ(ls.HardwareVersionText, " 3");
    EXPECT_EQ(ls.ChipVersionText, (std::array<std::string, 4>{" 21", " 22", " 23", " 24"}));
    EXPECT_EQ(ls.ProductCode, 1);
    EXPECT_EQ(ls.NewConfigCount, 258);
    EXPECT_EQ(outcome.end, ConnectEnd::Connected);
    ASSERT_TRUE(outcome.identity);
    EXPECT_EQ(outcome.identity->uploadCounter, (std::array<uint8_t, 2>{1, 2}));
    EXPECT_EQ(outcome.identity->serialNumber, ls.SerialNumberText);
    EXPECT_EQ(outcome.identity->softwareVersion, ls.SoftwareVersionText);
    EXPECT_EQ(outcome.identity->productCode, 1);
    EXPECT_FALSE(link.rx().CommTimedOut);
    EXPECT_EQ(instrument.exchangeMark(), 123);

    EXPECT_EQ(view.connectedCaption, "Connected to Orvane");
    EXPECT_EQ(view.serialNumberCaption, " Orvane SN#:  120530007");
    EXPECT_EQ(view.identity, (std::array<std::string, 3>{" 120530007", " 17", " 3"}));
    EXPECT_EQ(view.chipVersions, ls.ChipVersionText);
    EXPECT_EQ(view.productCode, " 1");
    EXPECT_EQ(view.uploadCount, " 258");
    EXPECT_TRUE(view.contains("show frmShowConnecting"));
    EXPECT_FALSE(view.connectingShown);
    EXPECT_EQ(view.connectingCaption, "Attempting to connect to Orvane on COM  1 . .");
    EXPECT_TRUE(fake.dialogs.calls.empty());
}

TEST_F(ConnectionTest, InstrumentInCommandModeIsIdentifiedWithoutTheNotice)
{
    putInstrumentInCommandMode();
    const double start = fake.scheduler.now();
    ASSERT_TRUE(connection.ConnectToTessaro());
    EXPECT_FALSE(view.contains("show frmShowConnecting"));
    // Straight from the quick probe to the versions: no probe, no "#".
    ASSERT_GE(fake.port.written.size(), 6u);
    EXPECT_EQ(fake.port.written[5].second, 61);
    EXPECT_EQ(fake.port.written[6].second, 14);
    EXPECT_NEAR(fake.port.written[5].first, start + 0.5 + 0.25 + 0.1, 1e-9);
    EXPECT_EQ(writtenCount(35), 0);
    EXPECT_EQ(link.linkState().SerialNumberText, " 120530007");
}

TEST_F(ConnectionTest, BlankIdentityAndUnwrittenCounter)
{
    instrument.faults().blankIdentity = true;
    instrument.internalNvm()[10] = 255;
    instrument.internalNvm()[11] = 255;
    const ConnectOutcome outcome = connection.ConnectToTessaro();
    ASSERT_TRUE(outcome);
    EXPECT_EQ(link.linkState().SerialNumberText, " 0");
    EXPECT_EQ(view.serialNumberCaption, " Orvane SN#:  0");
    EXPECT_EQ(link.linkState().NewConfigCount, 1);
    EXPECT_EQ(view.uploadCount, " 1");
    ASSERT_TRUE(outcome.identity);
    EXPECT_EQ(outcome.identity->uploadCounter, (std::array<uint8_t, 2>{0, 1}));
}

TEST(SerialNumberTest, DateBytesAndBlankMemory)
{
    EXPECT_EQ(serialNumberFromBytes({12, 5, 30, 7}), 120530007);
    EXPECT_EQ(serialNumberFromBytes({99, 12, 31, 255}), 991231255);
    EXPECT_EQ(serialNumberFromBytes({255, 255, 255, 255}), 0);
    EXPECT_EQ(serialNumberFromBytes({254, 254, 254, 254}), 0);
    EXPECT_EQ(serialNumberFromBytes({255, 255, 255, 254}), 2575755254LL);
}

TEST_F(ConnectionTest, SiblingModelIsRefusedUnlessInFactoryMode)
{
    instrument.setProductCode(2);
    fake.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::No};
    EXPECT_FALSE(connection.ConnectToTessaro());

    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_TRUE(link.rx().CommTimedOut);
    const auto questions = fake.dialogs.messages();
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].title, "Can't find Orvane");
    EXPECT_EQ(questions[0].text, "Can't connect to Orvane on COM  1.\r\nDo you want to try again?");
    EXPECT_EQ(questions[0].icon, MessageIcon::Question);
    EXPECT_EQ(fake.dialogs.beeps(), 2);
    // Yes ran the resynchronisation and identification again without probes.
    EXPECT_EQ(writtenCount(35), 16);
    // No ended the exchange: a pause, then the disconnect frame.
    const auto &w = fake.port.written;
    ASSERT_GE(w.size(), 5u);
    const std::vector<uint8_t> tail{w[w.size() - 5].second,
                                    w[w.size() - 4].second,
                                    w[w.size() - 3].second,
                                    w[w.size() - 2].second,
                                    w[w.size() - 1].second};
    EXPECT_EQ(tail, (std::vector<uint8_t>{61, 255, 0, 0, 0}));
    EXPECT_NEAR(w[w.size() - 5].first - w[w.size() - 6].first, 0.05 + 0.1 + 0.1, 1e-9);
    EXPECT_EQ(view.connectedCaption, "Not connected to Orvane");
    EXPECT_TRUE(view.contains("hide frmProgress"));
    EXPECT_EQ(view.productCode, " 2");
    EXPECT_FALSE(instrument.inCommandMode());
}

TEST_F(ConnectionTest, SiblingModelIsAcceptedInFactoryMode)
{
    instrument.setProductCode(2);
    link.setFactoryMode(true);
    EXPECT_TRUE(connection.ConnectToTessaro());
    EXPECT_EQ(link.linkState().ProductCode, 2);
    EXPECT_TRUE(fake.dialogs.calls.empty());
}

TEST_F(ConnectionTest, NoAnswerAsksAfterFiftyTriesAndNoGivesUp)
{
    instrument.faults().noAnswer = true;
    fake.dialogs.messageAnswers = {MessageAnswer::No};
    const double start = fake.scheduler.now();
    EXPECT_FALSE(connection.ConnectToTessaro());

    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_TRUE(fake.port.isOpen());
    EXPECT_EQ(writtenCount(61), 1 + 50); // the quick probe's "=" and fifty probes
    EXPECT_NEAR(fake.scheduler.now(), start + 0.5 + 0.35 + 50 * 0.15, 1e-9);
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(fake.dialogs.calls.front().kind, DialogCall::Kind::Beep);
    EXPECT_FALSE(view.connectingShown);
    std::string expectedCaption = "Attempting to connect to Orvane on COM  1 .";
    for (int i = 0; i < 51; ++i)
        expectedCaption += " .";
    EXPECT_EQ(view.connectingCaption, expectedCaption);
}

TEST_F(ConnectionTest, RetryAfterNoAnswerFindsTheInstrumentSwitchedOn)
{
    instrument.faults().noAnswer = true;
    fake.dialogs.onDialog = [&](const DialogCall &call) {
        if (call.kind == DialogCall::Kind::Message)
            instrument.faults().noAnswer = false;
    };
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};
    EXPECT_TRUE(connection.ConnectToTessaro());
    EXPECT_EQ(writtenCount(61) - 1 - 50, 1 + 6); // one probe after Yes, then six frames
}

// A far end that answers "=" to everything but never "@".
TEST(ConnectionResyncTest, ResyncThatNeverAnswersEndsInTheRetryQuestion)
{
    FakePlatform fake;
    ScriptedPort port(fake.scheduler);
    port.responder = [](uint8_t) {
        return std::vector<uint8_t>{61};
    };
    Platform platform{fake.clock, fake.pump, fake.dialogs, fake.files, port};
    ByteLink link(platform);
    link.setComPortNumber(2);
    RecordingView view;
    Connection connection(platform, link, view);
    fake.dialogs.messageAnswers = {MessageAnswer::No};

    EXPECT_FALSE(connection.ConnectToTessaro());
    EXPECT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_FALSE(link.linkState().IsConnected);
}

// An exchange cut short leaves the instrument waiting for the rest of a frame
// or block write; the next connect brings it back into step. A unit that
// answered nothing at all is only tried again once the user says Yes.
TEST_F(ConnectionTest, UnitLeftOutOfStepByACutExchangeIsFoundAgain)
{
    struct Case
    {
        const char *state;
        std::vector<uint8_t> cutAfter; // what reached the instrument before the cut
        int retryQuestions;
    };
    const auto write = [](int received) {
        std::vector<uint8_t> bytes{61, 3, 128, 156, 64}; // 128 bytes at EEPROM 40000
        bytes.resize(bytes.size() + size_t(received), 0xA5);
        return bytes;
    };
    const Case cases[] = {
        {"a block write with 127 bytes to come", write(1), 0},
        {"a block write that the quick probe completes", write(125), 0},
        {"a frame without its last two bytes", {61, 12, 9}, 1},
    };
    for (const Case &c : cases) {
        FakePlatform fake;
        ByteLink link{fake.platform};
        RecordingView view;
        Connection connection{fake.platform, link, view};
        link.setComPortNumber(1);
        for (int i = 0; i < kResyncCount; ++i)
            fake.instrument.feed(kResyncByte);
        for (const uint8_t b : c.cutAfter)
            fake.instrument.feed(b);
        fake.dialogs.messageAnswers = {MessageAnswer::Yes};
        const double start = fake.scheduler.now();

        EXPECT_TRUE(connection.ConnectToTessaro()) << c.state;
        EXPECT_EQ(int(fake.dialogs.messages().size()), c.retryQuestions) << c.state;
        EXPECT_EQ(fake.dialogs.unexpected, 0) << c.state;
        EXPECT_LT(fake.scheduler.now() - start, 25.0) << c.state;
    }
}

TEST_F(ConnectionTest, PulledCableDuringTheProbesEndsTheConnect)
{
    instrument.faults().noAnswer = true;
    fake.scheduler.schedule(fake.scheduler.now() + 2.0, [&] { fake.port.pullCable(); });
    const double start = fake.scheduler.now();
    EXPECT_FALSE(connection.ConnectToTessaro());
    EXPECT_LT(fake.scheduler.now() - start, 2.2);
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_FALSE(view.connectingShown);
    EXPECT_EQ(view.connectedCaption, "Not connected to Orvane");
    const auto messages = fake.dialogs.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Communications Error");
    EXPECT_NE(messages[0].text.find("Lost the connection to Orvane on COM 1."), std::string::npos);
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

TEST_F(ConnectionTest, PortErrorBoxAsksAgainUntilAWholePortNumber)
{
    link.setComPortNumber(3);
    fake.port.missingPorts = {3};
    fake.dialogs.inputAnswers = {"abc", "0", "-2", "300", "5"};
    ASSERT_TRUE(connection.ConnectToTessaro());

    const auto inputs = fake.dialogs.inputs();
    ASSERT_EQ(inputs.size(), 5u);
    EXPECT_EQ(inputs[0].title, "Communications Error");
    EXPECT_EQ(inputs[0].defaultText, "0");
    EXPECT_EQ(inputs[0].text,
              "Error encountered while trying to open COM 3.\r\nPlease check data and power "
              "connections.\r\n\r\nEnter a new COM port number or click Cancel.");
    EXPECT_EQ(inputs[4].text, inputs[0].text); // the bad answers changed nothing
    EXPECT_EQ(fake.dialogs.beeps(), 4);
    EXPECT_EQ(link.linkState().ComPortNumber, 5);
    EXPECT_EQ(view.selectedOption, 5);
    EXPECT_EQ(view.commsPortCaption, "COM Port =  5");
    EXPECT_TRUE(link.linkState().IsConnected);
}

TEST_F(ConnectionTest, CancelInThePortErrorBoxLeavesThePortClosed)
{
    link.setComPortNumber(12);
    fake.port.missingPorts = {12, 7};
    fake.dialogs.inputAnswers = {"7", ""};
    EXPECT_FALSE(connection.ConnectToTessaro());
    const auto inputs = fake.dialogs.inputs();
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_NE(inputs[0].text.find("open COM12.\r\n"), std::string::npos);
    EXPECT_NE(inputs[1].text.find("open COM 7.\r\n"), std::string::npos);
    EXPECT_FALSE(fake.port.isOpen());
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_TRUE(fake.port.written.empty());
}

TEST_F(ConnectionTest, NoPortChosenShowsTheDialogAndWaitsForAChoice)
{
    link.setComPortNumber(0);
    view.onShowComms = [&] {
        fake.scheduler.schedule(fake.scheduler.now() + 3.0,
                                [&] { connection.acceptCommsChoice(1); });
    };
    const double start = fake.scheduler.now();
    ASSERT_TRUE(connection.ConnectToTessaro());
    EXPECT_NEAR(fake.port.written.front().first, start + 3.0 + 0.5, 1e-9);
    EXPECT_EQ(view.commsPortCaption, "COM Port =  1");
    EXPECT_FALSE(view.commsShown);
}

TEST_F(ConnectionTest, ClosingThePortDialogCancelsTheConnect)
{
    link.setComPortNumber(0);
    view.onShowComms = [&] {
        fake.scheduler.schedule(fake.scheduler.now() + 2.0,
                                [&] { connection.commsDialogClosed(); });
    };
    EXPECT_FALSE(connection.ConnectToTessaro());
    EXPECT_EQ(fake.port.openCount, 0);
    EXPECT_FALSE(link.linkState().IsConnected);
}

TEST_F(ConnectionTest, PortMenuKeepsTheOldPortWhenTheDialogIsClosed)
{
    link.setComPortNumber(4);
    int portWhileOpen = -1;
    view.onShowComms = [&] {
        fake.scheduler.schedule(fake.scheduler.now() + 1.0, [&] {
            portWhileOpen = link.linkState().ComPortNumber;
            connection.commsDialogClosed();
        });
    };
    connection.OrvaneComPort();
    EXPECT_EQ(portWhileOpen, 4) << "a save while the dialog is open keeps the port";
    EXPECT_EQ(link.linkState().ComPortNumber, 4);
    EXPECT_FALSE(view.commsShown);

    // Accept with "None" ends the wait too, with no port.
    link.setConnected(true);
    view.onShowComms = [&] {
        fake.scheduler.schedule(fake.scheduler.now() + 1.0,
                                [&] { connection.acceptCommsChoice(0); });
    };
    connection.OrvaneComPort();
    EXPECT_EQ(link.linkState().ComPortNumber, 0);
    EXPECT_EQ(view.commsPortCaption, "COM Port =  0");
    EXPECT_FALSE(link.linkState().IsConnected);
}

TEST_F(ConnectionTest, TestButtonIdentifiesEndsTheExchangeAndLeavesThePortChoiceAlone)
{
    link.setComPortNumber(2);
    std::optional<Identity> stored;
    bool storedBeforeTheEnd = false;
    const Result<std::string> found = connection.testPort(6, [&](const Identity &identity) {
        stored = identity;
        storedBeforeTheEnd = instrument.inCommandMode();
    });
    ASSERT_TRUE(found) << found.error();
    // Stored as every connection stores it, at the step that read it.
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->uploadCounter, (std::array<uint8_t, 2>{1, 2}));
    EXPECT_TRUE(storedBeforeTheEnd);
    EXPECT_EQ(*found,
              "Orvane found on COM 6: serial number 120530007, software version 17, "
              "hardware version 3.");
    EXPECT_EQ(view.serialNumberCaption, " Orvane SN#:  120530007");
    EXPECT_EQ(link.linkState().ComPortNumber, 2) << "only Accept chooses the port";
    EXPECT_TRUE(view.commsPortCaption.empty()) << "the port label keeps what it showed";
    // Ended as every operation ends: the soft reset, and not connected.
    std::vector<uint8_t> tail;
    for (auto it = fake.port.written.end() - 5; it != fake.port.written.end(); ++it)
        tail.push_back(it->second);
    EXPECT_EQ(tail, (std::vector<uint8_t>{61, 251, 0, 0, 0}));
    EXPECT_EQ(instrument.linkMode(), sim::Instrument::LinkMode::Idle);
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_EQ(view.connectedCaption, "Not connected to Orvane");
    EXPECT_EQ(link.linkState().lineUser, LineUser::None);
    EXPECT_FALSE(view.contains("hide frmComms"));

    // Refusals say why, and send nothing.
    fake.port.written.clear();
    EXPECT_EQ(connection.testPort(0, {}).error(), "Choose a COM port to test.");
    link.setLineUser(LineUser::Upload);
    EXPECT_EQ(connection.testPort(6, {}).error(),
              "An upload to the Orvane is running. Wait for it to finish.");
    EXPECT_TRUE(fake.port.written.empty());

    // A unit that never answers is named as such once the user gives up.
    link.setLineUser(LineUser::None);
    instrument.faults().noAnswer = true;
    fake.dialogs.messageAnswers = {MessageAnswer::No};
    EXPECT_EQ(connection.testPort(6, {}).error(),
              "No Orvane answered on COM 6. Check the cable and the instrument's power.");
    EXPECT_EQ(link.linkState().ComPortNumber, 2);
}

TEST_F(ConnectionTest, EndExchangeDisconnects)
{
    ASSERT_TRUE(connection.ConnectToTessaro());
    connection.endExchange(CommandCode::SoftReset);
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_EQ(view.connectedCaption, "Not connected to Orvane");
    fake.pump.waitForEvents(0.01);
    EXPECT_FALSE(instrument.inCommandMode());
}

TEST(Timer1Test, LampIsGreenOnlyWhileConnected)
{
    EXPECT_EQ(connectionLamp(true).colour, (LampColour{0, 255, 0}));
    EXPECT_EQ(connectionLamp(true).caption, "Connected to Orvane");
    EXPECT_EQ(connectionLamp(false).colour, (LampColour{255, 0, 0}));
    EXPECT_EQ(connectionLamp(false).caption, "Not connected to Orvane");
}

} // namespace
} // namespace orvane::test
