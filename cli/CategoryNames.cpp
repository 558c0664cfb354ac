#include "cli/CategoryNames.h"

namespace orvane::cli {

Result<Selection> parseCategories(std::string_view text, const Selection &allowed)
{
    Selection chosen{};
    if (text == "all")
        return allowed;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view word = text.substr(start, comma - start);
        size_t found = kCategoryNames.size();
        for (size_t i = 0; i < kCategoryNames.size(); ++i)
            if (kCategoryNames[i] == word)
                found = i;
        if (found == kCategoryNames.size())
            return failure("\"" + std::string(word)
                           + "\" is not a category. Categories: " + categoryList(allowed) + ".");
        if (allowed[found] != 1)
            return failure("\"" + std::string(word) + "\" cannot be chosen here. Categories: "
                           + categoryList(allowed) + ".");
        chosen[found] = 1;
        start = comma + 1;
    }
    return chosen;
}

std::string categoryList(const Selection &selection)
{
    std::string list;
    for (size_t i = 0; i < kCategoryNames.size(); ++i) {
        if (selection[i] != 1)
            continue;
        if (!list.empty())
            list += ", ";
        list += kCategoryNames[i];
    }
    return list;
}

} // namespace orvane::cli
