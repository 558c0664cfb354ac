#include "FactoryFixtures.h"

#include "factory/CodeFile.h"
#include "factory/CodeModules.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

CodeSectors sectorsOf(int count)
{
    CodeSectors code;
    for (int i = 0; i < count * kSectorBytes; ++i)
        code.bytes.push_back(uint8_t(i * 13 + count));
    return code;
}

// A .COD text: the header line, then `bytes` data lines.
std::string codText(const std::string &header, int bytes)
{
    std::string text = header + "\r\n";
    for (int i = 0; i < bytes; ++i)
        text += " " + std::to_string(7168 + i) + "  ,  " + std::to_string(i % 256) + "\r\n";
    return text;
}

} // namespace

TEST(CodeFile, LinesArePrintedInFourteenColumnZonesWithCrLf)
{
    EXPECT_EQ(codeFileLine(8, ",Number of 64 byte Sectors"),
              " 8            ,Number of 64 byte Sectors");
    EXPECT_EQ(codeFileLine(7168, " 2 "), " 7168          2 ");

    CodeSectors one = sectorsOf(1);
    one.bytes[0] = 255;
    const std::string text = codeFileText(one, 9000, CodeFileOrigin::FlashRead);
    const std::string start = " 1            , Number of 64 byte Sectors\r\n"
                              " 9000          255 \r\n";
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_EQ(text.substr(text.size() - 20), " 9063          52 \r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 65);

    for (const auto origin : {CodeFileOrigin::HexConversion, CodeFileOrigin::FlashRead}) {
        const CodeSectors code = sectorsOf(16);
        EXPECT_EQ(readCodeFile(codeFileText(code, 7168, origin), "X.COD").value(), code);
    }
}

TEST(CodeFile, FieldsMayBeSpacedQuotedRoundedOrHexAndAddressesAreIgnored)
{
    const std::string text
        = "\xEF\xBB\xBF 1 , \"Sectors\"\n1,2.5\n\t0 ,  &HFF  \n" + codText("", 62).substr(2);
    const auto code = readCodeFile(text, "X.COD");
    ASSERT_TRUE(code.ok()) << code.error();
    EXPECT_EQ(code->bytes[0], 2);
    EXPECT_EQ(code->bytes[1], 255);
    EXPECT_EQ(code->bytes[2], 0);
}

TEST(CodeFile, BadFilesNameTheFileAndLine)
{
    const std::string three = codText(" 1 ,Sectors", 3);
    const struct
    {
        std::string text;
        const char *where;
        const char *reason;
    } cases[] = {
        {codText(" 0 ,Sectors", 64), "X.COD, line 1:", "is 0; it must be 1 to 16"},
        {codText(" 17 ,Sectors", 17 * 64), "X.COD, line 1:", "must be 1 to 16"},
        {codText("eight,Sectors", 64), "X.COD, line 1:", "(\"eight\") is not a number"},
        {codText(" 1 ", 64), "X.COD, line 1:", "2 fields expected, the line has 1"},
        {codText(" 1 ,Sectors", 63), "X.COD, line 65:", "the file ends before this line"},
        {codText(" 2 ,Sectors", 64), "X.COD, line 66:", "byte 65 of the 128"},
        {"", "X.COD, line 1:", "the file ends"},
        {three + "\r\n", "X.COD, line 5:", "2 fields expected, the line has 0"},
        {three + " 7171\r\n", "X.COD, line 5:", "2 fields expected, the line has 1"},
        {three + " 7171 256\r\n", "X.COD, line 5:", "field 2 is 256; it must be 0 to 255"},
        {three + " 7171 -1\r\n", "X.COD, line 5:", "0 to 255"},
        {three + " 7171 2 3\r\n", "X.COD, line 5:", "more than 2 fields"},
        {three + " 7171 0x1\r\n", "X.COD, line 5:", "(\"0x1\") is not a number"},
        {three + " addr 1\r\n", "X.COD, line 5:", "field 1 (\"addr\") is not a number"},
        {three + " 7171 ,\r\n", "X.COD, line 5:", "field 2 is empty"},
    };
    for (const auto &c : cases) {
        const auto code = readCodeFile(c.text, "X.COD");
        EXPECT_TRUE(test::failsWith(code.error(), c.where, c.reason)) << code.error();
    }
}

TEST(CodeModules, StoreSectorsGoToConsecutive64ByteBlocks)
{
    const CodeSectors code = sectorsOf(16);
    const auto blocks = codeStoreBlocks(code, 16384);
    ASSERT_EQ(blocks.size(), 16u);
    EXPECT_EQ(blocks[1].address, 16448);
    EXPECT_EQ(blocks.back().address, 17344);
    EXPECT_EQ(blocks.back().bytes, std::vector<uint8_t>(code.bytes.end() - 64, code.bytes.end()));
}

namespace {

// The module fixtures, with one file replaced or missing.
CodeModuleFileReader modulesWith(const std::string &name, std::optional<std::string> replaced)
{
    return [=](const std::string &fileName) -> Result<std::string> {
        const auto text = fileName == name ? replaced : test::readFixture("modules/" + fileName);
        if (!text)
            return failure("No such file or directory");
        return *text;
    };
}

} // namespace

TEST(CodeModules, AllTenAreCheckedToFitTheirSlotsBeforeAnythingIsStored)
{
    const auto modules = loadNewUnitCodeModules(modulesWith("", std::nullopt));
    ASSERT_TRUE(modules.ok()) << modules.error();
    ASSERT_EQ(modules->size(), 10u);
    EXPECT_EQ((*modules)[0].module.fileName, "CommandMode.COD");
    EXPECT_EQ((*modules)[0].module.address, 19072);
    EXPECT_EQ((*modules)[1].code.sectorCount(), 13); // IspSerialLoader fills its slot

    const auto flash = [](int sectors) {
        return codeFileText(sectorsOf(sectors), 7168, CodeFileOrigin::FlashRead);
    };
    const struct
    {
        const char *name;
        std::optional<std::string> text;
        const char *reason;
    } cases[] = {
        {"HiLoEditor.COD", std::nullopt, "HiLoEditor.COD: the code module cannot be read (No such"},
        {"IspSerialLoader.COD",
         flash(14),
         "14 sectors do not fit the 13 sectors between EEPROM 16384 and 17216"},
        {"ShoBackgroundAlarms.COD",
         flash(6),
         "do not fit the 5 sectors between EEPROM 18752 and 19072"},
        {"KeelOffsetEditor.COD",
         flash(9),
         "do not fit the 8 sectors between EEPROM 20096 and 20608"},
        {"DampingEditor.COD", codText(" 4 ,Sectors", 100), "DampingEditor.COD, line 102:"},
    };
    for (const auto &c : cases) {
        const auto result = loadNewUnitCodeModules(modulesWith(c.name, c.text));
        EXPECT_NE(result.error().find(c.reason), std::string::npos) << c.name << result.error();
    }
}
