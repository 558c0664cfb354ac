#pragma once

#include "factory/CodeSectors.h"
#include "factory/EepromBlock.h"
#include "link/CommandFrames.h"
#include "platform/Result.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Code modules kept in the 24C512 EEPROM from 16384 on, and the store that
// writes a .COD file there sector by sector.

namespace orvane {

struct CodeModule
{
    std::string_view fileName;
    uint16_t address;
};

// The modules a new unit gets, in the order they are stored.
inline constexpr std::array<CodeModule, 10> kNewUnitCodeModules = {{
    {"CommandMode.COD", 19072},
    {"IspSerialLoader.COD", 16384},
    {"HiLoEditor.COD", 17216},
    {"CalibrationEditor.COD", 17472},
    {"EditTachoSensitivity.COD", 17728},
    {"DampingEditor.COD", 17984},
    {"TimeAlarmsEditor.COD", 18240},
    {"ShoBackgroundAlarms.COD", 18752},
    {"Brenlow_UoM_Editor.COD", 19584},
    {"KeelOffsetEditor.COD", 20096},
}};

// The interactive store accepts 16384 <= address, address + 64 N <= 32767.
inline constexpr int kStoreAreaStart = 16384;
inline constexpr int kStoreAreaLast = 32767;

// Bytes a module may fill: up to the next module's address, or up to the
// backup of the internal NVM (kNvmBackupAddress) for the last one.
int codeModuleSlotBytes(const CodeModule &module);

// The frames of the store: sector b of the code at target + 64 (b - 1).
std::vector<EepromBlock> codeStoreBlocks(const CodeSectors &code, uint16_t target);

// The address typed for the interactive store of N sectors; anything else
// gives "Error - bad 24C512 address".
Result<uint16_t> checkStoreAddress(long long address, int sectorCount);

struct LoadedCodeModule
{
    CodeModule module;
    CodeSectors code;
};

// Reads a file by name, as FileSystem::readFile reads a path: its text, or
// why it could not be read.
using CodeModuleFileReader = std::function<Result<std::string>(const std::string &fileName)>;

// Reads every module of kNewUnitCodeModules and checks it before anything is
// sent: the file exists, parses and fits its slot. In store order.
Result<std::vector<LoadedCodeModule>> loadNewUnitCodeModules(const CodeModuleFileReader &readFile);

} // namespace orvane
