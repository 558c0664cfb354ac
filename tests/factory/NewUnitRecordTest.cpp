// Make NEW's production records on the fake register: which number a unit
// gets, what its record says at each end, and what stops it before the
// first byte.

#include "FactoryToolTest.h"

#include "factory/CodeModules.h"
#include "factory/Provisioning.h"
#include "support/FakeProductionRegister.h"

namespace orvane::test {
namespace {

// The fake clock's day is 2026-07-04.
constexpr long long kOffered = 260704001;
constexpr long long kReturned = 250101007;

struct Expected
{
    long long serial;
    int event;
    UnitState state;
    bool remake;
    const char *message; // a part of it; "" for none
};

class NewUnitRecordTest : public FactoryToolTest
{
protected:
    NewUnitRecordTest() { instrument().setProductCode(1); }

    std::vector<UnitRecord> records()
    {
        FakeProductionRegister reader({}, fake.production.store);
        return *reader.records({});
    }

    // Calls `action` once the product code frame has gone out from now on.
    void afterProductCode(std::function<void()> action)
    {
        afterProductCodeFrom(action, fake.port.written.size());
    }
    void afterProductCodeFrom(std::function<void()> action, size_t from)
    {
        at(0.05, [this, action, from] {
            const std::vector<uint8_t> frame = {61, 3, 1, 28, 64, 1};
            std::vector<uint8_t> sent;
            for (size_t i = from; i < fake.port.written.size(); ++i)
                sent.push_back(fake.port.written[i].second);
            if (std::search(sent.begin(), sent.end(), frame.begin(), frame.end()) != sent.end())
                action();
            else
                afterProductCodeFrom(action, from);
        });
    }

