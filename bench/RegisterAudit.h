#pragma once

#include "platform/Result.h"

#include <string>
#include <vector>

// What the production register holds after stations issued numbers (and were
// killed), set against what the stations said they were given.

namespace orvane::bench {

struct RegisterAudit
{
    long long numbersTaken = 0;   // rows of serial_numbers
    long long firstRecords = 0;   // serials with exactly one first record
    long long records = 0;        // all records
    long long verified = 0;       // records verified
    long long open = 0;           // records still issued or written
    long long interrupted = 0;    // of those, shown interrupted by the register
    long long orphans = 0;        // records or files without what they belong to
    std::string integrity = "ok"; // SQLite's own check; "ok" on PostgreSQL

    long long reported = 0; // "issued S" lines in the stations' logs
    long long reportedDistinct = 0;
    long long lost = 0;              // reported but not in the database
    long long unreported = 0;        // in the database, the station killed before it said so
    long long closedNotVerified = 0; // reported closed, but not verified in the database

    long long duplicates() const { return reported - reportedDistinct; }
    // No number twice, none lost, every number with its one first record.
    bool consistent() const
    {
        return duplicates() == 0 && lost == 0 && orphans == 0 && integrity == "ok"
               && firstRecords == numbersTaken && closedNotVerified == 0;
    }
};

// Reads the database at `url` and the stations' log files: each line
// "issued SERIAL" once the number's transaction committed, "closed SERIAL"
// once its record was verified.
Result<RegisterAudit> auditRegister(const std::string &url, const std::vector<std::string> &logs);

std::string describe(const RegisterAudit &audit);

} // namespace orvane::bench
