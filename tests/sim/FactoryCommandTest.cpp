// The factory window's side of the instrument: dumps of every memory, what
// the two disconnects do to the RAM.

#include "InstrumentDriver.h"
#include "sim/StartupRam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace orvane::sim;
using namespace orvane::sim::test;

namespace {

class InstrumentDumps : public ::testing::Test
{
protected:
    void SetUp() override { connect(instrument); }
    std::vector<uint8_t> dump(int code, int address, int count)
    {
        return send(instrument, {61, code, count == 256 ? 0 : count, address >> 8, address & 0xFF});
    }
    Instrument instrument;
};

// The bytes of a memory from address on, the address taken modulo its size.
template<size_t N>
std::vector<uint8_t> at(const std::array<uint8_t, N> &memory, int address, int count)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(memory[static_cast<size_t>(address + i) % N]);
    return bytes;
}

template<size_t N>
bool allZero(const std::array<uint8_t, N> &memory)
{
    return std::all_of(memory.begin(), memory.end(), [](uint8_t b) { return b == 0; });
}

} // namespace

TEST_F(InstrumentDumps, EachMemoryAnswersItsOwnBytesAndRamRepeatsBeyondItsSize)
{
    const auto &nvm = instrument.internalNvm();
    EXPECT_EQ(dump(0, 256, 256), at(nvm, 256, 256));
    EXPECT_EQ(dump(0, 510, 4), bytes({nvm[510], nvm[511], 255, 255})) << "NVM ends at 511";
    EXPECT_EQ(dump(2, 65280, 256), at(instrument.eeprom(), 65280, 256));
    EXPECT_EQ(dump(2, 7232, 1), bytes({1}));
    EXPECT_EQ(dump(7, 0, 256), at(instrument.iram(), 0, 256));
    // The IRAM pointer has eight bits: the prompt's addresses up to 32767
    // land in the same 256 bytes, and a long dump wraps to 0.
    EXPECT_EQ(dump(7, 300, 16), at(instrument.iram(), 44, 16));
    EXPECT_EQ(dump(7, 200, 256), at(instrument.iram(), 200, 256));
    EXPECT_EQ(dump(8, 300, 64), at(instrument.xram(), 300, 64));
    EXPECT_EQ(dump(8, 32512, 256), at(instrument.xram(), 32512, 256));
    EXPECT_EQ(dump(8, 32768 + 5, 3), at(instrument.xram(), 5, 3)) << "bit 15 not decoded";
    EXPECT_EQ(dump(253, 7168, 64), at(instrument.flash(), 7168, 64));
    EXPECT_EQ(dump(253, 32767, 2), bytes({instrument.flash()[32767], 255})) << "flash ends";
    EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4})) << "the link stayed in step";
    const auto &log = instrument.frameLog();
    EXPECT_NE(
        std::find(log.begin(),
                  log.end(),
                  "read IRAM 16 @300 (beyond the 256 bytes of IRAM: address taken modulo 256)"),
        log.end());
}

TEST_F(InstrumentDumps, PowerUpRamIsTheFirmwaresWorkingDataFromTheMemoriesOfTheMoment)
{
    EXPECT_FALSE(allZero(instrument.iram()));
    EXPECT_EQ(Instrument().xram(), instrument.xram()) << "the same at every power-up";
    EXPECT_EQ(dump(8, startup::kXramSettingsCopy, 256), dump(0, 0, 256));
    const auto nmea = dump(8, startup::kXramNmeaBuffers + 256, 7);
    EXPECT_EQ(std::string(nmea.begin(), nmea.end()), "$SDDBT,") << "input 2 buffer";

    // Start-up copies what the memories hold when the power comes back.
    send(instrument, {61, 1, 1, 0, 6, 3}); // configuration 3 in use
    instrument.xram()[20000] = 0xEE;
    instrument.powerCycle();
    connect(instrument);
    EXPECT_EQ(dump(8, 20000, 1), bytes({0}));
    EXPECT_EQ(dump(7, startup::kIramCurrentConfiguration, 1), bytes({3}));
    EXPECT_EQ(dump(8, startup::kXramConfigurationInUse, 128), dump(2, 4096 + 2 * 128, 128));
    EXPECT_EQ(dump(8, startup::kXramSettingsCopy + 6, 1), bytes({3}));
}

TEST_F(InstrumentDumps, ClearRamDisconnectZeroesBothRamsAndSoftResetKeepsThem)
{
    const auto iram = instrument.iram();
    const auto xram = instrument.xram();
    const auto eeprom = instrument.eeprom();
    EXPECT_EQ(send(instrument, {61, 251, 0, 0, 0}), bytes({}));
    EXPECT_FALSE(instrument.inCommandMode());
    EXPECT_EQ(instrument.iram(), iram) << "a soft reset keeps the RAM";
    EXPECT_EQ(instrument.xram(), xram);

    connect(instrument);
    EXPECT_EQ(send(instrument, {61, 255, 0, 0, 0}), bytes({}));
    EXPECT_FALSE(instrument.inCommandMode());
    EXPECT_EQ(instrument.frameLog().back(), "clear RAM and disconnect: IRAM and XRAM zeroed, idle");
    connect(instrument);
    EXPECT_EQ(dump(7, 0, 256), std::vector<uint8_t>(256, 0));
    EXPECT_TRUE(allZero(instrument.xram()));
    EXPECT_EQ(instrument.eeprom(), eeprom) << "non-volatile memories untouched";
}
