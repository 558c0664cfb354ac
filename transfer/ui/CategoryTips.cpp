#include "transfer/ui/CategoryTips.h"

namespace orvane {

namespace {

// What each category holds, in the order of the selection tables.
constexpr std::array<const char *, kCategoryCount> kContents = {
    "the sixteen display configurations (what each display shows, the bar limits and the icons)",
    "the engine maintenance alarm interval",
    "the speed, temperature and pressure units, the time format and the bar graph type",
    "the sender types and the user-defined sender calibration curves",
    "the tachometer pulley ratio",
    "the fuel tank size",
    "the second tank size",
    "the nine display damping values",
    "the tachometer input sensitivity",
    "the low and high alarm limits of every data source",
    "the eight time-of-day alarms",
    "the instrument's clock with this computer's date and time",
    "the fine calibrations made on the instrument",
    "the race timer settings",
};

} // namespace

QString categoryTip(Category category)
{
    return QStringLiteral("Tick to let this transfer overwrite %1; untick to keep what is there "
                          "now.")
        .arg(QString::fromUtf8(kContents[size_t(categoryIndex(category))]));
}

} // namespace orvane
