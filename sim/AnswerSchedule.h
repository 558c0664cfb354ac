#pragma once

#include "sim/Instrument.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

// When the answers of the instrument leave, for a carrier that runs in real
// time. The line is first in, first out: an answer never overtakes a late
// one before it.

namespace orvane::sim {

class AnswerSchedule
{
public:
    void add(double now, const Answer &answer);
    // The bytes whose time has come, oldest first.
    std::vector<uint8_t> takeDue(double now);
    std::optional<double> nextDue() const;
    // Forgets what has not left yet (the instrument was switched off).
    void clear() { m_pending.clear(); }

private:
    struct Pending
    {
        double due;
        std::vector<uint8_t> bytes;
    };
    std::deque<Pending> m_pending;
};

} // namespace orvane::sim
