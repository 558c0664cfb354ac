#include "factory/ProvisioningHashes.h"

#include "factory/CalibrationCurvesFile.h"
#include "factory/CodeModules.h"
#include "factory/DecimalPointsFile.h"
#include "factory/NmeaTablesFile.h"
#include "factory/Sha256.h"

namespace orvane {

std::vector<std::string> provisioningFileNames()
{
    std::vector<std::string> names = {std::string(kCalibrationCurvesFileName),
                                      std::string(kNmeaTablesFileName),
                                      std::string(kDecimalPointsFileName)};
    for (const CodeModule &module : kNewUnitCodeModules)
        names.emplace_back(module.fileName);
    return names;
}

Result<std::vector<FileHash>> provisioningFileHashes(const FileBytesByName &read)
{
    std::vector<FileHash> hashes;
    for (const std::string &name : provisioningFileNames()) {
        const auto bytes = read.find(name);
        if (bytes == read.end())
            return failure(name
                           + " was not read, so the unit's record cannot name it. Put it in "
                             "the working folder and start again.");
        hashes.push_back({name, sha256Hex(bytes->second)});
    }
    return hashes;
}

} // namespace orvane
