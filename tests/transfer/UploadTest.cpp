#include "TransferTestSupport.h"

#include "transfer/TransferImage.h"

#include <set>

namespace orvane::test {
namespace {

constexpr double kByte = FakeSerialPort::kByteTime;

// The internal NVM addresses an upload with every category ticked takes from
// the PC, as listed in the upload merge table.
std::set<int> mergedAddresses()
{
    std::set<int> s = {1, 2, 7, 21, 22, 23, 24, 64, 65, 66, 102, 103, 111, 112, 113, 114, 115};
    const auto add = [&s](int first, int last) {
        for (int i = first; i <= last; ++i)
            s.insert(i);
    };
    add(128, 227);
    add(104, 110);
    add(98, 101);
    add(46, 61);
    add(68, 91);
    add(26, 31);
    add(33, 45);
    return s;
}

class UploadTest : public TransferTest
{
protected:
    UploadTest()
    {
        for (int i = 1; i < 256; ++i) {
            instrumentNvm()[size_t(i)] = uint8_t(i * 7 + 3);
            state.document.image.IntNvm[i] = uint8_t(i ^ 0xA5);
        }
        instrumentNvm()[10] = 0;
        instrumentNvm()[11] = 255;
        instrumentNvm()[17] = instrumentNvm()[18] = instrumentNvm()[19] = 255;
        fixInstrumentCheckByte();
        oldNvm = instrumentNvm();
        oldEeprom = eeprom();

        // A user curve with a 180-ohm point (point 18).
        for (int p = 1; p <= 32; ++p) {
            state.document.image.CalCurve(6, p, 1) = float(10 * p);
            state.document.image.CalCurve(6, p, 2) = float(500 + 40 * (p - 1));
        }
        for (int c = 1; c <= 16; ++c)
            for (int b = 1; b < 128; ++b)
                state.document.image.CDC(c, b) = uint8_t(c * 16 + b);
    }

    uint8_t eepromAt(int address) { return eeprom()[size_t(address)]; }

    std::array<uint8_t, 512> oldNvm{};
    std::array<uint8_t, 65536> oldEeprom{};
};

TEST_F(UploadTest, EverythingTickedWritesSettingsConfigurationsCurvesAndClock)
{
    const TransferResult result = transfers.cmdUpload();
    ASSERT_EQ(outcomeOf(result), TransferOutcome::Completed) << result.error();

    // Internal NVM: the instrument's bytes, the PC's for the merged
    // addresses, the counter counted up, today's date as the first upload.
    const std::set<int> merged = mergedAddresses();
    for (int i = 1; i < 256; ++i) {
        if (i == 10 || i == 11 || (i >= 17 && i <= 19))
            continue;
        const uint8_t expected
            = merged.count(i) ? state.document.image.IntNvm[i] : oldNvm[size_t(i)];
        EXPECT_EQ(instrumentNvm()[size_t(i)], expected) << "NVM " << i;
    }
    EXPECT_EQ(instrumentNvm()[10], 1);
    EXPECT_EQ(instrumentNvm()[11], 0);
    EXPECT_EQ(instrumentNvm()[17], 26); // the fake clock says 2026-07-04
    EXPECT_EQ(instrumentNvm()[18], 7);
    EXPECT_EQ(instrumentNvm()[19], 4);
    uint8_t x = 0;
    for (int i = 1; i < 256; ++i)
        x ^= instrumentNvm()[size_t(i)];
    EXPECT_EQ(instrumentNvm()[0], x);

    // The sixteen configuration records, check byte first and in the image.
    for (int c = 1; c <= 16; ++c) {
        uint8_t check = 0;
        for (int b = 1; b < 128; ++b)
            check ^= uint8_t(c * 16 + b);
        EXPECT_EQ(state.document.image.CDC(c, 0), check) << c;
        const int base = 4096 + 128 * (c - 1);
        EXPECT_EQ(eepromAt(base), check) << c;
        for (int b = 1; b < 128; ++b)
            ASSERT_EQ(eepromAt(base + b), uint8_t(c * 16 + b)) << c << "/" << b;
    }

    // Curve 6 at 12288 + 128 * 5: extrapolated ends, the 180-ohm point.
    const int curve6 = 12288 + 128 * 5;
    const std::vector<uint8_t> firstPoint = {0, 0, 1, 199};
    const std::vector<uint8_t> point18 = {1, 255, 4, 156};
    const std::vector<uint8_t> lastPoint = {3, 255, 13, 252};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(eepromAt(curve6 + k), firstPoint[size_t(k)]);
        EXPECT_EQ(eepromAt(curve6 + 68 + k), point18[size_t(k)]);
        EXPECT_EQ(eepromAt(curve6 + 124 + k), lastPoint[size_t(k)]);
    }
    // The other five records are the PC's curves; the rest of the curve
    // area is left alone.
    for (const int n : {9, 16, 19, 22, 25}) {
        const auto record = curveRecord(state.document.image.CalCurve, n);
        for (int k = 0; k < 128; ++k)
            ASSERT_EQ(eepromAt(12288 + 128 * (n - 1) + k), record[size_t(k)]) << n;
    }
    for (const int n : {1, 5, 7, 26, 32})
        for (int k = 0; k < 128; ++k)
            ASSERT_EQ(eepromAt(12288 + 128 * (n - 1) + k),
                      oldEeprom[size_t(12288 + 128 * (n - 1) + k)]);

