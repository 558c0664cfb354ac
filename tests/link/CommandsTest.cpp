#include "LinkTestSupport.h"

#include "link/Commands.h"
#include "support/CheckCapture.h"

#include <numeric>

namespace orvane::test {
namespace {

TEST(CommandFramesTest, AddressesAndCountsAreEncodedAsTheInstrumentReadsThem)
{
    EXPECT_EQ(memoryFrame(CommandCode::ReadEeprom, 1, kProductCodeAddress),
              (Frame{61, 2, 1, 28, 64}));
    EXPECT_EQ(memoryFrame(CommandCode::ReadInternalNvm, 256, 0), (Frame{61, 0, 0, 0, 0}));
    EXPECT_EQ(memoryFrame(CommandCode::WriteEeprom, 128, configRecordAddress(16)),
              (Frame{61, 3, 128, 23, 128}));
    EXPECT_EQ(memoryFrame(CommandCode::ReadFlash, 255, 0xFFFF), (Frame{61, 253, 255, 255, 255}));
    EXPECT_EQ(copyToFlashFrame(16, 0x4000), (Frame{61, 252, 16, 64, 0}));
    EXPECT_EQ(setClockFrame(23, 59), (Frame{61, 12, 0, 23, 59}));
}

TEST(CommandFramesTest, ArgumentsThatDoNotFitAFrameAreRefused)
{
    // Refused as programming errors; the frame that goes instead stays within
    // what the instrument reads, and copies nothing into the flash.
    const auto refused = [](auto build) {
        Frame frame{};
        EXPECT_TRUE(failsACheck([&] { frame = build(); }));
        return frame;
    };
    EXPECT_EQ(refused([] { return memoryFrame(CommandCode::ReadEeprom, 0, 0); }),
              (Frame{61, 2, 1, 0, 0}));
    EXPECT_EQ(refused([] { return memoryFrame(CommandCode::ReadEeprom, 257, 0); }),
              (Frame{61, 2, 0, 0, 0}));
    EXPECT_EQ(refused([] { return memoryFrame(CommandCode::ReadEeprom, 1, 65536); }),
              (Frame{61, 2, 1, 255, 255}));
    EXPECT_EQ(refused([] { return memoryFrame(CommandCode::ReadEeprom, 1, -1); }),
              (Frame{61, 2, 1, 0, 0}));
    EXPECT_EQ(refused([] { return copyToFlashFrame(17, 0); }), versionsFrame());
    EXPECT_EQ(refused([] { return setClockFrame(24, 0); }), (Frame{61, 12, 0, 23, 0}));
}

// Exchanges against the virtual instrument, already in command mode.
class CommandsTest : public ::testing::Test
{
protected:
    CommandsTest()
    {
        for (int i = 0; i < kResyncCount; ++i)
            fake.instrument.feed(kResyncByte);
        EXPECT_TRUE(link.openPort(1).ok());
    }

    FakePlatform fake;
    ByteLink link{fake.platform};
    sim::Instrument &instrument = fake.instrument;
};

TEST_F(CommandsTest, ReadOfCountZeroDeliversTheWholeSettingsMemory)
{
    constexpr double kReadPause = 1.0;
    const double start = fake.scheduler.now();
    const auto bytes = readMemory(link, CommandCode::ReadInternalNvm, 256, 0, kReadPause);
    EXPECT_NEAR(fake.scheduler.now(), start + 5 * 0.05 + kReadPause, 1e-9);
    EXPECT_EQ(link.rx().RxCount, 256);
    ASSERT_EQ(bytes.size(), 256u);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), instrument.internalNvm().begin()));
}

TEST_F(CommandsTest, BlockWriteAwaitsEachEchoAndEndsWithItsPause)
{
    constexpr double kTrailingPause = 0.5;
    std::vector<uint8_t> record(kRecordSize);
    std::iota(record.begin(), record.end(), uint8_t(100));
    const double start = fake.scheduler.now();
    EXPECT_EQ(
        writeBlock(link, CommandCode::WriteEeprom, configRecordAddress(3), record, kTrailingPause),
        BlockWriteEnd::Completed);
    EXPECT_TRUE(std::equal(record.begin(),
                           record.end(),
                           instrument.eeprom().begin() + configRecordAddress(3)));
    // Each data byte goes out the moment the previous echo came back: two
    // wire times per byte, no pause of its own.
    const double expected = start + 5 * 0.05 + 128 * 2 * FakeSerialPort::kByteTime + kTrailingPause;
    EXPECT_NEAR(fake.scheduler.now(), expected, 1e-6);
}

