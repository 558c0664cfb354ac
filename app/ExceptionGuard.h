#pragma once

#include <functional>
#include <string>

namespace orvane {

// The last line of defence around the delivery of one event. Errors a user
// can cause travel as values and programming errors are checked where they
// happen; whatever still escapes a handler (a standard library bounds check,
// an allocation failure) is caught here, reported, and the program keeps
// running instead of ending.
// The box that tells the user of an exception the guard caught.
inline constexpr const char *kInternalErrorTitle = "Orvane Display Configuration Editor";
std::string internalErrorMessage(const std::string &what);

class ExceptionGuard
{
public:
    using Reporter = std::function<void(const std::string &what)>;

    void setReporter(Reporter report) { m_report = std::move(report); }

    // Runs `deliver`; an exception that leaves it counts as an event not
    // handled (false). It is written to stderr and given to the reporter,
    // unless a report is already being shown: the report's own dialog runs
    // events, and those must not stack reports.
    bool deliver(const std::function<bool()> &deliver);

private:
    void report(const std::string &what);

    Reporter m_report;
    bool m_reporting = false;
};

} // namespace orvane
