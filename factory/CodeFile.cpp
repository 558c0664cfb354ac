#include "factory/CodeFile.h"

#include "config/NumberText.h"
#include "factory/FieldReader.h"
#include "platform/Check.h"

namespace orvane {

namespace {

// A comma in a print list moves on to the next 14-column print zone.
constexpr size_t kPrintZone = 14;

constexpr std::string_view kLineEnd = "\r\n";

} // namespace

std::string codeFileLine(long long number, std::string_view rest)
{
    std::string line = fileNumber(number);
    line.append(kPrintZone - line.size() % kPrintZone, ' ');
    line += rest;
    return line;
}

std::string codeFileText(const CodeSectors &code, uint16_t firstAddress, CodeFileOrigin origin)
{
    ORVANE_CHECK(code.bytes.size() % kSectorBytes == 0, return {});
    const std::string_view title = origin == CodeFileOrigin::HexConversion
                                       ? ",Number of 64 byte Sectors"
                                       : ", Number of 64 byte Sectors";
    std::string text = codeFileLine(code.sectorCount(), title);
    text += kLineEnd;
    for (size_t f = 0; f < code.bytes.size(); ++f) {
        text += codeFileLine(firstAddress + (long long)f, fileNumber(code.bytes[f]));
        text += kLineEnd;
    }
    return text;
}

Result<CodeSectors> readCodeFile(std::string_view text, std::string_view fileName)
{
    FieldFile file(text, fileName);
    auto header = file.next(2, false, "the sector count and its text");
    if (!header)
        return failure(header.error());
    const auto sectors = header->whole(1, kMaxCodeSectors);
    if (!sectors)
        return failure(sectors.error());
    if (const auto title = header->text(); !title)
        return failure(title.error());
    if (const auto end = header->end(); !end)
        return failure(end.error());

    CodeSectors code;
    const int count = int(*sectors) * kSectorBytes;
    code.bytes.reserve(size_t(count));
    for (int f = 1; f <= count; ++f) {
        auto line = file.next(2,
                              false,
                              "byte " + std::to_string(f) + " of the " + std::to_string(count)
                                  + " the header promises");
        if (!line)
            return failure(line.error());
        if (const auto address = line->number(); !address)
            return failure(address.error());
        const auto byte = line->byte();
        if (!byte)
            return failure(byte.error());
        if (const auto end = line->end(); !end)
            return failure(end.error());
        code.bytes.push_back(*byte);
    }
    return code;
}

} // namespace orvane
