#include "editors/IconBits.h"

#include "editors/DisplayEncoding.h"

#include "platform/Check.h"

#include <algorithm>
#include <bit>

namespace orvane {

const IconInfo &iconInfo(PreviewItem icon)
{
    static constexpr IconInfo kNoIcon = {PreviewItem::PicDisplay1Blank, 0, 0, ""};
    const auto found = std::find_if(kIcons.begin(), kIcons.end(), [icon](const IconInfo &info) {
        return info.item == icon;
    });
    ORVANE_CHECK(found != kIcons.end(), return kNoIcon);
    return *found;
}

ByteBits DecodeByteBits(uint8_t byte)
{
    ByteBits bits;
    int rest = byte;
    int weight = 128;
    for (size_t i = 0; i < 8; ++i, weight /= 2) {
        bits.flags[i] = rest >= weight;
        if (bits.flags[i])
            rest -= weight;
        bits.values[i] = bits.flags[i] ? 1 : 0;
    }
    bits.bit0 = uint8_t(bits.values[7]);
    return bits;
}

uint8_t iconByte(const IconFlags &flags, int cdcByte)
{
    int sum = 0;
    for (const IconInfo &icon : kIcons) {
        if (icon.cdcByte == cdcByte && iconFlag(flags, icon.item))
            sum += icon.bitValue;
    }
    return uint8_t(sum);
}

void changeBitsToByte(ConfigDocument &document, const IconFlags &flags, int cdcByte)
{
    ORVANE_CHECK(cdcByte >= 1 && cdcByte <= 4, return );
    document.setCdc(currentConfiguration(document.image), cdcByte, iconByte(flags, cdcByte));
}

void ChangeBitsToByte1(ConfigDocument &document, const IconFlags &flags)
{
    changeBitsToByte(document, flags, 1);
}

void ChangeBitsToByte2(ConfigDocument &document, const IconFlags &flags)
{
    changeBitsToByte(document, flags, 2);
}

void ChangeBitsToByte3(ConfigDocument &document, const IconFlags &flags)
{
    changeBitsToByte(document, flags, 3);
}

void ChangeBitsToByte4(ConfigDocument &document, const IconFlags &flags)
{
    changeBitsToByte(document, flags, 4);
}

IconFlags iconFlagsFromBytes(uint8_t byte1, uint8_t byte2, uint8_t byte3, uint8_t byte4)
{
    const std::array<ByteBits, 4> bytes = {DecodeByteBits(byte1),
                                           DecodeByteBits(byte2),
                                           DecodeByteBits(byte3),
                                           DecodeByteBits(byte4)};
    IconFlags flags{};
    for (const IconInfo &icon : kIcons) {
        const int bitNumber = std::countr_zero(unsigned(icon.bitValue));
        iconFlag(flags, icon.item) = bytes[size_t(icon.cdcByte - 1)].bit(bitNumber);
    }
    return flags;
}

IconFlags iconFlagsOfConfig(const ConfigImage &image, int config)
{
    const CdcTable &cdc = image.CDC;
    return iconFlagsFromBytes(cdc(config, 1), cdc(config, 2), cdc(config, 3), cdc(config, 4));
}

void ClearDisplayIcons(IconFlags &flags)
{
    flags.fill(false);
}

IconFlags allIcons()
{
    IconFlags flags;
    flags.fill(true);
    return flags;
}

} // namespace orvane
