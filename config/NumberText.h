#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Numbers as the editor shows, types and files them.

namespace orvane {

// Rounds to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

// Display convention: one leading blank when not negative (3 -> " 3").
std::string displayNumber(long long value);
std::string displayNumber(double value);

// File convention: the display form plus one trailing blank (3 -> " 3 ").
std::string fileNumber(long long value);

// A single-precision value in its shortest form of at most seven significant
// digits, without a zero before the point (0.5 -> ".5"), exponent form
// ("1.234568E+07") where plain digits would need more than seven.
std::string singleText(float value);

struct ScannedNumber
{
    double value = 0;
    bool found = false;  // at least one digit was read
    size_t consumed = 0; // characters of the text that belong to the number
};

// Reads a typed number: blanks, tabs and line feeds are ignored anywhere, an
// optional sign, digits, at most one '.' (whatever the locale) and an optional
// exponent, up to the first other character; "&H" and "&O" prefixes read
// hexadecimal and octal.
ScannedNumber scanNumber(std::string_view text);

// The value of scanNumber, 0 for a text without a number.
double typedNumber(std::string_view text);

// Format patterns "####0", "###0.0", "##0.00", "#0.000": the given decimals,
// no thousands separator.
std::string formatDecimals(double value, int decimals);

// Format pattern "0#": at least two digits with a leading zero.
std::string twoDigits(int value);

} // namespace orvane
