#pragma once

#include "config/SettingsImage.h"
#include "factory/DecimalPointsFile.h"
#include "factory/EepromBlock.h"
#include "factory/NmeaTablesFile.h"
#include "factory/SerialNumber.h"
#include "link/CommandFrames.h"

#include <array>
#include <cstdint>
#include <vector>

// The bytes a new unit is given: its log area, the internal NVM values of a
// fresh unit, its serial number, the NMEA tables and the product code.

namespace orvane {

inline constexpr uint16_t kLogRecordAddress = 0;
inline constexpr uint16_t kLogSpareAddress = 128;
inline constexpr uint16_t kNmeaTablesAddress = 6400;
inline constexpr uint16_t kDecimalPointsAddress = 7168;

// The 128-byte log record at EEPROM 0 for a new unit with the given
// maintenance-alarm interval (kMaintenanceAlarm).
std::array<uint8_t, 128> logRecord(uint16_t maintenanceInterval);

// The log record at 0 and 128 bytes of 255 at 128, in the order sent.
std::vector<EepromBlock> logAreaBlocks(uint16_t maintenanceInterval);

// "Zero 24C512 LOGS and Date": the internal NVM values of a fresh unit over
// what the instrument holds, the firmware update request set for a Brenlow
// (product code 2), and the check byte.
void zeroLogsAndDate(SettingsImage &nvm, uint8_t productCode);

// The new serial number and firmware number over what the instrument holds,
// the last byte set to 255, and the check byte.
void writeNewSerialNumber(SettingsImage &nvm, const SerialNumberBytes &serial, uint8_t firmware);

// Six 128-byte blocks at 6400.. (two of the two-character table, four of the
// three-character table), then the decimal-point table at 7168.
std::vector<EepromBlock> nmeaUploadBlocks(const NmeaTables &tables,
                                          const DecimalPointTable &decimalPoints);

EepromBlock productCodeBlock(uint8_t productCode);

} // namespace orvane
