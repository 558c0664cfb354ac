#include "config/SenderLists.h"

#include <algorithm>

namespace orvane {

namespace {

// Codes below each list's first user code share position 0 ("none").
constexpr int kEngineTempBase = 0;
constexpr int kFuelBase = 6;
constexpr int kOilPressureBase = 9;
constexpr int kTrimBase = 16;
constexpr int kSecondTankBase = 22;

int positionFor(uint8_t code, int base)
{
    return std::max(0, int(code) - base);
}

} // namespace

SenderListPositions senderListPositionsFor(const IntNvmTable &nvm)
{
    SenderListPositions positions;
    positions.engineTemp = positionFor(nvm[kEngineTempSenderByte], kEngineTempBase);
    positions.fuel = positionFor(nvm[kFuelSenderByte], kFuelBase);
    positions.oilPressure = positionFor(nvm[kOilPressureSenderByte], kOilPressureBase);
    positions.trim = positionFor(nvm[kTrimSenderByte], kTrimBase);
    positions.secondTank = positionFor(nvm[kSecondTankSenderByte], kSecondTankBase);
    return positions;
}

} // namespace orvane
