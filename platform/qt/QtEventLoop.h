#pragma once

#include "platform/Platform.h"

#include <QElapsedTimer>

// The clock and the event pump need only Qt Core, so that a program without
// windows (the command-line tool) shares them with the editor.

namespace orvane {

class QtClock : public Clock
{
public:
    QtClock() { m_timer.start(); }
    double monotonicSeconds() override { return double(m_timer.nsecsElapsed()) * 1e-9; }
    LocalDateTime localDateTime() override;

private:
    QElapsedTimer m_timer;
};

// Waits sleep in the event loop: a single-shot timer bounds the sleep and any
// event (a received byte, a click) ends it early.
class QtEventPump : public EventPump
{
public:
    void processPendingEvents() override;
    void waitForEvents(double timeoutSeconds) override;
};

} // namespace orvane
