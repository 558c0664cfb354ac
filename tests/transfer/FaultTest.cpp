#include "TransferTestSupport.h"

#include "link/LinkTestSupport.h"
#include "sim/ControlLine.h"

// Every way an exchange can break half-way: the command ends at once with a
// message naming the step, sends nothing unsafe, leaves the PC's image as it
// was and the link down.

namespace orvane::test {
namespace {

constexpr const char *kAdvice = "Check the cable and the instrument's power, then try again.";

class FaultTest : public TransferTest
{
protected:
    FaultTest()
    {
        // The image already holds its check bytes, so an upload that stops
        // half-way has nothing to change in it.
        for (int c = 1; c <= 16; ++c)
            state.document.image.CDC(c, 0) = state.document.image.CDC.checkByte(c);
    }

    // Connects, then remembers the image and the instrument as they stand.
    void start()
    {
        connectFirst();
        image0 = state.document.image;
        nvm0 = instrumentNvm();
        started = now();
    }

    void expectStoppedWith(const TransferResult &result, const std::string &message)
    {
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.error(), message);
        const auto shown = fake.dialogs.messages();
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back().text, message);
        EXPECT_EQ(shown.back().title, "Communications Error");
        EXPECT_EQ(state.document.image, image0);
        EXPECT_FALSE(link.linkState().IsConnected);
        EXPECT_EQ(link.linkState().lineUser, LineUser::None);
        EXPECT_FALSE(view.progressShown);
        EXPECT_EQ(view.connectedCaptions.back(), "Not connected to Orvane");
        EXPECT_LT(now() - started, 30.0); // ended, not hung
    }

    ConfigImage image0;
    std::array<uint8_t, 512> nvm0{};
    double started = 0;
};

TEST_F(FaultTest, EchoesThatStopEndTheUploadAtTheRecordConcerned)
{
    // The settings (256 bytes) and six configurations are echoed, then silence.
    instrument().faults().echoesStopAfter = 256 + 6 * 128;
    start();
    const TransferResult result = transfers.cmdUpload();
    expectStoppedWith(
        result,
        std::string("No answer from the Orvane while writing display configuration 7. ") + kAdvice);
    // The instrument is still waiting for data bytes: nothing more may go
    // out, not even the soft reset, or it would be written into the record.
    const auto last = lastWritten(6); // the frame and the first data byte
    EXPECT_EQ(std::vector<uint8_t>(last.begin(), last.begin() + 5),
              (std::vector<uint8_t>{61, 3, 128, 19, 0})); // configuration 7 at 4864
    EXPECT_EQ(framesSent({61, 251, 0, 0, 0}), 0);
}

// The guide's rehearsal of a pulled cable, with its control lines: the unit
// is cut off in the middle of a record, comes back, and is neither stranded
// nor in need of switching off and on.
TEST_F(FaultTest, RehearsedCutIsRecoveredByTestAndTheNextUpload)
{
    const auto control = [this](const char *line) {
        const sim::ControlParse parsed = sim::parseControlLine(line);
        ASSERT_TRUE(parsed.command) << line;
        sim::applyControl(instrument(), *parsed.command);
    };
    control("fault echoes-stop-after 300"); // the settings, then 44 bytes of a record
    started = now();
    const TransferResult cut = transfers.cmdUpload();
    image0 = state.document.image; // connecting read the upload counter into the image
    expectStoppedWith(
        cut,
        std::string("No answer from the Orvane while writing display configuration 1. ") + kAdvice);

    control("clear-faults");
    const Result<std::string> found = connection.testPort(1, {});
    ASSERT_TRUE(found.ok()) << found.error();
    EXPECT_TRUE(found->starts_with("Orvane found on COM 1: serial number")) << *found;

    EXPECT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    for (int c = 1; c <= 16; ++c)
        for (int b = 0; b < 128; ++b)
            ASSERT_EQ(eeprom()[size_t(4096 + 128 * (c - 1) + b)], state.document.image.CDC(c, b))
                << "configuration " << c << " byte " << b;
    EXPECT_EQ(fake.dialogs.messages().size(), 1u) << "no retry question on the way";
}

TEST_F(FaultTest, PulledCableEndsTheUploadWithNothingSentAfterwards)
{
    start();
    double pulledAt = 0;
    at(12.0, [&] {
        pulledAt = now();
        fake.port.pullCable();
    });
    const TransferResult result = transfers.cmdUpload();
    expectStoppedWith(result,
                      std::string("The connection to the Orvane was lost while writing display "
                                  "configuration 14 (The device was removed). ")
                          + kAdvice);
    for (const auto &[time, byte] : fake.port.written)
        EXPECT_LE(time, pulledAt);
}

TEST_F(FaultTest, SilentInstrumentEndsTheDownloadAfterFiveReads)
{
    start();
    instrument().faults().noAnswer = true;
    const TransferResult result = transfers.cmdDownload();
    expectStoppedWith(result,
                      std::string("No answer from the Orvane while reading the Orvane's settings. "
                                  "The PC's settings were not changed. ")
                          + kAdvice);
    EXPECT_EQ(framesSent({61, 0, 0, 0, 0}), 5);
    EXPECT_EQ(view.progressLabels.back(),
              "No good answer yet, reading the Orvane's settings again: try 5 of 5");
    // The link itself is fine: the instrument is told the exchange is over.
    EXPECT_EQ(lastWritten(5), (std::vector<uint8_t>{61, 251, 0, 0, 0}));
    EXPECT_EQ(view.redraws, 0);
}

