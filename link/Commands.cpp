#include "link/Commands.h"

#include "platform/Check.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr const char *kEchoesStopped = "The Orvane stopped echoing the data it was sent.";

std::vector<uint8_t> answerSlots(const ByteLink &link, int count)
{
    std::vector<uint8_t> answer;
    answer.reserve(size_t(count));
    for (int k = 1; k <= count; ++k)
        answer.push_back(uint8_t(link.rxSlot(k) & 0xFF));
    return answer;
}

int checkedCount(int count)
{
    ORVANE_CHECK(count >= 0 && count <= ReceiveState::kMaxCount,
                 return std::clamp(count, 0, int(ReceiveState::kMaxCount)));
    return count;
}

} // namespace

void sendFrame(ByteLink &link, const Frame &frame)
{
    const ByteLink::FrameInFlight inFlight(link);
    link.frameBoundary();
    for (const uint8_t b : frame)
        link.SendByte(b);
    link.frameBoundary();
}

std::vector<uint8_t> issueRead(ByteLink &link, const Frame &frame, int count, double pause)
{
    count = checkedCount(count);
    link.ResetReceive();
    sendFrame(link, frame);
    link.Delay(pause);
    return answerSlots(link, count);
}

std::vector<uint8_t>
issueReadUntilComplete(ByteLink &link, const Frame &frame, int count, double timeout)
{
    count = checkedCount(count);
    link.ResetReceive();
    sendFrame(link, frame);
    link.waitForBytes(count, timeout);
    return answerSlots(link, count);
}

std::vector<uint8_t>
readMemory(ByteLink &link, CommandCode code, int count, int address, double pause)
{
    return issueRead(link, memoryFrame(code, count, address), count, pause);
}

BlockWriteEnd writeBlock(ByteLink &link,
                         CommandCode code,
                         int address,
                         std::span<const uint8_t> data,
                         double trailingPause,
                         double framePause)
{
    {
        // Once it has the frame, the unit takes the next data bytes whatever
        // they are, then needs the pause to store them.
        const ByteLink::FrameInFlight inFlight(link);
        link.ResetReceive();
        sendFrame(link, memoryFrame(code, int(data.size()), address));
        if (framePause > 0)
            link.Delay(framePause);
        if (link.lost())
            return BlockWriteEnd::LinkLost;
        for (const uint8_t b : data) {
            link.SendByteCheckEcho(b);
            if (link.lost())
                return BlockWriteEnd::LinkLost;
            if (link.rxSlot(1) == int16_t(-1 - int(b))) {
                link.markLost(kEchoesStopped);
                return BlockWriteEnd::NoEcho;
            }
        }
        link.Delay(trailingPause);
    }
    return link.lost() ? BlockWriteEnd::LinkLost : BlockWriteEnd::Completed;
}

bool writeInternalNvmByte(ByteLink &link, int address, uint8_t value)
{
    const uint8_t old
        = readMemory(link, CommandCode::ReadInternalNvm, 1, address, kNvmByteReadPause).front();
    const uint8_t checksum
        = readMemory(link, CommandCode::ReadInternalNvm, 1, kNvmChecksumAddress, kNvmByteReadPause)
              .front();
    if (link.lost())
        return false;
    const auto writeByte = [&link](int at, uint8_t byte) {
        const ByteLink::FrameInFlight inFlight(link);
        sendFrame(link, memoryFrame(CommandCode::WriteInternalNvm, 1, at));
        link.SendByte(byte);
    };
    writeByte(address, value);
    writeByte(kNvmChecksumAddress, uint8_t(value ^ old ^ checksum));
    return !link.lost();
}

void sendExchangeMark(ByteLink &link, uint8_t mark)
{
    link.ResetReceive();
    {
        const ByteLink::FrameInFlight inFlight(link);
        sendFrame(link, exchangeMarkFrame());
        link.Delay(kExchangeMarkPause);
        link.SendByte(mark);
        link.Delay(kExchangeMarkPause);
    }
}

void sendEndOfExchange(ByteLink &link, CommandCode code)
{
    // Any other code still ends the exchange, with the disconnect.
    ORVANE_CHECK(code == CommandCode::SoftReset || code == CommandCode::Disconnect,
                 code = CommandCode::Disconnect);
    sendFrame(link, code == CommandCode::SoftReset ? softResetFrame() : disconnectFrame());
}

} // namespace orvane
