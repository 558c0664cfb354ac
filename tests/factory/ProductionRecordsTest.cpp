#include "factory/ProductionRecords.h"
#include "factory/StationDatabase.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace orvane;
using namespace std::chrono;

namespace {

bool mentions(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// Five makings over three days on one station: verified, failed with an
// awkward message, one left open and overtaken on its port (interrupted),
// one voided, and a returned unit made again.
class ProductionRecordsTest : public ::testing::Test
{
protected:
    ProductionRecordsTest()
    {
        fake.production.options.now = [this] {
            return now;
        };
        auto bench = std::make_unique<test::FakeProductionRegister>(fake.production.options,
                                                                    fake.production.store);
        const auto made = [&](const Result<UnitRecord> &issued, UnitState end, std::string why) {
            const RecordKey key = issued->key;
            if (end != UnitState::Void) {
                EXPECT_TRUE(bench->markWritten(key));
            }
            EXPECT_TRUE(bench->finish(key, end, why));
        };
        now = sys_days{2025y / 3 / 14} + 9h + 30min + 12s;
        const auto first = bench->issueNext(250314, 1);
        UnitDetails details;
        details.productCode = 1;
        details.firmware = 12;
        details.files = {{"CALCURVS.DAT", std::string(64, 'a')}};
        EXPECT_TRUE(bench->setDetails(first->key, details));
        made(first, UnitState::Verified, "");
        now += 10min;
        made(bench->issueNext(250314, 2), UnitState::Failed, kAwkward);
        now = sys_days{2025y / 3 / 15} + 10h;
        EXPECT_TRUE(bench->issueNext(250315, 1));
        now += 1min;
        made(bench->issueNext(250315, 1), UnitState::Void, "");
        now = sys_days{2025y / 3 / 16} + 8h;
        made(bench->claim(250314001, 3, ClaimKind::RemakeReturned)->record.value(),
             UnitState::Verified,
             "");
    }

    Result<RecordsListing> list(const RecordsQuery &query)
    {
        return listRecords(fake.production, {}, query);
    }

    std::vector<std::string> shown(const RecordsQuery &query)
    {
        const Result<RecordsListing> listing = list(query);
        EXPECT_TRUE(listing) << listing.error();
        std::vector<std::string> keys;
        if (listing)
            for (const UnitRecord &r : listing->records)
                keys.push_back(std::to_string(r.key.serial) + "/" + std::to_string(r.key.event));
        return keys;
    }

    static constexpr const char *kAwkward
        = "Echo missing at byte 5, \"block\" 3\r\nUnit half-written";
    system_clock::time_point now;
    test::FakePlatform fake;
};

TEST_F(ProductionRecordsTest, QueriesFindByDateSerialAndOutcomeAndAUnitsWholeHistory)
{
    using Keys = std::vector<std::string>;
    EXPECT_EQ(shown({}),
              (Keys{"250314001/1", "250314002/1", "250315001/1", "250315002/1", "250314001/2"}));
    EXPECT_EQ(shown({.fromDate = " 2025-03-15", .toDate = "2025-03-15 "}),
              (Keys{"250315001/1", "250315002/1"}));
    EXPECT_EQ(shown({.outcome = UnitOutcome::Interrupted}), Keys{"250315001/1"});
    EXPECT_EQ(shown({.serial = "250314001", .outcome = UnitOutcome::Verified}),
              (Keys{"250314001/1", "250314001/2"}));
    RecordsQuery narrowed{.fromDate = "2025-03-16", .outcome = UnitOutcome::Failed};
    EXPECT_EQ(shown(narrowed), Keys{});
    EXPECT_EQ(shown(unitHistoryQuery(250314001)), (Keys{"250314001/1", "250314001/2"}));

    const Result<RecordsListing> listing = list({});
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing->database,
              "the SQLite file " + fake.production.userDataFolder
                  + "/production.sqlite (the default)");
    ASSERT_EQ(fake.production.opened.size(), 7u);
    EXPECT_EQ(fake.production.opened.back().second, RegisterUse::Read) << "a list writes nothing";
}

// Each wrong field is named with how to put it right, before any database
// is opened.
TEST_F(ProductionRecordsTest, AQueryThatCannotBeMetSaysWhichFieldAndHow)
{
    const std::vector<std::pair<RecordsQuery, std::string>> cases = {
        {{.fromDate = "14.03.2025"}, "is not YYYY-MM-DD"},
        {{.toDate = "2025-02-30"}, "is no day of the calendar"},
        {{.fromDate = "2025-03-16", .toDate = "2025-03-14"}, "comes after the last"},
        {{.serial = "25031400l"}, "Type its digits"},
        {{.serial = "99999999999999999999"}, "Type its digits"},
        {{.serial = "251314001"}, "is not YYMMDDnnn"},
        {{.serial = "250314256"}, "unit number up to 255"},
    };
    for (const auto &[query, says] : cases) {
        const auto listing = list(query);
        ASSERT_FALSE(listing) << says;
        EXPECT_TRUE(mentions(listing.error(), says)) << listing.error();
    }
    EXPECT_TRUE(fake.production.opened.empty());
}

TEST_F(ProductionRecordsTest, CsvQuotesWhatNeedsItAndLinesReadAsOne)
{
    const Result<RecordsListing> failed = list({.serial = "250314002"});
    ASSERT_TRUE(failed);
    EXPECT_EQ(recordsCsv(failed->records),
              "Serial,Event,Re-made,Outcome,State,Station,Operator,Port,Started (UTC),"
              "Ended (UTC),Product code,Firmware,Hardware version,Module versions,"
              "Files (SHA-256),Message\r\n"
              "250314002,1,no,failed,failed,bench-1,technician,2,2025-03-14T09:40:12.000Z,"
              "2025-03-14T09:40:12.000Z,,,,,,\"Echo missing at byte 5, \"\"block\"\" 3\r\n"
              "Unit half-written\"\r\n");
    EXPECT_EQ(csvField("plain text"), "plain text");

    const Result<RecordsListing> all = list({});
    ASSERT_TRUE(all);
    EXPECT_TRUE(mentions(recordsCsv(all->records),
                         "250314001,1,no,verified,verified,bench-1,technician,1,"
                         "2025-03-14T09:30:12.000Z,2025-03-14T09:30:12.000Z,1,12,,,CALCURVS.DAT="
                             + std::string(64, 'a') + ",\r\n"));
    EXPECT_TRUE(mentions(recordsCsv(all->records), "250314001,2,yes,verified"));

    std::istringstream text(recordLinesText(all->records));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 6u) << "a heading and a line a record";
    const size_t outcome = lines[0].find("Outcome");
    EXPECT_EQ(lines[0].substr(0, 8), "Serial  ");
    EXPECT_EQ(lines[2].substr(outcome, 6), "failed");
    EXPECT_EQ(lines[3].substr(outcome, 11), "interrupted");
    EXPECT_TRUE(mentions(lines[3], "  -  ")) << "no end time yet: " << lines[3];
    EXPECT_TRUE(lines[2].ends_with("Echo missing at byte 5, \"block\" 3  Unit half-written"));
    EXPECT_TRUE(mentions(lines[5], "2 re-made"));
    EXPECT_TRUE(mentions(lines[1], "2025-03-14 09:30:12"));
}

