#include "RegisterEngines.h"

#include <gtest/gtest.h>

// The register's rules, the same on the fake that logic tests use and on
// both real engines.

namespace orvane::test {
namespace {

constexpr int kDay = 250314;

class ProductionRegisterTest : public ::testing::TestWithParam<Engine>
{
protected:
    RegisterDatabase database{GetParam()};
    std::unique_ptr<ProductionRegister> bench1 = database.open("bench-1");

    std::vector<UnitRecord> all(ProductionRegister &reg, RecordFilter filter = {})
    {
        auto found = reg.records(filter);
        EXPECT_TRUE(found.ok()) << found.error();
        return found.ok() ? *found : std::vector<UnitRecord>{};
    }

    long long issue(int day = kDay, int port = 1)
    {
        auto record = bench1->issueNext(day, port);
        EXPECT_TRUE(record.ok()) << record.error();
        return record.ok() ? record->key.serial : 0;
    }

    UnitOutcome outcomeOf(ProductionRegister &reg, long long serial, int event = 1)
    {
        RecordFilter filter;
        filter.serial = serial;
        for (const UnitRecord &record : all(reg, filter))
            if (record.key.event == event)
                return record.outcome();
        ADD_FAILURE() << "no record of " << serial;
        return UnitOutcome::Failed;
    }

    static UnitDetails details()
    {
        UnitDetails unit;
        unit.productCode = 7;
        unit.firmware = 42;
        unit.hardwareVersion = "HW 3.1";
        unit.moduleVersions = "SW 2.41; chips 1.0 1.2 1.1 2.0";
        unit.files = {{"CALCURVS.DAT", std::string(64, 'a')},
                      {"NVMNMEAG.DAT", std::string(64, 'b')},
                      {"CommandMode.COD", std::string(64, '0')}};
        return unit;
    }
};

TEST_P(ProductionRegisterTest, IssuesEachDaysLowestNumberNeverTakenBefore)
{
    EXPECT_EQ(issue(), 250314001);
    EXPECT_EQ(issue(), 250314002);
    const auto typed = bench1->claim(250314004, 2, ClaimKind::NewUnit);
    ASSERT_TRUE(typed.ok() && typed->record) << typed.error();
    ASSERT_TRUE(bench1->finish({250314001, 1}, UnitState::Void, "prompt cancelled").ok());
    // The void number stays taken and the typed one is skipped.
    EXPECT_EQ(issue(), 250314003);
    EXPECT_EQ(issue(), 250314005);
    EXPECT_EQ(issue(250315), 250315001);

    const auto records = all(*bench1);
    ASSERT_EQ(records.size(), 6u);
    const UnitRecord &first = records.front();
    EXPECT_EQ(first.station, "bench-1");
    EXPECT_EQ(first.operatorName, "technician");
    EXPECT_EQ(first.port, 1);
    EXPECT_EQ(first.startedUtc, "2025-03-14T09:00:00.000Z");
    EXPECT_EQ(first.outcome(), UnitOutcome::Void);
    EXPECT_EQ(first.message, "prompt cancelled");
    EXPECT_FALSE(first.endedUtc.empty());

    EXPECT_FALSE(bench1->issueNext(251340, 1).ok()) << "month 13";
    EXPECT_EQ(all(*bench1).size(), 6u);
}

TEST_P(ProductionRegisterTest, ADayEndsAtUnit254AndSaysSo)
{
    for (int unit = 1; unit <= kLastIssuedUnit; ++unit)
        ASSERT_EQ(bench1->issueNext(kDay, 1)->key.serial, serialNumberOf(kDay, unit));
    const auto full = bench1->issueNext(kDay, 1);
    ASSERT_FALSE(full.ok());
    EXPECT_NE(full.error().find("are taken"), std::string::npos) << full.error();
    EXPECT_EQ(all(*bench1).size(), size_t(kLastIssuedUnit));
    // A typed number may still use what the unit's byte holds.
    EXPECT_TRUE(bench1->claim(serialNumberOf(kDay, 255), 1, ClaimKind::NewUnit)->record);
}

TEST_P(ProductionRegisterTest, TakenNumberIsRefusedWithWhereAndWhenUnlessARemake)
{
    const auto bench2 = database.open("bench-2");
    const long long serial = issue(kDay, 3);
    ASSERT_TRUE(bench1->markWritten({serial, 1}).ok());
    ASSERT_TRUE(bench1->finish({serial, 1}, UnitState::Verified, "").ok());

    database.now += std::chrono::hours(24);
    const auto refused = bench2->claim(serial, 5, ClaimKind::NewUnit);
    ASSERT_TRUE(refused.ok()) << refused.error();
    EXPECT_FALSE(refused->record);
    ASSERT_EQ(refused->earlier.size(), 1u);
    const std::string sentence = takenSerialSentence(serial, refused->earlier);
    for (const char *part : {"250314001", "bench-1", "port 3", "2025-03-14 09:00 UTC", "verified"})
        EXPECT_NE(sentence.find(part), std::string::npos) << part << " in " << sentence;
    EXPECT_EQ(all(*bench2).size(), 1u) << "a refusal records nothing";

    const auto remade = bench2->claim(serial, 5, ClaimKind::RemakeReturned);
    ASSERT_TRUE(remade.ok() && remade->record) << remade.error();
    EXPECT_EQ(remade->record->key, (RecordKey{serial, 2}));
    EXPECT_TRUE(remade->record->remake);
    RecordFilter history;
    history.serial = serial;
    const auto records = all(*bench1, history);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].station, "bench-2");
    EXPECT_EQ(records[1].startedUtc, "2025-03-15T09:00:00.000Z");

