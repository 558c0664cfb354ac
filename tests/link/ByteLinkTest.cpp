#include "LinkTestSupport.h"

namespace orvane::test {
namespace {

// The byte primitives over a scripted far end.
class ByteLinkTest : public ::testing::Test
{
protected:
    ByteLinkTest() { EXPECT_TRUE(link.openPort(1).ok()); }

    FakePlatform fake;
    ScriptedPort port{fake.scheduler};
    Platform platform{fake.clock, fake.pump, fake.dialogs, fake.files, port};
    ByteLink link{platform};
    const ReceiveState &rx = link.rx();
};

TEST_F(ByteLinkTest, ReceiveTableKeepsTheFirstBytesAndOverwritesItsLastSlot)
{
    std::vector<uint8_t> burst;
    for (int i = 1; i <= 5000; ++i)
        burst.push_back(uint8_t(i % 251));
    // Split over two receive events, as a real port delivers a burst.
    port.arriveAtOnce({burst.begin(), burst.begin() + 3000});
    port.arriveAtOnce({burst.begin() + 3000, burst.end()});

    EXPECT_EQ(rx.RxCount, 4090);
    for (int k = 1; k <= 4090; ++k)
        ASSERT_EQ(rx.RxSlot[size_t(k)], k % 251) << "slot " << k;
    EXPECT_EQ(rx.RxSlot[4091], 5000 % 251);
    EXPECT_EQ(rx.RxSlot[4092], 0);
}

TEST_F(ByteLinkTest, StrayBytesAreStoredUntilTheNextReset)
{
    port.arriveAtOnce({7, 8, 9});
    EXPECT_EQ(rx.RxCount, 3);
    EXPECT_EQ(rx.RxSlot[1], 7);

    port.waiting({1, 2});
    link.ResetReceive();
    EXPECT_EQ(rx.RxCount, 0);
    EXPECT_EQ(rx.RxSlot[1], 0);
    // Bytes that were still in the port's buffer are gone as well.
    port.arriveAtOnce({5});
    EXPECT_EQ(rx.RxCount, 1);
    EXPECT_EQ(rx.RxSlot[1], 5);
}

TEST_F(ByteLinkTest, AReceivedZeroLooksLikeNoAnswer)
{
    link.ResetReceive();
    link.Delay(0.1);
    const int16_t noAnswer = rx.RxSlot[1];
    port.arrive({0}, fake.scheduler.now());
    link.ResetReceive();
    link.Delay(0.1);
    EXPECT_EQ(rx.RxSlot[1], noAnswer);
    EXPECT_EQ(rx.RxCount, 1); // only the count tells them apart
}

TEST_F(ByteLinkTest, DelayZeroHandlesNoEventsAndDelaysSleepRatherThanSpin)
{
    bool ran = false;
    fake.scheduler.schedule(fake.scheduler.now(), [&] { ran = true; });
    const double start = fake.scheduler.now();
    link.Delay(0);
    EXPECT_FALSE(ran);
    EXPECT_EQ(fake.pump.processCalls + fake.pump.waitCalls, 0);
    EXPECT_EQ(fake.scheduler.now(), start);

    link.Delay(0.25);
    EXPECT_TRUE(ran);
    EXPECT_NEAR(fake.scheduler.now(), start + 0.25, 1e-12);
    EXPECT_LE(fake.pump.waitCalls, 2);
}

TEST_F(ByteLinkTest, SendBytePausesFiftyMilliseconds)
{
    const double start = fake.scheduler.now();
    link.SendByte(0x3D);
    link.SendByte(0x04);
    ASSERT_EQ(port.written.size(), 2u);
    EXPECT_NEAR(port.written[1].first - port.written[0].first, 0.05, 1e-12);
    EXPECT_NEAR(fake.scheduler.now(), start + 0.1, 1e-12);
}

TEST_F(ByteLinkTest, EchoWaitEndsTheMomentAnyByteArrives)
{
    port.responder = [](uint8_t) {
        return std::vector<uint8_t>{0x42};
    };
    port.answerDelay = 0.003;
    const double start = fake.scheduler.now();
    link.SendByteCheckEcho(0x41);
    // The other byte ends the wait and stays in slot 1; it is not compared.
    EXPECT_EQ(rx.RxSlot[1], 0x42);
    EXPECT_EQ(rx.RxCount, 1);
    EXPECT_NEAR(fake.scheduler.now(), start + 2 * FakeSerialPort::kByteTime + 0.003, 1e-9);
    EXPECT_FALSE(rx.CommTimedOut);
}

TEST_F(ByteLinkTest, EchoWaitDiscardsEarlierInputAndTimesOutWithTheMarker)
{
    port.arriveAtOnce({0xAA});
    port.waiting({0xBB});
    const double start = fake.scheduler.now();
    link.SendByteCheckEcho(0x41);
    EXPECT_EQ(rx.RxSlot[1], -1 - 0x41);
    EXPECT_EQ(rx.RxCount, 0);
    EXPECT_TRUE(rx.CommTimedOut);
    EXPECT_NEAR(fake.scheduler.now(), start + ByteLink::kEchoTimeout, 1e-9);

    link.clearCommTimedOut();
    EXPECT_EQ(link.ReceiveByte(), -1);
    EXPECT_TRUE(rx.CommTimedOut);
    port.arrive({0x99}, fake.scheduler.now() + 0.2);
    EXPECT_EQ(link.ReceiveByte(), 0x99);
}

TEST_F(ByteLinkTest, AWriteToAClosedPortMarksTheLinkLost)
{
    link.setConnected(true);
    port.close();
    const double start = fake.scheduler.now();
    link.SendByte(0x3D);
    link.SendByteCheckEcho(0x10);
    EXPECT_TRUE(link.lost());
    EXPECT_FALSE(link.lostReason().empty());
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_TRUE(rx.CommTimedOut);
    EXPECT_EQ(fake.scheduler.now(), start); // nothing to wait for
    EXPECT_EQ(rx.RxSlot[1], -1 - 0x10);     // the marker tells the caller

    // Opening the port again starts afresh.
    ASSERT_TRUE(link.openPort(1).ok());
    EXPECT_FALSE(link.lost());
}

TEST_F(ByteLinkTest, APortErrorEndsEveryWaitAtOnce)
{
    fake.scheduler.schedule(fake.scheduler.now() + 0.1, [&] { port.fail("read error"); });
    const double start = fake.scheduler.now();
    link.SendByteCheckEcho(0x41);
    EXPECT_TRUE(link.lost());
    EXPECT_EQ(link.lostReason(), "read error");
    EXPECT_NEAR(fake.scheduler.now(), start + 0.1, 1e-9);

    // A command's fixed pause too: nothing more can arrive on a gone port.
    ASSERT_TRUE(link.openPort(1).ok());
    fake.scheduler.schedule(fake.scheduler.now() + 0.2, [&] { port.fail("read error"); });
    const double pauseStart = fake.scheduler.now();
    link.Delay(3.0);
    EXPECT_TRUE(link.lost());
    EXPECT_NEAR(fake.scheduler.now(), pauseStart + 0.2, 1e-9);
}

// The same over the virtual instrument's port: a cable pulled while a block
// write waits for an echo.
TEST(ByteLinkCableTest, PulledCableEndsTheWait)
{
    FakePlatform fake;
    ByteLink link(fake.platform);
    ASSERT_TRUE(link.openPort(1).ok());
    fake.instrument.faults().noAnswer = true;
    fake.scheduler.schedule(fake.scheduler.now() + 0.2, [&] { fake.port.pullCable(); });
    const double start = fake.scheduler.now();
    link.SendByteCheckEcho(0x55);
    EXPECT_TRUE(link.lost());
    EXPECT_NEAR(fake.scheduler.now(), start + 0.2, 1e-9);
    link.SendByte(0x3D); // no crash, nothing written
    EXPECT_EQ(fake.port.written.size(), 1u);
}

} // namespace
} // namespace orvane::test
