#pragma once

#include "platform/Result.h"

#include <cstdint>
#include <string_view>

// Numbers typed into the factory window's input boxes. An answer is a whole
// decimal number, blanks around it allowed; anything else, and a number out of
// its range, is refused with a message, so nothing is sent on a bad answer.
// An empty answer is refused too: the window tells Cancel from it before.

namespace orvane {

// The number typed; `what` names it in the message ("The product code").
Result<long long> parseWholeAnswer(std::string_view typed, std::string_view what);

// 1 = Orvane, 2 = Brenlow, 3 = Quillet.
Result<uint8_t> parseProductCode(std::string_view typed);

// The firmware number (Sw_Ver), 0..255.
Result<uint8_t> parseFirmwareNumber(std::string_view typed);

// The EEPROM address for the interactive .COD store of N sectors; see
// checkStoreAddress.
Result<uint16_t> parseStoreAddress(std::string_view typed, int sectorCount);

// An EEPROM start address, 0..65535.
Result<uint16_t> parseEepromAddress(std::string_view typed);

// Sectors to copy from the EEPROM into flash: the instrument copies at most 8,
// so more become 8, and 0 becomes 1; negative or above 65535 is refused.
Result<uint8_t> parseCopySectorCount(std::string_view typed);
uint8_t copySectorCount(uint16_t typed);

// The flash address to read a code file from; empty means 7168.
Result<uint16_t> parseFlashReadAddress(std::string_view typed);

// Sectors to read from flash into a .COD file: 1..16, and within 64 KiB of
// flash from `start`.
Result<int> parseFlashSectorCount(std::string_view typed, uint16_t start);

} // namespace orvane
