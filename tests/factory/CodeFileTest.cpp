#include "FactoryFixtures.h"

#include "factory/CodeFile.h"
#include "factory/CodeModules.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

CodeSectors sectorsOf(int count, int seed)
{
    CodeSectors code;
    for (int i = 0; i < count * kSectorBytes; ++i)
        code.bytes.push_back(uint8_t(i * 13 + seed));
    return code;
}

// A .COD text with N in the header and `bytes` data lines.
std::string codText(const std::string &header, int bytes)
{
    std::string text = header + "\r\n";
    for (int i = 0; i < bytes; ++i)
        text += " " + std::to_string(7168 + i) + "  ,  " + std::to_string(i % 256) + "\r\n";
    return text;
}

} // namespace

TEST(CodeFile, LinesArePrintedInFourteenColumnZones)
{
    EXPECT_EQ(codeFileLine(8, ",Number of 64 byte Sectors"),
              " 8            ,Number of 64 byte Sectors");
    EXPECT_EQ(codeFileLine(16, ", Number of 64 byte Sectors"),
              " 16           , Number of 64 byte Sectors");
    EXPECT_EQ(codeFileLine(7168, " 2 "), " 7168          2 ");

    CodeSectors one = sectorsOf(1, 0);
    one.bytes[0] = 255;
    const std::string text = codeFileText(one, 9000, CodeFileOrigin::FlashRead);
    const std::string start = " 1            , Number of 64 byte Sectors\r\n"
                              " 9000          255 \r\n";
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_EQ(text.substr(text.size() - 20), " 9063          51 \r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 65);
}

TEST(CodeFile, WhatTheWriterWritesTheReaderReadsBack)
{
    for (const auto origin : {CodeFileOrigin::HexConversion, CodeFileOrigin::FlashRead}) {
        for (const int sectors : {1, 7, 16}) {
            const CodeSectors code = sectorsOf(sectors, sectors);
            const auto back = readCodeFile(codeFileText(code, 7168, origin), "X.COD");
            ASSERT_TRUE(back.ok()) << back.error();
            EXPECT_EQ(*back, code);
        }
    }
}

TEST(CodeFile, BadFilesNameTheFileAndLine)
{
    const struct
    {
        std::string text;
        const char *where;
        const char *reason;
    } cases[] = {
        {codText(" 0 ,Sectors", 64), "X.COD, line 1:", "must be 1 to 16"},
        {codText(" 17 ,Sectors", 17 * 64), "X.COD, line 1:", "must be 1 to 16"},
        {codText(" -1 ,Sectors", 64), "X.COD, line 1:", "must be 1 to 16"},
        {codText("eight,Sectors", 64), "X.COD, line 1:", "not a number"},
        {codText(" 1 ", 64), "X.COD, line 1:", "2 fields expected, the line has 1"},
        {codText(" 1 ,Sectors", 63), "X.COD, line 65:", "the file ends"},
        {codText(" 2 ,Sectors", 64), "X.COD, line 66:", "byte 65 of the 128"},
        {"", "X.COD, line 1:", "the file ends"},
        {codText(" 1 ,Sectors", 64).replace(20, 0, "\r\n"), "X.COD, line 2:", "2 fields expected"},
        {codText(" 1 ,Sectors", 3) + " 7171 256\r\n",
         "X.COD, line 5:",
         "is 256; it must be 0 to 255"},
        {codText(" 1 ,Sectors", 3) + " 7171 -1\r\n", "X.COD, line 5:", "0 to 255"},
        {codText(" 1 ,Sectors", 3) + " 7171 2 3\r\n", "X.COD, line 5:", "more than 2 fields"},
        {codText(" 1 ,Sectors", 3) + " 7171 0x1\r\n",
         "X.COD, line 5:",
         "(\"0x1\") is not a number"},
        {codText(" 1 ,Sectors", 3) + " addr 1\r\n", "X.COD, line 5:", "not a number"},
        {codText(" 1 ,Sectors", 3) + " 7171 ,\r\n", "X.COD, line 5:", "field 2 is empty"},
    };
    for (const auto &c : cases) {
        const auto code = readCodeFile(c.text, "X.COD");
        ASSERT_FALSE(code.ok()) << c.text.substr(0, 40);
        EXPECT_EQ(code.error().rfind(c.where, 0), 0u) << code.error();
        EXPECT_NE(code.error().find(c.reason), std::string::npos) << code.error();
    }
}

TEST(CodeFile, AddressesAreIgnoredAndFieldsMayBeSpacedOrQuoted)
{
    // Whatever the address fields say, bytes go in file order; a byte may be
    // written with a fraction (rounded, halves to even) or in &H form.
    const std::string text = " 1 , \"Sectors\"\n"
                             "1,2.5\n"
                             "\t0 ,  &HFF  \n"
                             + codText("", 62).substr(2);
    const auto code = readCodeFile(text, "X.COD");
    ASSERT_TRUE(code.ok()) << code.error();
    EXPECT_EQ(code->bytes[0], 2);
    EXPECT_EQ(code->bytes[1], 255);
    EXPECT_EQ(code->bytes[2], 0);
}

TEST(CodeStore, SectorsGoToConsecutive64ByteBlocks)
{
    const auto blocks = codeStoreBlocks(sectorsOf(16, 0), 16384);
    ASSERT_EQ(blocks.size(), 16u);
    EXPECT_EQ(blocks.front().address, 16384);
    EXPECT_EQ(blocks[1].address, 16448);
    EXPECT_EQ(blocks.back().address, 17344);
    EXPECT_EQ(blocks.back().bytes.size(), 64u);
    EXPECT_EQ(blocks.back().bytes[0], uint8_t(15 * 64 * 13));
}

TEST(CodeModules, SlotsEndAtTheNextModuleOrTheNvmBackup)
{
    const std::pair<const char *, int> slots[] = {
        {"IspSerialLoader.COD", 13 * 64},
        {"TimeAlarmsEditor.COD", 8 * 64},
        {"ShoBackgroundAlarms.COD", 5 * 64},
        {"CommandMode.COD", 8 * 64},
        {"KeelOffsetEditor.COD", 20608 - 20096},
    };
    for (const auto &[name, bytes] : slots) {
        const auto module = std::find_if(kNewUnitCodeModules.begin(),
                                         kNewUnitCodeModules.end(),
                                         [&](const CodeModule &m) { return m.fileName == name; });
        ASSERT_NE(module, kNewUnitCodeModules.end()) << name;
        EXPECT_EQ(codeModuleSlotBytes(*module), bytes) << name;
    }
}

namespace {

// Reads the modules from the fixtures, with one file replaced or missing.
CodeModuleFileReader modulesWith(const std::string &name, std::optional<std::string> replaced)
{
    return [=](const std::string &fileName, std::string *error) -> std::optional<std::string> {
        if (fileName == name) {
            if (!replaced)
                *error = "No such file or directory";
            return replaced;
        }
        return test::readFixture("modules/" + fileName);
    };
}

} // namespace

TEST(CodeModules, AllTenAreCheckedBeforeAnythingIsStored)
{
    const auto modules = loadNewUnitCodeModules(modulesWith("", std::nullopt));
    ASSERT_TRUE(modules.ok()) << modules.error();
    ASSERT_EQ(modules->size(), 10u);
    EXPECT_EQ((*modules)[0].module.fileName, "CommandMode.COD");
    EXPECT_EQ((*modules)[0].module.address, 19072);
    EXPECT_EQ((*modules)[1].code.sectorCount(), 13);
    EXPECT_EQ((*modules)[9].module.address, 20096);

    const struct
    {
        const char *name;
        std::optional<std::string> text;
        const char *reason;
    } cases[] = {
        {"HiLoEditor.COD", std::nullopt, "HiLoEditor.COD: the code module cannot be read (No such"},
        {"IspSerialLoader.COD",
         codeFileText(sectorsOf(14, 0), 7168, CodeFileOrigin::FlashRead),
         "IspSerialLoader.COD: 14 sectors do not fit the 13 sectors between EEPROM 16384 and "
         "17216"},
        {"KeelOffsetEditor.COD",
         codeFileText(sectorsOf(9, 0), 7168, CodeFileOrigin::FlashRead),
         "do not fit the 8 sectors between EEPROM 20096 and 20608"},
        {"DampingEditor.COD", codText(" 4 ,Sectors", 100), "DampingEditor.COD, line 102:"},
    };
    for (const auto &c : cases) {
        const auto result = loadNewUnitCodeModules(modulesWith(c.name, c.text));
        ASSERT_FALSE(result.ok()) << c.name;
        EXPECT_NE(result.error().find(c.reason), std::string::npos) << result.error();
    }
}