    EXPECT_TRUE(instrument().clock().set);
    EXPECT_EQ(instrument().clock().hours, 14);
    EXPECT_EQ(instrument().clock().minutes, 5);

    // Ended with the soft reset; the link is down.
    const auto last = fake.port.written;
    ASSERT_GE(last.size(), 5u);
    const std::vector<uint8_t> tail = {last[last.size() - 5].second,
                                       last[last.size() - 4].second,
                                       last[last.size() - 3].second,
                                       last[last.size() - 2].second,
                                       last.back().second};
    EXPECT_EQ(tail, (std::vector<uint8_t>{61, 251, 0, 0, 0}));
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_EQ(connectionView.connectedCaption, "Not connected to Orvane");
    EXPECT_FALSE(view.progressShown);
    EXPECT_TRUE(fake.dialogs.messages().empty());
}

TEST_F(UploadTest, FullUploadTakesExactlyItsPausesAndWireTime)
{
    connectFirst();
    const double start = now();
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);

    const double frame = 5 * 0.05;
    const double echo = 2 * kByte;                            // a data byte out, its echo back
    const double expected = 0.2 + frame + 1.0                 // read the settings
                            + frame + 256 * echo + 0.1        // write them back
                            + 22 * (frame + 128 * echo + 0.5) // 16 configurations, 6 curves
                            + 0.25 + frame                    // clock
                            + 0.25 + frame;                   // soft reset
    EXPECT_NEAR(now() - start, expected, 1e-6);
    EXPECT_NEAR(expected, 19.8333, 1e-3);
}

TEST_F(UploadTest, ProgressFillsOnceAndSaysWhatIsGoingOn)
{
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    ASSERT_FALSE(view.progress.empty());
    EXPECT_EQ(view.progress.front().first, 0);
    EXPECT_EQ(view.progress.back().first, view.progress.back().second);
    for (size_t i = 1; i < view.progress.size(); ++i)
        EXPECT_GE(view.progress[i].first, view.progress[i - 1].first);
    // Each configuration record moves the bar.
    EXPECT_GE(view.progress.size(), 16u + 6u + 3u);

    const auto has = [&](const std::string &label) {
        return std::find(view.progressLabels.begin(), view.progressLabels.end(), label)
               != view.progressLabels.end();
    };
    EXPECT_TRUE(has("Reading the Orvane's settings"));
    EXPECT_TRUE(has("Writing the Orvane's settings"));
    EXPECT_TRUE(has("Writing display configuration 5 of 16"));
    EXPECT_TRUE(has("Writing sender curve 6 of 6"));
    EXPECT_TRUE(has("Setting the Orvane's clock"));
}

