#pragma once

#include "factory/FactoryExchange.h"
#include "link/CommandFrames.h"

#include <cstdint>
#include <span>
#include <string>

// The five memory dumps of the factory window: 1 to 256 bytes of one of the
// instrument's memories, listed address by address in the report box.

namespace orvane {

enum class FactoryMemory { Iram, Xram, InternalNvm, Eeprom, Flash };

struct DumpedMemory
{
    CommandCode code;
    Prompt address;
    Prompt count;
    int top; // highest address
    const char *name;
};

const DumpedMemory &dumpedMemory(FactoryMemory memory);

constexpr double kDumpPause = 1.0; // between the frame and the answer

// A count of bytes to dump, 1..256, that must not run past the memory's top.
Result<int> parseDumpCount(std::string_view typed, int address, const DumpedMemory &memory);

// One line per byte: its address, four spaces, its value, CR LF.
std::string dumpReport(int firstAddress, std::span<const uint8_t> bytes);

// cmdDisplayRam, cmdDisplayXram, cmdDisplayIntNvmData, cmdDisplayExtNvmData,
// cmdDisplayFlashRom.
FactoryResult dumpMemory(FactoryServices &services, FactoryMemory memory);

} // namespace orvane
