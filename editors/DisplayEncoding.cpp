#include "editors/DisplayEncoding.h"

#include "config/SettingsFields.h"
#include "platform/Check.h"

#include <algorithm>
#include <span>

namespace orvane {

namespace {

// Code stored for each list position.
constexpr std::array<uint8_t, kStandardListSize> kStandardCodes = {
    0,  18, 19, 20, 9,  4,  5,  3,  1,  2, // None .. Engine Temperature
    23, 24, 25, 26, 27, 28, 29, 30,        // NMEA 0183 inputs #1A .. #4B
    31, 32,                                // Remote Data #1, #2
    10, 6,  7,  8,  33, 22, 21, 12, 11,    // Seawater .. Trip Log
};

constexpr std::array<uint8_t, kDisplay3ListSize> kDisplay3Codes = {
    0,  18, 19, 20, 9,  4,  5,  3,  1,  2,      // None .. Engine Temperature
    23, 24, 25, 26, 27, 28, 29, 30,             // NMEA 0183 inputs #1A .. #4B
    31, 32,                                     // Remote Data #1, #2
    16, 17,                                     // Race Timer #1, #2
    10, 6,  7,  8,  33, 22, 13, 14, 21, 12, 11, // Seawater .. Trip Log
};

std::span<const uint8_t> codesOf(SourceList list)
{
    if (list == SourceList::Display3)
        return kDisplay3Codes;
    return kStandardCodes;
}

std::optional<int> listedPosition(uint8_t code, SourceList list)
{
    const auto codes = codesOf(list);
    const auto found = std::find(codes.begin(), codes.end(), code);
    if (found == codes.end())
        return std::nullopt;
    return int(found - codes.begin());
}

} // namespace

int listSize(SourceList list)
{
    return int(codesOf(list).size());
}

bool isSourceByte(int byteNumber)
{
    return std::find(kSourceBytes.begin(), kSourceBytes.end(), byteNumber) != kSourceBytes.end();
}

SourceList listForByte(int byteNumber)
{
    if (byteNumber == 68)
        return SourceList::Display3;
    ORVANE_CHECK(isSourceByte(byteNumber), return SourceList::Standard);
    return SourceList::Standard;
}

uint8_t codeForPosition(SourceList list, int position)
{
    const auto codes = codesOf(list);
    if (position < 0 || size_t(position) >= codes.size())
        return 0;
    return codes[size_t(position)];
}

int positionForCode(uint8_t code, SourceList list)
{
    if (const auto position = listedPosition(code, list))
        return *position;
    if (code == kCodeOnePastList)
        return listSize(list);
    return code;
}

std::optional<int> chooserSelection(uint8_t code, SourceList list)
{
    return listedPosition(code, list);
}

int currentConfiguration(const ConfigImage &image)
{
    const unsigned stored = fieldValue(kCurrentConfiguration, image.IntNvm);
    return stored >= 1 && stored <= kConfigurations ? int(stored) : 1;
}

void ConvertListIndexData(ConfigDocument &document, int position, int byteNumber)
{
    ORVANE_CHECK(isSourceByte(byteNumber), return );
    const uint8_t code = codeForPosition(listForByte(byteNumber), position);
    document.setCdc(currentConfiguration(document.image), byteNumber, code);
}

} // namespace orvane
