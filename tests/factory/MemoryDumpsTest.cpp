#include "FactoryToolTest.h"

#include "factory/MemoryDumps.h"

namespace orvane::test {
namespace {

using MemoryDumpsTest = FactoryToolTest;

int lineCount(const std::string &report)
{
    return int(std::count(report.begin(), report.end(), '\n'));
}

TEST_F(MemoryDumpsTest, EachDumpSendsItsFrameWaitsASecondAndListsEveryAddress)
{
    auto &iram = instrument().iram();
    iram[32] = 1, iram[33] = 0, iram[34] = 255, iram[35] = 17;
    connectFirst();

    const auto valueLine = [](int address, int value) {
        return " " + std::to_string(address) + "    " + " " + std::to_string(value) + "\r\n";
    };
    const struct
    {
        FactoryMemory memory;
        const char *address;
        const char *count;
        std::vector<uint8_t> frame;
        int first;
        int lines;
        std::function<uint8_t(int)> byteAt;
    } cases[] = {
        {FactoryMemory::Iram,
         "32",
         "4",
         {61, 7, 4, 0, 32},
         32,
         4,
         [&](int a) {
             return instrument().iram()[size_t(a % 256)];
         }},
        {FactoryMemory::Eeprom,
         "65280",
         "256",
         {61, 2, 0, 255, 0},
         65280,
         256,
         [&](int a) {
             return eeprom()[size_t(a)];
         }},
        {FactoryMemory::Xram,
         "300",
         "3",
         {61, 8, 3, 1, 44},
         300,
         3,
         [&](int a) {
             return instrument().xram()[size_t(a)];
         }},
        {FactoryMemory::InternalNvm,
         "&H12C",
         "16",
         {61, 0, 16, 1, 44},
         300,
         16,
         [&](int a) {
             return nvm()[size_t(a)];
         }},
        {FactoryMemory::Flash,
         " &O16000 ",
         "64",
         {61, 253, 64, 28, 0},
         7168,
         64,
         [&](int a) {
             return instrument().flash()[size_t(a)];
         }},
    };
    for (const auto &c : cases) {
        written0 = fake.port.written.size();
        answer({c.address, c.count});
        const FactoryResult result = dumpMemory(services, c.memory);
        ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << c.address << result.error();
        EXPECT_EQ(written(), c.frame) << c.address;
        EXPECT_NEAR(now() - writtenAt(4), 0.05 + 1.0, 1e-9) << "the last frame byte, then 1 s";
        ASSERT_EQ(lineCount(view.report), c.lines) << c.address;
        std::string expected;
        for (int a = c.first; a < c.first + c.lines; ++a)
            expected += valueLine(a, c.byteAt(a));
        EXPECT_EQ(view.report, expected) << c.address;
    }
    EXPECT_EQ(fake.dialogs.inputs().at(0).title, "Get Data from Internal RAM");
    EXPECT_EQ(fake.dialogs.inputs().at(0).text, "Enter Internal 89LPC9408 RAM Start Address");
    EXPECT_EQ(fake.dialogs.inputs().at(1).title, "How Many bytes from Internal RAM?");
    EXPECT_EQ(fake.dialogs.inputs().at(1).text, "Enter number of bytes to get/display (1-256)");
    EXPECT_EQ(fake.dialogs.unexpected, 0);
    EXPECT_TRUE(link.linkState().IsConnected) << "the factory window keeps its connection";
}

TEST_F(MemoryDumpsTest, BadOrMissingAnswersSendNothingAndLeaveTheReport)
{
    const struct
    {
        FactoryMemory memory;
        std::vector<std::string> answers;
        const char *reason; // nullptr: cancelled without a message
    } cases[] = {
        {FactoryMemory::Iram, {"32768"}, "must be 0 to 32767; 32768 was entered"},
        {FactoryMemory::Eeprom, {"65536"}, "must be 0 to 65535"},
        {FactoryMemory::Xram, {"-1"}, "must be 0 to 32767"},
        {FactoryMemory::Flash, {"1.5"}, "whole number"},
        {FactoryMemory::InternalNvm, {"12abc"}, "\"12abc\" is not one"},
        {FactoryMemory::Iram, {"0", "0"}, "The number of bytes must be 1 to 256"},
        {FactoryMemory::Iram, {"0", "257"}, "must be 1 to 256"},
        {FactoryMemory::Eeprom, {"65400", "256"}, "would run past the top of the 24C512, 65535"},
        {FactoryMemory::Flash, {"32767", "2"}, "past the top of the flash ROM, 32767"},
        {FactoryMemory::Iram, {""}, nullptr},
        {FactoryMemory::Xram, {"  "}, nullptr},
        {FactoryMemory::Eeprom, {"5", ""}, nullptr},
    };
    for (const auto &c : cases) {
        view.report = "kept";
        fake.dialogs.calls.clear();
        answer(c.answers);
        const FactoryResult result = dumpMemory(services, c.memory);
        EXPECT_TRUE(fake.port.written.empty()) << c.answers[0];
        EXPECT_EQ(view.report, "kept");
        if (!c.reason) {
            EXPECT_EQ(outcomeOf(result), FactoryOutcome::Cancelled);
            EXPECT_TRUE(notices().empty());
            continue;
        }
        EXPECT_NE(result.error().find(c.reason), std::string::npos) << result.error();
        ASSERT_EQ(notices().size(), 1u) << c.answers[0];
        EXPECT_EQ(notices()[0].text, result.error());
    }
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

TEST_F(MemoryDumpsTest, AShortAnswerListsOnlyTheBytesThatCame)
{
    connectFirst();
    instrument().faults().shortReadBytes = 10;
    answer({"0", "256"});
    const FactoryResult result = dumpMemory(services, FactoryMemory::Eeprom);
    EXPECT_NE(result.error().find("Only 10 of 256 bytes came back from the Orvane while reading "
                                  "256 bytes of the 24C512 from address 0."),
              std::string::npos)
        << result.error();
    EXPECT_EQ(result.error().find("Nothing was written"), std::string::npos)
        << "a dump writes none";
    EXPECT_EQ(lineCount(view.report), 10);
    EXPECT_EQ(notices().size(), 1u);
    EXPECT_FALSE(link.linkState().IsConnected) << "the next tool connects afresh";
}

} // namespace
} // namespace orvane::test