    // A returned unit made before the register existed is recorded too.
    const auto unknown = bench2->claim(240101077, 5, ClaimKind::RemakeReturned);
    ASSERT_TRUE(unknown.ok() && unknown->record) << unknown.error();
    EXPECT_EQ(unknown->record->key.event, 1);
    EXPECT_TRUE(unknown->earlier.empty());

    for (long long bad : {250314300LL, 251301001LL, -5LL})
        EXPECT_FALSE(bench1->claim(bad, 1, ClaimKind::NewUnit).ok()) << bad;
}

TEST_P(ProductionRegisterTest, RecordsGoIssuedWrittenVerifiedOrFailedOrVoidAndThenClose)
{
    const RecordKey made{issue(), 1};
    ASSERT_TRUE(bench1->setDetails(made, details()).ok());
    EXPECT_FALSE(bench1->finish(made, UnitState::Verified, "").ok()) << "not written yet";
    ASSERT_TRUE(bench1->markWritten(made).ok());
    EXPECT_FALSE(bench1->finish(made, UnitState::Void, "").ok()) << "the serial is on the unit";
    EXPECT_FALSE(bench1->finish(made, UnitState::Written, "").ok()) << "not an end";
    database.now += std::chrono::seconds(95);
    ASSERT_TRUE(bench1->finish(made, UnitState::Verified, "").ok());
    EXPECT_FALSE(bench1->markWritten(made).ok());
    EXPECT_FALSE(bench1->setDetails(made, {}).ok()) << "a closed record stays as it was";

    const RecordKey failed{issue(), 1};
    ASSERT_TRUE(bench1->finish(failed, UnitState::Failed, "The link was lost.").ok());
    EXPECT_FALSE(bench1->keepAlive(failed).ok());
    EXPECT_FALSE(bench1->markWritten({250399001, 1}).ok()) << "no such record";

    UnitDetails badHash = details();
    badHash.files[1].sha256 = std::string(64, 'G');
    const RecordKey open{issue(), 1};
    EXPECT_FALSE(bench1->setDetails(open, badHash).ok());

    const auto records = all(*bench1);
    ASSERT_EQ(records.size(), 3u);
    const UnitRecord &verified = records[0];
    EXPECT_EQ(verified.state, UnitState::Verified);
    EXPECT_EQ(verified.details.productCode, 7);
    EXPECT_EQ(verified.details.firmware, 42);
    EXPECT_EQ(verified.details.hardwareVersion, "HW 3.1");
    EXPECT_EQ(verified.details.moduleVersions, "SW 2.41; chips 1.0 1.2 1.1 2.0");
    ASSERT_EQ(verified.details.files.size(), 3u);
    EXPECT_EQ(verified.details.files[2].name, "CommandMode.COD");
    EXPECT_EQ(verified.details.files[2].sha256, std::string(64, '0'));
    EXPECT_EQ(verified.endedUtc, "2025-03-14T09:01:35.000Z");
    EXPECT_EQ(records[1].outcome(), UnitOutcome::Failed);
    EXPECT_EQ(records[1].message, "The link was lost.");
    EXPECT_EQ(records[2].state, UnitState::Issued);
    EXPECT_TRUE(records[2].details.files.empty());
    EXPECT_FALSE(records[2].details.productCode);
}

