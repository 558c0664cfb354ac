#include "link/Resynchronisation.h"

#include "link/CommandFrames.h"

namespace orvane {

bool resynchronise(ByteLink &link)
{
    link.ResetReceive();
    for (int i = 0; i < kResyncCount; ++i)
        link.SendByte(kResyncByte);
    link.Delay(kResyncPause);
    return !link.lost() && link.rxSlot(1) == kResyncAnswer;
}

bool bringBackIntoStep(ByteLink &link)
{
    // Each "#" waits for its echo, so a block of 256 is fed in well under a
    // second; the first one not echoed was taken outside the block.
    for (int i = 0; i < kLongestBlock + kResyncCount; ++i) {
        link.SendByteCheckEcho(kResyncByte);
        if (link.lost())
            return false;
        if (link.rxSlot(1) == kResyncAnswer)
            return true;
        if (link.rxSlot(1) != kResyncByte)
            break;
    }
    for (int run = 0; run < kRecoveryRuns; ++run)
        if (resynchronise(link))
            return true;
    return false;
}

} // namespace orvane
