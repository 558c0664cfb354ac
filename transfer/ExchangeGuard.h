#pragma once

#include "app/AppState.h"

namespace orvane {

// Marks the line busy for the whole of one command, its dialogs included, so
// that a click that would start a second exchange meanwhile is refused.
class ExchangeGuard
{
public:
    explicit ExchangeGuard(LinkState &link)
        : m_link(link)
    {
        m_link.exchangeInProgress = true;
    }
    ~ExchangeGuard() { m_link.exchangeInProgress = false; }
    ExchangeGuard(const ExchangeGuard &) = delete;
    ExchangeGuard &operator=(const ExchangeGuard &) = delete;

private:
    LinkState &m_link;
};

} // namespace orvane
