#include "editors/EditMenuSettings.h"

#include "config/NumberText.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

constexpr int kUnitsByte = 1;
constexpr int kSensitivityByte = 2;
constexpr int kPulleyRatioByte = 7;
constexpr int kFuelTankIndex = 21;
constexpr int kSecondTankIndex = 23;
constexpr int kMaintenanceIndex = 114;

constexpr uint8_t kSpeedMask = 0x60;
constexpr uint8_t kSpeedMph = 0x20;
constexpr uint8_t kSpeedKmh = 0x40;
constexpr uint8_t kPsiBit = 0x10;
constexpr uint8_t kDegFBit = 0x08;
constexpr uint8_t kHr12Bit = 0x04;
constexpr uint8_t kBarChartBit = 0x02;
constexpr uint8_t kSensitivityMask = 0x0F;

constexpr double kMaxTankSize = 6500;
constexpr float kMaxMaintenanceHours = 999.9f;
constexpr int kMinutesPerHour = 60;

void setUnitBits(ConfigDocument &document, uint8_t mask, uint8_t bits)
{
    const uint8_t old = document.image.IntNvm[kUnitsByte];
    document.setIntNvm(kUnitsByte, uint8_t((old & ~mask) | bits));
}

int tankIndex(Tank tank)
{
    return tank == Tank::Fuel ? kFuelTankIndex : kSecondTankIndex;
}

// Tenths as a decimal number without a trailing ".0", as a number is shown.
std::string tenthsText(unsigned tenths)
{
    std::string text = displayNumber((long long)(tenths / 10));
    if (tenths % 10 != 0)
        text += "." + std::to_string(tenths % 10);
    return text;
}

} // namespace

SettingsView settingsView(const IntNvmTable &intNvm)
{
    SettingsView view;
    auto check = [&view](MenuChoice item) {
        view.checked[size_t(item)] = true;
    };

    const uint8_t units = intNvm[kUnitsByte];
    switch (units & kSpeedMask) {
    case 0:
        check(MenuChoice::Knots);
        break;
    case kSpeedMph:
        check(MenuChoice::MPH);
        break;
    case kSpeedKmh:
        check(MenuChoice::KmHr);
        break;
    default:
        break; // both bits set names no unit: nothing checked
    }
    const bool degF = units & kDegFBit;
    const bool psi = units & kPsiBit;
    const bool barChart = units & kBarChartBit;
    check(degF ? MenuChoice::DegF : MenuChoice::DegC);
    check(psi ? MenuChoice::Psi : MenuChoice::Bars);
    check((units & kHr12Bit) ? MenuChoice::Hr12 : MenuChoice::Hr24);
    check(barChart ? MenuChoice::BarChart : MenuChoice::Pointer);
    view.temperatureLabel = degF ? "Temperature:  Deg F" : "Temperature:  Deg C";
    view.pressureLabel = psi ? "Pressure:  PSI" : "Pressure:  Bars";
    view.showPointers = !barChart;

    const uint8_t sensitivity = intNvm[kSensitivityByte] & kSensitivityMask;
    for (size_t i = 0; i < kSensitivityCodes.size(); ++i) {
        if (kSensitivityCodes[i] == sensitivity)
            check(MenuChoice(int(MenuChoice::TachoSensitivityMaximum) + int(i)));
    }
    const uint8_t ratio = intNvm[kPulleyRatioByte];
    for (size_t i = 0; i < kPulleyRatios.size(); ++i) {
        if (kPulleyRatios[i] == ratio)
            check(MenuChoice(int(MenuChoice::TachoRatio1) + int(i)));
    }
    return view;
}

bool repairPulleyRatio(ConfigDocument &document)
{
    const uint8_t ratio = document.image.IntNvm[kPulleyRatioByte];
    if (std::find(kPulleyRatios.begin(), kPulleyRatios.end(), ratio) != kPulleyRatios.end())
        return false;
    document.setIntNvm(kPulleyRatioByte, 1);
    return true;
}