    // Whether a write frame went out from `from` on: connecting alone writes nothing.
    bool wroteFrom(size_t from) const
    {
        for (size_t i = from; i + 1 < fake.port.written.size(); ++i)
            if (fake.port.written[i].second == 61
                && (fake.port.written[i + 1].second == 1 || fake.port.written[i + 1].second == 3))
                return true;
        return false;
    }
};

TEST_F(NewUnitRecordTest, NumbersComeFromTheRegisterAndEveryMakingEndsInItsRecord)
{
    const std::string offered = std::to_string(kOffered);
    const std::string other = std::to_string(kOffered + 40);
    const std::string returned = std::to_string(kReturned);
    const struct
    {
        const char *name;
        std::function<void()> arrange;
        std::vector<std::string> inputs;
        std::vector<MessageAnswer> answers; // after Make NEW's own Yes
        const char *error;                  // a part of it; nullptr when made
        bool sent;
        std::vector<Expected> records;
    } cases[] = {
        {"the number offered",
         {},
         {offered, "1", "42"},
         {},
         nullptr,
         true,
         {{kOffered, 1, UnitState::Verified, false, ""}}},
        {"another free number typed",
         {},
         {other, "1", "42"},
         {},
         nullptr,
         true,
         {{kOffered, 1, UnitState::Void, false, "was typed instead"},
          {kOffered + 40, 1, UnitState::Verified, false, ""}}},
        {"a taken number, not a returned unit",
         [this] {
             ASSERT_TRUE(FakeProductionRegister({}, fake.production.store)
                             .claim(kReturned, 5, ClaimKind::NewUnit));
         },
         {returned},
         {MessageAnswer::No},
         "",
         false,
         {{kReturned, 1, UnitState::Issued, false, ""},
          {kOffered, 1, UnitState::Void, false, "prompt was cancelled"}}},
        {"a taken number re-made as a returned unit",
         [this] {
             ASSERT_TRUE(FakeProductionRegister({}, fake.production.store)
                             .claim(kReturned, 5, ClaimKind::NewUnit));
         },
         {returned, "1", "42"},
         {MessageAnswer::Yes},
         nullptr,
         true,
         {{kReturned, 1, UnitState::Issued, false, ""},
          {kReturned, 2, UnitState::Verified, true, ""},
          {kOffered, 1, UnitState::Void, false, "was typed instead"}}},
        {"a database that does not answer",
         [this] { fake.production.store->unreachable = "The server does not answer."; },
         {},
         {},
         "could not record the new unit: The server does not answer. Nothing was written",
         false,
         {}},
        {"a database that stops answering before the first write",
         [this] {
             fake.dialogs.onDialog = [this](const DialogCall &call) {
                 if (call.title == "Get new Tessaro Firmware # (Sw_Ver)")
                     fake.production.store->unreachable = "The server went away.";
             };
         },
         {offered, "1", "42"},
         {},
         "could not record the new unit: The server went away. Nothing was written",
         false,
         {{kOffered, 1, UnitState::Issued, false, ""}}},
        {"cancelled at the product code",
         {},
         {offered, ""},
         {},
         "",
         false,
         {{kOffered, 1, UnitState::Void, false, "Cancelled before anything was written"}}},
        {"no unit answers",
         [this] { instrument().faults().noAnswer = true; },
         {offered, "1", "42"},
         {},
         "",
         false,
         {{kOffered, 1, UnitState::Void, false, "No Orvane was connected"}}},
        {"echoes stop half-way",
         [this] { instrument().faults().echoesStopAfter = 200; },
         {offered, "1", "42"},
         {},
         "No answer from the Orvane while clearing the log area",
         true,
         {{kOffered, 1, UnitState::Failed, false, "No answer from the Orvane while clearing"}}},
        {"a module that does not read back",
         [this] {
             afterProductCode([this] { eeprom()[kNewUnitCodeModules[2].address + 5] ^= 0xFF; });
         },
         {offered, "1", "42"},
         {},
         "24C512 address 17221 (HiLoEditor.COD) reads",
         true,
         {{kOffered, 1, UnitState::Failed, false, "(HiLoEditor.COD) reads"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fake.production.store = std::make_shared<FakeRegisterStore>();
        fake.dialogs.onDialog = {};
        instrument().faults() = {};
        instrument().powerCycle();
        link.setConnected(false);
        if (c.arrange)
            c.arrange();
        const size_t sentBefore = fake.port.written.size();
        answer(c.inputs, 1);
        for (const MessageAnswer a : c.answers)
            fake.dialogs.messageAnswers.push_back(a);
        const FactoryResult result = makeNewUnit(services);
        if (!c.error)
            EXPECT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
        else if (*c.error)
            EXPECT_NE(result.error().find(c.error), std::string::npos) << result.error();
        else
            EXPECT_TRUE(result.ok() && *result != FactoryOutcome::Completed);
        EXPECT_EQ(wroteFrom(sentBefore), c.sent);
        EXPECT_TRUE(fake.dialogs.messageAnswers.empty());
        if (const auto prompts = fake.dialogs.inputs(); !prompts.empty()) {
            EXPECT_EQ(prompts[0].defaultText, offered);
        }
        if (!c.answers.empty()) {
            EXPECT_TRUE(std::any_of(fake.dialogs.calls.begin(),
                                    fake.dialogs.calls.end(),
                                    [](const DialogCall &call) {
                                        return call.title == "Serial Number Taken"
                                               && call.text.find("is already taken: made on "
                                                                 "bench-1, port 5, ")
                                                      != std::string::npos;
                                    }));
        }

        fake.production.store->unreachable.reset();
        // Oldest first; makings started within the same moment in any order.
        std::vector<UnitRecord> found = records();
        std::sort(found.begin(), found.end(), [](const UnitRecord &a, const UnitRecord &b) {
            return std::pair(a.key.serial, a.key.event) < std::pair(b.key.serial, b.key.event);
        });
        ASSERT_EQ(found.size(), c.records.size());
        for (size_t i = 0; i < found.size(); ++i) {
            const UnitRecord &r = found[i];
            const Expected &e = c.records[i];
            EXPECT_EQ(r.key, (RecordKey{e.serial, e.event})) << i;
            EXPECT_EQ(r.state, e.state) << i;
            EXPECT_EQ(r.remake, e.remake) << i;
            EXPECT_NE(r.message.find(e.message), std::string::npos) << r.message;
            EXPECT_EQ(r.port, e.serial == kReturned && e.event == 1 ? 5 : 1);
            if (r.state == UnitState::Verified || r.state == UnitState::Failed) {
                EXPECT_EQ(r.details.productCode, 1);
                EXPECT_EQ(r.details.firmware, 42);
                EXPECT_EQ(r.details.files.size(), 13u);
                EXPECT_FALSE(r.details.hardwareVersion.empty());
            }
        }
        fake.dialogs.calls.clear();
        fake.dialogs.inputAnswers.clear();
    }
}

} // namespace
} // namespace orvane::test
