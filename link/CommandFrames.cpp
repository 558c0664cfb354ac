#include "link/CommandFrames.h"

#include <stdexcept>

namespace orvane {

namespace {

Frame fixedFrame(CommandCode code, uint8_t b3, uint8_t b4, uint8_t b5)
{
    return {kStartMark, uint8_t(code), b3, b4, b5};
}

void checkAddress(int address)
{
    if (address < 0 || address > 0xFFFF)
        throw std::out_of_range("frame address out of range");
}

} // namespace

Frame memoryFrame(CommandCode code, int count, int address)
{
    if (count < 1 || count > kMaxFrameCount)
        throw std::out_of_range("frame count out of range");
    checkAddress(address);
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
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59)
        throw std::out_of_range("clock time out of range");
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
    if (code != CommandCode::IspFromEeprom && code != CommandCode::IspMakerLoader)
        throw std::invalid_argument("not an in-system programming command");
    return fixedFrame(code, 0, 0, 0);
}

Frame copyToFlashFrame(int sectors, int address)
{
    if (sectors < 1 || sectors > 16)
        throw std::out_of_range("sector count out of range");
    checkAddress(address);
    return fixedFrame(CommandCode::CopyToFlash,
                      uint8_t(sectors),
                      uint8_t(address / 256),
                      uint8_t(address % 256));
}

} // namespace orvane
