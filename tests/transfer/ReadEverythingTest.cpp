#include "TransferTestSupport.h"

#include "config/Defaults.h"
#include "transfer/TransferImage.h"

// Read Everything: a unit whose configuration file is lost gives its
// configurations, settings and user curves back; a read that fails changes
// nothing.

namespace orvane::test {
namespace {

constexpr const char *kAdvice = "Check the cable and the instrument's power, then try again.";

class ReadEverythingTest : public TransferTest
{
protected:
    ReadEverythingTest()
    {
        // A PC image worth keeping: configurations and user curves of its own.
        ConfigImage &image = state.document.image;
        for (int c = 1; c <= 16; ++c)
            for (int b = 1; b < 128; ++b)
                image.CDC(c, b) = uint8_t(c * 16 + b);
        for (const int n : kUploadedCurves)
            for (int p = 1; p <= 32; ++p) {
                image.CalCurve(n, p, 1) = float(7 * p + n) + 0.3f;
                image.CalCurve(n, p, 2) = float(300 * p + n) + 0.6f;
            }
        EXPECT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
        uploaded = state.document.image;

        // Then the file is lost: the PC starts again from the defaults.
        loadFactoryDefaults(state.document, state.editor, false);
        state.document.changed = false;
        state.editor.CurveInEdit = 6;
    }

    // Runs `action` once the instrument has served a frame whose log line
    // starts with `served`.
    void whenServed(const std::string &served, std::function<void()> action)
    {
        constexpr double kPoll = 0.01;
        at(kPoll, [this, served, action] {
            for (const std::string &line : instrument().frameLog())
                if (line.starts_with(served))
                    return action();
            whenServed(served, action);
        });
    }

    int servedCount(const std::string &served) const
    {
        const auto &log = fake.instrument.frameLog();
        return int(std::count_if(log.begin(), log.end(), [&](const std::string &line) {
            return line.starts_with(served);
        }));
    }

    // Runs `action` after each of the next `times` frames served whose log
    // line starts with `served`, before the next frame comes.
    void afterEachRead(const std::string &served, int times, std::function<void()> action)
    {
        constexpr double kPoll = 0.002; // well inside one record's answer
        const int seen = servedCount(served);
        at(kPoll, [this, served, times, action, seen] {
            const int now = servedCount(served);
            if (now > seen)
                action();
            if (now == seen || times > 1)
                afterEachRead(served, now > seen ? times - 1 : times, action);
        });
    }

    void expectUploadedImage()
    {
        const ConfigImage &image = state.document.image;
        for (int c = 1; c <= 16; ++c)
            for (int b = 0; b < 128; ++b)
                ASSERT_EQ(image.CDC(c, b), uploaded.CDC(c, b)) << c << "/" << b;
        for (int i = 0; i < 256; ++i)
            EXPECT_EQ(image.IntNvm[i], i == 6 ? 1 : instrumentNvm()[size_t(i)]) << i;
        for (const int n : kUploadedCurves)
            EXPECT_EQ(curveRecord(image.CalCurve, n), curveRecord(uploaded.CalCurve, n)) << n;
    }

