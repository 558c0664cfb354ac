#include "sim/StateFile.h"
#include "InstrumentDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace orvane::sim;
using namespace orvane::sim::test;

namespace {

class InstrumentStateFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path()
                 / ("orvane-sim-state-"
                    + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
                    + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        path = (folder / "state.bin").string();
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::vector<char> fileBytes()
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void writeBytes(const std::vector<char> &bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    // An instrument changed through commands and directly, saved to the file.
    void saveChangedInstrument()
    {
        Instrument changed;
        connect(changed);
        send(changed, {61, 1, 1, 0, 200, 77, 61, 3, 1, 255, 255, 88, 61, 13, 1, 229, 5, 123});
        send(changed, {61, 12, 0, 23, 59});
        changed.iram()[255] = 5;
        changed.xram()[32767] = 6;
        changed.flash()[0] = 7;
        std::string error;
        ASSERT_TRUE(changed.saveState(path, &error)) << error;
    }

    std::filesystem::path folder;
    std::string path;
};

} // namespace

TEST_F(InstrumentStateFile, RoundTripKeepsEveryMemory)
{
    saveChangedInstrument();
    Instrument restored;
    connect(restored);
    std::string error;
    ASSERT_TRUE(restored.loadState(path, &error)) << error;
    EXPECT_EQ(restored.internalNvm()[200], 77);
    EXPECT_EQ(restored.eeprom()[65535], 88);
    EXPECT_EQ(restored.iram()[255], 5);
    EXPECT_EQ(restored.xram()[32767], 6);
    EXPECT_EQ(restored.flash()[0], 7);
    EXPECT_EQ(restored.exchangeMark(), 123);
    EXPECT_EQ(restored.clock().hours, 23);
    EXPECT_EQ(restored.clock().minutes, 59);
    EXPECT_FALSE(restored.inCommandMode()) << "loading is a power cycle";
}

TEST_F(InstrumentStateFile, DamagedFilesAreRefusedAndChangeNothing)
{
    saveChangedInstrument();
    const std::vector<char> good = fileBytes();
    struct Case
    {
        const char *what;
        std::vector<char> bytes;
        const char *reason;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}, "not an orvane-sim state file"});
    cases.push_back({"short", {good.begin(), good.begin() + 1000}, "truncated"});
    cases.push_back({"cut before the end", {good.begin(), good.end() - 3}, "truncated"});
    auto flipped = good;
    flipped[5000] ^= 1;
    cases.push_back({"one bit changed", flipped, "checksum"});
    auto otherMagic = good;
    otherMagic[0] = 'X';
    cases.push_back({"not ours", otherMagic, "not an orvane-sim state file"});
    auto hugeLength = good;
    hugeLength[24] = hugeLength[25] = hugeLength[26] = hugeLength[27] = static_cast<char>(0xFF);
    cases.push_back({"length beyond the file", hugeLength, "truncated"});
    auto trailing = good;
    trailing.push_back(0);
    cases.push_back({"data after the end", trailing, "after its end"});

    for (const Case &c : cases) {
        writeBytes(c.bytes);
        Instrument instrument;
        connect(instrument);
        const auto before = instrument.internalNvm();
        std::string error;
        EXPECT_FALSE(instrument.loadState(path, &error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(instrument.internalNvm(), before) << c.what;
        EXPECT_TRUE(instrument.inCommandMode()) << c.what << ": a refused file is no power cycle";
    }
}

TEST_F(InstrumentStateFile, SectionOfTheWrongSizeIsRefused)
{
    // A well-formed file whose NVM is too small.
    std::vector<StateSection> sections = {{"INVM", std::vector<uint8_t>(100, 0)}};
    const auto encoded = encodeState(sections);
    writeBytes(std::vector<char>(encoded.begin(), encoded.end()));
    Instrument instrument;
    std::string error;
    EXPECT_FALSE(instrument.loadState(path, &error));
    EXPECT_EQ(error, "state file section INVM holds 100 bytes, expected 512");
}

TEST_F(InstrumentStateFile, MissingFileAndUnwritableFolderGiveReasons)
{
    Instrument instrument;
    std::string error;
    EXPECT_FALSE(instrument.loadState((folder / "none.bin").string(), &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
    EXPECT_FALSE(instrument.saveState((folder / "no-such-dir" / "s.bin").string(), &error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
}
