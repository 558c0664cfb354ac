#include "factory/FieldReader.h"

#include "config/NumberText.h"

#include <cmath>

namespace orvane {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A field quoted in a message: short, so a binary file does not flood it.
std::string quoted(std::string_view token)
{
    constexpr size_t kShown = 24;
    std::string text = "\"";
    text += token.substr(0, kShown);
    if (token.size() > kShown)
        text += "...";
    return text + "\"";
}

// A number as typed in a message, without the sign blank of captions.
std::string shown(double value)
{
    std::string text = displayNumber(value);
    if (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    return text;
}

std::string plural(int n, std::string_view word)
{
    return std::to_string(n) + " " + std::string(word) + (n == 1 ? "" : "s");
}

} // namespace

std::vector<std::string_view> splitLines(std::string_view text)
{
    // A text editor may have put a UTF-8 byte order mark before the first line.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    std::vector<std::string_view> lines;
    size_t start = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        lines.push_back(text.substr(start, pos - start));
        pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        start = pos;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

Failure lineFailure(std::string_view fileName, int line, std::string_view what)
{
    return failure(std::string(fileName) + ", line " + std::to_string(line) + ": "
                   + std::string(what));
}

LineFields::LineFields(std::string_view fileName,
                       int line,
                       std::string_view text,
                       int expected,
                       bool restIgnored)
    : m_fileName(fileName)
    , m_line(line)
    , m_text(text)
    , m_expected(expected)
    , m_restIgnored(restIgnored)
{}

size_t LineFields::skipBlanks(size_t pos) const
{
    while (pos < m_text.size() && isBlank(m_text[pos]))
        ++pos;
    return pos;
}

bool LineFields::hasField() const
{
    // A comma always opens a field, even an empty one at the end of the line.
    return m_afterComma || skipBlanks(m_pos) < m_text.size();
}

Failure LineFields::problem(std::string_view what) const
{
    return lineFailure(m_fileName, m_line, what);
}

Failure LineFields::missing() const
{
    return problem((m_restIgnored ? "at least " : "") + plural(m_expected, "field")
                   + " expected, the line has " + std::to_string(m_fieldsRead));
}

Result<std::string_view> LineFields::text()
{
    if (!hasField())
        return missing();
    const int field = ++m_fieldsRead;
    size_t pos = skipBlanks(m_pos);
    m_afterComma = false;
    std::string_view token;
    if (pos < m_text.size() && m_text[pos] == '"') {
        const size_t close = m_text.find('"', pos + 1);
        if (close == std::string_view::npos)
            return problem("field " + std::to_string(field) + " has no closing quote");
        token = m_text.substr(pos + 1, close - pos - 1);
        pos = skipBlanks(close + 1);
        if (pos < m_text.size()) {
            if (m_text[pos] != ',')
                return problem("field " + std::to_string(field)
                               + " has text after its closing quote");
            ++pos;
            m_afterComma = true;
        }
    } else {
        const size_t comma = m_text.find(',', pos);
        if (comma == std::string_view::npos) {
            token = m_text.substr(pos);
            pos = m_text.size();
        } else {
            token = m_text.substr(pos, comma - pos);
            pos = comma + 1;
            m_afterComma = true;
        }
    }
    m_pos = pos;
    return token;
}

Result<std::string_view> LineFields::numberToken()
{
    if (!hasField())
        return missing();
    const int field = ++m_fieldsRead;
    size_t pos = skipBlanks(m_pos);
    const size_t start = pos;
    while (pos < m_text.size() && m_text[pos] != ',' && !isBlank(m_text[pos]))
        ++pos;
    const std::string_view token = m_text.substr(start, pos - start);
    pos = skipBlanks(pos);
    m_afterComma = pos < m_text.size() && m_text[pos] == ',';
    m_pos = m_afterComma ? pos + 1 : pos;
    if (token.empty())
        return problem("field " + std::to_string(field) + " is empty; a number is expected");
    return token;
}

Result<double> LineFields::number()
{
    const auto token = numberToken();
    if (!token)
        return failure(token.error());
    const ScannedNumber scanned = scanNumber(*token);
    if (!scanned.found || scanned.consumed != token->size())
        return problem("field " + std::to_string(m_fieldsRead) + " (" + quoted(*token)
                       + ") is not a number");
    return scanned.value;
}

Result<long long> LineFields::whole(long long min, long long max)
{
    const auto value = number();
    if (!value)
        return failure(value.error());
    const double rounded = roundHalfEven(*value);
    if (!(rounded >= double(min) && rounded <= double(max)))
        return problem("field " + std::to_string(m_fieldsRead) + " is " + shown(*value)
                       + "; it must be " + std::to_string(min) + " to " + std::to_string(max));
    return static_cast<long long>(rounded);
}

Result<uint8_t> LineFields::byte()
{
    const auto value = whole(0, 255);
    if (!value)
        return failure(value.error());
    return static_cast<uint8_t>(*value);
}

Result<void> LineFields::end() const
{
    if (m_restIgnored || !hasField())
        return {};
    return problem("more than " + plural(m_expected, "field") + " on the line");
}

FieldFile::FieldFile(std::string_view text, std::string_view fileName)
    : m_fileName(fileName)
    , m_lines(splitLines(text))
{}

Failure FieldFile::ended(std::string_view what) const
{
    return lineFailure(m_fileName,
                       int(m_lines.size()) + 1,
                       "the file ends before this line, which should hold " + std::string(what));
}

Result<LineFields> FieldFile::next(int expected, bool restIgnored, std::string_view what)
{
    if (m_next >= m_lines.size())
        return ended(what);
    const int line = int(m_next) + 1;
    return LineFields(m_fileName, line, m_lines[m_next++], expected, restIgnored);
}

Result<void> FieldFile::skip(std::string_view what)
{
    if (m_next >= m_lines.size())
        return ended(what);
    ++m_next;
    return {};
}

Result<void> skipTextLine(FieldFile &file, int count, std::string_view what)
{
    auto line = file.next(count, false, what);
    if (!line)
        return failure(line.error());
    for (int f = 0; f < count; ++f) {
        if (const auto text = line->text(); !text)
            return failure(text.error());
    }
    return line->end();
}

Result<void> skipNumberLine(FieldFile &file, std::string_view what)
{
    auto line = file.next(1, false, what);
    if (!line)
        return failure(line.error());
    if (const auto number = line->number(); !number)
        return failure(number.error());
    return line->end();
}

} // namespace orvane
