#pragma once

#include "platform/Result.h"

#include <cstdint>
#include <string_view>

// Numbers typed into the factory window's input boxes. An answer is a whole
// number, blanks around it allowed: decimal digits with an optional sign, or
// "&H" and hexadecimal digits, or "&O" and octal digits, as typed numbers are
// read everywhere in the editor. Anything else (a fraction, trailing text),
// and a number out of its range, is refused with a message, so nothing is
// sent on a bad answer. An empty answer is refused too: the window tells
// Cancel from it before.

namespace orvane {

// Highest addresses the factory tools accept: the processor's memories (RAM,
// XRAM, internal NVM, flash ROM) answer 0..32767, the 24C512 0..65535.
inline constexpr int kProcessorMemoryTop = 32767;
inline constexpr int kEepromTop = 65535;

// The number typed; `what` names it in the message ("The product code").
// "&H" and "&O" numbers are unsigned: &HFFFF is 65535, the top of the 24C512.
Result<long long> parseWholeAnswer(std::string_view typed, std::string_view what);

// The number typed, within min..max.
Result<long long>
parseAnswerInRange(std::string_view typed, std::string_view what, long long min, long long max);

// 1 = Orvane, 2 = Brenlow, 3 = Quillet.
Result<uint8_t> parseProductCode(std::string_view typed);

// The firmware number (Sw_Ver), 0..255.
Result<uint8_t> parseFirmwareNumber(std::string_view typed);

// A data byte to program, 0..255.
Result<uint8_t> parseDataByte(std::string_view typed);

// The EEPROM address for the interactive .COD store of N sectors; see
// checkStoreAddress.
Result<uint16_t> parseStoreAddress(std::string_view typed, int sectorCount);

// An EEPROM address, 0..65535; `what` names it in the message.
Result<uint16_t> parseEepromAddress(std::string_view typed,
                                    std::string_view what = "The 24C512 start address");

// Sectors to copy from the EEPROM into flash: the instrument copies at most 8,
// so more become 8, and 0 becomes 1; negative or above 65535 is refused.
Result<uint8_t> parseCopySectorCount(std::string_view typed);
uint8_t copySectorCount(uint16_t typed);

// A copy to flash of `sectors` from EEPROM `start` must end inside the 24C512.
Result<void> checkCopyFits(uint16_t start, int sectors);

// The flash address to read a code file from, 0..32767; empty means 7168.
Result<uint16_t> parseFlashReadAddress(std::string_view typed);

// Sectors to read from flash into a .COD file: 1..16, and within the flash
// from `start`.
Result<int> parseFlashSectorCount(std::string_view typed, uint16_t start);

} // namespace orvane
