#include "factory/IntelHex.h"

#include "factory/FieldReader.h"

#include <algorithm>
#include <array>
#include <string>

namespace orvane {

namespace {

constexpr int kWindowEnd = kCodeWindowStart + kCodeWindowBytes; // first address past it

// Characters of a record, numbered from 1 as the file's columns: ':' is 1,
// the count 2..3, the address 4..7, the type 8..9, data byte k at 2k+8..2k+9.
constexpr size_t kCountColumn = 2;
constexpr size_t kAddressColumn = 4;
constexpr size_t kFirstDataColumn = 10;

class RecordLine
{
public:
    RecordLine(std::string_view fileName, int line, std::string_view text)
        : m_fileName(fileName)
        , m_line(line)
        , m_text(text)
    {}

    // The value of the `digits` hexadecimal characters from `column` on.
    Result<int> hexAt(size_t column, int digits, std::string_view what) const
    {
        int value = 0;
        for (size_t c = column; c < column + size_t(digits); ++c) {
            if (c > m_text.size())
                return lineFailure(m_fileName,
                                   m_line,
                                   "the record is too short: it ends before the "
                                       + std::string(what) + " (character " + std::to_string(c)
                                       + ")");
            const char ch = m_text[c - 1];
            const auto digit = Hex2Dec(ch);
            if (!digit)
                return lineFailure(m_fileName,
                                   m_line,
                                   "character " + std::to_string(c) + " (" + describe(ch)
                                       + ") of the " + std::string(what)
                                       + " is not an upper-case hexadecimal digit (0-9, A-F)");
            value = value * 16 + *digit;
        }
        return value;
    }

private:
    static std::string describe(char c)
    {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 127)
            return std::string("'") + c + "'";
        return "code " + std::to_string(u);
    }

    std::string_view m_fileName;
    int m_line;
    std::string_view m_text;
};

} // namespace

std::optional<uint8_t> Hex2Dec(char c)
{
    if (c >= '0' && c <= '9')
        return uint8_t(c - '0');
    if (c >= 'A' && c <= 'F')
        return uint8_t(c - 'A' + 10);
    return std::nullopt;
}

Result<CodeSectors> readIntelHex(std::string_view text, std::string_view fileName)
{
    std::array<uint8_t, kCodeWindowBytes> image{};
    int highest = -1; // highest address stored, as an offset into the image
    const auto lines = splitLines(text);
    bool ended = false;
    for (size_t i = 0; i < lines.size() && !ended; ++i) {
        const int lineNumber = int(i) + 1;
        const std::string_view line = lines[i];
        if (line.empty() || line.front() != ':')
            return lineFailure(fileName, lineNumber, "a record must begin with ':'");
        const RecordLine record(fileName, lineNumber, line);
        const auto count = record.hexAt(kCountColumn, 2, "byte count");
        if (!count)
            return failure(count.error());
        if (*count == 0) {
            ended = true;
            break;
        }
        const auto start = record.hexAt(kAddressColumn, 4, "address");
        if (!start)
            return failure(start.error());
        // The running address moves only while inside the window, so a record
        // that begins below it adds nothing and one that runs past its end is
        // cut there.
        int address = *start;
        for (int k = 1; k <= *count; ++k) {
            const auto byte = record.hexAt(kFirstDataColumn + 2 * size_t(k - 1),
                                           2,
                                           "data byte " + std::to_string(k));
            if (!byte)
                return failure(byte.error());
            if (address >= kCodeWindowStart && address < kWindowEnd) {
                const int offset = address - kCodeWindowStart;
                image[size_t(offset)] = uint8_t(*byte);
                highest = std::max(highest, offset);
                ++address;
            }
        }
    }
    if (!ended)
        return lineFailure(fileName,
                           int(lines.size()) + 1,
                           "the file ends without an end record (a record of byte count 00)");
    if (highest < 0)
        return failure(std::string(fileName) + ": no record holds code for flash addresses "
                       + std::to_string(kCodeWindowStart) + " to "
                       + std::to_string(kWindowEnd - 1));

    const int sectors = (highest + kSectorBytes) / kSectorBytes;
    CodeSectors code;
    code.bytes.assign(image.begin(), image.begin() + sectors * kSectorBytes);
    return code;
}

} // namespace orvane
