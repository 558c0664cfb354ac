#pragma once

#include "transfer/TransferState.h"

#include <array>
#include <span>
#include <string_view>
#include <vector>

// The fourteen named categories in which data move between the PC's image and
// the instrument, and which internal NVM addresses each one carries.

namespace orvane {

// In the order of the selection tables (`UploadSelection`, `DownloadSelection`).
enum class Category {
    DisplayConfigurations = 0,
    MaintenanceAlarm,
    UnitsOfMeasure,
    SenderCurves,
    TachoPulleyRatio,
    FuelTankSize,
    SecondTankSize,
    DisplayDamping,
    TachoSensitivity,
    HiLoAlarmValues,
    TodAlarms,
    TodClock,
    FineCalibrations,
    RaceTimers,
};

constexpr int kCategoryCount = TransferState::kCategories;
using Selection = std::array<uint8_t, kCategoryCount>;

constexpr int categoryIndex(Category c)
{
    return int(c);
}

// Where a category's check box sits on the selection dialog.
enum class LegendGroup { PcOnly, PcAndOrvane, OrvaneOnly };

struct CategoryInfo
{
    Category category;
    std::string_view checkBox;
    std::string_view caption;
    LegendGroup group;
    bool enabledInDownload;
};

inline constexpr std::array<CategoryInfo, kCategoryCount> kCategories = {{
    {Category::DisplayConfigurations,
     "chkCDC",
     "Display Configurations",
     LegendGroup::PcOnly,
     false},
    {Category::MaintenanceAlarm,
     "chkSendReceiveMaintenanceAlarm",
     "Maintenance Alarm",
     LegendGroup::PcOnly,
     false},
    {Category::UnitsOfMeasure,
     "chkSentReceivedUofM",
     "Units of Measure",
     LegendGroup::PcOnly,
     false},
    {Category::SenderCurves,
     "chkSentReceivedCalCurves",
     "Sender Curves",
     LegendGroup::PcOnly,
     false},
    {Category::TachoPulleyRatio,
     "chkSentReceivedTachoPulleyRatio",
     "Tacho Pulley Ratio",
     LegendGroup::PcOnly,
     false},
    {Category::FuelTankSize, "chkFuelTankSize", "Fuel Tank Size", LegendGroup::PcOnly, false},
    {Category::SecondTankSize, "chkSecondTankSize", "2n'd Tank Size", LegendGroup::PcOnly, false},
    {Category::DisplayDamping,
     "chkSentReceivedDamping",
     "Display Damping",
     LegendGroup::PcAndOrvane,
     true},
    {Category::TachoSensitivity,
     "chkSentReceivedTachoSensitivity",
     "Tacho Sensitivity",
     LegendGroup::PcAndOrvane,
     true},
    {Category::HiLoAlarmValues,
     "chkSentReceivedHiLoAlarmValues",
     "Hi/Lo Alarm Values",
     LegendGroup::PcAndOrvane,
     true},
    {Category::TodAlarms,
     "chkSendReceiveTodAlarms",
     "Time-Of-Day Alarms",
     LegendGroup::PcAndOrvane,
     true},
    {Category::TodClock,
     "chkSentReceivedPcTimeOfDay",
     "Time-Of-Day Clock",
     LegendGroup::PcAndOrvane,
     false},
    {Category::FineCalibrations,
     "chkSendReceiveCalibrations",
     "Fine Calibrations",
     LegendGroup::OrvaneOnly,
     true},
    {Category::RaceTimers,
     "chkSendReceiveRaceTimers",
     "Race Timers",
     LegendGroup::OrvaneOnly,
     true},
}};

// Legend captions over the groups of boxes.
inline constexpr std::string_view kLegendPcOnly = "Adjustable on PC only";
inline constexpr std::string_view kLegendPcAndOrvane = "Adjustable on PC and Orvane";
inline constexpr std::string_view kLegendOrvaneOnly = "Adjustable on  Orvane Only";

// Internal NVM addresses of the categories that live in the settings image.
std::vector<int> categoryAddresses(Category category);

// The NMEA channel selection goes up with every upload, whatever is ticked.
std::vector<int> nmeaSelectionAddresses();

// Categories a download copies, in the order it copies them.
inline constexpr std::array<Category, 6> kDownloadOrder = {
    Category::HiLoAlarmValues,
    Category::TachoSensitivity,
    Category::DisplayDamping,
    Category::TodAlarms,
    Category::FineCalibrations,
    Category::RaceTimers,
};

// Categories an upload merges into the instrument's settings, in order; the
// NMEA selection goes between Race Timers and Fine Calibrations.
inline constexpr std::array<Category, 12> kUploadMergeOrder = {
    Category::HiLoAlarmValues,
    Category::UnitsOfMeasure,
    Category::TachoSensitivity,
    Category::DisplayDamping,
    Category::SenderCurves,
    Category::TodAlarms,
    Category::FuelTankSize,
    Category::SecondTankSize,
    Category::MaintenanceAlarm,
    Category::TachoPulleyRatio,
    Category::RaceTimers,
    Category::FineCalibrations,
};

inline bool isTicked(const Selection &selection, Category c)
{
    return selection[size_t(categoryIndex(c))] == 1;
}

} // namespace orvane
