#include "RegisterAudit.h"

#include "platform/sql/SqlConnection.h"
#include "platform/sql/SqlProductionRegister.h"

#include <QSqlQuery>

#include <fstream>
#include <set>
#include <sstream>

namespace orvane::bench {

namespace {

Result<long long> count(SqlConnection &connection, const QString &statement)
{
    QSqlQuery query(connection.database());
    if (!query.exec(statement) || !query.next())
        return connection.failed("count for the audit", query.lastError());
    return query.value(0).toLongLong();
}

Result<std::set<long long>> serials(SqlConnection &connection, const QString &statement)
{
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(statement))
        return connection.failed("read serials for the audit", query.lastError());
    std::set<long long> found;
    while (query.next())
        found.insert(query.value(0).toLongLong());
    return found;
}

} // namespace

Result<RegisterAudit> auditRegister(const std::string &url, const std::vector<std::string> &logs)
{
    const auto location = parseRegisterUrl(url);
    if (!location)
        return failure(location.error());
    auto opened = SqlConnection::open(*location);
    if (!opened)
        return failure(opened.error());
    SqlConnection &connection = **opened;

    RegisterAudit audit;
    struct Count
    {
        long long &into;
        const char *statement;
    };
    const Count counts[] = {
        {audit.numbersTaken, "SELECT COUNT(*) FROM serial_numbers"},
        {audit.firstRecords,
         "SELECT COUNT(*) FROM serial_numbers s WHERE (SELECT COUNT(*) FROM unit_records r "
         "WHERE r.serial = s.serial AND r.event = 1) = 1"},
        {audit.records, "SELECT COUNT(*) FROM unit_records"},
        {audit.verified, "SELECT COUNT(*) FROM unit_records WHERE state = 'verified'"},
        {audit.open, "SELECT COUNT(*) FROM unit_records WHERE state IN ('issued', 'written')"},
        {audit.orphans,
         "SELECT (SELECT COUNT(*) FROM unit_records r WHERE NOT EXISTS (SELECT 1 FROM "
         "serial_numbers s WHERE s.serial = r.serial)) + (SELECT COUNT(*) FROM unit_files f "
         "WHERE NOT EXISTS (SELECT 1 FROM unit_records r WHERE r.serial = f.serial AND "
         "r.event = f.event))"},
    };
    for (const Count &c : counts) {
        const auto value = count(connection, QString::fromLatin1(c.statement));
        if (!value)
            return failure(value.error());
        c.into = *value;
    }
    if (location->engine == RegisterEngine::SQLite) {
        QSqlQuery check(connection.database());
        if (!check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next())
            return connection.failed("check its integrity", check.lastError());
        audit.integrity = check.value(0).toString().toStdString();
    }

    RecordFilter leftBehind;
    leftBehind.outcome = UnitOutcome::Interrupted;
    auto reg = SqlProductionRegister::open(*location);
    if (!reg)
        return failure(reg.error());
    const auto interrupted = (*reg)->records(leftBehind);
    if (!interrupted)
        return failure(interrupted.error());
    audit.interrupted = (long long)interrupted->size();

    const auto taken = serials(connection, QStringLiteral("SELECT serial FROM serial_numbers"));
    const auto verified
        = serials(connection,
                  QStringLiteral("SELECT serial FROM unit_records WHERE state = 'verified'"));
    if (!taken || !verified)
        return failure(taken ? verified.error() : taken.error());
    std::set<long long> reported;
    for (const std::string &log : logs) {
        std::ifstream lines(log);
        std::string word;
        long long serial = 0;
        while (lines >> word >> serial) {
            if (word == "issued") {
                ++audit.reported;
                reported.insert(serial);
            } else if (word == "closed" && !verified->count(serial)) {
                ++audit.closedNotVerified;
            }
        }
    }
    audit.reportedDistinct = (long long)reported.size();
    for (long long serial : reported)
        audit.lost += taken->count(serial) == 0;
    for (long long serial : *taken)
        audit.unreported += reported.count(serial) == 0;
    return audit;
}

std::string describe(const RegisterAudit &audit)
{
    std::ostringstream out;
    out << "numbers taken: " << audit.numbersTaken
        << " (each with one first record: " << audit.firstRecords << ")\n"
        << "records: " << audit.records << ", verified " << audit.verified << ", left open "
        << audit.open << " (shown interrupted " << audit.interrupted
        << "), without their serial or record " << audit.orphans << "\n"
        << "reported by the stations: " << audit.reported << ", distinct " << audit.reportedDistinct
        << ", duplicates " << audit.duplicates() << ", lost " << audit.lost
        << ", taken but not reported (killed first) " << audit.unreported
        << ", reported verified but not so " << audit.closedNotVerified << "\n"
        << "integrity: " << audit.integrity << "\n";
    return out.str();
}

} // namespace orvane::bench
