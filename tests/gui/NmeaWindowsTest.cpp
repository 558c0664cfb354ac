#include "PanelTestSupport.h"

#include "editors/ui/frmNmea.h"
#include "editors/ui/frmNmeaData.h"
#include "sim/NmeaFeed.h"
#include "transfer/ui/TransferController.h"
#include "transfer/ui/frmBeingSentReceived.h"

#include <QPlainTextEdit>

#include <functional>

using namespace orvane;
using namespace orvane::test;

namespace {

constexpr int kNmea1APosition = 10;
constexpr int kNmea2BPosition = 13;
constexpr int kBoatSpeedPosition = 4;
constexpr int kWi = 35;
constexpr int kMwv = 53;
constexpr int kThreeCommas = 2;

} // namespace

class NmeaWindowsTest : public PanelFixture
{
protected:
    frmNmea &selector() { return *window().nmeaWindow(); }
    frmNmeaData &data() { return *selector().dataWindow(); }

    void choose(int talker, int sentence, int commas)
    {
        control<QComboBox>(selector(), "cmbNmeaTalker")->setCurrentIndex(talker);
        control<QComboBox>(selector(), "cmbNmeaID")->setCurrentIndex(sentence);
        control<QComboBox>(selector(), "cmdNmeaCommas")->setCurrentIndex(commas);
    }

    std::vector<int> choices()
    {
        return {control<QComboBox>(selector(), "cmbNmeaTalker")->currentIndex(),
                control<QComboBox>(selector(), "cmbNmeaID")->currentIndex(),
                control<QComboBox>(selector(), "cmdNmeaCommas")->currentIndex()};
    }

    std::vector<uint8_t> settings(int k)
    {
        return {state.document.image.IntNvm[k],
                state.document.image.IntNvm[k + 1],
                state.document.image.IntNvm[k + 2]};
    }
};

TEST_F(NmeaWindowsTest, AcceptStoresTheChoicesAndCancelStoresNothing)
{
    shown();
    pick("ComboDisplay1", kNmea1APosition);
    ASSERT_TRUE(selector().isVisible());
    choose(kWi, kMwv, kThreeCommas);
    control<QPushButton>(selector(), "cmdNmeaAccept")->click();
    EXPECT_EQ(settings(68), (std::vector<uint8_t>{36, 54, 3}));
    EXPECT_FALSE(selector().isVisible());
    EXPECT_FALSE(data().isVisible());

    pick("ComboDisplay1", kNmea1APosition);
    choose(0, 0, 0);
    control<QPushButton>(selector(), "cmdNmeaCancel")->click();
    EXPECT_EQ(settings(68), (std::vector<uint8_t>{36, 54, 3}));
    EXPECT_FALSE(selector().isVisible());

    pick("ComboDisplay1", kNmea1APosition);
    EXPECT_EQ(choices(), (std::vector<int>{kWi, kMwv, kThreeCommas}));

    // Nothing selected stores nothing selected.
    pick("ComboDisplay1", kNmea1APosition + 1);
    choose(-1, -1, -1);
    control<QPushButton>(selector(), "cmdNmeaAccept")->click();
    EXPECT_EQ(settings(71), (std::vector<uint8_t>{0, 0, 0}));
}