TEST_F(UploadTest, NothingTickedStillRewritesCounterDateAndNmea)
{
    state.transfer.UploadSelection.fill(0);
    instrumentNvm()[17] = 23; // an older first upload stays
    instrumentNvm()[18] = 1;
    instrumentNvm()[19] = 1;
    fixInstrumentCheckByte();
    const auto before = instrumentNvm();

    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    for (int i = 1; i < 256; ++i) {
        if (i == 10 || i == 11)
            continue;
        const uint8_t expected
            = (i >= 68 && i <= 91) ? state.document.image.IntNvm[i] : before[size_t(i)];
        EXPECT_EQ(instrumentNvm()[size_t(i)], expected) << i;
    }
    EXPECT_EQ(instrumentNvm()[10], 1);
    EXPECT_EQ(instrumentNvm()[11], 0);
    EXPECT_EQ(eeprom(), oldEeprom); // no configuration or curve record
    EXPECT_FALSE(instrument().clock().set);
}

TEST_F(UploadTest, NewSerialNumberIsWrittenOnceAndTheFlagCleared)
{
    state.transfer.NewSerialPending = true;
    state.transfer.NewSerialBytes = {26, 7, 4, 9};
    state.transfer.UploadSelection.fill(0);
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    EXPECT_EQ(instrumentNvm()[12], 26);
    EXPECT_EQ(instrumentNvm()[13], 7);
    EXPECT_EQ(instrumentNvm()[14], 4);
    EXPECT_EQ(instrumentNvm()[15], 9);
    EXPECT_FALSE(state.transfer.NewSerialPending);
}

TEST_F(UploadTest, NewUnitWritesTheWholeImageAndRestartsTheCounter)
{
    state.transfer.NewUnitPending = true;
    state.transfer.UploadSelection.fill(0);
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    for (int i = 1; i < 256; ++i)
        EXPECT_EQ(instrumentNvm()[size_t(i)], state.document.image.IntNvm[i]) << i;
}

TEST_F(UploadTest, EditsDuringTheUploadDoNotReachTheInstrument)
{
    // Windows stay live while the upload waits; an edit (or a File Open)
    // half way must not give the instrument a mix of two images.
    fake.scheduler.schedule(fake.scheduler.now() + 8.0,
                            [this] { state.document.image.CDC(16, 28) = 99; });
    const uint8_t sentCode = state.document.image.CDC(16, 28);

    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);

    EXPECT_EQ(eepromAt(4096 + 128 * 15 + 28), sentCode);
    EXPECT_EQ(state.document.image.CDC(16, 28), 99) << "the edit itself stays in the image";
    EXPECT_EQ(state.document.image.CDC(16, 0), state.document.image.CDC.checkByte(16));
}

TEST_F(UploadTest, WrongCheckByteIsReadAgain)
{
    instrument().faults().corruptFirstNvmRead = true;
    connectFirst();
    ASSERT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    EXPECT_EQ(framesSent({61, 0, 0, 0, 0}), 2);
    EXPECT_EQ(instrumentNvm()[11], 0); // counted once, from the good read
    EXPECT_EQ(instrumentNvm()[10], 1);
}

TEST_F(UploadTest, CancelSendsNothing)
{
    view.onShowSelection = [&] {
        state.transfer.TransferChoice = 1;
    };
    EXPECT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Cancelled);
    EXPECT_TRUE(fake.port.written.empty());
    EXPECT_EQ(instrumentNvm(), oldNvm);
}

TEST_F(UploadTest, TheLineIsHeldFromTheConnectionOnAndTheOpenDialogRefusesASecondTransfer)
{
    std::optional<TransferResult> nested;
    LineUser whileAsking = LineUser::Upload;
    LineUser whileWriting = LineUser::None;
    view.onShowSelection = [&] {
        at(1.0, [&] {
            whileAsking = link.linkState().lineUser;
            nested = transfers.cmdDownload();
        });
        at(2.0, [&] { state.transfer.TransferChoice = 2; });
        at(4.0, [&] { whileWriting = link.linkState().lineUser; });
    };
    EXPECT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Completed);
    EXPECT_EQ(whileAsking, LineUser::None) << "looking at the dialog holds no line";
    EXPECT_EQ(whileWriting, LineUser::Upload);
    ASSERT_TRUE(nested);
    EXPECT_EQ(outcomeOf(*nested), TransferOutcome::Busy);
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(fake.dialogs.messages()[0].text,
              "The transfer window is waiting for your answer. Press CONTINUE or CANCEL first.");
    EXPECT_EQ(view.selectionShows, 1);
    EXPECT_EQ(link.linkState().lineUser, LineUser::None);
}

} // namespace
} // namespace orvane::test
