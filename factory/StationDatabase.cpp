#include "factory/StationDatabase.h"

#include "factory/ProductionRecords.h"

namespace orvane {

std::string stationDatabaseSetting(UserSettings &settings)
{
    return settings.text(kProductionDbSetting);
}

Result<std::string> setStationDatabase(Platform &platform, const std::string &url)
{
    const size_t first = url.find_first_not_of(" \t");
    const std::string chosen = first == std::string::npos
                                   ? std::string()
                                   : url.substr(first, url.find_last_not_of(" \t") - first + 1);
    if (!chosen.empty())
        if (const Result<std::string> described = platform.production.describe(chosen); !described)
            return failure(described.error() + " The setting was not changed.");
    platform.settings.setText(kProductionDbSetting, chosen);
    return databaseInUse(platform.production, {});
}

Result<std::string> checkStationDatabase(ProductionDatabase &database)
{
    const DatabaseChoice choice = database.choose({});
    const Result<std::string> inUse = databaseInUse(database, {});
    if (!inUse)
        return failure(inUse.error());
    const auto opened = database.open(choice, RegisterUse::Record);
    if (!opened)
        return failure(opened.error());
    return *inUse;
}

} // namespace orvane
