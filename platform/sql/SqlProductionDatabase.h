#pragma once

#include "platform/Platform.h"
#include "platform/ProductionDatabase.h"

#include <string>

namespace orvane {

// The production database of a program: the rule of ProductionDatabase.h
// over the user's settings and the environment, opened with Qt SQL.
class SqlProductionDatabase : public ProductionDatabase
{
public:
    SqlProductionDatabase(UserSettings &settings,
                          std::string userDataFolder,
                          RegisterOptions options = {});

    DatabaseChoice choose(const std::string &option) override;
    Result<std::string> describe(const std::string &url) override;
    Result<std::unique_ptr<ProductionRegister>> open(const DatabaseChoice &choice,
                                                     RegisterUse use) override;

private:
    UserSettings &m_settings;
    std::string m_userDataFolder;
    RegisterOptions m_options;
};

} // namespace orvane
