#pragma once

#include <array>
#include <cstdint>

namespace orvane {

// Receive table filled by the port's receive event.
struct ReceiveState
{
    static constexpr int kSlots = 4097;
    static constexpr int kMaxCount = 4090;
    std::array<int16_t, kSlots> RxSlot{};
    int16_t RxCount = 0;
    bool CommTimedOut = false;
};

} // namespace orvane
