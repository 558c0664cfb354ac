#include "InstrumentDriver.h"

#include <gtest/gtest.h>

using namespace orvane::sim;
using namespace orvane::sim::test;

namespace {

class InstrumentMemory : public ::testing::Test
{
protected:
    void SetUp() override { connect(instrument); }
    Instrument instrument;
};

} // namespace

TEST_F(InstrumentMemory, FactoryImageIsPlausible)
{
    EXPECT_EQ(instrument.internalNvm()[0], settingsXor(instrument));
    EXPECT_EQ(instrument.eeprom()[7232], 1) << "product code Orvane";
    for (int c = 1; c <= 16; ++c) {
        const size_t base = 4096 + 128 * (c - 1);
        uint8_t x = 0;
        for (size_t i = 1; i < 128; ++i)
            x ^= instrument.eeprom()[base + i];
        EXPECT_EQ(instrument.eeprom()[base], x) << "configuration " << c;
    }
    // Every sender curve spans the 10-bit input scale.
    const size_t curve6 = 12288 + 128 * 5;
    EXPECT_EQ(instrument.eeprom()[curve6], 0);
    EXPECT_EQ(instrument.eeprom()[curve6 + 1], 0);
    EXPECT_EQ(instrument.eeprom()[curve6 + 124], 3);
    EXPECT_EQ(instrument.eeprom()[curve6 + 125], 255);
}

TEST_F(InstrumentMemory, ReadsAnswerCountBytesOfEachMemory)
{
    instrument.internalNvm()[300] = 0xA1;
    instrument.eeprom()[65535] = 0xA2;
    instrument.iram()[35] = 0xA3;
    instrument.xram()[1000] = 0xA4;
    instrument.flash()[7170] = 0xA5;
    EXPECT_EQ(send(instrument, {61, 0, 1, 1, 44}), bytes({0xA1})) << "internal NVM @300";
    EXPECT_EQ(send(instrument, {61, 2, 1, 255, 255}), bytes({0xA2})) << "EEPROM @65535";
    EXPECT_EQ(send(instrument, {61, 7, 4, 0, 32}).at(3), 0xA3) << "IRAM @32..35";
    EXPECT_EQ(send(instrument, {61, 8, 1, 3, 232}), bytes({0xA4})) << "XRAM @1000";
    EXPECT_EQ(send(instrument, {61, 253, 3, 28, 0}).at(2), 0xA5) << "flash @7168..7170";
}

TEST_F(InstrumentMemory, CountZeroMeansTwoHundredFiftySix)
{
    const auto nvm = send(instrument, {61, 0, 0, 0, 0});
    ASSERT_EQ(nvm.size(), 256u);
    EXPECT_TRUE(std::equal(nvm.begin(), nvm.end(), instrument.internalNvm().begin()));
    EXPECT_EQ(send(instrument, {61, 2, 0, 255, 0}).size(), 256u);
    EXPECT_EQ(send(instrument, {61, 253, 0, 0, 0}).size(), 256u);

    std::vector<int> write = {61, 3, 0, 0x40, 0};
    for (int i = 0; i < 256; ++i)
        write.push_back(i);
    EXPECT_EQ(send(instrument, write).size(), 256u) << "one echo per data byte";
    EXPECT_EQ(instrument.eeprom()[0x4000 + 255], 255);
    EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4})) << "frame ended after 256 bytes";
}

TEST_F(InstrumentMemory, WritesStoreAndEchoEachDataByte)
{
    // A data byte that looks like "=" or "#" is data, not link control.
    EXPECT_EQ(send(instrument, {61, 3, 4, 16, 0, 61, 35, 0, 255}), bytes({61, 35, 0, 255}));
    EXPECT_EQ(instrument.eeprom()[4096], 61);
    EXPECT_EQ(instrument.eeprom()[4099], 255);
    EXPECT_EQ(send(instrument, {61, 1, 2, 0, 10}), bytes({})) << "the frame itself is not echoed";
    EXPECT_EQ(send(instrument, {0}), bytes({0}));
    EXPECT_EQ(send(instrument, {9}), bytes({9}));
    EXPECT_EQ(instrument.internalNvm()[10], 0);
    EXPECT_EQ(instrument.internalNvm()[11], 9);
    EXPECT_EQ(send(instrument, {61, 0, 2, 0, 10}), bytes({0, 9}));
}

TEST_F(InstrumentMemory, AddressesBeyondAMemoryReadErasedAndIgnoreWrites)
{
    EXPECT_EQ(send(instrument, {61, 0, 2, 1, 255, 61, 0, 1, 2, 0}), bytes({255, 255, 255}))
        << "internal NVM ends at 511";
    EXPECT_EQ(send(instrument, {61, 1, 1, 2, 0, 77}), bytes({77})) << "still echoed";
    EXPECT_EQ(send(instrument, {61, 0, 1, 2, 0}), bytes({255}));
    // The EEPROM's address counter wraps at 65536.
    instrument.eeprom()[0] = 0x11;
    EXPECT_EQ(send(instrument, {61, 2, 2, 255, 255}).at(1), 0x11);
}

TEST_F(InstrumentMemory, IdentityAndVersionsComeFromTheMemories)
{
    instrument.setSerial(12, 5, 30, 7);
    instrument.setFirmwareVersion(41);
    instrument.setHardwareVersions({6, {1, 2, 3, 4}});
    EXPECT_EQ(instrument.internalNvm()[0], settingsXor(instrument))
        << "setters keep the check byte";
    EXPECT_EQ(send(instrument, {61, 5, 5, 5, 5}), bytes({12, 5, 30, 7, 41, 6}));
    EXPECT_EQ(send(instrument, {61, 14, 0, 0, 0}), bytes({41, 6, 1, 2, 3, 4}));
    // A write over the serial bytes changes what the identity says.
    send(instrument, {61, 1, 1, 0, 15, 9});
    EXPECT_EQ(send(instrument, {61, 5, 5, 5, 5}).at(3), 9);
    EXPECT_EQ(send(instrument, {61, 0, 1, 0, 94}), bytes({41}));
}

