#pragma once

#include "factory/FactoryExchange.h"

#include <cstdint>
#include <string>

// Rewriting one byte of the 24C512 or of the internal NVM, each reported in
// the factory window's report box.

namespace orvane {

constexpr double kEepromByteWritePause = 0.1; // after the write, and after the read-back frame
constexpr double kNvmByteStepPause = 0.2;     // after each read and write of the internal NVM
constexpr int kHighestProgrammedNvmAddress = 511;

// The internal NVM's check byte (address 0) covers addresses 1..255 only.
bool nvmChecksumCovers(int address);

// "Old value at  5=   17" and the other report lines, each ending in CR LF.
std::string nvmReportLine(const char *label, int address, int value);

// cmdProgByte24C512: writes the byte and reports what a separate read of the
// address brings back.
FactoryResult programEepromByte(FactoryServices &services);

// cmdProgByteIntNvm: writes the byte, keeps the check byte right where it
// covers the address, and reports the old value, the old check byte and the
// new value.
FactoryResult programInternalNvmByte(FactoryServices &services);

} // namespace orvane
