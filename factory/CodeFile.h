#pragma once

#include "factory/CodeSectors.h"
#include "platform/Result.h"

#include <cstdint>
#include <string>
#include <string_view>

// The .COD code image file: a header line with the sector count N, then one
// line per byte, address and value, for 64 x N bytes; lines end in CR LF.

namespace orvane {

// Who wrote the file decides the header's text.
enum class CodeFileOrigin {
    HexConversion, // ",Number of 64 byte Sectors"
    FlashRead,     // ", Number of 64 byte Sectors"
};

// The whole file text; data line f names address firstAddress + f.
std::string codeFileText(const CodeSectors &code, uint16_t firstAddress, CodeFileOrigin origin);

// One line without its end: the number printed, padded with spaces to the
// next 14-column print zone, then `rest`.
std::string codeFileLine(long long number, std::string_view rest);

// Reads the header and the 64 x N bytes the header promises, N = 1..16. The
// address fields are not used but must be numbers; lines after the last byte
// are ignored. A problem names the file and line.
Result<CodeSectors> readCodeFile(std::string_view text, std::string_view fileName);

} // namespace orvane
