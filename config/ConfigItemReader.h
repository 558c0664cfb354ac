#pragma once

#include <string_view>

namespace orvane {

// Splits configuration file text into items as the file is read back: an item
// ends at a comma or at the end of a line, blanks and tabs before it are
// skipped. Lines may end in CR LF (as written), LF or CR (hand-edited files).
class ConfigItemReader
{
public:
    explicit ConfigItemReader(std::string_view text)
        : m_text(text)
    {}

    struct Item
    {
        std::string_view text; // everything up to the comma or the line end
        int line = 0;          // 1-based line the item stands on
        bool present = false;  // false when the file ended before the item
    };

    Item next();

    // The line the next item would start on.
    int line() const { return m_line; }

private:
    bool atLineEnd(size_t pos) const;
    void skipTerminator();

    std::string_view m_text;
    size_t m_pos = 0;
    int m_line = 1;
    bool m_afterComma = false;
};

} // namespace orvane