TEST_F(FaultTest, SettingsThatNeverVerifyEndTheUploadUnwritten)
{
    instrumentNvm()[0] ^= 0x01;
    start();
    const TransferResult result = transfers.cmdUpload();
    expectStoppedWith(
        result,
        std::string("The Orvane's settings failed their check byte 5 times while "
                    "reading the Orvane's settings. Nothing was written to the Orvane. ")
            + kAdvice);
    EXPECT_EQ(framesSent({61, 0, 0, 0, 0}), 5);
    EXPECT_EQ(framesSent({61, 1, 0, 0, 0}), 0);
    EXPECT_EQ(instrumentNvm(), nvm0);
}

TEST_F(FaultTest, DownloadWithAWrongCheckByteChangesNothing)
{
    for (int i = 1; i < 256; ++i)
        instrumentNvm()[size_t(i)] = 0x42;
    instrumentNvm()[0] = 0x00; // wrong: 255 bytes of 0x42 give 0x42
    start();
    EXPECT_FALSE(transfers.cmdDownload().ok());
    EXPECT_EQ(state.document.image, image0);
}

TEST_F(FaultTest, SerialNumberStaysPendingWhenTheSettingsWriteFails)
{
    state.transfer.NewSerialPending = true;
    state.transfer.NewSerialBytes = {26, 1, 2, 3};
    instrument().faults().echoesStopAfter = 10;
    start();
    EXPECT_FALSE(transfers.cmdUpload().ok());
    EXPECT_TRUE(state.transfer.NewSerialPending);
}

TEST_F(FaultTest, EchoesThatStopEndTheBackup)
{
    instrument().faults().echoesStopAfter = 4 * 64 + 10 * 64;
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};
    start();
    const TransferResult result = transfers.CreateBackup();
    expectStoppedWith(result,
                      std::string("No answer from the Orvane while backing up block 11. ")
                          + kAdvice);
    EXPECT_EQ(framesSent({61, 255, 0, 0, 0}), 0);
}

TEST_F(FaultTest, SlowEchoesEndTheRestore)
{
    instrument().faults().echoDelaySeconds = 0.8;
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};
    start();
    const TransferResult result = transfers.RestoreBackup();
    expectStoppedWith(
        result,
        std::string("No answer from the Orvane while restoring the Orvane's settings 1. ")
            + kAdvice);
}

TEST_F(FaultTest, SilentInstrumentStopsTheFirmwareRequestBeforeAnyWrite)
{
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};
    view.onConnectedCaption = [&](const std::string &caption) {
        if (caption == kFirmwareWaitCaption)
            instrument().faults().noAnswer = true;
    };
    image0 = state.document.image;
    started = now();
    const TransferResult result = transfers.UpdateFirmware();
    image0 = state.document.image; // connecting read the upload counter into the image
    expectStoppedWith(
        result,
        std::string("No answer from the Orvane while asking the Orvane for the firmware "
                    "update. Nothing was written to the Orvane. ")
            + kAdvice);
    EXPECT_EQ(framesSent({61, 1, 1, 0, 3}), 0);
}

} // namespace
} // namespace orvane::test

namespace orvane::test {
namespace {

// A far end that answers the settings read with only part of its 256 bytes.
TEST(ShortAnswerTest, IncompleteSettingsAreReadAgainThenGivenUp)
{
    FakePlatform fake;
    ScriptedPort port(fake.scheduler);
    Platform platform{fake.clock, fake.pump, fake.dialogs, fake.files, port};
    AppState state;
    loadFactoryDefaults(state.document, state.editor, state.transfer.NewUnitPending);
    state.transfer.DownloadSelection.fill(1);
    ByteLink link(platform);
    QuietConnectionView connectionView;
    Connection connection(platform, link, connectionView);
    RecordingTransferView view;
    view.onShowSelection = [&] {
        state.transfer.TransferChoice = 2;
    };
    Transfers
        transfers(state.document, state.transfer, state.editor, platform, link, connection, view);

    std::vector<uint8_t> last;
    port.responder = [&last](uint8_t b) {
        last.push_back(b);
        if (last.size() > 5)
            last.erase(last.begin());
        if (last == std::vector<uint8_t>{61, 0, 0, 0, 0})
            return std::vector<uint8_t>(100, 0x42);
        return std::vector<uint8_t>{};
    };
    ASSERT_TRUE(link.openPort(1).ok());
    link.setConnected(true); // as after a connect

    const ConfigImage before = state.document.image;
    const TransferResult result = transfers.cmdDownload();
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.error(),
              "Only 100 of 256 bytes came back from the Orvane while reading the Orvane's "
              "settings. The read was tried 5 times. The PC's settings were not changed. Check "
              "the cable and the instrument's power, then try again.");
    EXPECT_EQ(state.document.image, before);
    int reads = 0;
    for (size_t i = 0; i + 4 < port.written.size(); ++i)
        if (port.written[i].second == 61 && port.written[i + 1].second == 0)
            ++reads;
    EXPECT_EQ(reads, 5);
}

} // namespace
} // namespace orvane::test
