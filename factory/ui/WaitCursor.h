#pragma once

#include <QGuiApplication>

namespace orvane {

// A wait for the production database (at most its connect and statement
// timeouts) shows as one for as long as this lives.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace orvane
