#include "editors/DataSources.h"

#include "config/SettingsFields.h"

#include <array>

namespace orvane {

namespace {

constexpr int kNoRecord = 0;

constexpr int record(int k)
{
    return kAlarmRecords.at(k).address;
}

constexpr std::array<DataSourceInfo, 35> kSources = {{
    {"None - Blank", kNoRecord, 0, 0},
    {"Engine RPM", record(0), 0, 0},
    {"Engine Temperature", record(1), 0, 0},
    {"Engine Oil Pressure", record(2), 1, 1},
    {"Engine Hours", kNoRecord, 1, 1},
    {"Engine Maintenance Alarm", kNoRecord, 1, 1},
    {"Tank1 - Fuel Remaining", record(5), 1, 1},
    {"Tank1 - Trip Fuel Used", kNoRecord, 1, 1},
    {"Tank1 - Total Fuel Used", kNoRecord, 1, 1},
    {"Boat Speed", record(6), 2, 2},
    {"Seawater Temperature Thermister #1", record(7), 1, 1},
    {"Trip Log", kNoRecord, 1, 1},
    {"Total Log", kNoRecord, 1, 1},
    {"Time of Day", kNoRecord, 0, 0},
    {"Time - Elapsed Trip Time", kNoRecord, 0, 0},
    {"", kNoRecord, 0, 0},
    {"Race Timer #1", kNoRecord, 0, 0},
    {"Race Timer #2", kNoRecord, 0, 0},
    {"Battery Bank #1 Volts", record(8), 2, 2},
    {"Battery Bank #2 Volts", record(9), 2, 2},
    {"Battery Bank #3 Volts", record(10), 2, 2},
    {"Trim Angle Option", record(11), 0, 0},
    {"Thermister #2 Temperature Option", record(12), 1, 1},
    {"NMEA 0183 input #1A", record(13), 0, 0},
    {"NMEA 0183 input #1B", record(14), 0, 0},
    {"NMEA 0183 input #2A", record(15), 0, 0},
    {"NMEA 0183 input #2B", record(16), 0, 0},
    {"NMEA 0183 input #3A", record(17), 0, 0},
    {"NMEA 0183 input #3B", record(18), 0, 0},
    {"NMEA 0183 input #4A", record(19), 0, 0},
    {"NMEA 0183 input #4B", record(20), 0, 0},
    {"Remote Data #1 Display", record(21), 1, 1},
    {"Remote Data #2 Display", record(22), 1, 1},
    {"Tank2 - Level Option", record(24), 1, 1},
    // No list offers 34, yet the instrument keeps a record for it.
    {"", record(23), 0, 1},
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
