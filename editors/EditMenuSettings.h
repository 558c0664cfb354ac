#pragma once

#include "config/ConfigDocument.h"
#include "platform/Platform.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The instrument-wide settings of the "&Edit" menu: units, time format, bar
// graph type, tachometer sensitivity and pulley ratio (choice items with
// check marks), and the tank sizes and maintenance alarm (input boxes).

namespace orvane {

enum class MenuChoice {
    Knots,
    MPH,
    KmHr,
    DegF,
    DegC,
    Psi,
    Bars,
    Hr12,
    Hr24,
    BarChart,
    Pointer,
    TachoSensitivityMaximum,
    TachoSensitivityHigh,
    TachoSensitivityMedium,
    TachoSensitivityLow,
    TachoSensitivityMinimum,
    TachoRatio1,
    TachoRatio5,
    TachoRatio10,
    TachoRatio20,
    TachoRatio50,
    TachoRatio100,
    TachoRatio200,
    Count
};

inline constexpr int kMenuChoiceCount = int(MenuChoice::Count);

// The submenus of the choice items: choosing an item clears the others of
// its group and leaves the other groups alone.
enum class MenuGroup {
    SpeedUnits,
    TemperatureUnits,
    PressureUnits,
    TimeFormat,
    BarGraphType,
    TachoSensitivity,
    PulleyRatio,
};

inline constexpr std::array<MenuGroup, kMenuChoiceCount> kMenuChoiceGroups = {
    MenuGroup::SpeedUnits,       MenuGroup::SpeedUnits,       MenuGroup::SpeedUnits,
    MenuGroup::TemperatureUnits, MenuGroup::TemperatureUnits, MenuGroup::PressureUnits,
    MenuGroup::PressureUnits,    MenuGroup::TimeFormat,       MenuGroup::TimeFormat,
    MenuGroup::BarGraphType,     MenuGroup::BarGraphType,     MenuGroup::TachoSensitivity,
    MenuGroup::TachoSensitivity, MenuGroup::TachoSensitivity, MenuGroup::TachoSensitivity,
    MenuGroup::TachoSensitivity, MenuGroup::PulleyRatio,      MenuGroup::PulleyRatio,
    MenuGroup::PulleyRatio,      MenuGroup::PulleyRatio,      MenuGroup::PulleyRatio,
    MenuGroup::PulleyRatio,      MenuGroup::PulleyRatio,
};

constexpr MenuGroup menuGroup(MenuChoice item)
{
    return kMenuChoiceGroups[size_t(item)];
}

// Sensitivity codes of the five settings (kTachoSensitivity), from the most
// to the least sensitive, and the seven pulley ratios n:1 (kTachoPulleyRatio).
inline constexpr std::array<uint8_t, 5> kSensitivityCodes = {15, 14, 13, 11, 7};
inline constexpr std::array<uint8_t, 7> kPulleyRatios = {1, 5, 10, 20, 50, 100, 200};

// What the settings menus and the sender dialog's unit labels show.
struct SettingsView
{
    std::array<bool, kMenuChoiceCount> checked{};
    std::string temperatureLabel; // lblSendersUofMTemperature
    std::string pressureLabel;    // lblSendersUofMPressure
    bool showPointers = false;    // the four bar-graph pointer pictures

    bool isChecked(MenuChoice item) const { return checked.at(size_t(item)); }
};

// Reads the check marks from the image, changing nothing: a pulley ratio
// outside the seven leaves all ratio items clear, speed bits 1,1 leave all
// speed items clear, an unknown sensitivity leaves all five clear.
SettingsView settingsView(const IntNvmTable &intNvm);

// Replaces a pulley ratio outside the seven with 1. Returns true when it did.
bool repairPulleyRatio(ConfigDocument &document);

// A click on a choice item: writes only its own bits and returns the menus
// as they now stand.
SettingsView ChooseMenuItem(ConfigDocument &document, MenuChoice item);

enum class Tank { Fuel, Second };

inline constexpr std::string_view kFuelTankTitle = "View/Set Fuel Tank Size";
inline constexpr std::string_view kFuelTankPrompt = "Enter a value between 0 and 6500.0\r\n0=OFF";
inline constexpr std::string_view kSecondTankTitle = "View/Set Optional 2n'd Tank Size";
inline constexpr std::string_view kSecondTankPrompt
    = "Enter a value between 0.0 and 6500.0\r\n0=OFF";
inline constexpr std::string_view kMaintenanceTitle = "View/Set Engine Maintenance Alarm";
inline constexpr std::string_view kMaintenancePrompt
    = "Enter a value between 0 and 999.9 hours.\r\n0=OFF";

// The default text of the tank size box: the stored tenths as a decimal
// number with one leading blank (" 120.5", " 6500", " 0").
std::string tankSizeDefault(const ConfigImage &image, Tank tank);

// The default text of the maintenance box: whole hours, leading blank.
std::string maintenanceAlarmDefault(const ConfigImage &image);

// Asks for a tank size until the answer is empty (nothing changes) or lies
// in 0..6500 (stored in tenths). Returns true when a value was stored.
bool AskTankSize(ConfigDocument &document, UserDialogs &dialogs, Tank tank);

// Asks for the maintenance interval in hours until the answer is empty or
// lies in 0..999.9 (stored in minutes). Returns true when a value was stored.
bool AskMaintenanceAlarm(ConfigDocument &document, UserDialogs &dialogs);

} // namespace orvane
