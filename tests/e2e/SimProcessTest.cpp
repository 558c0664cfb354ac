// The orvane-sim program itself, over its pseudo-terminal: start-up line,
// COMn link, handshake, a write with echoes, closing and reopening the port,
// orderly exit on SIGTERM with the state saved and the link removed; a power
// cycle by SIGUSR1 and faults injected through the control FIFO.

#include "SimProcess.h"
#include "sim/Instrument.h"

#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kStartMs = 3000;
constexpr int kAnswerMs = 1000;

// Writes the bytes and collects `expected` answer bytes (or what came
// before the answer wait ran out).
QByteArray exchange(QSerialPort &port, const QByteArray &bytes, int expected)
{
    port.write(bytes);
    port.waitForBytesWritten(kAnswerMs);
    QByteArray answer = port.readAll();
    while (answer.size() < expected && port.waitForReadyRead(kAnswerMs))
        answer += port.readAll();
    return answer;
}

QByteArray frame(int code, int count, int high, int low)
{
    const char bytes[] = {'=', char(code), char(count), char(high), char(low)};
    return QByteArray(bytes, sizeof bytes);
}

// Writes one line into the simulator's control FIFO, as "echo LINE > PATH".
bool writeControlLine(const QString &fifo, const std::string &line)
{
    const int fd = ::open(fifo.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
    if (fd == -1)
        return false;
    const std::string text = line + "\n";
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return written;
}

} // namespace

TEST(SimProcess, ServesTheLinkAndSavesItsStateOnSigterm)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString link = folder.filePath("COM1");
    const QString state = folder.filePath("sim.state");
    QProcess sim;
    sim.start(ORVANE_SIM_PATH,
              {"--link", link, "--state", state, "--serial", "120530007", "--quiet"});
    ASSERT_TRUE(sim.waitForStarted(kStartMs));
    while (!sim.canReadLine() && sim.waitForReadyRead(kStartMs)) {
    }
    const QString firstLine = QString::fromUtf8(sim.readLine()).trimmed();
    ASSERT_TRUE(firstLine.startsWith("orvane-sim: /dev/")) << firstLine.toStdString();
    const QString device = firstLine.mid(QString("orvane-sim: ").size());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), device);

    QSerialPort port;
    port.setPortName(link);
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
    port.setBaudRate(115200);
    EXPECT_EQ(exchange(port, "=", 1), QByteArray("="));
    EXPECT_EQ(exchange(port, "########", 1), QByteArray("@"));
    EXPECT_EQ(exchange(port, frame(5, 5, 5, 5), 6).left(4), QByteArray("\x0c\x05\x1e\x07"));
    EXPECT_EQ(exchange(port, frame(1, 2, 0, 200), 0), QByteArray());
    EXPECT_EQ(exchange(port, "M", 1), QByteArray("M")) << "echo of the first data byte";
    EXPECT_EQ(exchange(port, "N", 1), QByteArray("N"));

    // The editor closes and reopens its port between operations.
    port.close();
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
    EXPECT_EQ(exchange(port, frame(4, 5, 5, 5), 1), QByteArray("\x04"));
    port.close();

    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(kStartMs));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0) << sim.readAllStandardError().toStdString();
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "link removed on exit";

    orvane::sim::Instrument saved;
    std::string error;
    ASSERT_TRUE(saved.loadState(state.toStdString(), &error)) << error;
    EXPECT_EQ(saved.internalNvm()[200], 'M');
    EXPECT_EQ(saved.internalNvm()[201], 'N');
    EXPECT_EQ(saved.internalNvm()[12], 12);
}

TEST(SimProcess, BadOptionGetsUsageAndExitCodeTwo)
{
    QProcess sim;
    sim.start(ORVANE_SIM_PATH, {"--product-code", "300"});
    ASSERT_TRUE(sim.waitForFinished(kStartMs));
    EXPECT_EQ(sim.exitCode(), 2);
    EXPECT_TRUE(sim.readAllStandardError().contains("Usage: orvane-sim"));
}

TEST(SimProcess, PowerCycleSignalAndControlLinesReachTheRunningInstrument)
{
    // Long enough for the simulator to take a byte it will not answer.
    constexpr int kSilenceMs = 100;
    orvane::test::SimProcess sim;
    const QString fifo = sim.filePath("sim.ctl");
    std::string error;
    ASSERT_TRUE(sim.start(1, {"--control", fifo}, &error)) << error;
    QSerialPort port;
    port.setPortName(sim.linkPath(1));
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
    const auto handshake = [&] {
        const QByteArray presence = exchange(port, "=", 1);
        return presence + exchange(port, "########", 1);
    };
    ASSERT_EQ(handshake(), QByteArray("=@"));

    // ISP mode is silent until the instrument is switched off and on.
    EXPECT_EQ(exchange(port, frame(9, 0, 0, 0), 0), QByteArray());
    port.write("=");
    EXPECT_FALSE(port.waitForReadyRead(kSilenceMs)) << "no presence answer in ISP mode";
    ASSERT_EQ(::kill(static_cast<pid_t>(sim.process().processId()), SIGUSR1), 0);
    ASSERT_TRUE(sim.waitForLog("SIGUSR1: power cycle")) << sim.log().toStdString();
    EXPECT_EQ(handshake(), QByteArray("=@"));

    // The next read of more than two bytes answers two; the probe behind it
    // shows that nothing more came. The read after it is whole again.
    ASSERT_TRUE(writeControlLine(fifo, "fault short-reads 2 next 1"));
    ASSERT_TRUE(sim.waitForLog("control \"fault short-reads 2 next 1\":"));
    EXPECT_EQ(exchange(port, frame(2, 4, 28, 64) + frame(4, 5, 5, 5), 3),
              QByteArray("\x01\xff\x04", 3));
    EXPECT_EQ(exchange(port, frame(2, 4, 28, 64), 4), QByteArray("\x01\xff\xff\xff", 4));

    ASSERT_TRUE(writeControlLine(fifo, "fault short-reads 2 after 1"));
    EXPECT_TRUE(sim.waitForLog("ignored: fault short-reads takes next"));
    // A power cycle leaves the link idle: "=" is a presence probe again.
    ASSERT_TRUE(writeControlLine(fifo, "power-cycle"));
    ASSERT_TRUE(sim.waitForLog("control \"power-cycle\": power cycle"));
    EXPECT_EQ(exchange(port, "=", 1), QByteArray("="));
    port.close();

    sim.stop();
    EXPECT_FALSE(QFileInfo::exists(fifo)) << "FIFO removed on exit";
}