TEST_P(ProductionRegisterTest, OpenRecordLeftBehindShowsInterruptedAndKeepsItsNumber)
{
    const auto bench2 = database.open("bench-2");
    const long long killed = issue(kDay, 1);
    const long long working = issue(kDay, 2);
    EXPECT_EQ(outcomeOf(*bench2, killed), UnitOutcome::InProgress);

    // The station started again and made its next unit on the same port.
    database.now += std::chrono::minutes(1);
    const long long next = issue(kDay, 1);
    EXPECT_EQ(outcomeOf(*bench2, killed), UnitOutcome::Interrupted);
    EXPECT_EQ(outcomeOf(*bench2, working), UnitOutcome::InProgress);
    EXPECT_EQ(outcomeOf(*bench2, next), UnitOutcome::InProgress);

    // Silence past the lease, unless the station keeps its record alive.
    database.now += std::chrono::minutes(10);
    ASSERT_TRUE(bench1->keepAlive({next, 1}).ok());
    database.now += std::chrono::minutes(10);
    EXPECT_EQ(outcomeOf(*bench2, working), UnitOutcome::Interrupted);
    EXPECT_EQ(outcomeOf(*bench2, next), UnitOutcome::InProgress);

    RecordFilter interrupted;
    interrupted.outcome = UnitOutcome::Interrupted;
    EXPECT_EQ(all(*bench2, interrupted).size(), 2u);
    EXPECT_EQ(bench2->issueNext(kDay, 1)->key.serial, 250314004);
    // A late station may still close its record.
    EXPECT_TRUE(bench1->finish({working, 1}, UnitState::Failed, "stopped").ok());
}

TEST_P(ProductionRegisterTest, ListsFilterByDateSerialAndOutcome)
{
    const long long first = issue();
    ASSERT_TRUE(bench1->finish({first, 1}, UnitState::Void, "").ok());
    database.now += std::chrono::hours(48);
    const long long second = issue(250316);
    ASSERT_TRUE(bench1->markWritten({second, 1}).ok());
    ASSERT_TRUE(bench1->finish({second, 1}, UnitState::Verified, "").ok());
    database.now += std::chrono::hours(24);
    const long long third = issue(250317);

    auto serials = [&](RecordFilter filter) {
        std::vector<long long> found;
        for (const UnitRecord &record : all(*bench1, filter))
            found.push_back(record.key.serial);
        return found;
    };
    EXPECT_EQ(serials({}), (std::vector<long long>{first, second, third}));
    EXPECT_EQ(serials({"2025-03-15", "", {}, {}}), (std::vector<long long>{second, third}));
    EXPECT_EQ(serials({"2025-03-14", "2025-03-16", {}, {}}),
              (std::vector<long long>{first, second}));
    EXPECT_EQ(serials({"", "", second, {}}), (std::vector<long long>{second}));
    EXPECT_EQ(serials({"", "", {}, UnitOutcome::Void}), (std::vector<long long>{first}));
    EXPECT_EQ(serials({"", "", {}, UnitOutcome::InProgress}), (std::vector<long long>{third}));
    EXPECT_EQ(serials({"2025-03-17", "", {}, UnitOutcome::Verified}), std::vector<long long>{});

    const auto bad = bench1->records({"14/03/2025", "", {}, {}});
    ASSERT_FALSE(bad.ok());
    EXPECT_NE(bad.error().find("YYYY-MM-DD"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Engines,
                         ProductionRegisterTest,
                         ::testing::Values(Engine::Fake, Engine::SQLite, Engine::PostgreSQL),
                         [](const auto &info) { return engineName(info.param); });

} // namespace
} // namespace orvane::test
