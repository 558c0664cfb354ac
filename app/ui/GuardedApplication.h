#pragma once

#include "app/ExceptionGuard.h"

#include <QApplication>

namespace orvane {

// The program's application object: an exception that escapes an event
// handler is reported and the program keeps running (see ExceptionGuard).
class GuardedApplication : public QApplication
{
public:
    GuardedApplication(int &argc, char **argv);

    ExceptionGuard &guard() { return m_guard; }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    ExceptionGuard m_guard;
};

} // namespace orvane
