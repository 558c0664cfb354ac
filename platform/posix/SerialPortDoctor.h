#pragma once

#include <optional>
#include <string>
#include <vector>

// Checks of a serial device that explain why a link is slow or will not
// open, each as one line a user can act on. Linux-specific; elsewhere the
// callers have nothing to ask.

namespace orvane {

// Asks the driver to pass each received byte on at once instead of batching
// them. A refusal (pseudo-terminals, drivers without the flag) is normal.
bool requestLowLatency(int fileDescriptor);

struct LatencyTimer
{
    int milliseconds = 0;
    std::string path; // the sysfs file that holds it
};

// The latency timer of a USB serial adapter (FTDI and kin) behind the
// device, symbolic links followed. `sysRoot` is "/sys" except in tests.
std::optional<LatencyTimer> readLatencyTimer(const std::string &device,
                                             const std::string &sysRoot = "/sys");

// Above this each echo of a block write waits noticeably.
constexpr int kSlowLatencyTimerMs = 2;

// One line per problem with the device: missing, not permitted, or an
// adapter whose latency timer slows every echo.
std::vector<std::string> serialPortAdvice(const std::string &device,
                                          const std::string &sysRoot = "/sys");

// The line for a device whose group the user is not in.
std::string permissionAdvice(const std::string &device, const std::string &group);

} // namespace orvane
