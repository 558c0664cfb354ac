#include "platform/sql/OpenProductionRegister.h"

#include <QString>

namespace orvane {

std::string chosenRegisterUrl(const std::string &url, const std::string &userDataFolder)
{
    if (!url.empty())
        return url;
    if (const QString variable = qEnvironmentVariable(kProductionDbVariable); !variable.isEmpty())
        return variable.toStdString();
    return "sqlite:" + userDataFolder + "/" + kDefaultRegisterFile;
}

Result<std::unique_ptr<ProductionRegister>>
openProductionRegister(const std::string &url,
                       const std::string &userDataFolder,
                       RegisterOptions options)
{
    const auto location = parseRegisterUrl(chosenRegisterUrl(url, userDataFolder));
    if (!location)
        return failure(location.error());
    auto opened = SqlProductionRegister::open(*location, std::move(options));
    if (!opened)
        return failure(opened.error());
    return std::unique_ptr<ProductionRegister>(std::move(*opened));
}

} // namespace orvane
