#pragma once

#include <cstdint>
#include <span>

namespace orvane {

// What the byte link tells an attached observer about the line: each byte
// written, each batch of bytes received, and where a command frame begins and
// ends. With none attached the link pays one pointer test per event.
class TrafficTap
{
public:
    virtual ~TrafficTap() = default;
    // `time` is the platform clock's monotonic seconds.
    virtual void sent(uint8_t byte, double time) = 0;
    // `firstIsEcho`: the link was waiting for the echo of a byte it wrote,
    // and the first byte of the batch is that echo.
    virtual void received(std::span<const uint8_t> bytes, double time, bool firstIsEcho) = 0;
    // The bytes sent from here on up to the next boundary form one frame.
    virtual void frameBoundary() = 0;
};

} // namespace orvane
