#include "config/SettingsImage.h"

namespace orvane {

uint8_t settingsCheckByte(std::span<const uint8_t, kSettingsSize> settings)
{
    uint8_t x = 0;
    for (const uint8_t byte : settings.subspan<1>())
        x ^= byte;
    return x;
}

} // namespace orvane
