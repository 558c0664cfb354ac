#include "SoakReport.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sstream>

namespace orvane::bench {

namespace {

constexpr char kFieldSeparator = '\t';
constexpr const char *kViolationSeparator = "; ";
constexpr int kRowFields = 17;

// Messages carry line breaks; a row is one line.
std::string oneLine(std::string text)
{
    std::replace_if(
        text.begin(),
        text.end(),
        [](char c) { return c == '\t' || c == '\r' || c == '\n'; },
        ' ');
    return text;
}

template<typename Number>
bool parsed(const std::string &text, Number &value)
{
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

std::vector<std::string> split(const std::string &text, const std::string &separator)
{
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at - from));
        if (at == std::string::npos)
            return parts;
        from = at + separator.size();
    }
}

std::string secondsText(const std::optional<double> &s)
{
    if (!s)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", *s);
    return text;
}

void printRuns(const std::vector<RunRecord> &runs, const std::vector<std::string> &faults)
{
    std::printf("\n%4s  %-9s %-15s %-12s %7s  %-13s %8s  %-5s %5s %4s %4s %5s  %s\n",
                "run",
                "exchange",
                "fault",
                "detail",
                "at s",
                "outcome",
                "to msg s",
                "image",
                "new",
                "old",
                "torn",
                "stray",
                "verdict");
    for (const std::string &fault : faults) {
        for (const RunRecord &r : runs) {
            if (r.fault != fault)
                continue;
            std::string verdict = r.violations.empty() ? "ok" : "";
            for (const std::string &v : r.violations)
                verdict += (verdict.empty() ? "" : "; ") + v;
            if (!r.faulted)
                verdict += " (fault after the end)";
            std::printf("%4d  %-9s %-15s %-12s %7.3f  %-13s %8s  %-5s %5d %4d %4d %5d  %s\n",
                        r.number,
                        r.exchange.c_str(),
                        r.fault.c_str(),
                        r.detail.c_str(),
                        r.moment,
                        r.outcome.c_str(),
                        secondsText(r.faultToMessage).c_str(),
                        r.imageUnchanged ? "same" : "CHANGED",
                        r.records.fresh,
                        r.records.old,
                        r.records.torn,
                        r.records.stray,
                        verdict.c_str());
        }
    }
}

struct KindTotals
{
    explicit KindTotals(double allowance)
        : allowance(allowance)
    {}

    double allowance;
    int runs = 0, completed = 0, stopped = 0, tooLate = 0, onTime = 0, inBudget = 0, imageKept = 0;
    int runsWithTorn = 0, violating = 0;
    std::vector<double> delays;
    RecordCount records;

    void add(const RunRecord &r)
    {
        ++runs;
        completed += r.outcome == "completed";
        stopped += r.outcome != "completed";
        tooLate += !r.faulted;
        if (r.outcome != "completed") {
            imageKept += r.imageUnchanged;
            if (r.faultToMessage) {
                delays.push_back(*r.faultToMessage);
                onTime += *r.faultToMessage <= kMessageDeadline;
                inBudget += *r.faultToMessage <= kMessageDeadline + allowance;
            }
        }
        runsWithTorn += r.records.torn > 0;
        violating += !r.violations.empty();
        records += r.records;
    }
    void print(const char *name)
    {
        std::sort(delays.begin(), delays.end());
        const std::optional<double> median
            = delays.empty() ? std::nullopt : std::optional<double>(delays[delays.size() / 2]);
        const std::optional<double> worst
            = delays.empty() ? std::nullopt : std::optional<double>(delays.back());
        std::printf(
            "%-15s %5d %6d %7d %6d %8d/%-3d %6d/%-3d %7s %7s %7d/%-3d %6d %6d %6d %6d %5d %6d\n",
            name,
            runs,
            completed,
            stopped,
            tooLate,
            onTime,
            int(delays.size()),
            inBudget,
            int(delays.size()),
            secondsText(median).c_str(),
            secondsText(worst).c_str(),
            imageKept,
            stopped,
            records.fresh,
            records.old,
            records.torn,
            records.stray,
            runsWithTorn,
            violating);
    }
};

