#include "platform/sql/SqlProductionRegister.h"

#include "platform/sql/RegisterSchema.h"
#include "platform/sql/SqlConnection.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <map>

namespace orvane {

namespace {

// After losing a number to another station, a pause of up to this much per
// try so far, so that contenders stop meeting on the same number.
constexpr int kBackoffStepMilliseconds = 2;

constexpr UnitState kStates[] = {UnitState::Issued,
                                 UnitState::Written,
                                 UnitState::Verified,
                                 UnitState::Failed,
                                 UnitState::Void};

QString word(UnitState state)
{
    return QString::fromLatin1(stateName(state));
}

std::optional<UnitState> stateOf(const QString &text)
{
    for (UnitState state : kStates)
        if (word(state) == text)
            return state;
    return std::nullopt;
}

QVariant optionalNumber(const std::optional<int> &value)
{
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<int>());
}

QString q(const std::string &text)
{
    return QString::fromStdString(text);
}

std::string loginName()
{
    for (const char *name : {"USER", "USERNAME", "LOGNAME"})
        if (const QString value = qEnvironmentVariable(name); !value.isEmpty())
            return value.toStdString();
    return "unknown";
}

// The record's columns as every query reads them; the last tells an open
// record left behind: a newer unit on its station and port, or no sign of
// life since the cutoff (bound first).
const QString kRecordColumns = QStringLiteral(
    "r.serial, r.event, r.remake, r.state, r.product_code, r.firmware, r.hardware_version, "
    "r.module_versions, r.station, r.operator_name, r.port, r.started_utc, r.ended_utc, "
    "r.message, CASE WHEN r.state IN ('issued', 'written') AND (r.last_seen_utc < ? OR EXISTS "
    "(SELECT 1 FROM unit_records n WHERE n.station = r.station AND n.port = r.port "
    "AND n.started_utc > r.started_utc)) THEN 1 ELSE 0 END");

UnitRecord recordAt(const QSqlQuery &row)
{
    UnitRecord record;
    record.key = {row.value(0).toLongLong(), row.value(1).toInt()};
    record.remake = row.value(2).toInt() != 0;
    record.state = stateOf(row.value(3).toString()).value_or(UnitState::Failed);
    if (!row.value(4).isNull())
        record.details.productCode = row.value(4).toInt();
    if (!row.value(5).isNull())
        record.details.firmware = row.value(5).toInt();
    record.details.hardwareVersion = row.value(6).toString().toStdString();
    record.details.moduleVersions = row.value(7).toString().toStdString();
    record.station = row.value(8).toString().toStdString();
    record.operatorName = row.value(9).toString().toStdString();
    record.port = row.value(10).toInt();
    record.startedUtc = row.value(11).toString().toStdString();
    record.endedUtc = row.value(12).toString().toStdString();
    record.message = row.value(13).toString().toStdString();
    record.interrupted = row.value(14).toInt() != 0;
    return record;
}

// The WHERE clause of a filter over unit_records r, and its values in order.
struct Condition
{
    QString where = QStringLiteral(" WHERE 1 = 1");
    QVariantList values;

    void add(const QString &clause, const QVariant &value)
    {
        where += QStringLiteral(" AND ") + clause;
        values << value;
    }
};

Condition conditionOf(const RecordFilter &filter)
{
    Condition condition;
    if (!filter.fromDate.empty())
        condition.add(QStringLiteral("substr(r.started_utc, 1, 10) >= ?"), q(filter.fromDate));
    if (!filter.toDate.empty())
        condition.add(QStringLiteral("substr(r.started_utc, 1, 10) <= ?"), q(filter.toDate));
    if (filter.serial)
        condition.add(QStringLiteral("r.serial = ?"), QVariant::fromValue(*filter.serial));
    if (filter.outcome) {
        switch (*filter.outcome) {
        case UnitOutcome::InProgress:
        case UnitOutcome::Interrupted:
            condition.where += QStringLiteral(" AND r.state IN ('issued', 'written')");
            break;
        case UnitOutcome::Verified:
            condition.add(QStringLiteral("r.state = ?"), word(UnitState::Verified));
            break;
        case UnitOutcome::Failed:
            condition.add(QStringLiteral("r.state = ?"), word(UnitState::Failed));
            break;
        case UnitOutcome::Void:
            condition.add(QStringLiteral("r.state = ?"), word(UnitState::Void));
            break;
        }
    }
    return condition;
}

// Binds the values in order and runs the statement.
bool run(QSqlQuery &query, const QVariantList &values)
{
    for (const QVariant &value : values)
        query.addBindValue(value);
    return query.exec();
}

QVariant serialValue(long long serial)
{
    return QVariant::fromValue(serial);
}

} // namespace

