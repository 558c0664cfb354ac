#include "platform/ProductionRegister.h"

#include <cstdio>

namespace orvane {

namespace {

bool isIsoDate(const std::string &text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

std::string recordName(const RecordKey &key)
{
    return "The record of serial number " + std::to_string(key.serial)
           + (key.event > 1 ? " (making " + std::to_string(key.event) + ")" : std::string());
}

} // namespace

UnitOutcome UnitRecord::outcome() const
{
    switch (state) {
    case UnitState::Issued:
    case UnitState::Written:
        return interrupted ? UnitOutcome::Interrupted : UnitOutcome::InProgress;
    case UnitState::Verified:
        return UnitOutcome::Verified;
    case UnitState::Failed:
        return UnitOutcome::Failed;
    case UnitState::Void:
        return UnitOutcome::Void;
    }
    return UnitOutcome::Failed;
}

const char *outcomeName(UnitOutcome outcome)
{
    switch (outcome) {
    case UnitOutcome::InProgress:
        return "in progress";
    case UnitOutcome::Interrupted:
        return "interrupted";
    case UnitOutcome::Verified:
        return "verified";
    case UnitOutcome::Failed:
        return "failed";
    case UnitOutcome::Void:
        return "void";
    }
    return "unknown";
}

const char *stateName(UnitState state)
{
    switch (state) {
    case UnitState::Issued:
        return "issued";
    case UnitState::Written:
        return "written";
    case UnitState::Verified:
        return "verified";
    case UnitState::Failed:
        return "failed";
    case UnitState::Void:
        return "void";
    }
    return "unknown";
}

std::string takenSerialSentence(long long serial, const std::vector<UnitRecord> &earlier)
{
    std::string text = "Serial number " + std::to_string(serial) + " is already taken";
    if (!earlier.empty()) {
        const UnitRecord &last = earlier.back();
        // "2025-03-14T09:30:12.345Z" reads "2025-03-14 09:30 UTC".
        const std::string when
            = last.startedUtc.substr(0, 10) + " " + last.startedUtc.substr(11, 5) + " UTC";
        text += ": " + std::string(last.remake ? "re-made" : "made") + " on " + last.station
                + ", port " + std::to_string(last.port) + ", " + when + ", "
                + outcomeName(last.outcome());
        if (earlier.size() > 1)
            text += " (" + std::to_string(earlier.size()) + " records)";
    }
    return text
           + ". Type another number, or confirm that you are re-making a returned unit under "
             "this serial.";
}

std::string utcText(std::chrono::system_clock::time_point time)
{
    using namespace std::chrono;
    const auto milliseconds = floor<std::chrono::milliseconds>(time);
    const auto day = floor<days>(milliseconds);
    const year_month_day date{day};
    const hh_mm_ss clock{milliseconds - day};
    char text[32];
    std::snprintf(text,
                  sizeof text,
                  "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ",
                  int(date.year()),
                  unsigned(date.month()),
                  unsigned(date.day()),
                  int(clock.hours().count()),
                  int(clock.minutes().count()),
                  int(clock.seconds().count()),
                  int(clock.subseconds().count()));
    return text;
}

Result<> checkProductionDay(int productionDay)
{
    const int year = productionDay / 10000;
    const int month = productionDay / 100 % 100;
    const int day = productionDay % 100;
    if (productionDay < 0 || year > 255 || month < 1 || month > 12 || day < 1 || day > 31)
        return failure("The production day " + std::to_string(productionDay)
                       + " is not a date YYMMDD (year up to 255). Check the station's clock.");
    return {};
}

Result<> checkSerialNumber(long long serial)
{
    constexpr long long kLastDay = 2551231;
    const long long day = serial / 1000;
    if (serial < 0 || day > kLastDay || serial % 1000 > kLastUnitByte
        || !checkProductionDay(int(day)))
        return failure("The serial number " + std::to_string(serial)
                       + " is not YYMMDDnnn with a date and a unit number up to 255. Type it "
                         "again.");
    return {};
}

Result<> checkDetails(const UnitDetails &details)
{
    for (const FileHash &file : details.files) {
        const bool hex = file.sha256.size() == 64
                         && file.sha256.find_first_not_of("0123456789abcdef") == std::string::npos;
        if (file.name.empty() || !hex)
            return failure("The file \"" + file.name
                           + "\" has no SHA-256 of 64 lower-case hexadecimal digits, so the "
                             "unit's record cannot name what it was made with.");
    }
    return {};
}

Result<> checkFilter(const RecordFilter &filter)
{
    for (const std::string *date : {&filter.fromDate, &filter.toDate})
        if (!date->empty() && !isIsoDate(*date))
            return failure("The date \"" + *date + "\" is not YYYY-MM-DD, for example 2025-03-14.");
    return {};
}

Result<> checkStep(const RecordKey &key, UnitState from, UnitState to)
{
    if (!isOpenState(from))
        return failure(recordName(key) + " is closed (" + stateName(from)
                       + "); nothing more can be recorded in it.");
    const bool allowed
        = to == from || to == UnitState::Failed
          || (from == UnitState::Issued && (to == UnitState::Written || to == UnitState::Void))
          || (from == UnitState::Written && to == UnitState::Verified);
    if (!allowed)
        return failure(recordName(key) + " is " + stateName(from) + "; it cannot become "
                       + stateName(to) + ".");
    return {};
}

} // namespace orvane