TEST_F(InstrumentMemory, ProductCodeLivesInTheEeprom)
{
    instrument.setProductCode(2);
    EXPECT_EQ(send(instrument, {61, 2, 1, 28, 64}), bytes({2}));
    send(instrument, {61, 3, 1, 28, 64, 3});
    EXPECT_EQ(send(instrument, {61, 2, 1, 28, 64}), bytes({3}));
}

TEST_F(InstrumentMemory, ClockAndExchangeMarkAreKeptWithoutAnswer)
{
    EXPECT_EQ(send(instrument, {61, 12, 0, 14, 5}), bytes({}));
    EXPECT_TRUE(instrument.clock().set);
    EXPECT_EQ(instrument.clock().hours, 14);
    EXPECT_EQ(instrument.clock().minutes, 5);
    EXPECT_EQ(send(instrument, {61, 13, 1, 229, 5, 123}), bytes({})) << "no echo of the mark";
    EXPECT_EQ(instrument.exchangeMark(), 123);
    EXPECT_EQ(send(instrument, {61, 13, 1, 229, 5, 0}), bytes({}));
    EXPECT_EQ(instrument.exchangeMark(), 0);
    EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4})) << "the mark took one byte";
}

TEST_F(InstrumentMemory, CopyToFlashTakesSectorsFromTheEeprom)
{
    for (int i = 0; i < 1024; ++i)
        instrument.eeprom()[static_cast<size_t>(16384 + i)] = static_cast<uint8_t>(i * 7);
    const uint8_t beyond = instrument.flash()[8192];
    EXPECT_EQ(send(instrument, {61, 252, 2, 64, 0}), bytes({}));
    EXPECT_EQ(instrument.flash()[7168 + 127], static_cast<uint8_t>(127 * 7));
    EXPECT_EQ(instrument.flash()[7168 + 128], 255) << "only two sectors";
    // More sectors than the code window holds stop at its end.
    send(instrument, {61, 252, 40, 64, 0});
    EXPECT_EQ(instrument.flash()[8191], static_cast<uint8_t>(1023 * 7));
    EXPECT_EQ(instrument.flash()[8192], beyond);
}

TEST_F(InstrumentMemory, FrameLogHasOneLinePerFrame)
{
    send(instrument, {61, 0, 0, 0, 0});
    send(instrument, {61, 3, 128, 16, 0});
    send(instrument, std::vector<int>(128, 1));
    send(instrument, {61, 2, 1, 28, 64, 61, 12, 0, 9, 7, 61, 251, 0, 0, 0});
    const std::vector<std::string> expected = {"read internal NVM 256 @0",
                                               "write EEPROM 128 @4096",
                                               "read EEPROM 1 @7232",
                                               "set clock 9:07",
                                               "soft reset: idle"};
    const auto log = instrument.takeFrameLog();
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(log.end() - 5, log.end()), expected);
    EXPECT_TRUE(instrument.frameLog().empty());
}

// Fault knobs.

TEST_F(InstrumentMemory, BlankIdentityReadsAllOnes)
{
    instrument.faults().blankIdentity = true;
    const auto identity = send(instrument, {61, 5, 5, 5, 5});
    ASSERT_EQ(identity.size(), 6u);
    EXPECT_EQ(std::vector<uint8_t>(identity.begin(), identity.begin() + 4),
              bytes({255, 255, 255, 255}));
}

TEST_F(InstrumentMemory, CorruptFirstNvmReadSpoilsOnlyTheFirstWholeRead)
{
    instrument.faults().corruptFirstNvmRead = true;
    const uint8_t check = instrument.internalNvm()[0];
    EXPECT_EQ(send(instrument, {61, 0, 1, 0, 0}), bytes({check})) << "a one-byte read is not it";
    EXPECT_NE(send(instrument, {61, 0, 0, 0, 0}).at(0), check);
    EXPECT_EQ(send(instrument, {61, 0, 0, 0, 0}).at(0), check);
    EXPECT_EQ(instrument.internalNvm()[0], check) << "the memory itself is sound";
    instrument.powerCycle();
    connect(instrument);
    EXPECT_NE(send(instrument, {61, 0, 0, 0, 0}).at(0), check) << "armed again by a power cycle";
}

TEST_F(InstrumentMemory, EchoesStopAfterNDataBytesButDataIsStored)
{
    instrument.faults().echoesStopAfter = 3;
    EXPECT_EQ(send(instrument, {61, 3, 2, 0, 0, 1, 2}), bytes({1, 2}));
    EXPECT_EQ(send(instrument, {61, 3, 2, 0, 2, 3, 4}), bytes({3})) << "counted across frames";
    EXPECT_EQ(instrument.eeprom()[3], 4);
    EXPECT_EQ(send(instrument, {61, 2, 4, 0, 0}), bytes({1, 2, 3, 4})) << "reads still answered";
}

TEST_F(InstrumentMemory, EchoDelayAppliesToEchoesOnly)
{
    instrument.faults().echoDelaySeconds = 0.75;
    send(instrument, {61, 3, 1, 0, 0});
    const Answer echo = instrument.feed(42);
    EXPECT_EQ(echo.bytes, bytes({42}));
    EXPECT_DOUBLE_EQ(echo.delaySeconds, 0.75);
    send(instrument, {61, 2, 1, 0});
    EXPECT_DOUBLE_EQ(instrument.feed(0).delaySeconds, 0.0);
}
