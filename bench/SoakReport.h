#pragma once

#include "SoakRecords.h"

#include <optional>
#include <string>
#include <vector>

namespace orvane::bench {

// The promise: a clear message within this long of the fault.
inline constexpr double kMessageDeadline = 1.0;

// What one soak run did and what it broke.
struct RunRecord
{
    int number = 0;
    std::string exchange;
    std::string fault;
    std::string detail;
    double moment = 0;
    std::string outcome;
    bool faulted = false;                 // the fault came before the exchange ended
    std::optional<double> faultToMessage; // from the line going quiet after the fault
    std::string message;
    bool warned = false; // a message other than a notice
    bool imageUnchanged = true;
    RecordCount records;
    double seconds = 0;
    std::vector<std::string> violations;
};

// One run as one line of tab-separated fields, so that runs made by several
// processes at once can be reported together; and back.
std::string rowText(const RunRecord &run);
std::optional<RunRecord> runFromRow(const std::string &row);

// The table of every run grouped by fault kind (in the order given), then
// the totals per kind; a message is in budget within the deadline plus the
// retry allowance.
void printReport(const std::vector<RunRecord> &runs,
                 const std::vector<std::string> &faults,
                 double retryAllowance);

} // namespace orvane::bench
