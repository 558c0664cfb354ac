#include "InstrumentDriver.h"
#include "sim/AnswerSchedule.h"
#include "sim/SimCommandLine.h"

#include <gtest/gtest.h>

using namespace orvane::sim;

TEST(SimOptions, EveryOptionIsRead)
{
    const auto result = parseSimOptions({"--link",
                                         "/tmp/x/COM3",
                                         "--state=/tmp/s.bin",
                                         "--product-code",
                                         "2",
                                         "--serial",
                                         "120530007",
                                         "--no-answer",
                                         "--blank-identity",
                                         "--corrupt-first-nvm-read",
                                         "--echoes-stop-after",
                                         "0",
                                         "--echo-delay-ms=1500",
                                         "--quiet"});
    ASSERT_EQ(result.error, "");
    const SimOptions &o = result.options;
    EXPECT_EQ(o.linkPath, "/tmp/x/COM3");
    EXPECT_EQ(o.statePath, "/tmp/s.bin");
    EXPECT_EQ(o.productCode, 2);
    ASSERT_TRUE(o.serial);
    EXPECT_EQ(o.serial->year, 12);
    EXPECT_EQ(o.serial->month, 5);
    EXPECT_EQ(o.serial->day, 30);
    EXPECT_EQ(o.serial->unit, 7);
    EXPECT_TRUE(o.faults.noAnswer && o.faults.blankIdentity && o.faults.corruptFirstNvmRead
                && o.quiet);
    EXPECT_EQ(o.faults.echoesStopAfter, 0);
    EXPECT_DOUBLE_EQ(o.faults.echoDelaySeconds, 1.5);
}

TEST(SimOptions, BadCommandLinesAreRefusedWithAReason)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--product-code", "256"},
        {"--product-code", "-1"},
        {"--product-code"},
        {"--serial", "120530256"}, // unit above 255
        {"--serial", "1205300"},   // too short
        {"--serial", "12a530007"},
        {"--echoes-stop-after", "x"},
        {"--echoes-stop-after", "9999999999"}, // beyond a 32-bit long
        {"--echo-delay-ms", "700000"},
        {"--quiet=yes"},
        {"--link", ""},
        {"--frobnicate"},
        {"COM1"},
        {"--short-reads", "256"},
        {"--short-reads", "3", "--short-reads-next", "0"},
        {"--short-reads-next", "2"}, // nothing to count
        {"--bad-check-byte", "sometimes"},
        {"--bad-check-byte"},
        {"--control", ""},
    };
    for (const auto &arguments : bad) {
        EXPECT_NE(parseSimOptions(arguments).error, "") << arguments.front();
    }
    const auto shortForm = parseSerialNumber("70330001");
    ASSERT_TRUE(shortForm);
    EXPECT_EQ(shortForm->year, 7);
    EXPECT_EQ(shortForm->month, 3);
    EXPECT_EQ(shortForm->day, 30);
    EXPECT_EQ(shortForm->unit, 1);
}

TEST(SimOptions, FaultOptionsReachTheInstrument)
{
    const auto result = parseSimOptions({"--short-reads",
                                         "3",
                                         "--short-reads-next=1",
                                         "--bad-check-byte",
                                         "every",
                                         "--control",
                                         "/tmp/x/sim.ctl"});
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.options.controlPath, "/tmp/x/sim.ctl");
    Instrument instrument;
    applySimOptions(result.options, instrument);
    test::connect(instrument);
    std::vector<size_t> sizes;
    for (int i = 0; i < 2; ++i)
        sizes.push_back(test::send(instrument, {61, 2, 8, 16, 0}).size());
    EXPECT_EQ(sizes, (std::vector<size_t>{3, 8})) << "only the next read is short";
    EXPECT_EQ(instrument.faults().badCheckByteReads, kEveryTime);
}

TEST(AnswerSchedule, LateAnswersKeepLineOrder)
{
    AnswerSchedule schedule;
    schedule.add(10.0, {{1}, 0.5});
    schedule.add(10.1, {{2}, 0.0}); // may not overtake the late echo
    schedule.add(10.2, {{}, 0.0});  // nothing to send
    EXPECT_EQ(schedule.takeDue(10.2), std::vector<uint8_t>{});
    EXPECT_DOUBLE_EQ(*schedule.nextDue(), 10.5);
    EXPECT_EQ(schedule.takeDue(10.5), (std::vector<uint8_t>{1, 2}));
    EXPECT_FALSE(schedule.nextDue());
    schedule.add(11.0, {{3, 4}, 0.0});
    EXPECT_EQ(schedule.takeDue(11.0), (std::vector<uint8_t>{3, 4})) << "immediate answers";
}
