#pragma once

#include "platform/ProductionRegister.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orvane::test {

// The database of fake registers: registers made on one store are stations
// sharing a database.
struct FakeRegisterStore
{
    struct Row
    {
        UnitRecord record;
        std::chrono::system_clock::time_point lastSeen;
    };
    std::set<long long> taken;
    std::vector<Row> rows;
    // While set, every call fails with this sentence and changes nothing, as
    // an unreachable database does.
    std::optional<std::string> unreachable;
};

// The production register in memory, with the real one's rules: numbers
// taken for good, the steps of a record, interrupted records, the filters.
class FakeProductionRegister : public ProductionRegister
{
public:
    explicit FakeProductionRegister(RegisterOptions options = {},
                                    std::shared_ptr<FakeRegisterStore> store
                                    = std::make_shared<FakeRegisterStore>());

    Result<UnitRecord> issueNext(int productionDay, int port) override;
    Result<Claim> claim(long long serial, int port, ClaimKind kind) override;
    Result<> setDetails(const RecordKey &key, const UnitDetails &details) override;
    Result<> markWritten(const RecordKey &key) override;
    Result<> finish(const RecordKey &key, UnitState end, const std::string &message) override;
    Result<> keepAlive(const RecordKey &key) override;
    Result<std::vector<UnitRecord>> records(const RecordFilter &filter) override;

    FakeRegisterStore &store() { return *m_store; }

private:
    UnitRecord open(const RecordKey &key, bool remake, int port);
    UnitRecord shown(const FakeRegisterStore::Row &row) const;
    Result<> step(const RecordKey &key,
                  std::optional<UnitState> to,
                  const std::string *message,
                  const UnitDetails *details);

    RegisterOptions m_options;
    std::shared_ptr<FakeRegisterStore> m_store;
};

} // namespace orvane::test
