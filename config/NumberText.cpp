#include "config/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace orvane {

namespace {

// Conversions that ignore the process locale: the program's locale may use a
// decimal comma, and numbers in files and typed answers always use a point.
std::string formatted(double value, std::chars_format format, int precision)
{
    char buf[400];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, format, precision);
    return std::string(buf, result.ptr);
}

template<typename Number>
Number parsed(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    Number value{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // As strtod does: too large is infinite with its sign, too small is 0.
        const auto e = text.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < text.size() && text[e + 1] == '-';
        const Number limit = tiny ? Number(0) : std::numeric_limits<Number>::infinity();
        value = text.front() == '-' ? -limit : limit;
    }
    return value;
}

} // namespace

double roundHalfEven(double value)
{
    // nearbyint honours the current rounding mode, which is to-nearest-even
    // unless someone changed it; be explicit instead of relying on that.
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::string displayNumber(long long value)
{
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string displayNumber(double value)
{
    // Plain digits with as few decimals as give the value back; exponent form
    // only for magnitudes plain digits cannot hold sensibly.
    // Below 1e-9 the exponent form takes over, so 9 leading zero decimals and
    // the 17 significant digits that always give a double back suffice.
    constexpr int kMaxFixedDecimals = 9 + 17;
    std::string text;
    const double magnitude = std::fabs(value);
    if (magnitude != 0 && (magnitude >= 1e15 || magnitude < 1e-9)) {
        for (int precision = 1; precision <= 17; ++precision) {
            text = formatted(value, std::chars_format::general, precision);
            if (parsed<double>(text) == value)
                break;
        }
    } else {
        for (int decimals = 0; decimals <= kMaxFixedDecimals; ++decimals) {
            text = formatted(value, std::chars_format::fixed, decimals);
            if (parsed<double>(text) == value)
                break;
        }
    }
    if (text.rfind("0.", 0) == 0)
        text.erase(0, 1);
    else if (text.rfind("-0.", 0) == 0)
        text.erase(1, 1);
    return value < 0 ? text : " " + text;
}

std::string fileNumber(long long value)
{
    return displayNumber(value) + " ";
}

std::string singleText(float value)
{
    int precision = 1;
    for (; precision < 7; ++precision) {
        if (parsed<float>(formatted(double(value), std::chars_format::scientific, precision - 1))
            == value)
            break;
    }
    const std::string scientific
        = formatted(double(value), std::chars_format::scientific, precision - 1);
    const auto e = scientific.find('e');
    const int exponent = std::atoi(scientific.c_str() + e + 1);

    std::string text;
    if (value == 0 || (exponent >= -3 && exponent < 7)) {
        // Plain digits: as many decimals as the significant digits need.
        const int decimals = std::max(0, precision - 1 - exponent);
        text = formatted(double(value), std::chars_format::fixed, decimals);
        if (text.find('.') != std::string::npos) {
            text.erase(text.find_last_not_of('0') + 1);
            if (text.back() == '.')
                text.pop_back();
        }
        if (text.rfind("0.", 0) == 0)
            text.erase(0, 1);
        else if (text.rfind("-0.", 0) == 0)
            text.erase(1, 1);
    } else {
        // "1.5e+07" -> "1.5E+07", at least two exponent digits.
        std::string mantissa = scientific.substr(0, e);
        if (mantissa.find('.') != std::string::npos) {
            mantissa.erase(mantissa.find_last_not_of('0') + 1);
            if (mantissa.back() == '.')
                mantissa.pop_back();
        }
        char exp[16];
        std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        text = mantissa + exp;
    }
    return std::signbit(value) && value != 0 ? text : " " + text;
}

namespace {

bool isIgnorable(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

ScannedNumber scanRadix(std::string_view text, size_t pos, int radix)
{
    ScannedNumber result;
    long long value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (isIgnorable(c))
            continue;
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
        if (value > 0xFFFFFFFFLL)
            value &= 0xFFFFFFFFLL;
        result.found = true;
        result.consumed = pos + 1;
    }
    // Hexadecimal and octal literals are 16-bit when they fit, else 32-bit, as
    // signed values.
    if (value <= 0xFFFF)
        result.value = double(int16_t(uint16_t(value)));
    else
        result.value = double(int32_t(uint32_t(value)));
    return result;
}

} // namespace

ScannedNumber scanNumber(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size() && isIgnorable(text[pos]))
        ++pos;
    if (pos + 1 < text.size() && text[pos] == '&') {
        const char kind = text[pos + 1];
        if (kind == 'h' || kind == 'H')
            return scanRadix(text, pos + 2, 16);
        if (kind == 'o' || kind == 'O')
            return scanRadix(text, pos + 2, 8);
    }

    // Collect the characters of the number without the ignorable ones, then
    // read them in the point-decimal form whatever the locale.
    std::string digits;
    ScannedNumber result;
    bool seenPoint = false;
    bool seenMantissaDigit = false;
    enum class Stage { Sign, Mantissa, ExponentSign, Exponent } stage = Stage::Sign;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (isIgnorable(c))
            continue;
        if (stage == Stage::Sign && (c == '+' || c == '-')) {
            digits += c;
            stage = Stage::Mantissa;
            continue;
        }
        if (stage == Stage::Sign)
            stage = Stage::Mantissa;
        if (stage == Stage::Mantissa) {
            if (c >= '0' && c <= '9') {
                digits += c;
                seenMantissaDigit = true;
                result.consumed = pos + 1;
                continue;
            }
            if (c == '.' && !seenPoint) {
                digits += c;
                seenPoint = true;
                continue;
            }
            if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && seenMantissaDigit) {
                // Only an exponent with digits counts; remember where we were.
                std::string withExponent = digits + 'e';
                size_t look = pos + 1;
                while (look < text.size() && isIgnorable(text[look]))
                    ++look;
                if (look < text.size() && (text[look] == '+' || text[look] == '-'))
                    withExponent += text[look++];
                bool any = false;
                for (; look < text.size(); ++look) {
                    if (isIgnorable(text[look]))
                        continue;
                    if (text[look] < '0' || text[look] > '9')
                        break;
                    withExponent += text[look];
                    any = true;
                    result.consumed = look + 1;
                }
                if (any)
                    digits = withExponent;
            }
            break;
        }
    }
    result.found = seenMantissaDigit;
    if (!result.found)
        return {};
    result.value = parsed<double>(digits);
    if (std::isinf(result.value))
        result.value = std::copysign(std::numeric_limits<double>::max(), result.value);
    return result;
}

double typedNumber(std::string_view text)
{
    return scanNumber(text).value;
}

std::string formatDecimals(double value, int decimals)
{
    std::string text = formatted(value, std::chars_format::fixed, decimals);
    if (text == "-0" || text.rfind("-0.", 0) == 0) {
        // A value that rounds to zero is shown without a sign.
        if (text.find_first_not_of("-0.") == std::string::npos)
            text.erase(0, 1);
    }
    return text;
}

std::string twoDigits(int value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", value);
    return buf;
}

} // namespace orvane
