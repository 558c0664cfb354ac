#include "link/TrafficLog.h"

#include <cstdio>

namespace orvane {

void TrafficLog::clear()
{
    m_entries.clear();
    m_dropped = 0;
    m_started = false;
    m_boundary = false;
}

void TrafficLog::frameBoundary()
{
    m_boundary = true;
}

void TrafficLog::sent(uint8_t byte, double time)
{
    add(byte, time, TrafficDirection::Sent);
}

void TrafficLog::received(std::span<const uint8_t> bytes, double time, bool firstIsEcho)
{
    for (size_t i = 0; i < bytes.size(); ++i)
        add(bytes[i],
            time,
            i == 0 && firstIsEcho ? TrafficDirection::Echo : TrafficDirection::Received);
}

void TrafficLog::add(uint8_t byte, double time, TrafficDirection direction)
{
    if (!m_started) {
        m_started = true;
        m_origin = time;
        m_lastByteTime = 0;
    }
    const double at = time - m_origin;
    const double since = at - m_lastByteTime;
    // A frame ends the entry before it; an echo is an entry of its own.
    const bool boundary = direction == TrafficDirection::Sent && m_boundary;
    if (direction == TrafficDirection::Sent)
        m_boundary = false;
    TrafficEntry *last = m_entries.empty() ? nullptr : &m_entries.back();
    const bool joins = last && !boundary && last->direction == direction
                       && direction != TrafficDirection::Echo && since <= kRunGap
                       && last->bytes.size() < kMaxEntryBytes;
    if (joins) {
        last->bytes.push_back(byte);
    } else {
        if (m_entries.size() >= kMaxEntries) {
            m_entries.erase(m_entries.begin(), m_entries.begin() + kMaxEntries / 10);
            m_dropped += kMaxEntries / 10;
        }
        m_entries.push_back({at, since, direction, {byte}});
    }
    m_lastByteTime = at;
}

namespace {

const char *directionText(TrafficDirection direction)
{
    switch (direction) {
    case TrafficDirection::Sent:
        return "PC->Orvane";
    case TrafficDirection::Received:
        return "Orvane->PC";
    case TrafficDirection::Echo:
        return "echo";
    }
    return "";
}

} // namespace

std::string trafficHeading()
{
    return "  time s  pause s  direction   bytes (hex)  text";
}

std::string trafficLine(const TrafficEntry &entry)
{
    char head[48];
    std::snprintf(head,
                  sizeof head,
                  "%8.3f %+8.3f  %-10s ",
                  entry.time,
                  entry.pause,
                  directionText(entry.direction));
    std::string line = head;
    std::string text;
    for (const uint8_t b : entry.bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
        text += b >= 0x20 && b < 0x7F ? char(b) : '.';
    }
    return line + "  " + text;
}

std::string trafficText(const TrafficLog &log, const LocalDateTime &savedAt)
{
    char saved[32];
    std::snprintf(saved,
                  sizeof saved,
                  "%04d-%02d-%02d %02d:%02d:%02d",
                  savedAt.year,
                  savedAt.month,
                  savedAt.day,
                  savedAt.hour,
                  savedAt.minute,
                  savedAt.second);
    std::string text = "Orvane serial traffic, saved " + std::string(saved) + "\n";
    if (log.dropped() > 0)
        text += "(the " + std::to_string(log.dropped()) + " oldest entries were dropped)\n";
    text += trafficHeading() + "\n";
    for (const TrafficEntry &entry : log.entries())
        text += trafficLine(entry) + "\n";
    return text;
}

} // namespace orvane
