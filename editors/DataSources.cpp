#include "editors/DataSources.h"

#include <array>

namespace orvane {

namespace {

constexpr int kNoRecord = 0;

constexpr std::array<DataSourceInfo, 35> kSources = {{
    {"None - Blank", kNoRecord, 0, 0},
    {"Engine RPM", 128, 0, 0},
    {"Engine Temperature", 132, 0, 0},
    {"Engine Oil Pressure", 136, 1, 1},
    {"Engine Hours", kNoRecord, 1, 1},
    {"Engine Maintenance Alarm", kNoRecord, 1, 1},
    {"Tank1 - Fuel Remaining", 148, 1, 1},
    {"Tank1 - Trip Fuel Used", kNoRecord, 1, 1},
    {"Tank1 - Total Fuel Used", kNoRecord, 1, 1},
    {"Boat Speed", 152, 2, 2},
    {"Seawater Temperature Thermister #1", 156, 1, 1},
    {"Trip Log", kNoRecord, 1, 1},
    {"Total Log", kNoRecord, 1, 1},
    {"Time of Day", kNoRecord, 0, 0},
    {"Time - Elapsed Trip Time", kNoRecord, 0, 0},
    {"", kNoRecord, 0, 0},
    {"Race Timer #1", kNoRecord, 0, 0},
    {"Race Timer #2", kNoRecord, 0, 0},
    {"Battery Bank #1 Volts", 160, 2, 2},
    {"Battery Bank #2 Volts", 164, 2, 2},
    {"Battery Bank #3 Volts", 168, 2, 2},
    {"Trim Angle Option", 172, 0, 0},
    {"Thermister #2 Temperature Option", 176, 1, 1},
    {"NMEA 0183 input #1A", 180, 0, 0},
    {"NMEA 0183 input #1B", 184, 0, 0},
    {"NMEA 0183 input #2A", 188, 0, 0},
    {"NMEA 0183 input #2B", 192, 0, 0},
    {"NMEA 0183 input #3A", 196, 0, 0},
    {"NMEA 0183 input #3B", 200, 0, 0},
    {"NMEA 0183 input #4A", 204, 0, 0},
    {"NMEA 0183 input #4B", 208, 0, 0},
    {"Remote Data #1 Display", 212, 1, 1},
    {"Remote Data #2 Display", 216, 1, 1},
    {"Tank2 - Level Option", 224, 1, 1},
    // No list offers 34, yet the instrument keeps a record for it.
    {"", 220, 0, 1},
}};

constexpr DataSourceInfo kUnknownSource = {"", kNoRecord, 0, 0};

} // namespace

const DataSourceInfo &dataSourceInfo(uint8_t code)
{
    return code < kSources.size() ? kSources[code] : kUnknownSource;
}

int GetDecimalPlaces(uint8_t code)
{
    return dataSourceInfo(code).barDecimals;
}

} // namespace orvane
