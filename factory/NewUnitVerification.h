#pragma once

#include "factory/EepromBlock.h"
#include "factory/FactoryExchange.h"
#include "factory/SerialNumber.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A new unit is verified when it reads back what Make NEW wrote: the serial
// number and firmware number in the internal NVM, and every 24C512 area
// written (the calibration curves, the NMEA and decimal-point tables, the
// product code and the code modules). The log area is left out: the unit
// itself writes there once it runs.

namespace orvane {

// A 24C512 area as written, and what it is, for the message that names it.
struct WrittenArea
{
    std::string what; // "calibration curve 2", "CommandMode.COD"
    EepromBlock block;
};

// The areas' bytes as 256-byte reads (the longest frame) over the ranges
// they cover; areas that touch share a read.
struct AreaRead
{
    uint16_t address = 0;
    int count = 0;
};
std::vector<AreaRead> areaReads(const std::vector<WrittenArea> &areas);

struct NewUnitWrites
{
    SerialNumberBytes serial{};
    uint8_t firmware = 0;
    std::vector<WrittenArea> areas;
};

// The first byte that does not hold what was written, as a sentence; nothing
// when every byte does. `eeprom` holds what was read, -1 where nothing was.
std::optional<std::string> firstMismatch(const std::vector<WrittenArea> &areas,
                                         const std::vector<int> &eeprom);

// Reads it all back once the unit is made. A read that fails stops the tool
// as every exchange does; a byte that differs stops it with a message naming
// the area and the address. Nothing more is written either way.
FactoryResult verifyNewUnit(FactoryExchange &exchange, const NewUnitWrites &writes);

// Each read is taken the moment its bytes are in; this is only its ceiling.
constexpr double kVerifyReadTimeout = 1.0;

} // namespace orvane
