#include "config/SenderLists.h"

#include "config/SettingsFields.h"

#include <algorithm>

namespace orvane {

namespace {

// Codes below each list's first user code share position 0 ("none").
constexpr int kEngineTempBase = 0;
constexpr int kFuelBase = 6;
constexpr int kOilPressureBase = 9;
constexpr int kTrimBase = 16;
constexpr int kSecondTankBase = 22;

int positionFor(unsigned code, int base)
{
    return std::max(0, int(code) - base);
}

} // namespace

SenderListPositions senderListPositionsFor(const IntNvmTable &nvm)
{
    SenderListPositions positions;
    positions.engineTemp = positionFor(fieldValue(kEngineTempSender, nvm), kEngineTempBase);
    positions.fuel = positionFor(fieldValue(kFuelSender, nvm), kFuelBase);
    positions.oilPressure = positionFor(fieldValue(kOilPressureSender, nvm), kOilPressureBase);
    positions.trim = positionFor(fieldValue(kTrimSender, nvm), kTrimBase);
    positions.secondTank = positionFor(fieldValue(kSecondTankSender, nvm), kSecondTankBase);
    return positions;
}

} // namespace orvane