SqlProductionRegister::SqlProductionRegister(std::unique_ptr<SqlConnection> connection,
                                             RegisterOptions options)
    : m_connection(std::move(connection))
    , m_options(std::move(options))
{
    if (m_options.station.empty())
        m_options.station = QSysInfo::machineHostName().toStdString();
    if (m_options.operatorName.empty())
        m_options.operatorName = loginName();
    if (!m_options.now)
        m_options.now = [] {
            return std::chrono::system_clock::now();
        };
}

SqlProductionRegister::~SqlProductionRegister() = default;

Result<std::unique_ptr<SqlProductionRegister>>
SqlProductionRegister::open(const RegisterLocation &location, RegisterOptions options)
{
    auto connection = SqlConnection::open(location);
    if (!connection)
        return failure(connection.error());
    if (auto migrated = migrateRegister(**connection); !migrated)
        return failure(migrated.error());
    return std::unique_ptr<SqlProductionRegister>(
        new SqlProductionRegister(std::move(*connection), std::move(options)));
}

std::string SqlProductionRegister::now() const
{
    return utcText(m_options.now());
}

UnitRecord SqlProductionRegister::newRecord(const RecordKey &key,
                                            bool remake,
                                            int port,
                                            const std::string &now) const
{
    UnitRecord record;
    record.key = key;
    record.remake = remake;
    record.station = m_options.station;
    record.operatorName = m_options.operatorName;
    record.port = port;
    record.startedUtc = now;
    return record;
}

// Takes the number (unless it is a re-making's) and opens its record. The
// driver's error is kept for the caller to tell a conflict from a fault.
bool SqlProductionRegister::insertRecord(SqlTransaction &transaction,
                                         const UnitRecord &record,
                                         const char *takenHow,
                                         QSqlError &error)
{
    const QVariant serial = serialValue(record.key.serial);
    if (takenHow != nullptr) {
        QSqlQuery &take = transaction.prepare(QStringLiteral(
            "INSERT INTO serial_numbers (serial, taken_how, taken_utc) VALUES (?, ?, ?)"));
        if (!run(take, {serial, QString::fromLatin1(takenHow), q(record.startedUtc)})) {
            error = take.lastError();
            return false;
        }
    }
    QSqlQuery &open = transaction.prepare(QStringLiteral(
        "INSERT INTO unit_records (serial, event, remake, state, station, operator_name, port, "
        "started_utc, last_seen_utc) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    if (!run(open,
             {serial,
              record.key.event,
              record.remake ? 1 : 0,
              word(UnitState::Issued),
              q(record.station),
              q(record.operatorName),
              record.port,
              q(record.startedUtc),
              q(record.startedUtc)})) {
        error = open.lastError();
        return false;
    }
    return true;
}

Result<std::optional<UnitRecord>> SqlProductionRegister::tryIssue(int productionDay, int port)
{
    SqlTransaction transaction(*m_connection);
    if (auto begun = transaction.begin(true); !begun)
        return failure(begun.error());
    QSqlQuery &taken = transaction.prepare(
        QStringLiteral("SELECT serial FROM serial_numbers WHERE serial BETWEEN ? AND ?"));
    if (!run(taken,
             {serialValue(serialNumberOf(productionDay, kFirstIssuedUnit)),
              serialValue(serialNumberOf(productionDay, kLastIssuedUnit))}))
        return m_connection->failed("read the numbers taken", taken.lastError());
    std::vector<bool> used(kLastIssuedUnit + 1, false);
    while (taken.next())
        used[size_t(taken.value(0).toLongLong() % 1000)] = true;
    const auto free = std::find(used.begin() + kFirstIssuedUnit, used.end(), false);
    if (free == used.end())
        return failure("All unit numbers of production day " + std::to_string(productionDay) + " ("
                       + std::to_string(kFirstIssuedUnit) + " to " + std::to_string(kLastIssuedUnit)
                       + ") are taken, so no serial number can be issued today. Make the unit "
                         "tomorrow, or type a number of another day.");

    const int unit = int(free - used.begin());
    const UnitRecord record
        = newRecord({serialNumberOf(productionDay, unit), 1}, false, port, now());
    QSqlError error;
    if (!insertRecord(transaction, record, "issued", error)) {
        if (m_connection->isUniqueViolation(error))
            return std::optional<UnitRecord>();
        return m_connection->failed("issue serial number " + std::to_string(record.key.serial),
                                    error);
    }
    if (auto committed = transaction.commit(); !committed)
        return failure(committed.error());
    return std::optional<UnitRecord>(record);
}

