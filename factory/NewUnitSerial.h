#pragma once

#include "factory/FactoryExchange.h"
#include "platform/ProductionRegister.h"

#include <optional>

// The serial number of a unit made in the window. The prompt offers the
// register's next free number of the day: a hand-typed number is how two
// units end up with one identity. The technician may type another; one the
// register already holds is refused with where and when it was made, unless
// the technician confirms re-making a returned unit, which records a new
// making of that serial. A number offered and not used stays taken (void).

namespace orvane {

inline constexpr const char *kSerialTakenTitle = "Serial Number Taken";

// The open record of the unit about to be made; nothing when the tool
// stopped (cancelled, or refused with the reason shown).
std::optional<UnitRecord> chooseNewUnitSerial(FactoryExchange &exchange,
                                              ProductionRegister &productionRegister,
                                              const Prompt &prompt,
                                              int productionDay,
                                              int port);

// The station's production day, from its local calendar.
int productionDayToday(Clock &clock);

} // namespace orvane
