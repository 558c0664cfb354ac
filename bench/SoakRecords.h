#pragma once

#include "SoakSimulator.h"

#include <string>
#include <vector>

namespace orvane::bench {

// How the instrument's records stand after a faulted exchange, set against
// the memories before it and after the same exchange run without a fault.
// A record is what one exchange writes as a unit: the settings image, a
// 128-byte EEPROM record, the settings backup.
struct RecordCount
{
    int fresh = 0; // changed by the exchange: holds the new content whole
    int old = 0;   // changed by the exchange: still holds the old content whole
    int torn = 0;  // changed by the exchange: neither (a write stopped half-way)
    int stray = 0; // not changed by the exchange, yet it differs from before

    RecordCount &operator+=(const RecordCount &other);
    int changedByExchange() const { return fresh + old + torn; }
};

RecordCount
countRecords(const Memories &before, const Memories &intendedAfter, const Memories &after);

} // namespace orvane::bench
