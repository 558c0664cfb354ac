#pragma once

#include "sim/Instrument.h"

#include <cstdint>
#include <vector>

// Talks to the in-process instrument byte by byte, as the editor's link does.

namespace orvane::sim::test {

inline std::vector<uint8_t> send(Instrument &instrument, const std::vector<int> &bytes)
{
    std::vector<uint8_t> answered;
    for (const int b : bytes) {
        const Answer answer = instrument.feed(static_cast<uint8_t>(b));
        answered.insert(answered.end(), answer.bytes.begin(), answer.bytes.end());
    }
    return answered;
}

// Presence probe and resynchronisation: the instrument is in command mode.
inline void connect(Instrument &instrument)
{
    send(instrument, {61, 35, 35, 35, 35, 35, 35, 35, 35});
}

inline std::vector<uint8_t> bytes(std::initializer_list<int> values)
{
    return std::vector<uint8_t>(values.begin(), values.end());
}

inline uint8_t settingsXor(const Instrument &instrument)
{
    auto &nvm = const_cast<Instrument &>(instrument).internalNvm();
    uint8_t x = 0;
    for (int i = 1; i < 256; ++i)
        x ^= nvm[static_cast<size_t>(i)];
    return x;
}

} // namespace orvane::sim::test
