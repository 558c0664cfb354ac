#include "RegisterEngines.h"

#include "platform/sql/OpenProductionRegister.h"
#include "platform/sql/SqlConnection.h"
#include "platform/sql/SqlProductionDatabase.h"
#include "support/FakeSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

// What only the real engines have: a schema that other programs may also
// write to, migrations, connections that fail.

namespace orvane::test {
namespace {

bool mentions(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

class SqlRegisterTest : public ::testing::TestWithParam<Engine>
{
protected:
    RegisterDatabase database{GetParam()};
};

TEST_P(SqlRegisterTest, SchemaIsMadeOnceKeepsRecordsAndRefusesANewerOne)
{
    const long long serial = database.open("bench-1")->issueNext(250314, 1)->key.serial;
    // A second station opening the same database finds it current.
    const auto again = database.open("bench-2");
    const auto records = again->records({});
    ASSERT_TRUE(records.ok()) << records.error();
    ASSERT_EQ(records->size(), 1u);
    EXPECT_EQ(records->front().key.serial, serial);
    EXPECT_THROW(database.execute("INSERT INTO schema_version VALUES (1, 'again')"),
                 std::runtime_error)
        << "version 1 was recorded once";

    database.execute("INSERT INTO schema_version VALUES (2, '2030-01-01T00:00:00.000Z')");
    const auto newer = SqlProductionRegister::open(*parseRegisterUrl(database.url()));
    ASSERT_FALSE(newer.ok());
    EXPECT_TRUE(mentions(newer.error(), "newer program")) << newer.error();
}

TEST_P(SqlRegisterTest, SchemaHoldsItsRulesAgainstAnyWriter)
{
    const auto bench = database.open("bench-1");
    ASSERT_TRUE(bench->issueNext(250314, 1).ok());
    const std::string record
        = "INSERT INTO unit_records (serial, event, remake, state, station, "
          "operator_name, port, started_utc, last_seen_utc, ended_utc) VALUES ";
    for (const std::string &statement : std::vector<std::string>{
             "INSERT INTO serial_numbers VALUES (250314001, 'typed', 'x')",
             "INSERT INTO serial_numbers VALUES (250314002, 'guessed', 'x')",
             record + "(250314999, 1, 0, 'issued', 's', 'o', 1, 't', 't', NULL)",
             record + "(250314001, 1, 0, 'issued', 's', 'o', 1, 't', 't', NULL)",
             record + "(250314001, 2, 0, 'verified', 's', 'o', 1, 't', 't', NULL)",
             record + "(250314001, 2, 0, 'issued', 's', 'o', 1, 't', 't', 't')",
             record + "(250314001, 2, 0, 'lost', 's', 'o', 1, 't', 't', 't')",
             "INSERT INTO unit_files VALUES (250314001, 1, 0, 'A.DAT', 'short')",
             "INSERT INTO unit_files VALUES (250314001, 7, 0, 'A.DAT', '" + std::string(64, 'a')
                 + "')",
         })
        EXPECT_THROW(database.execute(statement), std::runtime_error) << statement;
    EXPECT_EQ(bench->records({})->size(), 1u);
}

TEST(SqlRegisterPostgresTest, LostConnectionFailsOneCallThenReconnects)
{
    RegisterDatabase database(Engine::PostgreSQL);
    const auto bench = database.open("bench-1");
    ASSERT_TRUE(bench->issueNext(250314, 1).ok());
    database.execute("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                     "WHERE datname = current_database() AND pid <> pg_backend_pid()");
    const auto lost = bench->issueNext(250314, 1);
    ASSERT_FALSE(lost.ok());
    EXPECT_TRUE(mentions(lost.error(), "Nothing was changed")) << lost.error();
    const auto again = bench->issueNext(250314, 1);
    ASSERT_TRUE(again.ok()) << again.error();
    EXPECT_EQ(again->key.serial, 250314002);
}

TEST(OpenProductionRegisterTest, BadUrlOrUnreachableDatabaseIsAFailureThatSaysWhatToDo)
{
    TempFolder folder;
    struct Case
    {
        std::string url;
        std::string says;
    };
    const Case cases[] = {
        {"mysql://u@h/db", "postgresql://user@host:port/dbname"},
        {"postgresql://u@h:5432", "names no database"},
        {"postgresql://u@h:70000/db", "port"},
        {"postgresql://u@/db?hots=/tmp", "\"hots\""},
        {"sqlite:", "names no file"},
        // Nothing listens there: refused at once, never a hang.
        {"postgresql://orvane@/db?host=" + folder.path(), "cannot be reached"},
        {"postgresql://orvane@127.0.0.1:1/db", "cannot be reached"},
        {"sqlite:/proc/version/production.sqlite", "cannot be opened"},
    };
    for (const Case &c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const auto opened = openProductionRegister(c.url, folder.path());
        ASSERT_FALSE(opened.ok()) << c.url;
        EXPECT_TRUE(mentions(opened.error(), c.says)) << opened.error();
        EXPECT_LT(std::chrono::steady_clock::now() - start,
                  std::chrono::seconds(kConnectTimeoutSeconds))
            << c.url;
    }
}

TEST(OpenProductionRegisterTest, TakesTheGivenUrlThenTheEnvironmentThenTheUsersFile)
{
    TempFolder folder;
    ::unsetenv(kProductionDbVariable);
    EXPECT_EQ(chosenRegisterUrl("", folder.path()), "sqlite:" + folder.file("production.sqlite"));
    const auto own = openProductionRegister("", folder.path());
    ASSERT_TRUE(own.ok()) << own.error();
    EXPECT_TRUE(std::filesystem::exists(folder.file("production.sqlite")));

    ::setenv(kProductionDbVariable, "postgresql://u@h/db", 1);
    EXPECT_EQ(chosenRegisterUrl("", folder.path()), "postgresql://u@h/db");
    EXPECT_EQ(chosenRegisterUrl("sqlite:/x", folder.path()), "sqlite:/x");
    ::unsetenv(kProductionDbVariable);
}

// --db, then the station's setting, then the variable, then the user's own
// file; reading a file that is not there says so and makes none.
TEST(OpenProductionRegisterTest, StationDatabaseFollowsOneRuleAndReadingMakesNoFile)
{
    TempFolder folder;
    FakeSettings settings;
    SqlProductionDatabase database(settings, folder.path());
    ::unsetenv(kProductionDbVariable);
    const std::string own = "sqlite:" + folder.file("production.sqlite");
    const auto chosen = [&](const std::string &option) {
        const DatabaseChoice choice = database.choose(option);
        return std::make_pair(choice.url, sourceName(choice.source));
    };
    EXPECT_EQ(chosen(""), std::make_pair(own, std::string("the default")));
    ::setenv(kProductionDbVariable, "postgresql://u@h/env", 1);
    EXPECT_EQ(
        chosen(""),
        std::make_pair(std::string("postgresql://u@h/env"), std::string(kProductionDbVariable)));
    settings.setText(kProductionDbSetting, "postgresql://u@h/set");
    EXPECT_EQ(chosen("").first, "postgresql://u@h/set");
    EXPECT_EQ(chosen("sqlite:/x").first, "sqlite:/x");
    ::unsetenv(kProductionDbVariable);
    settings.setText(kProductionDbSetting, "");
    EXPECT_EQ(chosen("").first, own);

    const auto unread = database.open(database.choose(""), RegisterUse::Read);
    ASSERT_FALSE(unread);
    EXPECT_TRUE(mentions(unread.error(), "No unit has been recorded in the SQLite file"))
        << unread.error();
    EXPECT_FALSE(std::filesystem::exists(folder.file("production.sqlite")));
    ASSERT_TRUE(database.open(database.choose(""), RegisterUse::Record));
    EXPECT_TRUE(database.open(database.choose(""), RegisterUse::Read));

    const auto bad = database.open({"mysql://h/db", DatabaseSource::Setting}, RegisterUse::Read);
    ASSERT_FALSE(bad);
    EXPECT_TRUE(mentions(bad.error(), "comes from this station's setting")) << bad.error();
    EXPECT_EQ(*database.describe("postgresql://u:secret@h:5433/db"),
              "the PostgreSQL database \"db\" on h:5433 as u");
}

INSTANTIATE_TEST_SUITE_P(Engines,
                         SqlRegisterTest,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto &info) { return engineName(info.param); });

} // namespace
} // namespace orvane::test
