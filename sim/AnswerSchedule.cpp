#include "sim/AnswerSchedule.h"

#include <algorithm>

namespace orvane::sim {

void AnswerSchedule::add(double now, const Answer &answer)
{
    if (answer.bytes.empty())
        return;
    double due = now + std::max(0.0, answer.delaySeconds);
    if (!m_pending.empty())
        due = std::max(due, m_pending.back().due);
    m_pending.push_back({due, answer.bytes});
}

std::vector<uint8_t> AnswerSchedule::takeDue(double now)
{
    std::vector<uint8_t> bytes;
    while (!m_pending.empty() && m_pending.front().due <= now) {
        bytes.insert(bytes.end(), m_pending.front().bytes.begin(), m_pending.front().bytes.end());
        m_pending.pop_front();
    }
    return bytes;
}

std::optional<double> AnswerSchedule::nextDue() const
{
    if (m_pending.empty())
        return std::nullopt;
    return m_pending.front().due;
}

} // namespace orvane::sim