TEST_F(ProductionRecordsTest, ExportWritesTheShownRowsWholeOrSaysWhyNot)
{
    test::TempFolder folder;
    const Result<RecordsListing> shownRows = list({.outcome = UnitOutcome::Verified});
    ASSERT_TRUE(shownRows);

    const Result<std::string> cancelled = exportRecordsCsv(fake.platform, shownRows->records);
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(*cancelled, "");

    const std::string path = folder.file("records.csv");
    fake.dialogs.fileAnswers = {path};
    const Result<std::string> written = exportRecordsCsv(fake.platform, shownRows->records);
    ASSERT_TRUE(written) << written.error();
    EXPECT_EQ(*written, path);
    std::ifstream in(path, std::ios::binary);
    std::stringstream file;
    file << in.rdbuf();
    EXPECT_EQ(file.str(), recordsCsv(shownRows->records));

    fake.dialogs.fileAnswers = {folder.file("missing/records.csv")};
    const Result<std::string> refused = exportRecordsCsv(fake.platform, shownRows->records);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(mentions(refused.error(), "could not be written to " + folder.file("missing")))
        << refused.error();
    EXPECT_EQ(fake.dialogs.unexpected, 1) << "only the cancelled dialog went unanswered";
}

// The window's setting comes before ORVANE_PRODUCTION_DB; a URL that does
// not read changes nothing; a database that cannot be reached is said so.
TEST_F(ProductionRecordsTest, StationSettingIsKeptOnlyWhenItReadsAndNamesTheDatabaseInUse)
{
    fake.production.environment = "postgresql://factory@dbhost/production";
    EXPECT_EQ(*databaseInUse(fake.production, {}),
              "the PostgreSQL database factory@dbhost/production (from ORVANE_PRODUCTION_DB)");

    const Result<std::string> set = setStationDatabase(fake.platform, "  sqlite:/srv/p.sqlite\t");
    ASSERT_TRUE(set) << set.error();
    EXPECT_EQ(*set, "the SQLite file /srv/p.sqlite (this station's setting)");
    EXPECT_EQ(stationDatabaseSetting(fake.settings), "sqlite:/srv/p.sqlite");
    EXPECT_EQ(*databaseInUse(fake.production, "sqlite:/x"), "the SQLite file /x (from --db)");

    const Result<std::string> refused = setStationDatabase(fake.platform, "mysql://h/db");
    ASSERT_FALSE(refused);
    EXPECT_TRUE(mentions(refused.error(), "The setting was not changed")) << refused.error();
    EXPECT_EQ(stationDatabaseSetting(fake.settings), "sqlite:/srv/p.sqlite");
    EXPECT_EQ(*checkStationDatabase(fake.production), *set);
    EXPECT_EQ(fake.production.opened.back().second, RegisterUse::Record);

    ASSERT_TRUE(setStationDatabase(fake.platform, " "));
    EXPECT_EQ(stationDatabaseSetting(fake.settings), "");
    fake.production.environment = "production";
    const auto badVariable = list({});
    ASSERT_FALSE(badVariable);
    EXPECT_TRUE(mentions(badVariable.error(), "(It comes from ORVANE_PRODUCTION_DB.)"))
        << badVariable.error();

    fake.production.environment.clear();
    fake.production.store->unreachable = "The production register cannot be reached: timeout.";
    EXPECT_EQ(list({}).error(), *fake.production.store->unreachable);
    EXPECT_EQ(checkStationDatabase(fake.production).error(), *fake.production.store->unreachable);
}

} // namespace
