#include "platform/sql/OpenProductionRegister.h"

#include <QString>

namespace orvane {

std::string chosenRegisterUrl(const std::string &url, const std::string &userDataFolder)
{
    return chooseDatabase(url,
                          {},
                          qEnvironmentVariable(kProductionDbVariable).toStdString(),
                          userDataFolder)
        .url;
}

Result<std::unique_ptr<ProductionRegister>>
openProductionRegister(const std::string &url,
                       const std::string &userDataFolder,
                       RegisterOptions options)
{
    const auto location = parseRegisterUrl(chosenRegisterUrl(url, userDataFolder));
    if (!location)
        return failure(location.error());
    return openRegisterAt(*location, std::move(options));
}

Result<std::unique_ptr<ProductionRegister>> openRegisterAt(const RegisterLocation &location,
                                                           RegisterOptions options)
{
    auto opened = SqlProductionRegister::open(location, std::move(options));
    if (!opened)
        return failure(opened.error());
    return std::unique_ptr<ProductionRegister>(std::move(*opened));
}

} // namespace orvane
