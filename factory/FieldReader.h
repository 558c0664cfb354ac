#pragma once

#include "platform/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reading the factory's text files (.COD code files and the .DAT data files)
// so that every problem names the file and the line it stands on.

namespace orvane {

// The lines of a text file. CR LF, LF or a lone CR end a line; text after the
// last line end is a last line. A leading UTF-8 byte order mark is dropped.
std::vector<std::string_view> splitLines(std::string_view text);

// "CALCURVS.DAT, line 7: what".
Failure lineFailure(std::string_view fileName, int line, std::string_view what);

// One line of a factory file, read field by field as the files are written:
// fields are separated by commas; a numeric field may be padded with blanks
// and also ends at a blank; a text field runs to the next comma or the end of
// the line, or lies between double quotes. Every field of a record stands on
// its record's line.
class LineFields
{
public:
    // The line holds `expected` fields; with `restIgnored` it may hold more.
    LineFields(std::string_view fileName,
               int line,
               std::string_view text,
               int expected,
               bool restIgnored);

    Result<std::string_view> text();
    Result<double> number();
    // A number rounded to a whole one (halves to even) within min..max.
    Result<long long> whole(long long min, long long max);
    Result<uint8_t> byte();
    // Fails when fields are left that the record does not have.
    Result<void> end() const;

    int line() const { return m_line; }

private:
    bool hasField() const;
    size_t skipBlanks(size_t pos) const;
    Result<std::string_view> numberToken();
    Failure problem(std::string_view what) const;
    Failure missing() const;

    std::string_view m_fileName;
    int m_line;
    std::string_view m_text;
    int m_expected;
    bool m_restIgnored;
    size_t m_pos = 0;
    bool m_afterComma = false;
    int m_fieldsRead = 0;
};

// The lines of one file handed out in order with their numbers.
class FieldFile
{
public:
    FieldFile(std::string_view text, std::string_view fileName);

    // The next line; when the file has ended, a failure saying that the line
    // should hold `what`.
    Result<LineFields> next(int expected, bool restIgnored, std::string_view what);
    Result<void> skip(std::string_view what);

    std::string_view fileName() const { return m_fileName; }

private:
    Failure ended(std::string_view what) const;

    std::string m_fileName;
    std::vector<std::string_view> m_lines;
    size_t m_next = 0;
};

// A line of `count` texts that are not used (the data files' headers).
Result<void> skipTextLine(FieldFile &file, int count, std::string_view what);

// A line holding one number that is not used (the data files' last line).
Result<void> skipNumberLine(FieldFile &file, std::string_view what);

} // namespace orvane
