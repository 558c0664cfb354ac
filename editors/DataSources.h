#pragma once

#include <cstdint>
#include <string_view>

// What each data source code means to the editor: its name in the display
// lists, where its alarm record lies in IntNvm, and how many decimals its
// alarm limits and bar limits carry (a stored v stands for v / 10^d).

namespace orvane {

struct DataSourceInfo
{
    std::string_view name; // empty for codes no list offers
    int alarmRecord;       // first IntNvm index of the record, 0 for none
    int alarmDecimals;
    int barDecimals;
};

// Codes 0..34 have entries of their own; 35..255 share one with no name, no
// alarm record and no decimals.
const DataSourceInfo &dataSourceInfo(uint8_t code);

inline std::string_view dataSourceName(uint8_t code)
{
    return dataSourceInfo(code).name;
}

// Decimals of a code's bar limits.
int GetDecimalPlaces(uint8_t code);

} // namespace orvane
