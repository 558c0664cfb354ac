#pragma once

#include "config/ConfigImage.h"

namespace orvane {

// Positions of the five sender lists of the sender dialog; -1 selects nothing.
struct SenderListPositions
{
    int engineTemp = -1;
    int fuel = -1;
    int oilPressure = -1;
    int trim = -1;
    int secondTank = -1;
};

// The sender dialog's list positions for the sender codes in the image: code
// minus the list's base, 0 when the code does not exceed the base (engine
// temperature has base 0, so its position is the code itself).
SenderListPositions senderListPositionsFor(const IntNvmTable &nvm);

} // namespace orvane
