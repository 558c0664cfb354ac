// Faults that spoil what a read answers: short answers and a wrong check
// byte on the settings image, for the next reads or every read.

#include "InstrumentDriver.h"

#include <gtest/gtest.h>

using namespace orvane::sim;
using namespace orvane::sim::test;

namespace {

class InstrumentReadFaults : public ::testing::Test
{
protected:
    void SetUp() override { connect(instrument); }

    std::vector<uint8_t> read(int code, int count, int address = 0)
    {
        return send(instrument, {61, code, count == 256 ? 0 : count, address >> 8, address & 0xFF});
    }
    std::vector<uint8_t> settings() { return read(0, 256); }

    Instrument instrument;
};

} // namespace

TEST_F(InstrumentReadFaults, ShortReadsAnswerExactlyTheFirstKBytes)
{
    struct Case
    {
        int keep;
        int code;
        int count;
        size_t answered;
    };
    const Case cases[] = {
        {5, 0, 16, 5},
        {5, 2, 256, 5},
        {5, 7, 6, 5},
        {5, 8, 5, 5}, // not cut: only 5 asked
        {5, 253, 3, 3},
        {0, 2, 1, 0},
        {255, 2, 256, 255},
    };
    for (const Case &c : cases) {
        const auto whole = read(c.code, c.count, 4096);
        instrument.faults().shortReadBytes = c.keep;
        const auto answer = read(c.code, c.count, 4096);
        instrument.faults().shortReadBytes.reset();
        EXPECT_EQ(answer.size(), c.answered) << "keep " << c.keep << ", command " << c.code;
        EXPECT_TRUE(std::equal(answer.begin(), answer.end(), whole.begin()))
            << "the first bytes are the right ones";
        EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4})) << "the link stays in step";
    }
    // Only memory reads: the identity and versions are answered whole.
    instrument.faults().shortReadBytes = 1;
    EXPECT_EQ(send(instrument, {61, 5, 5, 5, 5}).size(), 6u);
    EXPECT_EQ(send(instrument, {61, 14, 0, 0, 0}).size(), 6u);
    EXPECT_EQ(read(2, 3).size(), 1u) << "every read, by default";
    EXPECT_EQ(read(2, 3).size(), 1u);
}

TEST_F(InstrumentReadFaults, ShortReadsForTheNextNSpendOnlyReadsTheyCut)
{
    instrument.faults().shortReadBytes = 4;
    instrument.faults().shortReads = 2;
    EXPECT_EQ(read(2, 2).size(), 2u) << "a read it cannot cut does not count";
    EXPECT_EQ(read(2, 16).size(), 4u);
    EXPECT_EQ(instrument.frameLog().back(),
              "read EEPROM 16 @0; answered 4 of 16 bytes (short-reads fault)");
    EXPECT_EQ(read(7, 0).size(), 4u);
    EXPECT_EQ(read(2, 16).size(), 16u) << "two reads were cut";
    EXPECT_FALSE(instrument.faults().shortReadBytes) << "the knob clears when done";
}

TEST_F(InstrumentReadFaults, BadCheckByteSpoilsTheNextNOrEverySettingsRead)
{
    const uint8_t check = instrument.internalNvm()[0];
    const auto wrong = static_cast<uint8_t>(check ^ 0xFF);
    instrument.faults().badCheckByteReads = 2;
    EXPECT_EQ(read(0, 1), bytes({check})) << "a one-byte read is not the image";
    EXPECT_EQ(read(0, 256, 256).at(0), instrument.internalNvm()[256]) << "nor is the upper half";
    EXPECT_EQ(settings().at(0), wrong);
    const auto second = settings();
    EXPECT_EQ(second.at(0), wrong);
    EXPECT_TRUE(std::equal(second.begin() + 1, second.end(), instrument.internalNvm().begin() + 1))
        << "only the check byte is wrong";
    EXPECT_EQ(settings().at(0), check) << "two reads spoiled, the third is sound";

    instrument.faults().badCheckByteReads = kEveryTime;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(settings().at(0), wrong) << i;
    EXPECT_EQ(instrument.internalNvm()[0], check) << "the memory itself is sound";
}

TEST_F(InstrumentReadFaults, FirstReadFaultAndCountedFaultAddUp)
{
    // The one-shot option keeps its meaning: the first read after power-up;
    // a count of one more spoils the read after it.
    const uint8_t check = instrument.internalNvm()[0];
    instrument.faults().corruptFirstNvmRead = true;
    instrument.faults().badCheckByteReads = 1;
    EXPECT_NE(settings().at(0), check);
    EXPECT_NE(settings().at(0), check);
    EXPECT_EQ(settings().at(0), check);
    // A short read of the image still carries the spoiled check byte.
    instrument.faults().badCheckByteReads = 1;
    instrument.faults().shortReadBytes = 1;
    EXPECT_EQ(settings(), bytes({static_cast<uint8_t>(check ^ 0xFF)}));
}
