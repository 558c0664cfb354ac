#pragma once

#include "link/LineUser.h"

#include <array>
#include <cstdint>
#include <string>

namespace orvane {

// The connection and what identification read.
struct LinkState
{
    uint8_t ComPortNumber = 0;
    bool IsConnected = false;
    bool FactoryMode = false;
    std::string SerialNumberText;
    std::string SoftwareVersionText;
    std::string HardwareVersionText;
    std::array<std::string, 4> ChipVersionText{};
    uint8_t ProductCode = 0;
    uint16_t NewConfigCount = 0;
    // The exchange that holds the line; a second one must not start.
    LineUser lineUser = LineUser::None;
};

} // namespace orvane
