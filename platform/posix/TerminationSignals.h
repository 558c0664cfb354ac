#pragma once

#include <string>

// SIGINT, SIGTERM and SIGHUP turned into a readable descriptor, so an event
// loop can end the program in an orderly way instead of dying in a handler.

namespace orvane {

class TerminationSignals
{
public:
    TerminationSignals() = default;
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

    bool install(std::string *error);
    // Becomes readable when one of the signals has arrived.
    int descriptor() const { return m_read; }
    // The signal that arrived (0 when none is waiting).
    int take();

private:
    int m_read = -1;
    int m_write = -1;
};

} // namespace orvane
