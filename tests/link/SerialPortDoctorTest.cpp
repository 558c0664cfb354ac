#ifdef __linux__

#include "platform/posix/SerialPortDoctor.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <unistd.h>

namespace orvane {
namespace {

namespace fs = std::filesystem;

// A folder laid out like /dev and /sys for one USB adapter.
class SerialPortDoctorTest : public ::testing::Test
{
protected:
    SerialPortDoctorTest()
    {
        root = dir.path();
        fs::create_directories(root + "/dev");
        std::ofstream(root + "/dev/ttyUSB7").put('\0');
        fs::create_symlink(root + "/dev/ttyUSB7", root + "/COM3");
    }

    void setLatency(const std::string &where, int ms)
    {
        fs::create_directories(fs::path(where).parent_path());
        std::ofstream(where) << ms << "\n";
    }

    test::TempFolder dir;
    std::string root;
};

TEST_F(SerialPortDoctorTest, SlowAdapterGetsOneLineWithTheFileToChange)
{
    const std::string timer = root + "/sys/bus/usb-serial/devices/ttyUSB7/latency_timer";
    setLatency(timer, 16);
    // Found through the COMn link, as the editor names the device.
    const auto found = readLatencyTimer(root + "/COM3", root + "/sys");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->milliseconds, 16);

    const auto lines = serialPortAdvice(root + "/COM3", root + "/sys");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("16 ms"), std::string::npos);
    EXPECT_NE(lines[0].find("echo 1 > " + timer), std::string::npos);
    EXPECT_EQ(lines[0].find('\n'), std::string::npos);
}

TEST_F(SerialPortDoctorTest, FastAdapterAndPlainPortsNeedNoAdvice)
{
    setLatency(root + "/sys/class/tty/ttyUSB7/device/latency_timer", 1);
    EXPECT_TRUE(serialPortAdvice(root + "/dev/ttyUSB7", root + "/sys").empty());
    EXPECT_FALSE(readLatencyTimer(root + "/dev/ttyS0", root + "/sys"));
}

TEST_F(SerialPortDoctorTest, MissingDeviceIsSaid)
{
    const auto lines = serialPortAdvice(root + "/dev/ttyUSB9", root + "/sys");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("ttyUSB9 does not exist"), std::string::npos);
}

TEST(SerialPortLowLatencyTest, PseudoTerminalRefusesQuietly)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    EXPECT_FALSE(requestLowLatency(master));
    ::close(master);
    EXPECT_FALSE(requestLowLatency(-1));
}

} // namespace
} // namespace orvane

#endif
