#pragma once

#include "platform/ProductionRegister.h"
#include "platform/sql/RegisterUrl.h"

#include <memory>
#include <optional>
#include <string>

class QSqlError;

// The production register on Qt SQL: the same statements on SQLite (one
// station, the default) and PostgreSQL (several stations, one database).

namespace orvane {

class SqlConnection;
class SqlTransaction;

// A number taken by another station between reading the free ones and
// taking one is tried again, this many times in all.
constexpr int kIssueTries = 50;

class SqlProductionRegister : public ProductionRegister
{
public:
    // Connects and brings the schema up to date.
    static Result<std::unique_ptr<SqlProductionRegister>> open(const RegisterLocation &location,
                                                               RegisterOptions options = {});
    ~SqlProductionRegister() override;

    Result<UnitRecord> issueNext(int productionDay, int port) override;
    Result<Claim> claim(long long serial, int port, ClaimKind kind) override;
    Result<> setDetails(const RecordKey &key, const UnitDetails &details) override;
    Result<> markWritten(const RecordKey &key) override;
    Result<> finish(const RecordKey &key, UnitState end, const std::string &message) override;
    Result<> keepAlive(const RecordKey &key) override;
    Result<std::vector<UnitRecord>> records(const RecordFilter &filter) override;

    // Numbers lost to another station since opening, for the stress bench.
    int conflicts() const { return m_conflicts; }

private:
    SqlProductionRegister(std::unique_ptr<SqlConnection> connection, RegisterOptions options);

    std::string now() const;
    UnitRecord newRecord(const RecordKey &key, bool remake, int port, const std::string &now) const;
    bool insertRecord(SqlTransaction &transaction,
                      const UnitRecord &record,
                      const char *takenHow,
                      QSqlError &error);
    // One transaction each; empty when another station took the number
    // first, so the caller tries again.
    Result<std::optional<UnitRecord>> tryIssue(int productionDay, int port);
    Result<std::optional<Claim>> tryClaim(long long serial, int port, ClaimKind kind);
    // A step of an open record, checked against its state in the database;
    // `to` empty keeps the state, `message` null keeps the message.
    Result<> step(const RecordKey &key,
                  std::optional<UnitState> to,
                  const std::string *message,
                  const UnitDetails *details);
    Result<>
    describe(SqlTransaction &transaction, const RecordKey &key, const UnitDetails &details);
    Result<std::vector<UnitRecord>> select(SqlTransaction &transaction, const RecordFilter &filter);

    std::unique_ptr<SqlConnection> m_connection;
    RegisterOptions m_options;
    int m_conflicts = 0;
};

} // namespace orvane
