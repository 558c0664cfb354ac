#include "editors/EditMenuSettings.h"

#include "config/FieldText.h"
#include "config/NumberText.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr double kMaxTankSize = 6500;
constexpr float kMaxMaintenanceHours = 999.9f;
constexpr int kWholeHours = 0; // the maintenance box offers its value back without decimals

bool isSet(const SettingsField &flag, const IntNvmTable &nvm)
{
    return fieldValue(flag, nvm) != 0;
}

void setFlag(ConfigDocument &document, const SettingsField &flag, bool set)
{
    document.setField(flag, set ? flag.mask : 0);
}

const SettingsField &tankField(Tank tank)
{
    return tank == Tank::Fuel ? kFuelTankSize : kSecondTankSize;
}

} // namespace

SettingsView settingsView(const IntNvmTable &intNvm)
{
    SettingsView view;
    auto check = [&view](MenuChoice item) {
        view.checked[size_t(item)] = true;
    };

    switch (fieldValue(kSpeedUnits, intNvm)) {
    case kKnots:
        check(MenuChoice::Knots);
        break;
    case kMph:
        check(MenuChoice::MPH);
        break;
    case kKmh:
        check(MenuChoice::KmHr);
        break;
    default:
        break; // both bits set names no unit: nothing checked
    }
    const bool degF = isSet(kTemperatureUnits, intNvm);
    const bool psi = isSet(kPressureUnits, intNvm);
    const bool barChart = isSet(kBarGraphType, intNvm);
    check(degF ? MenuChoice::DegF : MenuChoice::DegC);
    check(psi ? MenuChoice::Psi : MenuChoice::Bars);
    check(isSet(kTimeFormat, intNvm) ? MenuChoice::Hr12 : MenuChoice::Hr24);
    check(barChart ? MenuChoice::BarChart : MenuChoice::Pointer);
    view.temperatureLabel = degF ? "Temperature:  Deg F" : "Temperature:  Deg C";
    view.pressureLabel = psi ? "Pressure:  PSI" : "Pressure:  Bars";
    view.showPointers = !barChart;

    const unsigned sensitivity = fieldValue(kTachoSensitivity, intNvm);
    for (size_t i = 0; i < kSensitivityCodes.size(); ++i) {
        if (kSensitivityCodes[i] == sensitivity)
            check(MenuChoice(int(MenuChoice::TachoSensitivityMaximum) + int(i)));
    }
    const unsigned ratio = fieldValue(kTachoPulleyRatio, intNvm);
    for (size_t i = 0; i < kPulleyRatios.size(); ++i) {
        if (kPulleyRatios[i] == ratio)
            check(MenuChoice(int(MenuChoice::TachoRatio1) + int(i)));
    }
    return view;
}

bool repairPulleyRatio(ConfigDocument &document)
{
    const unsigned ratio = fieldValue(kTachoPulleyRatio, document.image.IntNvm);
    if (std::find(kPulleyRatios.begin(), kPulleyRatios.end(), ratio) != kPulleyRatios.end())
        return false;
    document.setField(kTachoPulleyRatio, 1);
    return true;
}

SettingsView ChooseMenuItem(ConfigDocument &document, MenuChoice item)
{
    const int n = int(item);
    switch (item) {
    case MenuChoice::Knots:
        document.setField(kSpeedUnits, kKnots);
        break;
    case MenuChoice::MPH:
        document.setField(kSpeedUnits, kMph);
        break;
    case MenuChoice::KmHr:
        document.setField(kSpeedUnits, kKmh);
        break;
    case MenuChoice::DegF:
    case MenuChoice::DegC:
        setFlag(document, kTemperatureUnits, item == MenuChoice::DegF);
        break;
    case MenuChoice::Psi:
    case MenuChoice::Bars:
        setFlag(document, kPressureUnits, item == MenuChoice::Psi);
        break;
    case MenuChoice::Hr12:
    case MenuChoice::Hr24:
        setFlag(document, kTimeFormat, item == MenuChoice::Hr12);
        break;
    case MenuChoice::BarChart:
    case MenuChoice::Pointer:
        setFlag(document, kBarGraphType, item == MenuChoice::BarChart);
        break;
    case MenuChoice::Count:
        break;
    default:
        if (n >= int(MenuChoice::TachoSensitivityMaximum)
            && n <= int(MenuChoice::TachoSensitivityMinimum)) {
            document.setField(
                kTachoSensitivity,
                kSensitivityCodes[size_t(n - int(MenuChoice::TachoSensitivityMaximum))]);
        } else if (n >= int(MenuChoice::TachoRatio1) && n <= int(MenuChoice::TachoRatio200)) {
            document.setField(kTachoPulleyRatio,
                              kPulleyRatios[size_t(n - int(MenuChoice::TachoRatio1))]);
        }
        break;
    }
    return settingsView(document.image.IntNvm);
}

std::string tankSizeDefault(const ConfigImage &image, Tank tank)
{
    const SettingsField &field = tankField(tank);
    return answerText(field, image.IntNvm, field.decimals);
}

std::string maintenanceAlarmDefault(const ConfigImage &image)
{
    return answerText(kMaintenanceAlarm, image.IntNvm, kWholeHours);
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
        const SettingsField &field = tankField(tank);
        document.setField(field, unsigned(roundHalfEven(size * field.scale)));
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
        const double minutes = roundHalfEven(double(hours * float(kMaintenanceAlarm.scale)));
        document.setField(kMaintenanceAlarm, unsigned(minutes));
        return true;
    }
}

} // namespace orvane
