#pragma once

#include "platform/Result.h"
#include "platform/sql/RegisterUrl.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <list>
#include <memory>

// One Qt SQL connection to the production database, with the few things
// that differ between SQLite and PostgreSQL: how it is opened, how a
// writing transaction starts, and what a driver's error means. Statements
// and schema are the same on both.

namespace orvane {

// A station waits this long for another to finish its transaction before
// it gives up with a message, so a stuck station never hangs the others.
constexpr int kBusyTimeoutMilliseconds = 15'000;
constexpr int kConnectTimeoutSeconds = 5;

class SqlConnection
{
public:
    static Result<std::unique_ptr<SqlConnection>> open(const RegisterLocation &location);
    ~SqlConnection();
    SqlConnection(const SqlConnection &) = delete;
    SqlConnection &operator=(const SqlConnection &) = delete;

    RegisterEngine engine() const { return m_location.engine; }
    const RegisterLocation &location() const { return m_location; }
    QSqlDatabase database() const;

    // A call that failed may have lost the connection: the next one checks
    // it and connects again before it starts.
    Result<> ensureConnected();
    void markSuspect() { m_suspect = true; }

    // Writing transactions take the write lock at once on SQLite, so that
    // concurrent writers queue for it rather than fail half-way.
    Result<> begin(bool writing);
    Result<> commit();
    void rollback();
    // Inside a writing transaction: keeps other stations out of a schema
    // migration until it commits (SQLite's write lock already does).
    Result<> lockForMigration();
    // `what` names the step for the message when it fails.
    Result<> exec(const QString &statement, const std::string &what);

    // What the driver's error means for the caller.
    bool isUniqueViolation(const QSqlError &error) const;
    // The sentence for a failed step: what failed, the driver's words, and
    // what to do.
    Failure failed(const std::string &what, const QSqlError &error);

private:
    explicit SqlConnection(RegisterLocation location);
    Result<> connect();
    Result<> execWhenFree(const QString &statement, const std::string &what);
    bool isBusy(const QSqlError &error) const;

    RegisterLocation m_location;
    QString m_name;
    bool m_suspect = false;
};

// Rolls back unless committed, so an early return leaves nothing half-done.
// Its statements belong to it and go only after the rollback: PostgreSQL
// cannot free a statement inside a transaction that a failed one aborted.
class SqlTransaction
{
public:
    explicit SqlTransaction(SqlConnection &connection)
        : m_connection(connection)
    {}
    ~SqlTransaction()
    {
        if (m_open)
            m_connection.rollback();
        m_queries.clear();
    }
    SqlTransaction(const SqlTransaction &) = delete;
    SqlTransaction &operator=(const SqlTransaction &) = delete;

    Result<> begin(bool writing)
    {
        auto begun = m_connection.begin(writing);
        m_open = begun.ok();
        return begun;
    }
    // A commit that fails is rolled back with the rest.
    Result<> commit()
    {
        auto committed = m_connection.commit();
        m_open = !committed.ok();
        return committed;
    }
    // A statement prepared on the connection, valid while the transaction is.
    QSqlQuery &prepare(const QString &statement)
    {
        QSqlQuery &query = m_queries.emplace_back(m_connection.database());
        query.setForwardOnly(true);
        query.prepare(statement);
        return query;
    }

private:
    SqlConnection &m_connection;
    std::list<QSqlQuery> m_queries;
    bool m_open = false;
};

} // namespace orvane
