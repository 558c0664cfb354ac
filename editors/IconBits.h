#pragma once

#include "config/ConfigDocument.h"
#include "editors/PreviewItems.h"

#include <array>
#include <cstdint>
#include <string_view>

// The twenty LCD icons: one bit each in CDC bytes 1..4 of a configuration,
// one check box each on the panel, one item each on the preview.

namespace orvane {

// One flag per icon, indexed by the icon's PreviewItem (the first twenty
// items are the icons). A flag is both the box's tick and the item's
// visibility: the two always agree.
using IconFlags = std::array<bool, kIconItemCount>;

struct IconInfo
{
    PreviewItem item;
    int cdcByte;      // 1..4
    uint8_t bitValue; // the bit's value in that byte
    std::string_view caption;
};

// In byte order, highest bit first within each byte.
inline constexpr std::array<IconInfo, kIconItemCount> kIcons = {{
    {PreviewItem::PicUpRightArrow, 1, 128, "Right Up Arrow"},
    {PreviewItem::PicUpLeftArrow, 1, 64, "Left Up Arrow"},
    {PreviewItem::PicNmea3RArrow, 1, 32, "Right"},
    {PreviewItem::lblNmea3, 1, 16, "NMEA3"},
    {PreviewItem::PicNmea2UArrow, 1, 8, "Up"},
    {PreviewItem::lblNmea2, 1, 4, "NMEA2"},
    {PreviewItem::PicNmea2DArrow, 1, 2, "Down"},
    {PreviewItem::lblNmea1, 1, 1, "NMEA1"},
    {PreviewItem::LblTemp, 2, 64, "TEMP."},
    {PreviewItem::LblFuel, 2, 32, "FUEL"},
    {PreviewItem::LblRpmLower, 2, 16, "RPM"},
    {PreviewItem::LblDepthLower, 2, 8, "DEPTH"},
    {PreviewItem::LblVdc, 2, 4, "VDC"},
    {PreviewItem::LblSpeedLower, 2, 2, "SPEED"},
    {PreviewItem::LblOil, 2, 1, "OIL"},
    {PreviewItem::lblRpmU, 3, 128, "RPM"},
    {PreviewItem::LblDepthU, 3, 64, "DEPTH"},
    {PreviewItem::lblSpeedU, 3, 32, "SPEED"},
    {PreviewItem::PicNmea1LArrow, 4, 4, "Left"},
    {PreviewItem::LblDegU, 4, 1, "DEG"},
}};

// The table entry of an icon. A preview item that is not an icon is a
// programming error: checked, and the entry answered names no CDC byte, so
// nothing is written for it.
const IconInfo &iconInfo(PreviewItem icon);

inline bool isIcon(PreviewItem item)
{
    return int(item) >= 0 && int(item) < kIconItemCount;
}

inline bool &iconFlag(IconFlags &flags, PreviewItem icon)
{
    return flags.at(size_t(icon));
}
inline bool iconFlag(const IconFlags &flags, PreviewItem icon)
{
    return flags.at(size_t(icon));
}

// A byte split into eight flags, bit 7 first.
struct ByteBits
{
    std::array<bool, 8> flags{};
    std::array<int, 8> values{}; // the same as 0/1
    uint8_t bit0 = 0;

    bool bit(int number) const { return flags.at(size_t(7 - number)); }
};

ByteBits DecodeByteBits(uint8_t byte);

// The byte an icon byte (1..4) gets from the flags; bits without an icon are 0.
uint8_t iconByte(const IconFlags &flags, int cdcByte);

// Rewrite one whole icon byte of the current configuration from the flags.
void ChangeBitsToByte1(ConfigDocument &document, const IconFlags &flags);
void ChangeBitsToByte2(ConfigDocument &document, const IconFlags &flags);
void ChangeBitsToByte3(ConfigDocument &document, const IconFlags &flags);
void ChangeBitsToByte4(ConfigDocument &document, const IconFlags &flags);
void changeBitsToByte(ConfigDocument &document, const IconFlags &flags, int cdcByte);

// The icons that four icon bytes light.
IconFlags iconFlagsFromBytes(uint8_t byte1, uint8_t byte2, uint8_t byte3, uint8_t byte4);
IconFlags iconFlagsOfConfig(const ConfigImage &image, int config);

// Hides every icon and clears every box; the image is not touched.
void ClearDisplayIcons(IconFlags &flags);

IconFlags allIcons();

} // namespace orvane
