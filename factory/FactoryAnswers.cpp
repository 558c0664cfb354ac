#include "factory/FactoryAnswers.h"

#include "factory/CodeModules.h"
#include "factory/CodeSectors.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace orvane {

namespace {

constexpr long long kLargestAddress = 65535;
constexpr int kMostSectorsCopied = 8;

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

Result<long long>
answerInRange(std::string_view typed, std::string_view what, long long min, long long max)
{
    const auto value = parseWholeAnswer(typed, what);
    if (!value)
        return value;
    if (*value < min || *value > max)
        return failure(std::string(what) + " must be " + std::to_string(min) + " to "
                       + std::to_string(max) + "; " + std::to_string(*value) + " was entered.");
    return value;
}

} // namespace

Result<long long> parseWholeAnswer(std::string_view typed, std::string_view what)
{
    std::string_view text = trimmed(typed);
    if (text.empty())
        return failure(std::string(what) + " was not entered.");
    const bool negative = text.front() == '-';
    const std::string_view digits = (negative || text.front() == '+') ? text.substr(1) : text;
    long long value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || digits.front() == '-' || end != digits.data() + digits.size()
        || (ec != std::errc() && ec != std::errc::result_out_of_range))
        return failure(std::string(what) + " must be typed as a whole number in digits only; \""
                       + std::string(text.substr(0, 24)) + "\" is not one.");
    if (ec == std::errc::result_out_of_range)
        return failure(std::string(what) + " is far too large.");
    return negative ? -value : value;
}

Result<uint8_t> parseProductCode(std::string_view typed)
{
    const auto code
        = answerInRange(typed, "The product code (1=Orvane, 2=Brenlow, 3=Quillet)", 1, 3);
    if (!code)
        return failure(code.error());
    return uint8_t(*code);
}

Result<uint8_t> parseFirmwareNumber(std::string_view typed)
{
    const auto number = answerInRange(typed, "The firmware number (Sw_Ver)", 0, 255);
    if (!number)
        return failure(number.error());
    return uint8_t(*number);
}

Result<uint16_t> parseStoreAddress(std::string_view typed, int sectorCount)
{
    const auto address = parseWholeAnswer(typed, "The 24C512 address");
    if (!address)
        return failure(address.error());
    return checkStoreAddress(*address, sectorCount);
}

Result<uint16_t> parseEepromAddress(std::string_view typed)
{
    const auto address = answerInRange(typed, "The 24C512 start address", 0, kLargestAddress);
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
    const auto count = answerInRange(typed, "The number of sectors", 0, kLargestAddress);
    if (!count)
        return failure(count.error());
    return copySectorCount(uint16_t(*count));
}

Result<uint16_t> parseFlashReadAddress(std::string_view typed)
{
    if (trimmed(typed).empty())
        return uint16_t(kCodeWindowStart);
    const auto address = answerInRange(typed, "The flash ROM address", 0, kLargestAddress);
    if (!address)
        return failure(address.error());
    return uint16_t(*address);
}

Result<int> parseFlashSectorCount(std::string_view typed, uint16_t start)
{
    const long long fitting = (kLargestAddress + 1 - start) / kSectorBytes;
    const auto count = answerInRange(typed,
                                     "The number of sectors",
                                     1,
                                     std::min<long long>(kMaxCodeSectors, fitting));
    if (!count)
        return failure(count.error());
    return int(*count);
}

} // namespace orvane
