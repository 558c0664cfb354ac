#pragma once

#include "factory/CodeSectors.h"
#include "platform/Result.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane {

// The value of one hexadecimal digit; only "0".."9" and upper-case "A".."F"
// are digits.
std::optional<uint8_t> Hex2Dec(char c);

// The bytes of an Intel HEX file that fall into the flash code window
// 7168..8191, as whole sectors up to the highest byte stored (unstored bytes
// zero). Each record's count, address and data are read; its type and
// checksum are not. Reading stops at the first record of count 0. The whole
// file is checked: a problem names the file and line.
Result<CodeSectors> readIntelHex(std::string_view text, std::string_view fileName);

} // namespace orvane
