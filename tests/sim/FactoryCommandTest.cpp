// The factory window's side of the instrument: dumps of every memory, what
// the two disconnects do to the RAM, ISP silence.

#include "InstrumentDriver.h"
#include "sim/StartupRam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
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

    // The bytes at address, address + 1, ... of a memory, the address taken
    // modulo its size.
    template<size_t N>
    static std::vector<uint8_t>
    wrapped(const std::array<uint8_t, N> &memory, int address, int count)
    {
        std::vector<uint8_t> bytes;
        for (int i = 0; i < count; ++i)
            bytes.push_back(memory[static_cast<size_t>(address + i) % N]);
        return bytes;
    }

    Instrument instrument;
};

bool allZero(std::span<const uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

} // namespace

TEST_F(InstrumentDumps, EachMemoryAnswersItsOwnBytes)
{
    struct Case
    {
        int code;
        int address;
        int count;
    };
    // Command codes of the five dumps, with the edges the factory window
    // can reach: count 256, address 300, the last block of each range.
    const Case cases[] = {
        {0, 0, 256},
        {0, 300, 16},
        {0, 256, 256},
        {2, 0, 256},
        {2, 7232, 1},
        {2, 65280, 256},
        {7, 0, 256},
        {7, 32, 4},
        {8, 0, 256},
        {8, 300, 64},
        {8, 32512, 256},
        {253, 0, 256},
        {253, 7168, 64},
        {253, 32512, 256},
    };
    for (const Case &c : cases) {
        const auto answer = dump(c.code, c.address, c.count);
        std::vector<uint8_t> expected;
        switch (c.code) {
        case 0:
            expected = wrapped(instrument.internalNvm(), c.address, c.count);
            break;
        case 2:
            expected = wrapped(instrument.eeprom(), c.address, c.count);
            break;
        case 7:
            expected = wrapped(instrument.iram(), c.address, c.count);
            break;
        case 8:
            expected = wrapped(instrument.xram(), c.address, c.count);
            break;
        default:
            expected = wrapped(instrument.flash(), c.address, c.count);
            break;
        }
        EXPECT_EQ(answer, expected)
            << "command " << c.code << " @" << c.address << " count " << c.count;
        EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4}))
            << "link in step after command " << c.code << " @" << c.address;
    }
}

TEST_F(InstrumentDumps, BeyondTheirSizeRamsRepeatAndNonVolatileMemoriesReadErased)
{
    // The IRAM pointer has eight bits: the dump prompt's addresses up to
    // 32767 land in the same 256 bytes, and a long dump wraps to 0.
    EXPECT_EQ(dump(7, 300, 16), wrapped(instrument.iram(), 44, 16));
    EXPECT_EQ(dump(7, 32767, 1), bytes({instrument.iram()[255]}));
    const auto fromTop = dump(7, 200, 256);
    EXPECT_EQ(fromTop.at(56), instrument.iram()[0]) << "256 bytes from 200 wrap at 255";
    EXPECT_EQ(fromTop.at(255), instrument.iram()[199]);
    // XRAM repeats above 32767 (raw frames only; the factory window stops there).
    EXPECT_EQ(dump(8, 32768 + 5, 3), wrapped(instrument.xram(), 5, 3));
    // The internal NVM and the flash end; what lies beyond reads erased.
    EXPECT_EQ(dump(0, 510, 4),
              bytes({instrument.internalNvm()[510], instrument.internalNvm()[511], 255, 255}));
    EXPECT_EQ(dump(253, 32767, 2), bytes({instrument.flash()[32767], 255}));
    const auto log = instrument.frameLog();
    EXPECT_NE(
        std::find(log.begin(),
                  log.end(),
                  "read IRAM 16 @300 (beyond the 256 bytes of IRAM: address taken modulo 256)"),
        log.end());
}

TEST_F(InstrumentDumps, PowerUpRamLooksLikeARunningFirmware)
{
    Instrument other;
    EXPECT_EQ(other.iram(), instrument.iram()) << "the same at every power-up";
    EXPECT_EQ(other.xram(), instrument.xram());
    EXPECT_FALSE(allZero(instrument.iram()));
    EXPECT_FALSE(allZero(std::span<const uint8_t>(instrument.xram()).first(2048)));

    // The firmware works on copies of what the non-volatile memories hold.
    const auto settings = dump(8, startup::kXramSettingsCopy, 256);
    EXPECT_EQ(settings, dump(0, 0, 256)) << "settings working copy";
    const int inUse = instrument.internalNvm()[6];
    EXPECT_EQ(dump(8, startup::kXramConfigurationInUse, 128),
              dump(2, 4096 + 128 * (inUse - 1), 128))
        << "display configuration " << inUse;
    const auto nmea = dump(8, startup::kXramNmeaBuffers + 256, 7);
    EXPECT_EQ(std::string(nmea.begin(), nmea.end()), "$SDDBT,") << "input 2 buffer";
    EXPECT_EQ(dump(7, startup::kIramCurrentConfiguration, 1), bytes({inUse}));
}

