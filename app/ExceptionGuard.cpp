#include "app/ExceptionGuard.h"

#include <cstdio>
#include <exception>

namespace orvane {

std::string internalErrorMessage(const std::string &what)
{
    return "An internal error stopped the last action (" + what
           + ").\r\nThe program keeps running. Save your configuration to a new file before "
             "going on.";
}

bool ExceptionGuard::deliver(const std::function<bool()> &deliver)
{
    try {
        return deliver();
    } catch (const std::exception &e) {
        report(e.what());
    } catch (...) {
        report("an exception of unknown type");
    }
    return false;
}

void ExceptionGuard::report(const std::string &what)
{
    std::fprintf(stderr, "orvane: an event handler let an exception escape: %s\n", what.c_str());
    if (!m_report || m_reporting)
        return;
    m_reporting = true;
    try {
        m_report(what);
    } catch (...) {
        std::fprintf(stderr, "orvane: reporting it failed as well\n");
    }
    m_reporting = false;
}

} // namespace orvane
