#include "factory/DecimalPointsFile.h"

#include "factory/FieldReader.h"

#include <string>

namespace orvane {

namespace {

constexpr int kHeaderFields = 5;

} // namespace

Result<DecimalPointTable> readDecimalPoints(std::string_view text, std::string_view fileName)
{
    FieldFile file(text, fileName);
    if (auto header = skipTextLine(file, kHeaderFields, "the five header texts"); !header)
        return failure(header.error());

    DecimalPointTable table{};
    for (int k = 1; k <= kDecimalPointEntries; ++k) {
        // A number that is not used, the entry, and the rest of the line unread.
        auto line = file.next(2, true, "decimal-point entry " + std::to_string(k));
        if (!line)
            return failure(line.error());
        if (const auto unused = line->number(); !unused)
            return failure(unused.error());
        const auto entry = line->byte();
        if (!entry)
            return failure(entry.error());
        table[size_t(k - 1)] = *entry;
    }
    if (auto last = skipNumberLine(file, "the closing number"); !last)
        return failure(last.error());
    return table;
}

} // namespace orvane
