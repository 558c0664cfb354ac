#pragma once

#include "link/TrafficTap.h"
#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A record of the serial traffic for a technician to read or send to
// support: one entry per frame or run of bytes, with its time, direction and
// the pause before it. Echoes of the bytes a block write sends stand apart.

namespace orvane {

enum class TrafficDirection { Sent, Received, Echo };

struct TrafficEntry
{
    double time = 0;  // seconds since the log began, at the first byte
    double pause = 0; // seconds since the last byte of the entry before
    TrafficDirection direction = TrafficDirection::Sent;
    std::vector<uint8_t> bytes;
};

class TrafficLog : public TrafficTap
{
public:
    // Bytes of one direction further apart than this start a new entry.
    static constexpr double kRunGap = 0.08;
    // A long run (the live NMEA stream) is cut into entries of this many bytes.
    static constexpr size_t kMaxEntryBytes = 32;
    // The oldest entries go once the log holds this many (a day of NMEA).
    static constexpr size_t kMaxEntries = 200000;

    void sent(uint8_t byte, double time) override;
    void received(std::span<const uint8_t> bytes, double time, bool firstIsEcho) override;
    void frameBoundary() override;

    const std::vector<TrafficEntry> &entries() const { return m_entries; }
    // Entries dropped from the front since the log began or was cleared:
    // entries()[i] is the (dropped() + i)-th entry of the log.
    size_t dropped() const { return m_dropped; }
    // Forgets everything; the next byte's time counts from zero.
    void clear();

private:
    void add(uint8_t byte, double time, TrafficDirection direction);

    std::vector<TrafficEntry> m_entries;
    size_t m_dropped = 0;
    bool m_started = false;
    double m_origin = 0;
    double m_lastByteTime = 0;
    bool m_boundary = false;
};

// One entry as a line of text, without its line end:
//   "   12.345   +0.050  PC->Orvane  55 AA 01 00 00  U...."
std::string trafficLine(const TrafficEntry &entry);
// The column heads that go over the lines.
std::string trafficHeading();
// A whole log as text for a file: a title line naming when it was saved, the
// heading, then every entry, each line ended with a line feed.
std::string trafficText(const TrafficLog &log, const LocalDateTime &savedAt);

} // namespace orvane
