#pragma once

#include "factory/CodeSectors.h"
#include "factory/FactoryExchange.h"

#include <cstdint>
#include <string_view>

// Code modules between their four places: an Intel HEX file, a .COD file,
// the 24C512 (where modules are kept, from 16384 on) and the flash ROM code
// window at 7168.

namespace orvane {

constexpr double kFlashSectorReadPause = 1.0; // between a flash read frame and its answer
constexpr double kCopyToFlashPause = 1.0;     // after the copy frame

// Stores `code` in the 24C512 sector by sector from `target` on, listing each
// sector in the report box and ending with "Done". False when a sector's
// write did not complete; the exchange then holds the problem.
bool storeCode(FactoryExchange &exchange,
               const CodeSectors &code,
               uint16_t target,
               std::string_view fileName);

// cmdReadHex7168: the flash window 7168..8191 of an Intel HEX file into a
// .COD file.
FactoryResult convertHexToCode(FactoryServices &services);

// cmdSaveFileTo24C512: a .COD file into the 24C512 at an address typed.
FactoryResult storeCodeFile(FactoryServices &services);

// cmdSaveFlashCode2File: sectors of flash ROM into a .COD file.
FactoryResult readFlashToCode(FactoryServices &services);

// cmdHalveroCopyCodeToFlash: the instrument copies sectors of the 24C512
// into flash at 7168.
FactoryResult copyCodeToFlash(FactoryServices &services);

} // namespace orvane
