#include "platform/qt/TerminationWatch.h"

#include <QSocketNotifier>

#include <csignal>

#ifdef Q_OS_UNIX
#include "platform/posix/TerminationSignals.h"
#endif

namespace orvane {

TerminationWatch::TerminationWatch() = default;

TerminationWatch::~TerminationWatch() = default;

bool TerminationWatch::start(std::string *error)
{
#ifdef Q_OS_UNIX
    m_signals = std::make_unique<TerminationSignals>();
    if (!m_signals->install(error))
        return false;
    m_notifier = std::make_unique<QSocketNotifier>(m_signals->descriptor(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationWatch::take);
#else
    (void)error;
#endif
    return true;
}

void TerminationWatch::take()
{
#ifdef Q_OS_UNIX
    while (const int signal = m_signals->take()) {
        if (m_received == 0)
            m_received = signal;
        emit arrived(signal);
    }
#endif
}

std::string signalName(int signal)
{
    switch (signal) {
    case SIGINT:
        return "Ctrl+C";
    case SIGTERM:
        return "SIGTERM";
#ifdef SIGHUP
    case SIGHUP:
        return "SIGHUP";
#endif
    }
    return "signal " + std::to_string(signal);
}

} // namespace orvane
