#include "platform/posix/SerialPortDoctor.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __linux__
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace orvane {

namespace {

std::string realPath(const std::string &path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string baseName(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<int> readNumber(const std::string &path)
{
    std::ifstream in(path);
    int value = 0;
    if (in >> value)
        return value;
    return std::nullopt;
}

std::string groupName(gid_t gid)
{
    if (const group *g = ::getgrgid(gid))
        return g->gr_name;
    return std::to_string(gid);
}

} // namespace

bool requestLowLatency(int fileDescriptor)
{
#ifdef __linux__
    serial_struct serial{};
    if (::ioctl(fileDescriptor, TIOCGSERIAL, &serial) != 0)
        return false;
    serial.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(fileDescriptor, TIOCSSERIAL, &serial) == 0;
#else
    (void)fileDescriptor;
    return false;
#endif
}

std::optional<LatencyTimer> readLatencyTimer(const std::string &device, const std::string &sysRoot)
{
    const std::string name = baseName(realPath(device));
    if (name.empty())
        return std::nullopt;
    for (const std::string &path :
         {sysRoot + "/class/tty/" + name + "/device/latency_timer",
          sysRoot + "/bus/usb-serial/devices/" + name + "/latency_timer"}) {
        if (const auto ms = readNumber(path))
            return LatencyTimer{*ms, path};
    }
    return std::nullopt;
}

std::string permissionAdvice(const std::string &device, const std::string &group)
{
    return "You may not open " + device + " (group " + group + "): sudo usermod -aG " + group
           + " $USER, then log out and in.";
}

std::vector<std::string> serialPortAdvice(const std::string &device, const std::string &sysRoot)
{
    std::vector<std::string> lines;
    if (device.empty())
        return lines;
    struct stat info
    {};
    if (::stat(device.c_str(), &info) != 0) {
        lines.push_back(device
                        + " does not exist: is the adapter plugged in, or the simulator running?");
        return lines;
    }
    if (::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
        lines.push_back(permissionAdvice(device, groupName(info.st_gid)));
    }
    if (const auto timer = readLatencyTimer(device, sysRoot);
        timer && timer->milliseconds > kSlowLatencyTimerMs) {
        lines.push_back("Each echoed byte waits " + std::to_string(timer->milliseconds)
                        + " ms in this USB adapter, so an upload takes minutes instead of seconds: "
                          "lower it with echo 1 > "
                        + timer->path
                        + " (as root) or a udev rule setting ATTR{latency_timer}=\"1\".");
    }
    return lines;
}

} // namespace orvane
