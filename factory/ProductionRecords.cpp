#include "factory/ProductionRecords.h"

#include <algorithm>
#include <charconv>
#include <chrono>

namespace orvane {

namespace {

constexpr const char *kExportTitle = "Export Production Records";
constexpr const char *kCsvFilter = "CSV Files (*.csv)| *.csv";
constexpr size_t kLongestSerialDigits = 10;
constexpr const char *kEmptyLineCell = "-";
constexpr const char *kLineGap = "  ";

bool isCalendarDay(const std::string &date)
{
    int year = 0;
    unsigned month = 0, day = 0;
    std::from_chars(date.data(), date.data() + 4, year);
    std::from_chars(date.data() + 5, date.data() + 7, month);
    std::from_chars(date.data() + 8, date.data() + 10, day);
    return std::chrono::year_month_day(std::chrono::year(year),
                                       std::chrono::month(month),
                                       std::chrono::day(day))
        .ok();
}

std::string optionalNumber(const std::optional<int> &value)
{
    return value ? std::to_string(*value) : std::string();
}

// "2025-03-14T09:30:12.345Z" reads "2025-03-14 09:30:12" on a line.
std::string shortUtc(const std::string &utc)
{
    constexpr size_t kToSeconds = 19;
    if (utc.size() < kToSeconds)
        return utc;
    std::string text = utc.substr(0, kToSeconds);
    text[10] = ' ';
    return text;
}

std::string fileHashes(const UnitRecord &record)
{
    std::string text;
    for (const FileHash &file : record.details.files)
        text += (text.empty() ? "" : "; ") + file.name + "=" + file.sha256;
    return text;
}

// A line holds no line ends: a message of several lines reads as one.
std::string oneLine(std::string text)
{
    std::replace_if(
        text.begin(),
        text.end(),
        [](char c) { return c == '\r' || c == '\n'; },
        ' ');
    return text;
}

std::string sourcePhrase(DatabaseSource source)
{
    return source == DatabaseSource::Option || source == DatabaseSource::Environment
               ? "from " + sourceName(source)
               : sourceName(source);
}

Result<std::string> describeChoice(ProductionDatabase &database, const DatabaseChoice &choice)
{
    const Result<std::string> described = database.describe(choice.url);
    if (!described)
        return failure(described.error() + " (It comes from " + sourceName(choice.source) + ".)");
    return *described + " (" + sourcePhrase(choice.source) + ")";
}

constexpr RecordColumn kColumns[] = {
    {"Serial",
     ColumnUse::Both,
     [](const UnitRecord &r) {
         return std::to_string(r.key.serial);
     }},
    {"Making",
     ColumnUse::Line,
     [](const UnitRecord &r) {
         return std::to_string(r.key.event) + (r.remake ? " re-made" : "");
     }},
    {"Event",
     ColumnUse::Csv,
     [](const UnitRecord &r) {
         return std::to_string(r.key.event);
     }},
    {"Re-made",
     ColumnUse::Csv,
     [](const UnitRecord &r) {
         return std::string(r.remake ? "yes" : "no");
     }},
    {"Outcome",
     ColumnUse::Both,
     [](const UnitRecord &r) {
         return std::string(outcomeName(r.outcome()));
     }},
    {"State",
     ColumnUse::Both,
     [](const UnitRecord &r) {
         return std::string(stateName(r.state));
     }},
    {"Station",
     ColumnUse::Both,
     [](const UnitRecord &r) {
         return r.station;
     }},
    {"Operator",
     ColumnUse::Both,
     [](const UnitRecord &r) {
         return r.operatorName;
     }},
    {"Port",
     ColumnUse::Both,
     [](const UnitRecord &r) {
         return std::to_string(r.port);
     }},
    {"Started (UTC)",
     ColumnUse::Line,
     [](const UnitRecord &r) {
         return shortUtc(r.startedUtc);
     }},
    {"Started (UTC)",
     ColumnUse::Csv,
     [](const UnitRecord &r) {
         return r.startedUtc;
     }},
    {"Ended (UTC)",
     ColumnUse::Line,
     [](const UnitRecord &r) {
         return shortUtc(r.endedUtc);
     }},
    {"Ended (UTC)",
     ColumnUse::Csv,
     [](const UnitRecord &r) {
         return r.endedUtc;
     }},
    {"Product code",
     ColumnUse::Both,
     [](const UnitRecord &r) {
         return optionalNumber(r.details.productCode);
     }},
    {"Firmware",
     ColumnUse::Both,
     [](const UnitRecord &r) {
         return optionalNumber(r.details.firmware);
     }},
    {"Hardware version",
     ColumnUse::Csv,
     [](const UnitRecord &r) {
         return r.details.hardwareVersion;
     }},
    {"Module versions",
     ColumnUse::Csv,
     [](const UnitRecord &r) {
         return r.details.moduleVersions;
     }},
    {"Files (SHA-256)", ColumnUse::Csv, fileHashes},
    {"Message",
     ColumnUse::Both,
     [](const UnitRecord &r) {
         return r.message;
     }},
};

bool shows(const RecordColumn &column, ColumnUse use)
{
    return column.use == use || column.use == ColumnUse::Both;
}

} // namespace

std::string trimmedField(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t");
    const size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

Result<RecordFilter> recordFilter(const RecordsQuery &query)
{
    RecordFilter filter;
    filter.fromDate = trimmedField(query.fromDate);
    filter.toDate = trimmedField(query.toDate);
    filter.outcome = query.outcome;
    if (const Result<> checked = checkFilter(filter); !checked)
        return failure(checked.error());
    for (const std::string *date : {&filter.fromDate, &filter.toDate})
        if (!date->empty() && !isCalendarDay(*date))
            return failure("The date \"" + *date
                           + "\" is no day of the calendar. Type it as YYYY-MM-DD, for example "
                             "2025-03-14.");
    if (!filter.fromDate.empty() && !filter.toDate.empty() && filter.fromDate > filter.toDate)
        return failure("The first day, " + filter.fromDate + ", comes after the last, "
                       + filter.toDate + ". Swap them.");

    const std::string serial = trimmedField(query.serial);
    if (serial.empty())
        return filter;
    if (serial.size() > kLongestSerialDigits
        || serial.find_first_not_of("0123456789") != std::string::npos)
        return failure("The serial number \"" + serial
                       + "\" is not a number YYMMDDnnn. Type its digits, for example "
                         "250314001.");
    const long long value = std::stoll(serial);
    if (const Result<> checked = checkSerialNumber(value); !checked)
        return failure(checked.error());
    filter.serial = value;
    return filter;
}

RecordsQuery unitHistoryQuery(long long serial)
{
    RecordsQuery query;
    query.serial = std::to_string(serial);
    return query;
}

Result<std::string> databaseInUse(ProductionDatabase &database, const std::string &option)
{
    return describeChoice(database, database.choose(option));
}

Result<RecordsListing>
listRecords(ProductionDatabase &database, const std::string &option, const RecordsQuery &query)
{
    const Result<RecordFilter> filter = recordFilter(query);
    if (!filter)
        return failure(filter.error());
    const DatabaseChoice choice = database.choose(option);
    Result<std::string> described = describeChoice(database, choice);
    if (!described)
        return failure(described.error());
    Result<std::unique_ptr<ProductionRegister>> opened = database.open(choice, RegisterUse::Read);
    if (!opened)
        return failure(opened.error());
    Result<std::vector<UnitRecord>> records = (*opened)->records(*filter);
    if (!records)
        return failure(records.error());
    return RecordsListing{std::move(*described), std::move(*records)};
}

std::span<const RecordColumn> recordColumns()
{
    return kColumns;
}

std::vector<std::string> recordLineCells(const UnitRecord &record)
{
    std::vector<std::string> cells;
    for (const RecordColumn &column : kColumns)
        if (shows(column, ColumnUse::Line))
            cells.push_back(oneLine(column.cell(record)));
    return cells;
}

std::vector<std::string_view> recordLineHeadings()
{
    std::vector<std::string_view> headings;
    for (const RecordColumn &column : kColumns)
        if (shows(column, ColumnUse::Line))
            headings.push_back(column.heading);
    return headings;
}

std::string recordLinesText(const std::vector<UnitRecord> &records)
{
    std::vector<std::vector<std::string>> rows;
    const std::vector<std::string_view> headings = recordLineHeadings();
    rows.emplace_back(headings.begin(), headings.end());
    for (const UnitRecord &record : records) {
        rows.push_back(recordLineCells(record));
        for (std::string &cell : rows.back())
            if (cell.empty())
                cell = kEmptyLineCell;
    }
    std::vector<size_t> widths(headings.size(), 0);
    for (const auto &row : rows)
        for (size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    std::string text;
    for (const auto &row : rows) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size())
                line += std::string(widths[c] - row[c].size(), ' ') + kLineGap;
        }
        text += line + "\n";
    }
    return text;
}

std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string recordsCsv(const std::vector<UnitRecord> &records)
{
    const auto line = [](const auto &field) {
        std::string text;
        bool first = true;
        for (const RecordColumn &column : kColumns) {
            if (!shows(column, ColumnUse::Csv))
                continue;
            text += (first ? "" : ",") + csvField(field(column));
            first = false;
        }
        return text + "\r\n";
    };
    std::string csv = line([](const RecordColumn &column) { return std::string(column.heading); });
    for (const UnitRecord &record : records)
        csv += line([&record](const RecordColumn &column) { return column.cell(record); });
    return csv;
}

Result<std::string> exportRecordsCsv(Platform &platform, const std::vector<UnitRecord> &records)
{
    const std::string path = platform.dialogs.saveFileName(kExportTitle, kCsvFilter);
    if (path.empty())
        return std::string();
    if (const Result<> written = platform.files.writeFileAtomically(path, recordsCsv(records));
        !written)
        return failure("The records could not be written to " + path + ": " + written.error()
                       + ". A file already there is kept as it was; choose another folder, or "
                         "make room, and export again.");
    return path;
}

} // namespace orvane
