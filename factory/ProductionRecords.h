#pragma once

#include "platform/Platform.h"
#include "platform/ProductionDatabase.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The production records as the records window and `orvane units` show
// them: which records a query asks for, the columns of a record's line,
// and the CSV file of the records shown.

namespace orvane {

// A query as typed; an empty field asks for everything.
struct RecordsQuery
{
    std::string fromDate{}; // YYYY-MM-DD: the UTC day a making started, both ends included
    std::string toDate{};
    std::string serial{}; // YYMMDDnnn
    std::optional<UnitOutcome> outcome{};
};

// The outcomes a query may ask for, in the order a list offers them.
inline constexpr std::array<UnitOutcome, 5> kRecordOutcomes = {UnitOutcome::InProgress,
                                                               UnitOutcome::Interrupted,
                                                               UnitOutcome::Verified,
                                                               UnitOutcome::Failed,
                                                               UnitOutcome::Void};

// A typed field without the blanks and tabs around it.
std::string trimmedField(const std::string &text);

// The register's filter, or what is wrong with the query and how to put
// it right.
Result<RecordFilter> recordFilter(const RecordsQuery &query);

// One unit's whole history: every making of the serial, whatever else was
// asked before.
RecordsQuery unitHistoryQuery(long long serial);

struct RecordsListing
{
    std::string database; // in words, and where the choice came from
    std::vector<UnitRecord> records;
};

// The database a station uses (`option` is a command's --db, empty for
// none) in words: "the SQLite file … (the default)". Or why its URL cannot
// be used.
Result<std::string> databaseInUse(ProductionDatabase &database, const std::string &option);

// The records the query finds, oldest first, read from the database the
// station uses; nothing is written. A failure says what went wrong and
// what to do.
Result<RecordsListing>
listRecords(ProductionDatabase &database, const std::string &option, const RecordsQuery &query);

// Where a column shows: a record's line (the command's text and the
// window's table), the CSV file, or both.
enum class ColumnUse { Line, Csv, Both };

struct RecordColumn
{
    std::string_view heading; // the line's heading and the CSV header
    ColumnUse use;
    std::string (*cell)(const UnitRecord &record);
};

std::span<const RecordColumn> recordColumns();

// The cells of the record's line, in the order of recordColumns().
std::vector<std::string> recordLineCells(const UnitRecord &record);
std::vector<std::string_view> recordLineHeadings();

// A heading line, then one line a record, columns aligned.
std::string recordLinesText(const std::vector<UnitRecord> &records);

// RFC 4180: a header, then a record a line, CR LF line ends; a field with
// a comma, a quote or a line end is quoted, its quotes doubled.
std::string recordsCsv(const std::vector<UnitRecord> &records);
std::string csvField(std::string_view text);

// Asks where to keep the records (the platform's save dialog) and writes
// them as CSV, whole or not at all. The path written; empty when the user
// cancelled.
Result<std::string> exportRecordsCsv(Platform &platform, const std::vector<UnitRecord> &records);

} // namespace orvane
