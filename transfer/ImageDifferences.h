#pragma once

#include "config/ConfigImage.h"
#include "transfer/InstrumentSnapshot.h"
#include "transfer/TransferCategories.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Which bytes differ between two images, and where each difference belongs.
// Putting them in words is the application's; this is what the upload needs
// to decide, and what a kept copy notes about the upload that followed it.

namespace orvane {

struct CurveDifference
{
    int curve = 0;  // 1..32
    int points = 0; // how many of its 32 points differ
    // Why a record on either side cannot become points (the image then shows
    // the default curve there); empty when it can, and between two files.
    std::string beforeOdd;
    std::string afterOdd;
    bool operator==(const CurveDifference &) const = default;
};

struct ImageDifferences
{
    std::vector<int> settings;                       // IntNvm addresses, rising
    std::vector<std::pair<int, int>> configurations; // (configuration, byte), rising
    std::vector<CurveDifference> curves;             // rising curve numbers

    bool empty() const { return settings.empty() && configurations.empty() && curves.empty(); }
    bool operator==(const ImageDifferences &) const = default;
};

// Two images side by side with their differences: before and after an
// upload, or two configuration files.
struct Comparison
{
    ConfigImage before;
    ConfigImage after;
    ImageDifferences differences;
};

// What an upload changes: the settings bytes apart from the ones every upload
// keeps up to date itself (unless `withBookkeeping`, for a restore that puts
// them back too), the records that both sides hold, and of the curves the
// points as the instrument stores them. A check byte is listed only where
// nothing else in its record differs.
ImageDifferences snapshotDifferences(const InstrumentSnapshot &held,
                                     const InstrumentSnapshot &target,
                                     bool withBookkeeping = false);

// Every byte the configuration file carries, the curves point by point as
// stored (all 32 curves). Check bytes as above.
ImageDifferences imageDifferences(const ConfigImage &a, const ConfigImage &b);

Comparison compareImages(const ConfigImage &before, const ConfigImage &after);

// Where a settings byte is listed: the index of the category that carries it,
// or one of two groups of its own.
inline constexpr int kNmeaInputsGroup = kCategoryCount;        // every upload sends these
inline constexpr int kOtherSettingsGroup = kCategoryCount + 1; // no category carries these
inline constexpr int kDifferenceGroups = kCategoryCount + 2;

int settingsGroup(int address);
// A category's caption, "NMEA Inputs" or "Other Settings".
std::string_view groupTitle(int group);

// One line naming what differs, for the note kept with a unit's copy:
// "Display Configurations 3, 7; Fuel Tank Size; Sender Curves 19", or
// "Nothing" when nothing does.
std::string differenceSummary(const ImageDifferences &differences);

} // namespace orvane
