#include "link/CommandFrames.h"

#include "platform/Check.h"

#include <algorithm>

namespace orvane {

namespace {

Frame fixedFrame(CommandCode code, uint8_t b3, uint8_t b4, uint8_t b5)
{
    return {kStartMark, uint8_t(code), b3, b4, b5};
}

constexpr int kHighestAddress = 0xFFFF;
constexpr int kMostFlashSectors = 16;

int checkedAddress(int address)
{
    ORVANE_CHECK(address >= 0 && address <= kHighestAddress,
                 return std::clamp(address, 0, kHighestAddress));
    return address;
}

} // namespace

Frame memoryFrame(CommandCode code, int count, int address)
{
    ORVANE_CHECK(count >= 1 && count <= kMaxFrameCount,
                 count = std::clamp(count, 1, kMaxFrameCount));
    address = checkedAddress(address);
    // A count of 256 does not fit in the byte; the instrument reads 0 as 256.
    return fixedFrame(code,
                      uint8_t(count % kMaxFrameCount),
                      uint8_t(address / 256),
                      uint8_t(address % 256));
}

Frame quickProbeFrame()
{
    return fixedFrame(CommandCode::QuickProbe, 5, 5, 5);
}

Frame identityFrame()
{
    return fixedFrame(CommandCode::Identity, 5, 5, 5);
}

Frame versionsFrame()
{
    return fixedFrame(CommandCode::Versions, 0, 0, 0);
}

Frame exchangeMarkFrame()
{
    return fixedFrame(CommandCode::ExchangeMark, 1, 229, 5);
}

Frame setClockFrame(int hours, int minutes)
{
    ORVANE_CHECK(hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 59,
                 hours = std::clamp(hours, 0, 23);
                 minutes = std::clamp(minutes, 0, 59));
    return fixedFrame(CommandCode::SetClock, 0, uint8_t(hours), uint8_t(minutes));
}

Frame softResetFrame()
{
    return fixedFrame(CommandCode::SoftReset, 0, 0, 0);
}

Frame disconnectFrame()
{
    return fixedFrame(CommandCode::Disconnect, 0, 0, 0);
}

Frame ispFrame(CommandCode code)
{
    ORVANE_CHECK(code == CommandCode::IspFromEeprom || code == CommandCode::IspMakerLoader,
                 return versionsFrame());
    return fixedFrame(code, 0, 0, 0);
}

Frame copyToFlashFrame(int sectors, int address)
{
    ORVANE_CHECK(sectors >= 1 && sectors <= kMostFlashSectors && address >= 0
                     && address <= kHighestAddress,
                 return versionsFrame());
    return fixedFrame(CommandCode::CopyToFlash,
                      uint8_t(sectors),
                      uint8_t(address / 256),
                      uint8_t(address % 256));
}

} // namespace orvane
