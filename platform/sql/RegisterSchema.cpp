#include "platform/sql/RegisterSchema.h"

#include "platform/ProductionRegister.h"
#include "platform/sql/SqlConnection.h"

#include <QSqlQuery>
#include <QStringList>

#include <vector>

namespace orvane {

namespace {

struct Migration
{
    int version;
    std::vector<const char *> statements;
};

// Types and constraints that both engines read alike: BIGINT for serial
// numbers past 2^31, times as ISO 8601 UTC text, which sorts as it reads.
const std::vector<Migration> kMigrations = {
    {1,
     {
         // Every number ever taken, issued or typed. Never deleted, so a
         // number once taken is never issued again.
         R"(CREATE TABLE serial_numbers (
                serial BIGINT NOT NULL PRIMARY KEY,
                taken_how TEXT NOT NULL CHECK (taken_how IN ('issued', 'typed')),
                taken_utc TEXT NOT NULL))",
         // Each making of a unit: event 1 first, then each re-making.
         R"(CREATE TABLE unit_records (
                serial BIGINT NOT NULL REFERENCES serial_numbers (serial),
                event INTEGER NOT NULL CHECK (event >= 1),
                remake INTEGER NOT NULL CHECK (remake IN (0, 1)),
                state TEXT NOT NULL
                    CHECK (state IN ('issued', 'written', 'verified', 'failed', 'void')),
                product_code INTEGER,
                firmware INTEGER,
                hardware_version TEXT NOT NULL DEFAULT '',
                module_versions TEXT NOT NULL DEFAULT '',
                station TEXT NOT NULL,
                operator_name TEXT NOT NULL,
                port INTEGER NOT NULL,
                started_utc TEXT NOT NULL,
                ended_utc TEXT,
                last_seen_utc TEXT NOT NULL,
                message TEXT NOT NULL DEFAULT '',
                PRIMARY KEY (serial, event),
                CHECK ((ended_utc IS NULL) = (state IN ('issued', 'written')))))",
         // The data files and code modules a making used, in their order.
         R"(CREATE TABLE unit_files (
                serial BIGINT NOT NULL,
                event INTEGER NOT NULL,
                position INTEGER NOT NULL,
                name TEXT NOT NULL,
                sha256 TEXT NOT NULL CHECK (length(sha256) = 64),
                PRIMARY KEY (serial, event, position),
                FOREIGN KEY (serial, event) REFERENCES unit_records (serial, event)))",
         "CREATE INDEX unit_records_by_start ON unit_records (started_utc)",
         // Finds a newer unit on the same station and port, which tells an
         // interrupted record from one in progress.
         "CREATE INDEX unit_records_by_port ON unit_records (station, port, started_utc)",
     }},
};

const QString kVersionTable = QStringLiteral("schema_version");

Result<int> currentVersion(SqlConnection &connection)
{
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) || !query.next())
        return connection.failed("read its schema version", query.lastError());
    return query.value(0).isNull() ? 0 : query.value(0).toInt();
}

Failure newerSchema(SqlConnection &connection, int version)
{
    return failure("The production register, " + connection.location().where()
                   + ", has schema version " + std::to_string(version)
                   + ", made by a newer program; this one knows up to version "
                   + std::to_string(kRegisterSchemaVersion)
                   + ". Update this station's Orvane Editor to use it.");
}

} // namespace

Result<> migrateRegister(SqlConnection &connection)
{
    // Most openings find the schema current and write nothing.
    if (connection.database().tables().contains(kVersionTable)) {
        const auto version = currentVersion(connection);
        if (!version)
            return failure(version.error());
        if (*version > kRegisterSchemaVersion)
            return newerSchema(connection, *version);
        if (*version == kRegisterSchemaVersion)
            return {};
    }

    SqlTransaction transaction(connection);
    if (auto begun = transaction.begin(true); !begun)
        return begun;
    if (auto locked = connection.lockForMigration(); !locked)
        return locked;
    if (auto made = connection.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version ("
                                                   "version INTEGER NOT NULL PRIMARY KEY, "
                                                   "applied_utc TEXT NOT NULL)"),
                                    "make its schema version table");
        !made)
        return made;
    // Another station may have migrated while this one waited for the lock.
    const auto version = currentVersion(connection);
    if (!version)
        return failure(version.error());
    if (*version > kRegisterSchemaVersion)
        return newerSchema(connection, *version);

    const QString now = QString::fromStdString(utcText(std::chrono::system_clock::now()));
    for (const Migration &migration : kMigrations) {
        if (migration.version <= *version)
            continue;
        const std::string step
            = "update its schema to version " + std::to_string(migration.version);
        for (const char *statement : migration.statements)
            if (auto done = connection.exec(QString::fromUtf8(statement), step); !done)
                return done;
        QSqlQuery &record = transaction.prepare(
            QStringLiteral("INSERT INTO schema_version (version, applied_utc) VALUES (?, ?)"));
        record.addBindValue(migration.version);
        record.addBindValue(now);
        if (!record.exec())
            return connection.failed(step, record.lastError());
    }
    return transaction.commit();
}

} // namespace orvane
