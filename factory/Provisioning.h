#pragma once

#include "factory/FactoryExchange.h"
#include "platform/ProductionRegister.h"

#include <cstdint>

// Preparing a unit for sale: its serial number, cleared logs and date of
// first use, the factory calibration curves, the NMEA and decimal-point
// tables, and all of it at once with the code modules and the product code
// for a new unit. The data files and modules are read from the working
// folder and checked whole before anything is sent.

namespace orvane {

constexpr double kLogSpareLeadPause = 0.25; // before the second log block
constexpr double kLogSpareWritePause = 1.0; // after it
constexpr double kDataBlockPause = 0.05;    // after each curve or NMEA block
constexpr double kProductCodeWritePause = 0.1;

inline constexpr const char *kNewUnitDoneText
    = "DONE!\r\nNow load configurations file and program configurations";

// cmdHalveroNewSN: a serial number typed into the internal NVM. The firmware
// number stays as the instrument holds it.
FactoryResult writeSerialNumber(FactoryServices &services);

// cmdHalveroNew24C512: the log area of the 24C512 and a fresh unit's
// internal NVM values.
FactoryResult zeroLogs(FactoryServices &services);

// cmdHalveroUploadCalData: CALCURVS.DAT into the 24C512.
FactoryResult uploadCalibrationCurves(FactoryServices &services);

// cmdHalveroUploadNmea: NVMNMEAG.DAT and DECPTSA.DAT into the 24C512.
FactoryResult uploadNmeaTables(FactoryServices &services);

// cmdHalveroNewTessaro: asks for the new unit's serial number (offering the
// production database's next free number of the day), product code and
// firmware number, checks every file, keeps a copy of a unit that already
// carries a serial number (as an upload does), then runs all of the above,
// stores the ten code modules, gives the editor's image the new-unit
// defaults, writes the product code and reads it all back. The production
// database records the making from the number taken to its end; one that
// cannot be reached or written stops the tool before anything is written.
// The provisioning flags are restored however it ends; the new serial
// number waits for the next upload only once the unit was made.
FactoryResult makeNewUnit(FactoryServices &services);

// What a new unit is made as, besides its serial number.
struct NewUnitOrder
{
    uint8_t productCode = 1;
    uint8_t firmware = 0;
};

struct ProvisionedUnit
{
    long long serial = 0; // 0 when none was issued
    FactoryResult result = FactoryOutcome::Cancelled;
};

// Make NEW without its questions, for the command line: the unit on the
// link's port gets the register's next free number of the day.
ProvisionedUnit provisionNewUnit(FactoryServices &services,
                                 ProductionRegister &productionRegister,
                                 const NewUnitOrder &order);

} // namespace orvane
