#include "support/FakeProductionRegister.h"

#include <algorithm>
#include <tuple>

namespace orvane::test {

FakeProductionRegister::FakeProductionRegister(RegisterOptions options,
                                               std::shared_ptr<FakeRegisterStore> store)
    : m_options(std::move(options))
    , m_store(std::move(store))
{
    if (m_options.station.empty())
        m_options.station = "bench-1";
    if (m_options.operatorName.empty())
        m_options.operatorName = "technician";
    if (!m_options.now)
        m_options.now = [] {
            return std::chrono::system_clock::now();
        };
}

UnitRecord FakeProductionRegister::open(const RecordKey &key, bool remake, int port)
{
    UnitRecord record;
    record.key = key;
    record.remake = remake;
    record.station = m_options.station;
    record.operatorName = m_options.operatorName;
    record.port = port;
    record.startedUtc = utcText(m_options.now());
    m_store->rows.push_back({record, m_options.now()});
    return record;
}

UnitRecord FakeProductionRegister::shown(const FakeRegisterStore::Row &row) const
{
    UnitRecord record = row.record;
    const bool newerOnPort
        = std::any_of(m_store->rows.begin(), m_store->rows.end(), [&](const auto &other) {
              return other.record.station == record.station && other.record.port == record.port
                     && other.record.startedUtc > record.startedUtc;
          });
    record.interrupted = isOpenState(record.state)
                         && (newerOnPort || row.lastSeen < m_options.now() - m_options.lease);
    return record;
}

Result<UnitRecord> FakeProductionRegister::issueNext(int productionDay, int port)
{
    if (m_store->unreachable)
        return failure(*m_store->unreachable);
    if (auto day = checkProductionDay(productionDay); !day)
        return failure(day.error());
    for (int unit = kFirstIssuedUnit; unit <= kLastIssuedUnit; ++unit) {
        const long long serial = serialNumberOf(productionDay, unit);
        if (m_store->taken.insert(serial).second)
            return open({serial, 1}, false, port);
    }
    return failure("All unit numbers of production day " + std::to_string(productionDay)
                   + " are taken.");
}

Result<Claim> FakeProductionRegister::claim(long long serial, int port, ClaimKind kind)
{
    if (m_store->unreachable)
        return failure(*m_store->unreachable);
    if (auto valid = checkSerialNumber(serial); !valid)
        return failure(valid.error());
    RecordFilter bySerial;
    bySerial.serial = serial;
    Claim claim{std::nullopt, *records(bySerial)};
    if (!m_store->taken.insert(serial).second && kind == ClaimKind::NewUnit)
        return claim;
    int event = 1;
    for (const UnitRecord &record : claim.earlier)
        event = std::max(event, record.key.event + 1);
    claim.record = open({serial, event}, kind == ClaimKind::RemakeReturned, port);
    return claim;
}

Result<> FakeProductionRegister::step(const RecordKey &key,
                                      std::optional<UnitState> to,
                                      const std::string *message,
                                      const UnitDetails *details)
{
    if (m_store->unreachable)
        return failure(*m_store->unreachable);
    const auto row = std::find_if(m_store->rows.begin(), m_store->rows.end(), [&](const auto &r) {
        return r.record.key == key;
    });
    if (row == m_store->rows.end())
        return failure("No record of serial number " + std::to_string(key.serial) + ".");
    UnitRecord &record = row->record;
    const UnitState next = to.value_or(record.state);
    if (auto allowed = checkStep(key, record.state, next); !allowed)
        return allowed;
    record.state = next;
    row->lastSeen = m_options.now();
    if (!isOpenState(next))
        record.endedUtc = utcText(row->lastSeen);
    if (message != nullptr)
        record.message = *message;
    if (details != nullptr)
        record.details = *details;
    return {};
}

Result<> FakeProductionRegister::setDetails(const RecordKey &key, const UnitDetails &details)
{
    if (auto valid = checkDetails(details); !valid)
        return valid;
    return step(key, std::nullopt, nullptr, &details);
}

Result<> FakeProductionRegister::markWritten(const RecordKey &key)
{
    return step(key, UnitState::Written, nullptr, nullptr);
}

Result<>
FakeProductionRegister::finish(const RecordKey &key, UnitState end, const std::string &message)
{
    if (isOpenState(end))
        return failure("A record ends verified, failed or void.");
    return step(key, end, &message, nullptr);
}

Result<> FakeProductionRegister::keepAlive(const RecordKey &key)
{
    return step(key, std::nullopt, nullptr, nullptr);
}

Result<std::vector<UnitRecord>> FakeProductionRegister::records(const RecordFilter &filter)
{
    if (m_store->unreachable)
        return failure(*m_store->unreachable);
    if (auto valid = checkFilter(filter); !valid)
        return failure(valid.error());
    std::vector<UnitRecord> found;
    for (const auto &row : m_store->rows) {
        const UnitRecord record = shown(row);
        const std::string day = record.startedUtc.substr(0, 10);
        if ((filter.fromDate.empty() || day >= filter.fromDate)
            && (filter.toDate.empty() || day <= filter.toDate)
            && (!filter.serial || record.key.serial == *filter.serial)
            && (!filter.outcome || record.outcome() == *filter.outcome))
            found.push_back(record);
    }
    std::stable_sort(found.begin(), found.end(), [](const UnitRecord &a, const UnitRecord &b) {
        return std::tie(a.startedUtc, a.key.serial, a.key.event)
               < std::tie(b.startedUtc, b.key.serial, b.key.event);
    });
    return found;
}

} // namespace orvane::test