TEST_F(CommandsTest, BlockWriteGivesUpAtTheFirstMissedEcho)
{
    instrument.faults().echoesStopAfter = 10;
    std::vector<uint8_t> record(kRecordSize, 0x5A);
    const double start = fake.scheduler.now();
    EXPECT_EQ(writeBlock(link, CommandCode::WriteEeprom, configRecordAddress(1), record, 0.5),
              BlockWriteEnd::NoEcho);
    EXPECT_TRUE(link.lost());
    EXPECT_TRUE(link.rx().CommTimedOut);
    // The frame and eleven data bytes; nothing after the one without an echo,
    // which the instrument would store as data. Not 118 echo time-outs in a row.
    EXPECT_EQ(fake.port.written.size(), 5u + 11u);
    EXPECT_LT(fake.scheduler.now() - start, 0.3 + ByteLink::kEchoTimeout + 0.1);
}

// Ctrl+C half-way through a block: the unit gets the whole block and the
// pause to store it, then no other byte until the exchange is ended, and the
// soft reset leaves it idle.
TEST_F(CommandsTest, AStopWaitsForTheBlockInFlightThenEndsTheExchange)
{
    std::vector<uint8_t> record(kRecordSize, 0x5A);
    link.setConnected(true);
    const double start = fake.scheduler.now();
    const double blockEnd = start + 5 * 0.05 + 128 * 2 * FakeSerialPort::kByteTime + 0.5;
    fake.scheduler.schedule(start + 0.3, [this] { link.requestStop("Ctrl+C"); });
    EXPECT_EQ(writeBlock(link, CommandCode::WriteEeprom, configRecordAddress(1), record, 0.5),
              BlockWriteEnd::LinkLost);
    EXPECT_TRUE(std::equal(record.begin(),
                           record.end(),
                           instrument.eeprom().begin() + configRecordAddress(1)));
    EXPECT_TRUE(link.stopped());
    EXPECT_NEAR(fake.scheduler.now(), blockEnd, 1e-6);
    // Nothing more goes out, and waits end at once.
    link.Delay(1.0);
    sendFrame(link, versionsFrame());
    EXPECT_EQ(fake.port.written.size(), 5u + kRecordSize);
    EXPECT_NEAR(fake.scheduler.now(), blockEnd, 1e-6);

    ASSERT_TRUE(link.resumeAfterStop());
    sendEndOfExchange(link, CommandCode::SoftReset);
    EXPECT_EQ(instrument.linkMode(), sim::Instrument::LinkMode::Idle);

    // Between exchanges a stop takes effect at once, with no exchange to end.
    link.setConnected(false);
    link.requestStop("Ctrl+C");
    EXPECT_TRUE(link.stopped());
    EXPECT_FALSE(link.resumeAfterStop());
}

TEST_F(CommandsTest, SlowEchoesWithinTheTimeoutAreWaitedFor)
{
    instrument.faults().echoDelaySeconds = 0.3;
    const std::vector<uint8_t> data{1, 2, 3};
    EXPECT_EQ(writeBlock(link, CommandCode::WriteInternalNvm, 200, data, 0.0),
              BlockWriteEnd::Completed);
    EXPECT_FALSE(link.rx().CommTimedOut);
}

TEST_F(CommandsTest, SingleByteNvmWriteKeepsTheChecksumRight)
{
    auto &nvm = instrument.internalNvm();
    const auto xorOf = [&nvm] {
        uint8_t x = 0;
        for (int i = 1; i <= 255; ++i)
            x ^= nvm[size_t(i)];
        return x;
    };
    ASSERT_EQ(nvm[0], xorOf());
    const uint8_t old = nvm[3];
    const double start = fake.scheduler.now();
    ASSERT_TRUE(writeInternalNvmByte(link, kFirmwareUpdateRequestAddress, uint8_t(old ^ 0x81)));
    EXPECT_EQ(nvm[3], uint8_t(old ^ 0x81));
    EXPECT_EQ(nvm[0], xorOf());
    // Two reads with their pauses, two writes of six SendBytes each.
    EXPECT_NEAR(fake.scheduler.now(), start + 2 * (0.25 + kNvmByteReadPause) + 12 * 0.05, 1e-9);
}

TEST_F(CommandsTest, ExchangeMarkAndEndOfExchange)
{
    sendExchangeMark(link, kExchangeBegins);
    EXPECT_EQ(instrument.exchangeMark(), kExchangeBegins);
    sendEndOfExchange(link, CommandCode::SoftReset);
    fake.pump.waitForEvents(0.01);
    EXPECT_FALSE(instrument.inCommandMode());
    // Another code is refused and still ends the exchange, with the disconnect.
    fake.port.written.clear();
    EXPECT_TRUE(failsACheck([&] { sendEndOfExchange(link, CommandCode::Versions); }));
    std::vector<uint8_t> sent;
    for (const auto &[time, byte] : fake.port.written)
        sent.push_back(byte);
    EXPECT_EQ(sent, (std::vector<uint8_t>{61, 255, 0, 0, 0}));
}

} // namespace
} // namespace orvane::test
