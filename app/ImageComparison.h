#pragma once

#include "platform/Platform.h"
#include "platform/Result.h"
#include "transfer/ImageDifferences.h"
#include "transfer/TransferCategories.h"
#include "transfer/Transfers.h"

#include <optional>
#include <string>
#include <vector>

// Differences between two images in words, grouped by category, as the
// comparison window shows them before an upload, against the instrument, or
// between two configuration files:
//
//   Display Configurations
//     Configuration 3, digital display 1: Engine RPM → Boat Speed
//   Units of Measure
//     Speed units: Knots/NM → MPH/Miles
//
// Every differing byte gets a line; one the wording has no name for gets a
// plain one ("Settings byte 123: 4 → 5").

namespace orvane {

struct DifferenceGroup
{
    std::string title; // a category's caption, "NMEA Inputs" or "Other Settings"
    std::vector<std::string> lines;
    bool operator==(const DifferenceGroup &) const = default;
};

// In category order; empty when nothing differs.
using DifferenceReport = std::vector<DifferenceGroup>;

DifferenceReport describeDifferences(const Comparison &comparison);

// The report as plain text: each title, then its lines indented.
std::string reportText(const DifferenceReport &report);

// Two configuration files, the first taken as before and the second as
// after. A file that cannot be read whole is a failure naming it, the line
// and what belongs there.
Result<DifferenceReport>
compareConfigFiles(Platform &platform, const std::string &before, const std::string &after);

// Compare with Orvane: reads the instrument in the ticked categories and
// words what an upload would change; nothing when the command did not
// complete (the user has been told why, or cancelled).
std::optional<DifferenceReport> compareWithOrvane(Transfers &transfers,
                                                  const Selection &categories);

} // namespace orvane