TEST_F(InstrumentDumps, PowerCycleStartsRamAfreshFromTheMemoriesAsTheyAreNow)
{
    send(instrument, {61, 1, 1, 0, 6, 3}); // configuration 3 in use
    instrument.iram()[0x90] = 0xEE;
    instrument.xram()[20000] = 0xEE;
    instrument.powerCycle();
    connect(instrument);
    EXPECT_EQ(dump(7, 0x90, 1), bytes({0})) << "IRAM started again";
    EXPECT_EQ(dump(8, 20000, 1), bytes({0}));
    EXPECT_EQ(dump(7, startup::kIramCurrentConfiguration, 1), bytes({3}));
    EXPECT_EQ(dump(8, startup::kXramConfigurationInUse, 128), dump(2, 4096 + 2 * 128, 128));
    EXPECT_EQ(dump(8, startup::kXramSettingsCopy + 6, 1), bytes({3}));
}

TEST_F(InstrumentDumps, ClearRamDisconnectZeroesBothRamsAndSoftResetKeepsThem)
{
    const auto iram = instrument.iram();
    const auto xram = instrument.xram();
    const auto nvm = instrument.internalNvm();
    const auto eeprom = instrument.eeprom();
    const auto flash = instrument.flash();

    EXPECT_EQ(send(instrument, {61, 251, 0, 0, 0}), bytes({}));
    EXPECT_FALSE(instrument.inCommandMode());
    EXPECT_EQ(instrument.iram(), iram) << "a soft reset keeps the RAM";
    EXPECT_EQ(instrument.xram(), xram);

    connect(instrument);
    EXPECT_EQ(send(instrument, {61, 255, 0, 0, 0}), bytes({}));
    EXPECT_FALSE(instrument.inCommandMode()) << "idle after the clear";
    EXPECT_EQ(instrument.frameLog().back(), "clear RAM and disconnect: IRAM and XRAM zeroed, idle");
    connect(instrument);
    EXPECT_TRUE(allZero(dump(7, 0, 256)));
    EXPECT_TRUE(allZero(dump(8, 0, 256)));
    EXPECT_TRUE(allZero(instrument.xram()));
    EXPECT_EQ(instrument.internalNvm(), nvm) << "non-volatile memories untouched";
    EXPECT_EQ(instrument.eeprom(), eeprom);
    EXPECT_EQ(instrument.flash(), flash);
}

TEST(InstrumentIsp, IgnoresEveryByteUntilPowerCycle)
{
    for (const int code : {9, 10}) {
        Instrument instrument;
        connect(instrument);
        EXPECT_EQ(send(instrument, {61, code, 0, 0, 0}), bytes({}));
        const auto iram = instrument.iram();
        // Every byte value, then whole frames, the handshake and both
        // disconnects: none is answered or acted on.
        std::vector<int> everything;
        for (int b = 0; b < 256; ++b)
            everything.push_back(b);
        for (const auto &more : {std::vector<int>{61, 4, 5, 5, 5},
                                 std::vector<int>{61, 35, 35, 35, 35, 35, 35, 35, 35},
                                 std::vector<int>{61, 1, 1, 0, 200, 9},
                                 std::vector<int>{63, 1, 1},
                                 std::vector<int>{61, 255, 0, 0, 0},
                                 std::vector<int>{61, 251, 0, 0, 0}})
            everything.insert(everything.end(), more.begin(), more.end());
        EXPECT_EQ(send(instrument, everything), bytes({})) << code;
        EXPECT_EQ(instrument.linkMode(), Instrument::LinkMode::Isp) << code;
        EXPECT_EQ(instrument.iram(), iram) << code << ": a 255 in ISP mode clears nothing";
        EXPECT_NE(instrument.internalNvm()[200], 9) << code << ": nor is a write taken";

        instrument.powerCycle("test");
        EXPECT_EQ(instrument.frameLog().back(), "power cycle (test): RAM restarted, link idle");
        connect(instrument);
        EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4})) << code;
    }
}