void printTotals(const std::vector<RunRecord> &runs,
                 const std::vector<std::string> &faults,
                 double allowance)
{
    std::printf("\n%-15s %5s %6s %7s %6s %12s %10s %7s %7s %11s %6s %6s %6s %6s %5s %6s\n",
                "fault",
                "runs",
                "done",
                "stopped",
                "late",
                "msg<=1s",
                "in budget",
                "median",
                "worst",
                "image kept",
                "new",
                "old",
                "torn",
                "stray",
                "torn",
                "FAILED");
    std::printf("%-15s %5s %6s %7s %6s %12s %10s %7s %7s %11s %6s %6s %6s %6s %5s %6s\n",
                "",
                "",
                "",
                "",
                "fault",
                "",
                "",
                "s",
                "s",
                "(stopped)",
                "recs",
                "recs",
                "recs",
                "recs",
                "runs",
                "runs");
    KindTotals all(allowance);
    for (const std::string &fault : faults) {
        KindTotals kind(allowance);
        for (const RunRecord &r : runs) {
            if (r.fault == fault) {
                kind.add(r);
                all.add(r);
            }
        }
        kind.print(fault.c_str());
    }
    all.print("all");
    std::printf("\n\"late fault\": the fault was due after the exchange had already ended. "
                "Times to the message run from the fault's effect: the last byte the instrument "
                "sent after the fault was set up, or the set-up when none came. "
                "\"msg<=1s\": stopped runs whose message came within %.0f s of the fault; "
                "\"in budget\": within %.1f s, which adds the longest recovery the exchanges "
                "make before they give up (the connection's probes, the re-reads of a short "
                "answer). Records: 128-byte EEPROM records and the 256-byte settings, "
                "new/old/torn among those the exchange changes, stray among those it does "
                "not.\n",
                kMessageDeadline,
                kMessageDeadline + allowance);
}

} // namespace

std::string rowText(const RunRecord &r)
{
    std::ostringstream row;
    row.precision(17);
    std::string violations;
    for (const std::string &v : r.violations)
        violations += (violations.empty() ? "" : kViolationSeparator) + oneLine(v);
    const char t = kFieldSeparator;
    row << r.number << t << oneLine(r.exchange) << t << oneLine(r.fault) << t << oneLine(r.detail)
        << t << r.moment << t << r.outcome << t << r.faulted << t
        << (r.faultToMessage ? std::to_string(*r.faultToMessage) : "-") << t << oneLine(r.message)
        << t << r.warned << t << r.imageUnchanged << t << r.records.fresh << t << r.records.old << t
        << r.records.torn << t << r.records.stray << t << r.seconds << t << violations;
    return row.str();
}

std::optional<RunRecord> runFromRow(const std::string &row)
{
    const std::vector<std::string> f = split(row, std::string(1, kFieldSeparator));
    if (f.size() != kRowFields)
        return std::nullopt;
    RunRecord r;
    r.exchange = f[1];
    r.fault = f[2];
    r.detail = f[3];
    r.outcome = f[5];
    r.faulted = f[6] == "1";
    r.message = f[8];
    r.warned = f[9] == "1";
    r.imageUnchanged = f[10] == "1";
    if (!f[16].empty())
        r.violations = split(f[16], kViolationSeparator);
    double toMessage = 0;
    const bool read = parsed(f[0], r.number) && parsed(f[4], r.moment)
                      && (f[7] == "-" || parsed(f[7], toMessage)) && parsed(f[11], r.records.fresh)
                      && parsed(f[12], r.records.old) && parsed(f[13], r.records.torn)
                      && parsed(f[14], r.records.stray) && parsed(f[15], r.seconds);
    if (!read)
        return std::nullopt;
    if (f[7] != "-")
        r.faultToMessage = toMessage;
    return r;
}

void printReport(const std::vector<RunRecord> &runs,
                 const std::vector<std::string> &faults,
                 double retryAllowance)
{
    printRuns(runs, faults);
    printTotals(runs, faults, retryAllowance);
}

} // namespace orvane::bench