SettingsView ChooseMenuItem(ConfigDocument &document, MenuChoice item)
{
    const int n = int(item);
    switch (item) {
    case MenuChoice::Knots:
        setUnitBits(document, kSpeedMask, 0);
        break;
    case MenuChoice::MPH:
        setUnitBits(document, kSpeedMask, kSpeedMph);
        break;
    case MenuChoice::KmHr:
        setUnitBits(document, kSpeedMask, kSpeedKmh);
        break;
    case MenuChoice::DegF:
    case MenuChoice::DegC:
        setUnitBits(document, kDegFBit, item == MenuChoice::DegF ? kDegFBit : 0);
        break;
    case MenuChoice::Psi:
    case MenuChoice::Bars:
        setUnitBits(document, kPsiBit, item == MenuChoice::Psi ? kPsiBit : 0);
        break;
    case MenuChoice::Hr12:
    case MenuChoice::Hr24:
        setUnitBits(document, kHr12Bit, item == MenuChoice::Hr12 ? kHr12Bit : 0);
        break;
    case MenuChoice::BarChart:
    case MenuChoice::Pointer:
        setUnitBits(document, kBarChartBit, item == MenuChoice::BarChart ? kBarChartBit : 0);
        break;
    case MenuChoice::Count:
        break;
    default:
        if (n >= int(MenuChoice::TachoSensitivityMaximum)
            && n <= int(MenuChoice::TachoSensitivityMinimum)) {
            const uint8_t code
                = kSensitivityCodes[size_t(n - int(MenuChoice::TachoSensitivityMaximum))];
            const uint8_t old = document.image.IntNvm[kSensitivityByte];
            document.setIntNvm(kSensitivityByte, uint8_t((old & ~kSensitivityMask) | code));
        } else if (n >= int(MenuChoice::TachoRatio1) && n <= int(MenuChoice::TachoRatio200)) {
            document.setIntNvm(kPulleyRatioByte,
                               kPulleyRatios[size_t(n - int(MenuChoice::TachoRatio1))]);
        }
        break;
    }
    return settingsView(document.image.IntNvm);
}

std::string tankSizeDefault(const ConfigImage &image, Tank tank)
{
    return tenthsText(image.IntNvm.word(tankIndex(tank)));
}

std::string maintenanceAlarmDefault(const ConfigImage &image)
{
    const double hours = image.IntNvm.word(kMaintenanceIndex) / double(kMinutesPerHour);
    return displayNumber((long long)roundHalfEven(hours));
}

bool AskTankSize(ConfigDocument &document, UserDialogs &dialogs, Tank tank)
{
    const std::string title(tank == Tank::Fuel ? kFuelTankTitle : kSecondTankTitle);
    const std::string prompt(tank == Tank::Fuel ? kFuelTankPrompt : kSecondTankPrompt);
    for (;;) {
        dialogs.beep();
        const std::string answer
            = dialogs.inputBox(prompt, title, tankSizeDefault(document.image, tank));
        if (answer.empty())
            return false;
        const double size = typedNumber(answer);
        if (size < 0 || size > kMaxTankSize)
            continue;
        const double tenths = roundHalfEven(size * 10);
        document.setIntNvmWord(tankIndex(tank), uint16_t(tenths));
        return true;
    }
}

bool AskMaintenanceAlarm(ConfigDocument &document, UserDialogs &dialogs)
{
    for (;;) {
        dialogs.beep();
        const std::string answer = dialogs.inputBox(std::string(kMaintenancePrompt),
                                                    std::string(kMaintenanceTitle),
                                                    maintenanceAlarmDefault(document.image));
        if (answer.empty())
            return false;
        const double typed = typedNumber(answer);
        // Range-check in double first so that no huge value is narrowed;
        // the limit itself is compared in single precision.
        if (typed < 0 || typed > 2 * double(kMaxMaintenanceHours))
            continue;
        const float hours = float(typed);
        if (hours < 0 || hours > kMaxMaintenanceHours)
            continue;
        const double minutes = roundHalfEven(double(hours * float(kMinutesPerHour)));
        document.setIntNvmWord(kMaintenanceIndex, uint16_t(minutes));
        return true;
    }
}

} // namespace orvane
