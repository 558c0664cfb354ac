#include "factory/NmeaTablesFile.h"

#include "factory/FieldReader.h"

#include <string>

namespace orvane {

namespace {

constexpr int kHeaderFields = 5;

// One record line: a number that is not used, then a code of which the first
// `length` characters are taken; the rest of the line is not read.
Result<std::string_view> readCode(FieldFile &file, int length, std::string_view table, int entry)
{
    const std::string what = std::string(table) + " entry " + std::to_string(entry);
    auto line = file.next(2, true, what);
    if (!line)
        return failure(line.error());
    if (const auto unused = line->number(); !unused)
        return failure(unused.error());
    const auto code = line->text();
    if (!code)
        return code;
    if (code->size() < size_t(length))
        return lineFailure(file.fileName(),
                           line->line(),
                           "the code \"" + std::string(*code) + "\" has fewer than "
                               + std::to_string(length) + " characters");
    return code->substr(0, size_t(length));
}

} // namespace

Result<NmeaTables> readNmeaTables(std::string_view text, std::string_view fileName)
{
    FieldFile file(text, fileName);
    if (auto header = skipTextLine(file, kHeaderFields, "the five header texts"); !header)
        return failure(header.error());

    NmeaTables tables;
    for (int k = 1; k <= kNmeaCodes; ++k) {
        const auto code = readCode(file, 2, "two-character code", k);
        if (!code)
            return failure(code.error());
        for (size_t i = 0; i < 2; ++i)
            tables.twoCharacter[size_t(2 * (k - 1)) + i] = uint8_t((*code)[i]);
    }
    for (int k = 1; k <= kNmeaCodes; ++k) {
        const auto code = readCode(file, 3, "three-character code", k);
        if (!code)
            return failure(code.error());
        for (size_t i = 0; i < 3; ++i)
            tables.threeCharacter[size_t(4 * (k - 1)) + i] = uint8_t((*code)[i]);
        tables.threeCharacter[size_t(4 * (k - 1)) + 3] = 0;
    }
    if (auto last = skipNumberLine(file, "the closing number"); !last)
        return failure(last.error());
    return tables;
}

} // namespace orvane
