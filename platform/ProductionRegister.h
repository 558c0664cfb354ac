#pragma once

#include "platform/Result.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The factory's record of the units it makes, and the one issuer of their
// serial numbers. A serial number is taken by the database (UNIQUE, one
// transaction), never computed by a station on its own, so two stations or
// two ports can never give two units one identity.
//
// A serial number reads YYMMDDnnn: the production day and the unit number
// of that day. The production day is the station's local calendar date, as
// the technician's calendar and the unit's other dates read; the caller
// passes it. Times in the records are UTC.

namespace orvane {

// Issued numbers leave out 0 and 255, which the unit's byte cannot tell
// from a blank or a capped number.
constexpr int kFirstIssuedUnit = 1;
constexpr int kLastIssuedUnit = 254;
// A typed number may be any the unit's byte holds.
constexpr int kLastUnitByte = 255;

// YYMMDD from a calendar date; the year's byte counts from 2000, so 2125
// reads 1250101.
inline int productionDayOf(int year, int month, int day)
{
    return (year - 2000) * 10000 + month * 100 + day;
}

inline long long serialNumberOf(int productionDay, int unit)
{
    return static_cast<long long>(productionDay) * 1000 + unit;
}

// issued -> written -> verified | failed; issued -> void | failed.
enum class UnitState {
    Issued,   // the number is taken for the unit; nothing is on the unit yet
    Written,  // the serial number is on the unit
    Verified, // read back after making: everything matched what was written
    Failed,   // stopped, with the message
    Void,     // issued, never written; the number stays taken
};

// A record still issued or written counts as in progress while its station
// shows signs of life; once it is left behind it counts as interrupted.
enum class UnitOutcome { InProgress, Interrupted, Verified, Failed, Void };

struct FileHash
{
    std::string name;   // as the file is named in the working folder
    std::string sha256; // 64 lower-case hexadecimal digits
};

// What the station knows of the unit once connected and its files checked.
struct UnitDetails
{
    std::optional<int> productCode;
    std::optional<int> firmware;
    std::string hardwareVersion;
    std::string moduleVersions;  // as read when connecting
    std::vector<FileHash> files; // the three data files and the ten modules
};

// One making of a unit: its first, or a re-making of a returned unit.
struct RecordKey
{
    long long serial = 0;
    int event = 1; // 1, 2, ... in the order the serial was made

    bool operator==(const RecordKey &) const = default;
};

struct UnitRecord
{
    RecordKey key;
    bool remake = false; // a returned unit made again under its serial
    UnitState state = UnitState::Issued;
    // Still issued or written, but its station has since started another
    // unit on the same port, or gave no sign of life for a lease's length.
    bool interrupted = false;
    UnitDetails details;
    std::string station;      // host name
    std::string operatorName; // login name
    int port = 0;             // COM number
    std::string startedUtc;   // ISO 8601, "2025-03-14T09:30:12.345Z"
    std::string endedUtc;     // empty while open
    std::string message;      // why it failed or was voided

    UnitOutcome outcome() const;
};

enum class ClaimKind {
    NewUnit,        // refused when the number is taken
    RemakeReturned, // a new record under a serial that may be taken
};

// A claim either makes a record or, for a new unit whose number is taken,
// is refused and records nothing. Either way `earlier` holds the serial's
// records before the claim, oldest first, to tell the technician where and
// when it was made.
struct Claim
{
    std::optional<UnitRecord> record;
    std::vector<UnitRecord> earlier;
};

// Every criterion left empty matches all records. Dates are UTC calendar
// dates "YYYY-MM-DD" of the record's start, both ends included.
struct RecordFilter
{
    std::string fromDate;
    std::string toDate;
    std::optional<long long> serial;
    std::optional<UnitOutcome> outcome;
};

// Who records, and how long a station may stay silent; the same for every
// register.
struct RegisterOptions
{
    std::string station;      // empty: this computer's host name
    std::string operatorName; // empty: the login name
    // An open record whose station showed no sign of life for this long
    // counts as interrupted. A making of a unit takes a few minutes; the
    // stations' clocks must agree to well within this.
    std::chrono::seconds lease = std::chrono::minutes(15);
    std::function<std::chrono::system_clock::time_point()> now; // empty: the system clock
};

// One register serves one thread. Failures (an unreachable database, a
// record that cannot be written, a step out of order) are values saying
// what happened and what to do; nothing is changed by a failed call.
class ProductionRegister
{
public:
    virtual ~ProductionRegister() = default;

    // Takes the lowest unit number of the day never taken before and opens
    // its record (issued), in one transaction.
    virtual Result<UnitRecord> issueNext(int productionDay, int port) = 0;
    // Takes a number the technician typed.
    virtual Result<Claim> claim(long long serial, int port, ClaimKind kind) = 0;

    // The steps of an open record; each is also a sign of life.
    virtual Result<> setDetails(const RecordKey &key, const UnitDetails &details) = 0;
    virtual Result<> markWritten(const RecordKey &key) = 0;
    // Verified (from written), failed, or void (from issued).
    virtual Result<> finish(const RecordKey &key, UnitState end, const std::string &message) = 0;
    // For a step that outlasts the lease without changing the record.
    virtual Result<> keepAlive(const RecordKey &key) = 0;

    // Oldest start first; a serial's records are its whole history.
    virtual Result<std::vector<UnitRecord>> records(const RecordFilter &filter) = 0;
};

// Issued or written: a making still under way (or interrupted).
inline bool isOpenState(UnitState state)
{
    return state == UnitState::Issued || state == UnitState::Written;
}

// The words a list or a file uses for an outcome and a state.
const char *outcomeName(UnitOutcome outcome);
const char *stateName(UnitState state);

// The technician's sentence for a number that is taken, from its records.
std::string takenSerialSentence(long long serial, const std::vector<UnitRecord> &earlier);

// A UTC time in the records' form, which sorts as it reads.
std::string utcText(std::chrono::system_clock::time_point time);

// What every register checks before it touches the database; the failure
// says what is wrong.
Result<> checkProductionDay(int productionDay);
Result<> checkSerialNumber(long long serial);
Result<> checkDetails(const UnitDetails &details);
Result<> checkFilter(const RecordFilter &filter);
// Details and signs of life keep an open record's state; written follows
// issued, verified follows written, failed either, void issued.
Result<> checkStep(const RecordKey &key, UnitState from, UnitState to);

} // namespace orvane
