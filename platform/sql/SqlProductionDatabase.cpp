#include "platform/sql/SqlProductionDatabase.h"

#include "platform/sql/OpenProductionRegister.h"
#include "platform/sql/RegisterUrl.h"

#include <QFileInfo>
#include <QString>

namespace orvane {

SqlProductionDatabase::SqlProductionDatabase(UserSettings &settings,
                                             std::string userDataFolder,
                                             RegisterOptions options)
    : m_settings(settings)
    , m_userDataFolder(std::move(userDataFolder))
    , m_options(std::move(options))
{}

DatabaseChoice SqlProductionDatabase::choose(const std::string &option)
{
    return chooseDatabase(option,
                          m_settings.text(kProductionDbSetting),
                          qEnvironmentVariable(kProductionDbVariable).toStdString(),
                          m_userDataFolder);
}

Result<std::string> SqlProductionDatabase::describe(const std::string &url)
{
    const Result<RegisterLocation> location = parseRegisterUrl(url);
    if (!location)
        return failure(location.error());
    return location->where();
}

Result<std::unique_ptr<ProductionRegister>>
SqlProductionDatabase::open(const DatabaseChoice &choice, RegisterUse use)
{
    const Result<RegisterLocation> location = parseRegisterUrl(choice.url);
    if (!location)
        return failure(location.error() + " (It comes from " + sourceName(choice.source) + ".)");
    if (use == RegisterUse::Read && location->engine == RegisterEngine::SQLite
        && !QFileInfo::exists(QString::fromStdString(location->path)))
        return failure("No unit has been recorded in " + location->where()
                       + " yet: the file does not exist. If this station's records are kept "
                         "elsewhere, name that database with --db, the factory window's setting "
                         "or "
                       + kProductionDbVariable + ".");
    return openRegisterAt(*location, m_options);
}

} // namespace orvane
