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
    uint8_t settingsCheckByte() { return read(0, 256).at(0); }
    Instrument instrument;
};

} // namespace

TEST_F(InstrumentReadFaults, ShortReadsAnswerExactlyTheFirstKBytes)
{
    struct Case
    {
        int keep, code, count;
        size_t answered;
    };
    for (const Case c : {Case{5, 0, 16, 5},
                         Case{5, 2, 256, 5},
                         Case{5, 7, 6, 5},
                         Case{5, 8, 5, 5},
                         Case{5, 253, 3, 3},
                         Case{0, 2, 1, 0},
                         Case{255, 2, 256, 255}}) {
        const auto whole = read(c.code, c.count, 4096);
        instrument.faults().shortReadBytes = c.keep;
        const auto answer = read(c.code, c.count, 4096);
        instrument.faults().shortReadBytes.reset();
        EXPECT_EQ(answer, std::vector<uint8_t>(whole.begin(), whole.begin() + c.answered))
            << "keep " << c.keep << ", command " << c.code << ", count " << c.count;
        EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4})) << "the link stays in step";
    }
    // Every memory read, by default; the identity is not one.
    instrument.faults().shortReadBytes = 1;
    EXPECT_EQ(send(instrument, {61, 5, 5, 5, 5}).size(), 6u);
    EXPECT_EQ(read(2, 3).size(), 1u);
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
    EXPECT_EQ(read(7, 256).size(), 4u);
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
    EXPECT_EQ(settingsCheckByte(), wrong);
    const auto second = read(0, 256);
    EXPECT_EQ(second.at(0), wrong);
    EXPECT_TRUE(std::equal(second.begin() + 1, second.end(), instrument.internalNvm().begin() + 1));
    EXPECT_EQ(settingsCheckByte(), check) << "two reads spoiled, the third is sound";

    instrument.faults().badCheckByteReads = kEveryTime;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(settingsCheckByte(), wrong) << i;
    EXPECT_EQ(instrument.internalNvm()[0], check) << "the memory itself is sound";

    // The one-shot option keeps its meaning, the first read after power-up;
    // a count of one spoils the read after it.
    instrument.powerCycle();
    connect(instrument);
    instrument.faults().corruptFirstNvmRead = true;
    instrument.faults().badCheckByteReads = 1;
    EXPECT_EQ(settingsCheckByte(), wrong);
    EXPECT_EQ(settingsCheckByte(), wrong);
    EXPECT_EQ(settingsCheckByte(), check);
}
