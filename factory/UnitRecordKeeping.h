#pragma once

#include "factory/FactoryExchange.h"
#include "platform/ProductionRegister.h"

#include <string>

// The production record of one making of a unit, from the number taken to
// its end: what the unit is made with, when its serial number is on it, and
// how the making ended. A making that stops before the first byte is
// written voids its number (which stays taken); one that stops after it has
// failed, with the message the technician saw.

namespace orvane {

inline constexpr const char *kRegisterTitle = "Production Database";

class UnitRecordKeeping
{
public:
    UnitRecordKeeping(ProductionRegister &productionRegister, UnitRecord record);

    const UnitRecord &record() const { return m_record; }
    long long serial() const { return m_record.key.serial; }

    // Each step of the record; a failure is the sentence to show, saying
    // what happened to the unit so far.
    Result<> describe(const UnitDetails &details);
    // From here on the unit is written to.
    void writingStarts() { m_writing = true; }
    Result<> serialWritten();
    // Verified once the making completed; otherwise void or failed with the
    // message of `made`.
    Result<> end(const FactoryResult &made);

private:
    ProductionRegister &m_register;
    UnitRecord m_record;
    bool m_writing = false;
};

// What the technician reads when the production database cannot take a step
// before anything was written to the unit.
std::string registerStopsSentence(const std::string &why);

} // namespace orvane
