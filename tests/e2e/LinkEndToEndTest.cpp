// The editor's real serial code (QtSerialPort, the Qt event pump, ByteLink,
// Connection) against orvane-sim over a pseudo-terminal.

#include "link/Commands.h"
#include "link/Connection.h"
#include "link/LinkTestSupport.h"
#include "link/ui/frmComms.h"
#include "platform/qt/QtPlatform.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "SimProcess.h"
#include "gui/Controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace orvane::test {
namespace {

constexpr int kPortNumber = 5;

class LinkEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(sim.start(kPortNumber, {"--serial", "120530007"}, &error)) << error;
        device = sim.device();
        port.setLinkFolder(sim.folder());
        link.setComPortNumber(kPortNumber);
    }

    void TearDown() override
    {
        port.close();
        sim.stop();
    }

    SimProcess sim;
    QString device;

    QtClock clock;
    QtEventPump pump;
    FakeDialogs dialogs; // answers the boxes; none is expected
    QtFileSystem files;
    QtSerialPort port;
    Platform platform{clock, pump, dialogs, files, port};
    ByteLink link{platform};
    RecordingView view;
    Connection connection{platform, link, view};
};

TEST_F(LinkEndToEnd, PortNumberReachesTheSimulatorThroughItsLink)
{
    EXPECT_EQ(QString::fromStdString(port.deviceForPort(kPortNumber)),
              QFileInfo(device).canonicalFilePath());
    // Without a link the number names the standard serial port.
    EXPECT_EQ(port.deviceForPort(kPortNumber + 1), "/dev/ttyS5");
}

TEST_F(LinkEndToEnd, ConnectsAndIdentifiesTheSimulator)
{
    QElapsedTimer wall;
    wall.start();
    ASSERT_TRUE(connection.ConnectToTessaro());
    EXPECT_EQ(link.linkState().SerialNumberText, " 120530007");
    EXPECT_EQ(view.serialNumberCaption, " Orvane SN#:  120530007");
    EXPECT_EQ(link.linkState().ProductCode, 1);
    EXPECT_EQ(view.connectedCaption, "Connected to Orvane");
    EXPECT_FALSE(link.lost());
    EXPECT_TRUE(dialogs.calls.empty());
    // The handshake's fixed pauses come to 4.05 s; the wire adds little.
    std::printf("[ measured ] connect and identify: %.3f s (fixed pauses 4.05 s)\n",
                double(wall.nsecsElapsed()) * 1e-9);

    connection.endExchange(CommandCode::SoftReset);
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_FALSE(link.lost());
}

TEST_F(LinkEndToEnd, PortDialogShowsTheDeviceAndTestsTheChosenPort)
{
    int identitiesStored = 0;
    frmComms dialog(
        connection,
        port,
        [&identitiesStored](const Identity &) { ++identitiesStored; },
        [this](int n) { return port.adviceForPort(n); });
    dialog.show();
    auto *option = &control<QRadioButton>(dialog, "optComm5");
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->text(), "COM5");
    EXPECT_TRUE(option->isChecked()); // the stored port is selected on first show
    EXPECT_EQ(control<QRadioButton>(dialog, "optComm0").text(), "None");
    EXPECT_EQ(control<QLabel>(dialog, "lblCommDevice5").text(),
              QFileInfo(device).canonicalFilePath());

    control<QRadioButton>(dialog, "optComm5").setChecked(true);
    link.setComPortNumber(2); // Test must not choose the port it tests
    control<QPushButton>(dialog, "cmdCommsTest").click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(control<QLabel>(dialog, "lblCommsTestResult").text().toStdString(),
              "Orvane found on COM 5: serial number 120530007, software version 23, "
              "hardware version 3.");
    EXPECT_EQ(identitiesStored, 1) << "what Test identified is kept as by every connection";
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_EQ(link.linkState().ComPortNumber, 2);
    // The instrument got the soft reset: it is idle again, so the quick probe's
    // "=" is answered as a presence probe, not with the command-mode 4.
    ASSERT_TRUE(link.isPortOpen());
    const auto answer = issueRead(link, quickProbeFrame(), 1, Connection::kConnectReadPause);
    EXPECT_EQ(answer.front(), kPresenceProbe);

    control<QRadioButton>(dialog, "optComm3").setChecked(true);
    control<QPushButton>(dialog, "cmdCommsAccept").click();
    EXPECT_EQ(link.linkState().ComPortNumber, 3);
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_TRUE(view.contains("hide frmComms"));
}

TEST_F(LinkEndToEnd, EchoRoundTripOverThePseudoTerminal)
{
    ASSERT_TRUE(connection.ConnectToTessaro());
    constexpr int kEchoes = 1000;
    constexpr int kBlock = 250;
    constexpr int kScratchAddress = 40000; // EEPROM beyond every area the editor uses
    std::vector<double> roundTrips;
    int wrong = 0;
    for (int block = 0; block < kEchoes / kBlock; ++block) {
        link.ResetReceive();
        sendFrame(link,
                  memoryFrame(CommandCode::WriteEeprom, kBlock, kScratchAddress + block * kBlock));
        for (int i = 0; i < kBlock; ++i) {
            const auto b = uint8_t((block * kBlock + i) * 7);
            const double t0 = clock.monotonicSeconds();
            link.SendByteCheckEcho(b);
            roundTrips.push_back(clock.monotonicSeconds() - t0);
            if (link.rx().RxSlot[1] != b)
                ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_FALSE(link.rx().CommTimedOut);
    ASSERT_EQ(int(roundTrips.size()), kEchoes);
    std::sort(roundTrips.begin(), roundTrips.end());
    const double median = roundTrips[roundTrips.size() / 2];
    const double worst = roundTrips.back();
    std::printf("[ measured ] echo round trip over %d echoes: median %.3f ms, worst %.3f ms\n",
                kEchoes,
                median * 1e3,
                worst * 1e3);
    EXPECT_LT(worst, ByteLink::kEchoTimeout);

    // What was written is what the instrument stored.
    constexpr double kReadPause = 1.0;
    const auto readBack
        = readMemory(link, CommandCode::ReadEeprom, 16, kScratchAddress, kReadPause);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(readBack[size_t(i)], uint8_t(i * 7));
    connection.endExchange(CommandCode::SoftReset);
}

TEST_F(LinkEndToEnd, SimulatorGoneMidExchangeEndsTheWaitWithALostLink)
{
    ASSERT_TRUE(connection.ConnectToTessaro());
    link.ResetReceive();
    sendFrame(link, memoryFrame(CommandCode::WriteEeprom, 128, 40000));
    sim.process().kill();
    sim.process().waitForFinished(SimProcess::kWaitMs);

    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < 128 && !link.lost(); ++i)
        link.SendByteCheckEcho(uint8_t(i));
    EXPECT_TRUE(link.lost());
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_TRUE(link.rx().CommTimedOut);
    EXPECT_LT(wall.elapsed(), 2000);
    link.SendByte(61); // no crash on the dead line
    std::printf("[ measured ] lost link noticed after %lld ms: %s\n",
                static_cast<long long>(wall.elapsed()),
                link.lostReason().c_str());
}

} // namespace
} // namespace orvane::test
