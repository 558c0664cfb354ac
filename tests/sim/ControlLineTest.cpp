// The control lines that reach a running orvane-sim: what each sets, what is
// refused and why.

#include "sim/ControlLine.h"
#include "InstrumentDriver.h"

#include <gtest/gtest.h>

using namespace orvane::sim;
using namespace orvane::sim::test;

namespace {

// Parses and applies a line that must be good.
void apply(Instrument &instrument, const std::string &line)
{
    const ControlParse parsed = parseControlLine(line);
    ASSERT_TRUE(parsed.command) << line << ": " << parsed.error;
    applyControl(instrument, *parsed.command);
}

} // namespace

TEST(ControlLine, GoodLinesSetTheirKnobAndOffLinesClearIt)
{
    const std::pair<const char *, FaultSettings> good[] = {
        {"fault no-answer on", {.noAnswer = true}},
        {"  fault\tno-answer   on \r", {.noAnswer = true}},
        {"fault blank-identity on", {.blankIdentity = true}},
        {"fault corrupt-first-nvm-read on", {.corruptFirstNvmRead = true}},
        {"fault echoes-stop-after 700", {.echoesStopAfter = 700}},
        {"fault echo-delay-ms 1500", {.echoDelaySeconds = 1.5}},
        {"fault short-reads 7", {.shortReadBytes = 7}},
        {"fault short-reads 0 next 3", {.shortReadBytes = 0, .shortReads = 3}},
        {"fault bad-check-byte 4", {.badCheckByteReads = 4}},
        {"fault bad-check-byte every", {.badCheckByteReads = kEveryTime}},
    };
    Instrument all;
    for (const auto &[line, expected] : good) {
        Instrument instrument;
        apply(instrument, line);
        EXPECT_TRUE(instrument.faults() == expected) << line;
        apply(all, line);
    }
    for (const char *off : {"fault no-answer off",
                            "fault blank-identity off",
                            "fault corrupt-first-nvm-read off",
                            "fault echoes-stop-after off",
                            "fault echo-delay-ms off",
                            "fault short-reads off",
                            "fault bad-check-byte off"})
        apply(all, off);
    EXPECT_TRUE(all.faults() == FaultSettings{});
}

TEST(ControlLine, BadLinesAreRefusedWithAReasonAndCommentsSkipped)
{
    const std::pair<const char *, const char *> bad[] = {
        {"reboot", "unknown command \"reboot\""},
        {"power-cycle now", "takes nothing after it"},
        {"fault", "fault needs a name"},
        {"fault slow-echoes 5", "unknown fault \"slow-echoes\""},
        {"fault no-answer yes", "needs on or off"},
        {"fault echoes-stop-after -1", "needs a count of echoes"},
        {"fault echo-delay-ms 600001", "from 0 to 600000"},
        {"fault short-reads 256", "needs a byte count from 0 to 255"},
        {"fault short-reads 4 next 0", "a count of 1 or more"},
        {"fault short-reads 4 after 2", "takes next"},
        {"fault bad-check-byte 1x", "every or off"},
    };
    for (const auto &[line, reason] : bad) {
        const ControlParse parsed = parseControlLine(line);
        EXPECT_FALSE(parsed.command) << line;
        EXPECT_NE(parsed.error.find(reason), std::string::npos) << line << ": " << parsed.error;
    }
    for (const char *skipped : {"", "   \t", "\r", "# power-cycle"}) {
        const ControlParse parsed = parseControlLine(skipped);
        EXPECT_TRUE(!parsed.command && parsed.error.empty()) << '"' << skipped << '"';
    }
}

TEST(ControlLine, RuntimeLinesActFromTheMomentTheyArrive)
{
    Instrument instrument;
    connect(instrument);
    send(instrument, {61, 3, 10, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}); // ten echoes so far
    apply(instrument, "fault echoes-stop-after 2");
    EXPECT_EQ(send(instrument, {61, 3, 3, 0, 0, 7, 8, 9}), bytes({7, 8}));
    EXPECT_EQ(instrument.frameLog().back(),
              "  echoes withheld from here (echoes-stop-after fault: 2 sent)");
    // The first-read fault switched on mid-run spoils the next whole read.
    const uint8_t check = instrument.internalNvm()[0];
    EXPECT_EQ(send(instrument, {61, 0, 0, 0, 0}).at(0), check);
    apply(instrument, "fault corrupt-first-nvm-read on");
    EXPECT_NE(send(instrument, {61, 0, 0, 0, 0}).at(0), check);

    send(instrument, {61, 10, 0, 0, 0});
    apply(instrument, "power-cycle");
    EXPECT_EQ(send(instrument, {61}), bytes({61})) << "ISP mode ended";
    apply(instrument, "fault no-answer on");
    EXPECT_EQ(send(instrument, {61}), bytes({}));
    apply(instrument, "clear-faults");
    EXPECT_EQ(send(instrument, {61}), bytes({61}));
}
