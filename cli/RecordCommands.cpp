#include "cli/Commands.h"

#include "cli/JsonOutput.h"
#include "cli/Session.h"
#include "factory/ProductionRecords.h"

#include <QJsonArray>

#include <cstdio>

// The command that reads the production records: units.

namespace orvane::cli {

Fault runUnits(Session &session)
{
    const Invocation &invocation = session.invocation;
    RecordsQuery query;
    query.fromDate = invocation.since;
    query.serial = invocation.serial;
    const Result<RecordsListing> listing = listRecords(session.production, invocation.db, query);
    // Nothing was read, so nothing half-done: a database that cannot be
    // opened is refused like a file that cannot be read.
    if (!listing) {
        session.say(listing.error());
        return Fault::Refused;
    }
    session.detail("The records are read from " + listing->database + ".");
    const std::vector<UnitRecord> &records = listing->records;
    if (invocation.json) {
        QJsonArray list;
        for (const UnitRecord &record : records)
            list.append(recordJson(record));
        std::fputs(
            jsonLine(QJsonObject{{"database", jsonText(listing->database)}, {"records", list}})
                .c_str(),
            stdout);
    } else if (invocation.csv) {
        std::fputs(recordsCsv(records).c_str(), stdout);
    } else if (records.empty()) {
        session.note("No production record in " + listing->database
                     + (query.fromDate.empty() && query.serial.empty() ? "." : " matches."));
    } else {
        std::fputs(recordLinesText(records).c_str(), stdout);
    }
    return Fault::None;
}

} // namespace orvane::cli
