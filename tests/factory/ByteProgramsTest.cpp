#include "FactoryToolTest.h"

#include "factory/BytePrograms.h"

namespace orvane::test {
namespace {

using ByteProgramsTest = FactoryToolTest;

TEST_F(ByteProgramsTest, InternalNvmKeepsItsCheckByteOnlyWhereItCoversTheAddress)
{
    const struct
    {
        const char *address;
        const char *data;
        std::vector<uint8_t> frames;
        std::string report;
        uint8_t checkByteAfter;
    } cases[] = {
        // Old value 17, old check byte 200, new value 18: 18 ^ 17 ^ 200 = 203.
        {"5",
         "18",
         {61, 0, 1, 0, 5, 61, 0, 1, 0, 0, 61, 1, 1, 0, 5, 18, 61, 1, 1, 0, 0, 203, 61, 0, 1, 0, 5},
         "Old value at  5=   17\r\nOld checksum  5=   200\r\nNew data at  5=   18\r\n",
         203},
        // The present value again leaves the check byte as it was.
        {"5",
         "17",
         {61, 0, 1, 0, 5, 61, 0, 1, 0, 0, 61, 1, 1, 0, 5, 17, 61, 1, 1, 0, 0, 200, 61, 0, 1, 0, 5},
         "Old value at  5=   17\r\nOld checksum  5=   200\r\nNew data at  5=   17\r\n",
         200},
        // Beyond the settings: the byte alone, the check byte untouched.
        {"300",
         "9",
         {61, 0, 1, 1, 44, 61, 1, 1, 1, 44, 9, 61, 0, 1, 1, 44},
         "Old value at  300=   4\r\nNew data at  300=   9\r\n",
         200},
        // The check byte itself ends as the value written.
        {"&H0",
         "77",
         {61, 0, 1, 0, 0, 61, 1, 1, 0, 0, 77, 61, 0, 1, 0, 0},
         "Old value at  0=   200\r\nNew data at  0=   77\r\n",
         77},
    };
    connectFirst();
    for (const auto &c : cases) {
        nvm()[5] = 17;
        nvm()[0] = 200;
        nvm()[300] = 4;
        written0 = fake.port.written.size();
        answer({c.address, c.data}, 1);
        const FactoryResult result = programInternalNvmByte(services);
        ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
        EXPECT_EQ(written(), c.frames) << c.address << " " << c.data;
        EXPECT_EQ(view.report, c.report);
        EXPECT_EQ(nvm()[0], c.checkByteAfter) << c.address;
        // Every byte takes 0.05 s and every read or write then waits 0.2 s.
        const int exchanges = c.frames.size() > 16 ? 5 : 3;
        EXPECT_NEAR(now() - writtenAt(0), 0.05 * double(c.frames.size()) + 0.2 * exchanges, 1e-9);
    }
    const DialogCall question = fake.dialogs.messages().at(0);
    EXPECT_EQ(question.title, "Program a single byte in Internal NVM");
    EXPECT_EQ(question.text, "Are you sure?\r\nThis will overwrite a byte in the Internal NVM!");
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(fake.dialogs.inputs().at(0).title, "Get internal NVM address to program");
    EXPECT_EQ(fake.dialogs.inputs().at(1).text,
              "Enter value of data byte to program to internal NVM (0-255)");
    EXPECT_EQ(fake.dialogs.beeps(), int(std::size(cases)));
}

TEST_F(ByteProgramsTest, NoAnswerToTheOldValueStopsBeforeAnythingIsWritten)
{
    connectFirst();
    const auto before = nvm();
    instrument().faults().noAnswer = true;
    answer({"5", "18"}, 1);
    const FactoryResult result = programInternalNvmByte(services);
    EXPECT_EQ(result.error(),
              "No answer from the Orvane while reading internal NVM address 5. Nothing was "
              "written to the Orvane. Check the cable and the instrument's power, then try again.");
    EXPECT_EQ(find({61, 1}), std::string::npos);
    EXPECT_EQ(nvm(), before);
    EXPECT_EQ(view.connectedCaption, "Not connected to Orvane");
}

TEST_F(ByteProgramsTest, BadAnswersAndNoSendNothing)
{
    const struct
    {
        bool eeprom;
        bool yes;
        std::vector<std::string> answers;
        const char *reason; // nullptr: stopped without a message
    } cases[] = {
        {false, true, {"512"}, "The internal NVM address must be 0 to 511"},
        {false, true, {"-1"}, "0 to 511"},
        {false, true, {"5", "256"}, "The data byte must be 0 to 255; 256 was entered."},
        {false, true, {"5", "&HFF0"}, "0 to 255"},
        {false, true, {"5", ""}, nullptr},
        {false, false, {}, nullptr},
        {true, true, {"65536"}, "The 24C512 address must be 0 to 65535"},
        {true, true, {"7232", "x"}, "The data byte must be typed as a whole number"},
        {true, true, {""}, nullptr},
        {true, false, {}, nullptr},
    };
    for (const auto &c : cases) {
        fake.dialogs.calls.clear();
        answer(c.answers, c.yes ? 1 : 0);
        if (!c.yes)
            fake.dialogs.messageAnswers.push_back(MessageAnswer::No);
        const FactoryResult result
            = c.eeprom ? programEepromByte(services) : programInternalNvmByte(services);
        EXPECT_TRUE(fake.port.written.empty());
        if (c.reason) {
            EXPECT_NE(result.error().find(c.reason), std::string::npos) << result.error();
            EXPECT_EQ(notices().size(), 1u);
        } else {
            EXPECT_EQ(outcomeOf(result), FactoryOutcome::Cancelled);
            EXPECT_TRUE(notices().empty());
        }
    }
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

TEST_F(ByteProgramsTest, EepromByteIsMarkedWrittenAndReadBackByItself)
{
    connectFirst();
    eeprom()[7232] = 5;
    answer({"7232", "9"}, 1);
    FactoryResult result = programEepromByte(services);
    ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
    EXPECT_EQ(
        written(),
        (std::vector<uint8_t>{61, 13, 1, 229, 5, 123, 61, 3, 1, 28, 64, 9, 61, 2, 1, 28, 64}));
    EXPECT_EQ(eeprom()[7232], 9);
    EXPECT_EQ(view.report, " 7232     9\r\n");
    EXPECT_EQ(fake.dialogs.messages().at(0).text,
              "Are you sure?\r\nThis will overwrite a byte in the 24C512 NVM!");
    EXPECT_EQ(fake.dialogs.inputs().at(0).title, "Get 24C512 NVM ADdress to program");
    EXPECT_EQ(fake.dialogs.inputs().at(1).text, "Enter data byte to program to 24C512");

    // A write that does not take shows what the memory holds, not the
    // instrument's echo of the byte sent.
    eeprom()[100] = 7;
    std::function<void()> undoWrite = [&] {
        if (eeprom()[100] == 9) {
            eeprom()[100] = 7;
            return;
        }
        fake.scheduler.schedule(now() + 0.001, undoWrite);
    };
    fake.scheduler.schedule(now(), undoWrite);
    answer({"100", "9"}, 1);
    result = programEepromByte(services);
    ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
    EXPECT_EQ(view.report, " 100     7\r\n");
}

} // namespace
} // namespace orvane::test
