#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// What the instrument's four NMEA 0183 inputs are hearing, canned: each
// channel carries two talkers' sentences (its A and B streams) with correct
// checksums and values that drift a little from round to round, so a live
// view looks alive and its sentences can be picked by talker, identifier and
// comma count.

namespace orvane::sim {

class NmeaFeed
{
public:
    static constexpr int kChannels = 4;

    // The next character heard on channel 1..4; nothing for another number.
    std::optional<uint8_t> next(uint8_t channel);
    // Every channel starts again at its first sentence.
    void restart();

    // "$" + body + "*" + two upper-case hex digits of the XOR of the body + CR LF.
    static std::string sentence(const std::string &body);
    // The sentences of channel 1..4 in round r (A stream first, then B).
    static std::string round(int channel, int r);

private:
    std::array<std::string, kChannels> m_text;
    std::array<size_t, kChannels> m_position{};
    std::array<int, kChannels> m_round{};
};

} // namespace orvane::sim
