#include "factory/CodeModules.h"

#include "factory/CodeFile.h"

#include <algorithm>

namespace orvane {

int codeModuleSlotBytes(const CodeModule &module)
{
    int end = kNvmBackupAddress;
    for (const CodeModule &other : kNewUnitCodeModules) {
        if (other.address > module.address)
            end = std::min<int>(end, other.address);
    }
    return std::max(0, end - int(module.address));
}

std::vector<EepromBlock> codeStoreBlocks(const CodeSectors &code, uint16_t target)
{
    std::vector<EepromBlock> blocks;
    for (int b = 0; b < code.sectorCount(); ++b) {
        const auto first = code.bytes.begin() + b * kSectorBytes;
        blocks.push_back({uint16_t(target + kSectorBytes * b),
                          std::vector<uint8_t>(first, first + kSectorBytes)});
    }
    return blocks;
}

Result<uint16_t> checkStoreAddress(long long address, int sectorCount)
{
    if (address < kStoreAreaStart
        || address + (long long)kSectorBytes * sectorCount > kStoreAreaLast)
        return failure("Error - bad 24C512 address");
    return uint16_t(address);
}

Result<std::vector<LoadedCodeModule>> loadNewUnitCodeModules(const CodeModuleFileReader &readFile)
{
    std::vector<LoadedCodeModule> modules;
    for (const CodeModule &module : kNewUnitCodeModules) {
        const std::string name(module.fileName);
        const Result<std::string> text = readFile(name);
        if (!text)
            return failure(name + ": the code module cannot be read"
                           + (text.error().empty() ? std::string() : " (" + text.error() + ")"));
        auto code = readCodeFile(*text, name);
        if (!code)
            return failure(code.error());
        const int slot = codeModuleSlotBytes(module);
        if (int(code->bytes.size()) > slot)
            return failure(name + ": " + std::to_string(code->sectorCount())
                           + " sectors do not fit the " + std::to_string(slot / kSectorBytes)
                           + " sectors between EEPROM " + std::to_string(module.address) + " and "
                           + std::to_string(module.address + slot));
        modules.push_back({module, std::move(*code)});
    }
    return modules;
}

} // namespace orvane
