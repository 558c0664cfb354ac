#include "factory/UnitRecordKeeping.h"

namespace orvane {

namespace {

std::string stopSentence(const FactoryResult &made)
{
    if (!made)
        return made.error();
    switch (*made) {
    case FactoryOutcome::Completed:
        break;
    case FactoryOutcome::Cancelled:
        return "Cancelled before anything was written to the unit.";
    case FactoryOutcome::NotConnected:
        return "No Orvane was connected, so nothing was written to it.";
    case FactoryOutcome::Busy:
        return "Another exchange held the line, so nothing was written to the unit.";
    }
    return {};
}

} // namespace

UnitRecordKeeping::UnitRecordKeeping(ProductionRegister &productionRegister, UnitRecord record)
    : m_register(productionRegister)
    , m_record(std::move(record))
{}

Result<> UnitRecordKeeping::describe(const UnitDetails &details)
{
    const Result<> kept = m_register.setDetails(m_record.key, details);
    if (!kept)
        return failure(registerStopsSentence(kept.error()));
    m_record.details = details;
    return {};
}

Result<> UnitRecordKeeping::serialWritten()
{
    const Result<> kept = m_register.markWritten(m_record.key);
    if (!kept)
        return failure("Serial number " + std::to_string(serial())
                       + " is on the unit, but the production database could not record it: "
                       + kept.error()
                       + " The unit was not finished; make it again once the database answers.");
    m_record.state = UnitState::Written;
    return {};
}

Result<> UnitRecordKeeping::end(const FactoryResult &made)
{
    const bool verified = made && *made == FactoryOutcome::Completed;
    const UnitState end = verified    ? UnitState::Verified
                          : m_writing ? UnitState::Failed
                                      : UnitState::Void;
    const std::string message = verified ? std::string() : stopSentence(made);
    const Result<> kept = m_register.finish(m_record.key, end, message);
    if (!kept)
        return failure("The production record of unit " + std::to_string(serial())
                       + " could not be closed as " + stateName(end) + ": " + kept.error()
                       + " It will show as interrupted.");
    m_record.state = end;
    m_record.message = message;
    return {};
}

std::string registerStopsSentence(const std::string &why)
{
    return "The production database could not record the new unit: " + why
           + " Nothing was written to the Orvane.";
}

} // namespace orvane
