#include "LinkTestSupport.h"

#include "link/Commands.h"
#include "link/Exchange.h"

namespace orvane::test {
namespace {

// The exchange against the virtual instrument, already in command mode.
class ExchangeTest : public ::testing::Test
{
protected:
    ExchangeTest()
    {
        for (int i = 0; i < kResyncCount; ++i)
            fake.instrument.feed(kResyncByte);
        EXPECT_TRUE(link.openPort(1).ok());
    }

    int settingsReads() const
    {
        const Frame frame = memoryFrame(CommandCode::ReadInternalNvm, kSettingsSize, 0);
        int reads = 0;
        for (size_t i = 0; i + frame.size() <= fake.port.written.size(); ++i) {
            bool match = true;
            for (size_t k = 0; k < frame.size(); ++k)
                match = match && fake.port.written[i + k].second == frame[k];
            reads += match ? 1 : 0;
        }
        return reads;
    }

    FakePlatform fake;
    ByteLink link{fake.platform};
    Exchange exchange{link, ExchangeKind::ReadsIntoPc};
};

// Each fault of the settings read: how often it is read, whether the
// settings come back, and the sentence the user would read.
TEST_F(ExchangeTest, TheSettingsAreReadAgainUntilWholeAndRightOrGivenUp)
{
    struct Case
    {
        const char *name;
        std::function<void(sim::FaultSettings &)> fault;
        int reads;
        const char *sentence; // nullptr: read in the end
    };
    const std::string where = " while reading the Orvane's settings.";
    const std::string tail = " The PC's settings were not changed. Check the cable and the "
                             "instrument's power, then try again.";
    const Case cases[] = {
        {"sound", [](sim::FaultSettings &) {}, 1, nullptr},
        {"two bad check bytes", [](sim::FaultSettings &f) { f.badCheckByteReads = 2; }, 3, nullptr},
        {"four short reads",
         [](sim::FaultSettings &f) {
             f.shortReadBytes = 100;
             f.shortReads = 4;
         },
         5,
         nullptr},
        {"silent",
         [](sim::FaultSettings &f) { f.noAnswer = true; },
         5,
         "No answer from the Orvane"},
        {"always short",
         [](sim::FaultSettings &f) { f.shortReadBytes = 100; },
         5,
         "Only 100 of 256 bytes came back from the Orvane"},
        {"always a bad check byte",
         [](sim::FaultSettings &f) { f.badCheckByteReads = sim::kEveryTime; },
         5,
         "The Orvane's settings failed their check byte 5 times"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fake.instrument.faults() = {};
        c.fault(fake.instrument.faults());
        fake.port.written.clear();
        exchange.begin(ExchangeKind::ReadsIntoPc);
        exchange.step("reading the Orvane's settings");
        std::vector<int> announced;
        const double start = fake.scheduler.now();
        const auto settings
            = exchange.readSettings(Exchange::kSettingsReadLeadPause,
                                    [&](int attempt) { announced.push_back(attempt); });
        EXPECT_EQ(settingsReads(), c.reads);
        EXPECT_EQ(int(announced.size()), c.reads);
        // Each read pays the lead pause, its frame and the settings pause.
        EXPECT_NEAR(
            fake.scheduler.now() - start,
            c.reads * (Exchange::kSettingsReadLeadPause + 5 * 0.05 + Exchange::kSettingsReadPause),
            1e-6);
        if (!c.sentence) {
            ASSERT_TRUE(settings.has_value());
            EXPECT_TRUE(std::equal(settings->begin(),
                                   settings->end(),
                                   fake.instrument.internalNvm().begin()));
            continue;
        }
        EXPECT_FALSE(settings.has_value());
        const std::string tried
            = std::string(c.sentence).starts_with("Only") ? " The read was tried 5 times." : "";
        EXPECT_EQ(exchange.failureMessage(), c.sentence + where + tried + tail);
    }
}

// What a failure says the command left alone depends on its kind and on
// whether it had written anything yet. (The write comes last: its missed
// echo loses the link.)
TEST_F(ExchangeTest, AFailureSaysWhatWasLeftAlone)
{
    fake.instrument.faults().noAnswer = true;
    const struct
    {
        ExchangeKind kind;
        bool write;
        const char *said;
    } cases[] = {
        {ExchangeKind::Writes, false, " Nothing was written to the Orvane."},
        {ExchangeKind::ReadsIntoPc, false, " The PC's settings were not changed."},
        {ExchangeKind::ReadsOnly, false, ""},
        {ExchangeKind::Writes, true, ""},
    };
    for (const auto &c : cases) {
        exchange.begin(c.kind);
        exchange.step("touching EEPROM address", 300, 1);
        const std::vector<uint8_t> data{1};
        EXPECT_FALSE(
            c.write
                ? exchange.writeBlock(CommandCode::WriteEeprom, 300, data, 0)
                : exchange.readByte(memoryFrame(CommandCode::ReadEeprom, 1, 300), 0.1).has_value());
        EXPECT_EQ(exchange.failureMessage(),
                  std::string("No answer from the Orvane while touching EEPROM address 300.")
                      + c.said + " Check the cable and the instrument's power, then try again.")
            << int(c.kind) << c.write;
    }
}

TEST(RefuseWhileBusyTest, RefusesWithABeepOnlyWhenThereIsAReason)
{
    FakePlatform fake;
    EXPECT_FALSE(refuseWhileBusy(fake.dialogs, ""));
    EXPECT_TRUE(fake.dialogs.messages().empty());
    EXPECT_TRUE(refuseWhileBusy(fake.dialogs, "An upload is running.", "Quit Program"));
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(fake.dialogs.messages()[0].text, "An upload is running.");
    EXPECT_EQ(fake.dialogs.messages()[0].title, "Quit Program");
    EXPECT_EQ(fake.dialogs.beeps(), 1);
}

} // namespace
} // namespace orvane::test