Result<UnitRecord> SqlProductionRegister::issueNext(int productionDay, int port)
{
    if (auto day = checkProductionDay(productionDay); !day)
        return failure(day.error());
    for (int attempt = 1; attempt <= kIssueTries; ++attempt) {
        if (auto connected = m_connection->ensureConnected(); !connected)
            return failure(connected.error());
        auto issued = tryIssue(productionDay, port);
        if (!issued)
            return failure(issued.error());
        if (*issued)
            return std::move(**issued);
        ++m_conflicts;
        QThread::msleep(
            QRandomGenerator::global()->bounded(attempt * kBackoffStepMilliseconds + 1));
    }
    return failure("Other stations took every number this station tried, "
                   + std::to_string(kIssueTries)
                   + " times in a row, so no serial number was issued and nothing was recorded. "
                     "Try again; if it persists, check that the stations share one working "
                     "production database.");
}

Result<std::optional<Claim>>
SqlProductionRegister::tryClaim(long long serial, int port, ClaimKind kind)
{
    SqlTransaction transaction(*m_connection);
    if (auto begun = transaction.begin(true); !begun)
        return failure(begun.error());
    RecordFilter bySerial;
    bySerial.serial = serial;
    auto earlier = select(transaction, bySerial);
    if (!earlier)
        return failure(earlier.error());
    QSqlQuery &taken = transaction.prepare(
        QStringLiteral("SELECT COUNT(*) FROM serial_numbers WHERE serial = ?"));
    if (!run(taken, {serialValue(serial)}) || !taken.next())
        return m_connection->failed("read whether the number is taken", taken.lastError());
    const bool isTaken = taken.value(0).toInt() > 0;
    if (isTaken && kind == ClaimKind::NewUnit)
        return std::optional<Claim>(Claim{std::nullopt, std::move(*earlier)});

    int event = 1;
    for (const UnitRecord &record : *earlier)
        event = std::max(event, record.key.event + 1);
    const UnitRecord record
        = newRecord({serial, event}, kind == ClaimKind::RemakeReturned, port, now());
    QSqlError error;
    if (!insertRecord(transaction, record, isTaken ? nullptr : "typed", error)) {
        if (m_connection->isUniqueViolation(error))
            return std::optional<Claim>();
        return m_connection->failed("record serial number " + std::to_string(serial), error);
    }
    if (auto committed = transaction.commit(); !committed)
        return failure(committed.error());
    return std::optional<Claim>(Claim{record, std::move(*earlier)});
}

Result<Claim> SqlProductionRegister::claim(long long serial, int port, ClaimKind kind)
{
    if (auto valid = checkSerialNumber(serial); !valid)
        return failure(valid.error());
    for (int attempt = 1; attempt <= kIssueTries; ++attempt) {
        if (auto connected = m_connection->ensureConnected(); !connected)
            return failure(connected.error());
        auto claimed = tryClaim(serial, port, kind);
        if (!claimed)
            return failure(claimed.error());
        if (*claimed)
            return std::move(**claimed);
        ++m_conflicts;
    }
    return failure("Other stations kept recording serial number " + std::to_string(serial)
                   + " at the same moment, so this station recorded nothing. Try again.");
}

Result<> SqlProductionRegister::step(const RecordKey &key,
                                     std::optional<UnitState> to,
                                     const std::string *message,
                                     const UnitDetails *details)
{
    if (auto connected = m_connection->ensureConnected(); !connected)
        return connected;
    SqlTransaction transaction(*m_connection);
    if (auto begun = transaction.begin(true); !begun)
        return begun;
    const QVariant serial = serialValue(key.serial);
    QSqlQuery &current = transaction.prepare(
        QStringLiteral("SELECT state, message FROM unit_records WHERE serial = ? AND event = ?"));
    if (!run(current, {serial, key.event}))
        return m_connection->failed("read the unit's record", current.lastError());
    if (!current.next())
        return failure("The production register holds no record of serial number "
                       + std::to_string(key.serial) + ", making " + std::to_string(key.event)
                       + ", so nothing was recorded for it.");
    const QString seen = current.value(0).toString();
    const QString oldMessage = current.value(1).toString();
    const UnitState from = stateOf(seen).value_or(UnitState::Failed);
    const UnitState next = to.value_or(from);
    if (auto allowed = checkStep(key, from, next); !allowed)
        return allowed;

    const QString stamp = q(now());
    QSqlQuery &update = transaction.prepare(QStringLiteral(
        "UPDATE unit_records SET state = ?, last_seen_utc = ?, ended_utc = ?, message = ? "
        "WHERE serial = ? AND event = ? AND state = ?"));
    if (!run(update,
             {word(next),
              stamp,
              isOpenState(next) ? QVariant(QMetaType::fromType<QString>()) : QVariant(stamp),
              message != nullptr ? q(*message) : oldMessage,
              serial,
              key.event,
              seen}))
        return m_connection->failed("record the unit's step", update.lastError());
    if (update.numRowsAffected() != 1)
        return failure("The record of serial number " + std::to_string(key.serial)
                       + " was changed by another station at the same moment; this one "
                         "recorded nothing. Look at its record before going on.");
    if (details != nullptr)
        if (auto described = describe(transaction, key, *details); !described)
            return described;
    return transaction.commit();
}

