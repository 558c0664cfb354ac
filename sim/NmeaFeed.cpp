#include "sim/NmeaFeed.h"

#include <cstdio>

namespace orvane::sim {

namespace {

// Small drifts applied round after round, in tenths of the value's unit.
constexpr std::array<int, 8> kDrift{0, 3, 5, 2, -1, -4, -2, 1};

// A value in tenths as text with one decimal and at least `width` digits
// before the point ("0035.2" for 352 and width 4).
std::string tenths(int value, int width)
{
    char text[32];
    const int whole = value / 10;
    const int tenth = value % 10 < 0 ? -(value % 10) : value % 10;
    std::snprintf(text, sizeof text, "%0*d.%d", width, whole, tenth);
    return text;
}

// A positive value in ten-thousandths ("1.0132" for 10132).
std::string tenThousandths(int value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d.%04d", value / 10000, value % 10000);
    return text;
}

std::string twoDigits(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

} // namespace

std::string NmeaFeed::sentence(const std::string &body)
{
    uint8_t check = 0;
    for (const char c : body)
        check ^= static_cast<uint8_t>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", check);
    return "$" + body + tail;
}

std::string NmeaFeed::round(int channel, int r)
{
    const int d = kDrift[static_cast<size_t>(r % static_cast<int>(kDrift.size()))];
    const int seconds = (r * 2) % 60;
    const std::string time = "1405" + twoDigits(seconds);
    switch (channel) {
    case 1: // wind: relative, then true
        return sentence("WIMWV," + tenths(452 + 10 * d, 3) + ",R," + tenths(124 + d, 2) + ",N,A")
               + sentence("WIMWV," + tenths(505 + 10 * d, 3) + ",T," + tenths(101 + d, 2) + ",N,A");
    case 2: // depth below transducer, then water temperature
        return sentence("SDDBT," + tenths(352 + d, 4) + ",f," + tenths(107 + d / 3, 4) + ",M,"
                        + tenths(58 + d / 6, 4) + ",F")
               + sentence("IIXDR,C," + tenths(185 + d, 2) + ",C,WATER");
    case 3: // barometer, then air temperature
        return sentence("IIXDR,P," + tenThousandths(10132 + d) + ",B,BARO")
               + sentence("IIXDR,C," + tenths(221 + d, 2) + ",C,AIR");
    case 4: // bearing and distance to waypoint, then the fix
        return sentence("GPBWR," + time + ",4917.24,N,12309.57,W," + tenths(519 + d, 3) + ",T,"
                        + tenths(316 + d, 3) + ",M," + tenths(13 + (r % 4), 3) + ",N,004")
               + sentence("GPRMC," + time + ",A,4916.45,N,12311.12,W," + tenths(55 + d, 3) + ","
                          + tenths(544 + d, 3) + ",040726,020.3,E");
    default:
        return {};
    }
}

std::optional<uint8_t> NmeaFeed::next(uint8_t channel)
{
    if (channel < 1 || channel > kChannels)
        return std::nullopt;
    const size_t c = channel - 1u;
    if (m_position[c] >= m_text[c].size()) {
        m_text[c] = round(channel, m_round[c]++);
        m_position[c] = 0;
    }
    return static_cast<uint8_t>(m_text[c][m_position[c]++]);
}

void NmeaFeed::restart()
{
    m_text = {};
    m_position = {};
    m_round = {};
}

} // namespace orvane::sim
