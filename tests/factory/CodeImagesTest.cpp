#include "FactoryToolTest.h"

#include "factory/CodeFile.h"
#include "factory/CodeImages.h"

namespace orvane::test {
namespace {

using CodeImagesTest = FactoryToolTest;

CodeSectors pattern(int sectors)
{
    CodeSectors code;
    for (int i = 0; i < sectors * 64; ++i)
        code.bytes.push_back(uint8_t(i * 7 + 3));
    return code;
}

TEST_F(CodeImagesTest, HexFileBecomesTheCodFileOfItsFlashWindow)
{
    folder.write("CODE.HEX", fixture("CODE.HEX"));
    answer({}, 0, {folder.file("CODE.HEX"), folder.file("OUT.COD")});
    const FactoryResult result = convertHexToCode(services);
    ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
    EXPECT_EQ(folder.read("OUT.COD"), fixture("CODE.COD"));
    const auto &calls = fake.dialogs.calls;
    const auto open = std::find_if(calls.begin(), calls.end(), [](const DialogCall &c) {
        return c.kind == DialogCall::Kind::OpenFile;
    });
    ASSERT_NE(open, calls.end());
    EXPECT_EQ(open->title, "Read code at location 7182 from HEX file: ");
    EXPECT_EQ(open->text, "Files (*.HEX)| *.HEX");
    EXPECT_EQ((open + 1)->title, "Save code to .COD file: ");
    EXPECT_TRUE(fake.port.written.empty());
}

TEST_F(CodeImagesTest, BadHexFilesWriteNoCodFile)
{
    const struct
    {
        const char *text;
        const char *reason;
    } cases[] = {
        {":02000000AABB00\r\n:021C0000aa0000\r\n:00000001FF\r\n",
         "BAD.HEX, line 2: character 10 ('a') of the data byte 1"},
        {":021C0000AABB00\r\n", "BAD.HEX, line 2: the file ends without an end record"},
        {":0200000012340000\r\n:00000001FF\r\n", "BAD.HEX: no record holds code"},
        {"021C0000AABB00\r\n", "BAD.HEX, line 1: a record must begin with ':'"},
    };
    for (const auto &c : cases) {
        folder.write("BAD.HEX", c.text);
        fake.dialogs.fileAnswers = {folder.file("BAD.HEX"), folder.file("OUT.COD")};
        const FactoryResult result = convertHexToCode(services);
        EXPECT_NE(result.error().find(c.reason), std::string::npos) << result.error();
        EXPECT_EQ(fake.dialogs.fileAnswers.size(), 1u) << "no .COD file is asked for";
        EXPECT_FALSE(folder.read("OUT.COD"));
    }
    fake.dialogs.fileAnswers = {folder.file("NONE.HEX")};
    EXPECT_NE(convertHexToCode(services).error().find("NONE.HEX cannot be read from"),
              std::string::npos);
}

TEST_F(CodeImagesTest, CodFileIsStoredSectorBySectorWithinTheModuleArea)
{
    const CodeSectors code = pattern(16);
    folder.write("M.COD", codeFileText(code, 7168, CodeFileOrigin::HexConversion));
    connectFirst();
    answer({"16384"}, 1, {folder.file("M.COD")});
    const FactoryResult result = storeCodeFile(services);
    ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
    EXPECT_TRUE(std::equal(code.bytes.begin(), code.bytes.end(), eeprom().begin() + 16384));
    EXPECT_EQ(written().size(), 16u * (5 + 64));
    for (int b = 0; b < 16; ++b) {
        const int address = 16384 + 64 * b;
        EXPECT_EQ(find({61, 3, 64, uint8_t(address / 256), uint8_t(address % 256)}), size_t(b * 69))
            << b;
    }
    EXPECT_EQ(view.report.substr(0, 27), "Writing Sector 1 to 16384\r\n");
    EXPECT_EQ(view.report.substr(view.report.size() - 36),
              "Writing Sector 16 to 17344\r\n\r\nDone\r\n");
    EXPECT_EQ(view.progress.back(), std::make_pair(16, 16));
    EXPECT_FALSE(view.progressShown);
    EXPECT_EQ(fake.dialogs.messages().at(0).title,
              "Upload ROM code from File to Orvane 24C512 EEPROM");
    EXPECT_EQ(fake.dialogs.inputs().at(0).text,
              "Enter 24C512 address to save to (16,384 to 32,767)");
}

TEST_F(CodeImagesTest, StoreRefusesBadAddressesAndShortFilesBeforeSending)
{
    folder.write("M16.COD", codeFileText(pattern(16), 7168, CodeFileOrigin::HexConversion));
    std::string shortFile = codeFileText(pattern(2), 7168, CodeFileOrigin::FlashRead);
    shortFile.erase(shortFile.rfind("\r\n", shortFile.size() - 3) + 2); // the last line is gone
    folder.write("SHORT.COD", shortFile);
    const struct
    {
        const char *file;
        const char *address;
        const char *reason;
        MessageIcon icon;
    } cases[] = {
        {"M16.COD", "32000", "Error - bad 24C512 address", MessageIcon::Critical},
        {"M16.COD", "16383", "Error - bad 24C512 address", MessageIcon::Critical},
        {"SHORT.COD", "16384", "SHORT.COD, line 129: the file ends", MessageIcon::Warning},
    };
    for (const auto &c : cases) {
        fake.dialogs.calls.clear();
        fake.dialogs.inputAnswers.clear();
        answer({c.address}, 1, {folder.file(c.file)});
        const FactoryResult result = storeCodeFile(services);
        EXPECT_NE(result.error().find(c.reason), std::string::npos) << result.error();
        ASSERT_EQ(notices().size(), 1u);
        EXPECT_EQ(notices()[0].icon, c.icon);
    }
    EXPECT_EQ(fake.dialogs.inputAnswers.size(), 1u) << "a bad file is refused before the address";
    fake.dialogs.inputAnswers.clear();
    answer({""}, 1, {folder.file("M16.COD")});
    EXPECT_EQ(outcomeOf(storeCodeFile(services)), FactoryOutcome::Cancelled);
    EXPECT_TRUE(fake.port.written.empty());
}

TEST_F(CodeImagesTest, FlashIsReadIntoACodFileOnlyWhenEverySectorCameBackWhole)
{
    auto &flash = instrument().flash();
    for (int i = 0; i < 128; ++i)
        flash[size_t(7168 + i)] = uint8_t(255 - i);
    connectFirst();
    answer({"", "2"}, 0, {folder.file("FLASH.COD")});
    FactoryResult result = readFlashToCode(services);
    ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
    CodeSectors expected;
    expected.bytes.assign(flash.begin() + 7168, flash.begin() + 7168 + 128);
    EXPECT_EQ(folder.read("FLASH.COD"), codeFileText(expected, 7168, CodeFileOrigin::FlashRead));
    EXPECT_EQ(written(), (std::vector<uint8_t>{61, 253, 64, 28, 0, 61, 253, 64, 28, 64}));
    EXPECT_NEAR(writtenAt(5) - writtenAt(4), 0.05 + 1.0, 1e-9);
    EXPECT_EQ(view.report.substr(0, 14), " 0     191\r\n 1") << "the second sector";
    EXPECT_EQ(fake.dialogs.inputs().at(0).title, "Flash ROM location to read from or 7,168");

    // A sector that comes back short leaves the file as it was.
    folder.write("OLD.COD", "kept");
    instrument().faults().shortReadBytes = 40;
    answer({"8000", "1"}, 0, {folder.file("OLD.COD")});
    result = readFlashToCode(services);
    EXPECT_NE(result.error().find("Only 40 of 64 bytes came back from the Orvane while reading "
                                  "flash ROM sector 1 at 8000."),
              std::string::npos)
        << result.error();
    EXPECT_EQ(folder.read("OLD.COD"), "kept");

    const std::pair<std::vector<std::string>, const char *> refused[] = {
        {{"32768"}, "must be 0 to 32767"},
        {{"", "17"}, "must be 1 to 16"},
        {{"32704", "2"}, "must be 1 to 1"},
        {{"", "0"}, "must be 1 to 16"},
    };
    for (const auto &[answers, reason] : refused) {
        written0 = fake.port.written.size();
        answer(answers, 0);
        result = readFlashToCode(services);
        EXPECT_NE(result.error().find(reason), std::string::npos) << result.error();
        EXPECT_TRUE(written().empty());
    }
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

TEST_F(CodeImagesTest, CopyToFlashSendsAtMostEightSectorsAndNeverPastTheTop)
{
    for (int i = 0; i < 512; ++i)
        eeprom()[size_t(16384 + i)] = uint8_t(i / 3);
    connectFirst();
    const struct
    {
        const char *address;
        const char *count;
        std::vector<uint8_t> frame;
    } cases[] = {
        {"16384", "12", {61, 252, 8, 64, 0}},
        {"&H4000", "0", {61, 252, 1, 64, 0}},
        {"65472", "1", {61, 252, 1, 255, 192}},
    };
    for (const auto &c : cases) {
        written0 = fake.port.written.size();
        state.document.image.IntNvm[8] = 9;
        state.document.changed = false;
        answer({c.address, c.count});
        const FactoryResult result = copyCodeToFlash(services);
        ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
        EXPECT_EQ(written(), c.frame);
        EXPECT_NEAR(now() - writtenAt(4), 0.05 + 1.0, 1e-9);
        EXPECT_EQ(state.document.image.IntNvm[8], 0);
        EXPECT_TRUE(state.document.changed);
    }
    EXPECT_EQ(view.imageChanges, 3);
    const auto &flash = instrument().flash();
    EXPECT_EQ(flash[7168 + 64], eeprom()[16384 + 64]) << "the first copy took 8 sectors";
    EXPECT_EQ(fake.dialogs.inputs().at(1).title, "Copy how many 64 byte Sectors from 24C512 NVM?");

    written0 = fake.port.written.size();
    const std::pair<std::vector<std::string>, const char *> refused[] = {
        {{"65500", "1"}, "1 sector from 24C512 address 65500 would run past its top, 65535."},
        {{"65536"}, "must be 0 to 65535"},
        {{"16384", "-1"}, "must be 0 to 65535"},
        {{""}, nullptr},
    };
    for (const auto &[answers, reason] : refused) {
        answer(answers);
        const FactoryResult result = copyCodeToFlash(services);
        if (reason)
            EXPECT_NE(result.error().find(reason), std::string::npos) << result.error();
        else
            EXPECT_EQ(outcomeOf(result), FactoryOutcome::Cancelled);
    }
    EXPECT_TRUE(written().empty());
}

} // namespace
} // namespace orvane::test