Result<> SqlProductionRegister::describe(SqlTransaction &transaction,
                                         const RecordKey &key,
                                         const UnitDetails &details)
{
    const QVariant serial = serialValue(key.serial);
    QSqlQuery &describe = transaction.prepare(
        QStringLiteral("UPDATE unit_records SET product_code = ?, firmware = ?, "
                       "hardware_version = ?, module_versions = ? WHERE serial = ? AND event = ?"));
    if (!run(describe,
             {optionalNumber(details.productCode),
              optionalNumber(details.firmware),
              q(details.hardwareVersion),
              q(details.moduleVersions),
              serial,
              key.event}))
        return m_connection->failed("record the unit's details", describe.lastError());
    QSqlQuery &clear = transaction.prepare(
        QStringLiteral("DELETE FROM unit_files WHERE serial = ? AND event = ?"));
    if (!run(clear, {serial, key.event}))
        return m_connection->failed("record the unit's files", clear.lastError());
    QSqlQuery &file = transaction.prepare(QStringLiteral(
        "INSERT INTO unit_files (serial, event, position, name, sha256) VALUES (?, ?, ?, ?, ?)"));
    for (size_t i = 0; i < details.files.size(); ++i)
        if (!run(file,
                 {serial, key.event, int(i), q(details.files[i].name), q(details.files[i].sha256)}))
            return m_connection->failed("record the unit's files", file.lastError());
    return {};
}

Result<> SqlProductionRegister::setDetails(const RecordKey &key, const UnitDetails &details)
{
    if (auto valid = checkDetails(details); !valid)
        return valid;
    return step(key, std::nullopt, nullptr, &details);
}

Result<> SqlProductionRegister::markWritten(const RecordKey &key)
{
    return step(key, UnitState::Written, nullptr, nullptr);
}

Result<>
SqlProductionRegister::finish(const RecordKey &key, UnitState end, const std::string &message)
{
    if (isOpenState(end))
        return failure(std::string("A record ends verified, failed or void, not ") + stateName(end)
                       + ".");
    return step(key, end, &message, nullptr);
}

Result<> SqlProductionRegister::keepAlive(const RecordKey &key)
{
    return step(key, std::nullopt, nullptr, nullptr);
}

Result<std::vector<UnitRecord>> SqlProductionRegister::select(SqlTransaction &transaction,
                                                              const RecordFilter &filter)
{
    const Condition condition = conditionOf(filter);
    QSqlQuery &rows = transaction.prepare(
        QStringLiteral("SELECT ") + kRecordColumns + QStringLiteral(" FROM unit_records r")
        + condition.where + QStringLiteral(" ORDER BY r.started_utc, r.serial, r.event"));
    if (!run(rows, QVariantList{q(utcText(m_options.now() - m_options.lease))} + condition.values))
        return m_connection->failed("list its records", rows.lastError());
    std::vector<UnitRecord> found;
    std::map<std::pair<long long, int>, size_t> index;
    while (rows.next()) {
        UnitRecord record = recordAt(rows);
        if (filter.outcome && record.outcome() != *filter.outcome)
            continue;
        index[{record.key.serial, record.key.event}] = found.size();
        found.push_back(std::move(record));
    }

    QSqlQuery &files = transaction.prepare(
        QStringLiteral("SELECT f.serial, f.event, f.name, f.sha256 FROM unit_files f "
                       "JOIN unit_records r ON r.serial = f.serial AND r.event = f.event")
        + condition.where + QStringLiteral(" ORDER BY f.serial, f.event, f.position"));
    if (!run(files, condition.values))
        return m_connection->failed("list its records' files", files.lastError());
    while (files.next()) {
        const auto at = index.find({files.value(0).toLongLong(), files.value(1).toInt()});
        if (at != index.end())
            found[at->second].details.files.push_back(
                {files.value(2).toString().toStdString(), files.value(3).toString().toStdString()});
    }
    return found;
}

Result<std::vector<UnitRecord>> SqlProductionRegister::records(const RecordFilter &filter)
{
    if (auto valid = checkFilter(filter); !valid)
        return failure(valid.error());
    if (auto connected = m_connection->ensureConnected(); !connected)
        return failure(connected.error());
    // One snapshot for the records and their files.
    SqlTransaction transaction(*m_connection);
    if (auto begun = transaction.begin(false); !begun)
        return failure(begun.error());
    auto found = select(transaction, filter);
    if (!found)
        return found;
    if (auto committed = transaction.commit(); !committed)
        return failure(committed.error());
    return found;
}

} // namespace orvane