TEST_F(NmeaWindowsTest, LiveViewStreamsTheChannelPausesQuietlyAndEndsTheExchange)
{
    frmMain &w = shown();
    link().setComPortNumber(1);
    pick("ComboDisplay2", kNmea2BPosition);
    EXPECT_EQ(data().pos(), w.geometry().topLeft() + QPoint(45 / 15, 3970 / 15));

    size_t writtenAtPause = 0;
    int waitsAtPause = 0;
    bool paused = false;
    bool downloadAskedAfterTheLoop = false;
    std::function<void()> whenStreaming = [&] {
        if (data().live().text().size() < LiveNmeaData::kKeptCharacters) {
            fake.scheduler.schedule(fake.scheduler.now() + 0.05, whenStreaming);
            return;
        }
        EXPECT_EQ(link().linkState().lineUser, LineUser::LiveNmea);
        // A transfer asks to stop the live view; No leaves both as they are.
        fake.dialogs.messageAnswers = {MessageAnswer::No};
        control<QPushButton>("cmdDownload")->click();
        ASSERT_FALSE(fake.dialogs.messages().empty());
        EXPECT_EQ(fake.dialogs.messages().back().text,
                  "The NMEA data window is reading from the Orvane. Stop it and go on?");
        EXPECT_FALSE(w.transfers().selectionWindow()->isVisible());
        EXPECT_TRUE(data().isVisible());
        control<QPushButton>(data(), "cmdNmeaDataFreeze")->click();
        paused = true;
        writtenAtPause = fake.port.written.size();
        waitsAtPause = fake.pump.waitCalls;
        fake.scheduler.schedule(fake.scheduler.now() + 5, [&] {
            EXPECT_EQ(fake.port.written.size(), writtenAtPause) << "nothing is sent while paused";
            EXPECT_LE(fake.pump.waitCalls - waitsAtPause, 6) << "a paused loop sleeps";
            control<QPushButton>(data(), "cmdNmeaDataResume")->click();
            // Yes ends the live view as its own close does, then downloads.
            fake.scheduler.schedule(fake.scheduler.now() + 0.5, [&] {
                fake.dialogs.messageAnswers = {MessageAnswer::Yes};
                control<QPushButton>("cmdDownload")->click();
            });
            fake.scheduler.schedule(fake.scheduler.now() + 1.5, [&] {
                downloadAskedAfterTheLoop = w.transfers().selectionWindow()->isVisible()
                                            && link().linkState().lineUser == LineUser::None;
                w.transfers().selectionWindow()->close();
            });
        });
    };
    fake.scheduler.schedule(fake.scheduler.now() + 0.05, whenStreaming);

    control<QPushButton>(selector(), "cmdNmeaViewData")
        ->click(); // returns once the window is hidden

    ASSERT_TRUE(paused);
    EXPECT_TRUE(downloadAskedAfterTheLoop);
    EXPECT_EQ(data().windowTitle(), "Incoming Nmea Data:  Channel  2A and Channel  2B");
    EXPECT_FALSE(data().isVisible());
    EXPECT_GT(fake.port.written.size(), writtenAtPause) << "Resume polled again";

    // After the connection: one "?", then only polls of channel 2, then the
    // soft reset that ends the exchange.
    std::vector<uint8_t> bytes;
    for (const auto &[time, byte] : fake.port.written)
        bytes.push_back(byte);
    const auto start = std::find(bytes.rbegin(), bytes.rend(), uint8_t('?')).base() - 1;
    const std::vector<uint8_t> tail(start + 1, bytes.end());
    ASSERT_GT(tail.size(), 5u);
    EXPECT_EQ(std::vector<uint8_t>(tail.end() - 5, tail.end()),
              (std::vector<uint8_t>{'=', 251, 0, 0, 0}));
    EXPECT_TRUE(std::all_of(tail.begin(), tail.end() - 5, [](uint8_t b) { return b == 2; }));
    EXPECT_EQ(fake.instrument.linkMode(), sim::Instrument::LinkMode::Idle);
    EXPECT_FALSE(link().linkState().IsConnected);
    EXPECT_EQ(link().linkState().lineUser, LineUser::None);

    // The window keeps exactly the last 200 characters of channel 2's stream.
    const std::string text = data().live().text();
    EXPECT_EQ(text.size(), LiveNmeaData::kKeptCharacters);
    std::string stream;
    for (int round = 0; round < 2000; ++round)
        stream += sim::NmeaFeed::round(2, round);
    EXPECT_NE(stream.find(text), std::string::npos);
    EXPECT_NE(
        control<QPlainTextEdit>(data(), "txtNmeaData")->toPlainText().indexOf(QStringLiteral("$")),
        -1);

    // Another source hides both windows.
    pick("ComboDisplay2", kBoatSpeedPosition);
    EXPECT_FALSE(selector().isVisible());
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}
