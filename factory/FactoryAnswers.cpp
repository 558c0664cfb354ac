#include "factory/FactoryAnswers.h"

#include "factory/CodeModules.h"
#include "factory/CodeSectors.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace orvane {

namespace {

constexpr int kMostSectorsCopied = 8;

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// "&H1C40" or "&O16100": the base of the digits that follow, 0 for none.
int radixPrefix(std::string_view text)
{
    if (text.size() < 2 || text[0] != '&')
        return 0;
    switch (text[1]) {
    case 'H':
    case 'h':
        return 16;
    case 'O':
    case 'o':
        return 8;
    default:
        return 0;
    }
}

} // namespace

Result<long long> parseWholeAnswer(std::string_view typed, std::string_view what)
{
    const std::string_view text = trimmed(typed);
    if (text.empty())
        return failure(std::string(what) + " was not entered.");
    const int radix = radixPrefix(text);
    const bool negative = radix == 0 && text.front() == '-';
    std::string_view digits = text;
    if (radix != 0)
        digits.remove_prefix(2);
    else if (negative || text.front() == '+')
        digits.remove_prefix(1);
    long long value = 0;
    const auto [end, ec]
        = std::from_chars(digits.data(), digits.data() + digits.size(), value, radix ? radix : 10);
    if (digits.empty() || digits.front() == '-' || digits.front() == '+'
        || end != digits.data() + digits.size()
        || (ec != std::errc() && ec != std::errc::result_out_of_range))
        return failure(std::string(what)
                       + " must be typed as a whole number in digits only, or as &H and "
                         "hexadecimal or &O and octal digits; \""
                       + std::string(text.substr(0, 24)) + "\" is not one.");
    if (ec == std::errc::result_out_of_range)
        return failure(std::string(what) + " is far too large.");
    return negative ? -value : value;
}

Result<long long>
parseAnswerInRange(std::string_view typed, std::string_view what, long long min, long long max)
{
    const auto value = parseWholeAnswer(typed, what);
    if (!value)
        return value;
    if (*value < min || *value > max)
        return failure(std::string(what) + " must be " + std::to_string(min) + " to "
                       + std::to_string(max) + "; " + std::to_string(*value) + " was entered.");
    return value;
}

Result<uint8_t> parseProductCode(std::string_view typed)
{
    const auto code
        = parseAnswerInRange(typed, "The product code (1=Orvane, 2=Brenlow, 3=Quillet)", 1, 3);
    if (!code)
        return failure(code.error());
    return uint8_t(*code);
}

Result<uint8_t> parseFirmwareNumber(std::string_view typed)
{
    const auto number = parseAnswerInRange(typed, "The firmware number (Sw_Ver)", 0, 255);
    if (!number)
        return failure(number.error());
    return uint8_t(*number);
}

Result<uint8_t> parseDataByte(std::string_view typed)
{
    const auto value = parseAnswerInRange(typed, "The data byte", 0, 255);
    if (!value)
        return failure(value.error());
    return uint8_t(*value);
}

Result<uint16_t> parseStoreAddress(std::string_view typed, int sectorCount)
{
    const auto address = parseWholeAnswer(typed, "The 24C512 address");
    if (!address)
        return failure(address.error());
    return checkStoreAddress(*address, sectorCount);
}

Result<uint16_t> parseEepromAddress(std::string_view typed, std::string_view what)
{
    const auto address = parseAnswerInRange(typed, what, 0, kEepromTop);
    if (!address)
        return failure(address.error());
    return uint16_t(*address);
}

uint8_t copySectorCount(uint16_t typed)
{
    if (typed == 0)
        return 1;
    return uint8_t(std::min<int>(typed, kMostSectorsCopied));
}

Result<uint8_t> parseCopySectorCount(std::string_view typed)
{
    const auto count = parseAnswerInRange(typed, "The number of sectors", 0, kEepromTop);
    if (!count)
        return failure(count.error());
    return copySectorCount(uint16_t(*count));
}

Result<void> checkCopyFits(uint16_t start, int sectors)
{
    const long long last = start + (long long)kSectorBytes * sectors - 1;
    if (last > kEepromTop)
        return failure(std::to_string(sectors) + (sectors == 1 ? " sector" : " sectors")
                       + " from 24C512 address " + std::to_string(start)
                       + " would run past its top, " + std::to_string(kEepromTop) + ".");
    return {};
}

Result<uint16_t> parseFlashReadAddress(std::string_view typed)
{
    if (trimmed(typed).empty())
        return uint16_t(kCodeWindowStart);
    const auto address = parseAnswerInRange(typed, "The flash ROM address", 0, kProcessorMemoryTop);
    if (!address)
        return failure(address.error());
    return uint16_t(*address);
}

Result<int> parseFlashSectorCount(std::string_view typed, uint16_t start)
{
    const long long fitting = (kProcessorMemoryTop + 1 - (long long)start) / kSectorBytes;
    if (fitting < 1)
        return failure("No whole sector fits between flash ROM address " + std::to_string(start)
                       + " and the top of the flash, " + std::to_string(kProcessorMemoryTop) + ".");
    const auto count = parseAnswerInRange(typed,
                                          "The number of sectors",
                                          1,
                                          std::min<long long>(kMaxCodeSectors, fitting));
    if (!count)
        return failure(count.error());
    return int(*count);
}

} // namespace orvane