    ConfigImage uploaded;
};

TEST_F(ReadEverythingTest, GivesBackWhatTheLastUploadWrote)
{
    const TransferResult result = transfers.ReadEverything();
    ASSERT_EQ(outcomeOf(result), TransferOutcome::Completed) << result.error();
    expectUploadedImage();

    // A new image, not yet saved, that the editors take as a whole.
    EXPECT_TRUE(state.document.changed);
    EXPECT_EQ(state.editor.CurveInEdit, EditorState::kNoCurve);
    EXPECT_EQ(view.redraws, 1);
    EXPECT_TRUE(fake.dialogs.messages().empty());
    // The exchange ended, the bar filled.
    EXPECT_EQ(lastWritten(5), (std::vector<uint8_t>{61, 251, 0, 0, 0}));
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_EQ(link.linkState().lineUser, LineUser::None);
    EXPECT_FALSE(view.progressShown);
    ASSERT_FALSE(view.progress.empty());
    EXPECT_EQ(view.progress.back().first, view.progress.back().second);
    EXPECT_NE(std::find(view.progressLabels.begin(),
                        view.progressLabels.end(),
                        "Reading display configurations 15 and 16"),
              view.progressLabels.end());
}

TEST_F(ReadEverythingTest, ShortAnswersAreReadAgainAndRecordsDamagedOnTheUnitAreTakenAsTheyAre)
{
    // Short answers on the line are read again and change nothing.
    instrument().faults().shortReadBytes = 100;
    instrument().faults().shortReads = 2;
    ASSERT_EQ(outcomeOf(transfers.ReadEverything()), TransferOutcome::Completed);
    expectUploadedImage();
    EXPECT_TRUE(fake.dialogs.messages().empty());

    // A configuration with a wrong check byte, a curve no upload wrote and
    // one whose point 31 sits at the top input read back the same every
    // time: that is what the unit holds, and the notice says why the image
    // cannot show it.
    eeprom()[size_t(configRecordAddress(5) + 40)] ^= 0x01;
    std::fill_n(eeprom().begin() + curveRecordAddress(25), 128, uint8_t(255));
    const size_t point31 = size_t(curveRecordAddress(22) + 4 * 30);
    eeprom()[point31] = 0x03;
    eeprom()[point31 + 1] = 0xFF;
    const auto word = [this](size_t at) {
        return std::to_string(eeprom()[at] * 256 + eeprom()[at + 1]);
    };
    ASSERT_EQ(outcomeOf(transfers.ReadEverything()), TransferOutcome::Completed);
    EXPECT_EQ(state.document.image.CDC(5, 40), uploaded.CDC(5, 40) ^ 0x01);
    CalCurveTable defaults;
    writeDefaultCurve(defaults, 25);
    EXPECT_EQ(curveRecord(state.document.image.CalCurve, 25), curveRecord(defaults, 25));
    const auto shown = fake.dialogs.messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Read Everything from Orvane");
    EXPECT_EQ(shown[0].text,
              "Everything was read from the Orvane, but these records cannot be shown exactly as "
              "it holds them:\r\nDisplay configuration 5: its check byte is "
                  + std::to_string(eeprom()[size_t(configRecordAddress(5))])
                  + " where its bytes give " + std::to_string(uploaded.CDC(5, 0) ^ 0x01)
                  + ". It is shown as held; an upload writes the right check byte.\r\nSender "
                    "curve 22 cannot become points: its last value "
                  + word(point31 + 6) + " cannot follow from point 31 (input 1023, value "
                  + word(point31 + 2)
                  + "), as an upload extends the line through the last two points. The default "
                    "curve is shown in its place.\r\nSender curve 25 cannot become points: it is "
                    "blank (every byte 255): nothing was ever written there. The default curve is "
                    "shown in its place.\r\nUploading Display Configurations or Sender Curves "
                    "replaces them. Every upload first keeps an exact copy of the unit, from which "
                    "Restore This Unit Exactly (Unit History) puts them back.");
}

TEST_F(ReadEverythingTest, ACurveIsTakenOnlyOnceTwoReadsInARowAgree)
{
    const int address = curveRecordAddress(22);
    const std::string served = "read EEPROM 128 @" + std::to_string(address);
    instrument().takeFrameLog();
    // A line that garbles curve 22's answer the first time: the second read
    // differs from the first, the third agrees with the second.
    afterEachRead(served, 1, [&] { eeprom()[size_t(address + 43)] ^= 0x01; });
    ASSERT_EQ(outcomeOf(transfers.ReadEverything()), TransferOutcome::Completed);
    std::array<uint8_t, 128> held{};
    std::copy_n(eeprom().begin() + address, 128, held.begin());
    EXPECT_EQ(curveRecord(state.document.image.CalCurve, 22), held);
    EXPECT_EQ(servedCount(served), 3);

    // One that never settles: five reads, then nothing changes.
    instrument().takeFrameLog();
    const ConfigImage before = state.document.image;
    afterEachRead(served, 5, [&] { eeprom()[size_t(address + 43)] ^= 0x01; });
    const TransferResult result = transfers.ReadEverything();
    EXPECT_EQ(result.error(),
              std::string("The Orvane's answers differed on each of 5 reads while reading sender "
                          "curve 5. The PC's settings were not changed. ")
                  + kAdvice);
    EXPECT_EQ(servedCount(served), 5);
    EXPECT_EQ(state.document.image, before);
}

TEST_F(ReadEverythingTest, AReadThatFailsHalfWayChangesNothing)
{
    connectFirst(); // which takes the unit's upload counter into the image
    const ConfigImage before = state.document.image;
    // The first two configurations come back, then the unit falls silent.
    whenServed("read EEPROM 256 @4096", [this] { instrument().faults().noAnswer = true; });
    const TransferResult result = transfers.ReadEverything();

    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(),
              std::string("No answer from the Orvane while reading display configurations 3 and "
                          "4. The PC's settings were not changed. ")
                  + kAdvice);
    EXPECT_EQ(state.document.image, before);
    EXPECT_FALSE(state.document.changed);
    EXPECT_EQ(view.redraws, 0);
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_EQ(link.linkState().lineUser, LineUser::None);
}

} // namespace
} // namespace orvane::test
