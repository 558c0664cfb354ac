#pragma once

#include <QObject>

#include <memory>
#include <string>

class QSocketNotifier;

// Ctrl+C (SIGINT), SIGTERM and SIGHUP delivered through the event loop, so
// that a program ends its work in order instead of dying in a handler. Where
// the system has no such signals, none ever arrives.

namespace orvane {

class TerminationSignals;

class TerminationWatch : public QObject
{
    Q_OBJECT
public:
    TerminationWatch();
    ~TerminationWatch() override;

    // Starts catching the signals; false with the reason when it cannot.
    bool start(std::string *error);
    // The first signal that arrived; 0 while none has.
    int received() const { return m_received; }

signals:
    // Emitted in the event loop for every signal that arrives.
    void arrived(int signal);

private:
    void take();

#ifdef Q_OS_UNIX
    std::unique_ptr<TerminationSignals> m_signals;
    std::unique_ptr<QSocketNotifier> m_notifier;
#endif
    int m_received = 0;
};

// "Ctrl+C" for SIGINT, otherwise the signal's name ("SIGTERM").
std::string signalName(int signal);

} // namespace orvane
