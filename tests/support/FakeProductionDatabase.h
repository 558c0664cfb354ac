#pragma once

#include "platform/Platform.h"
#include "platform/ProductionDatabase.h"
#include "support/FakeProductionRegister.h"

#include <memory>
#include <string>
#include <vector>

namespace orvane::test {

// The production database of the fake platform: the real rule over the
// fake settings and a stand-in environment, and registers in memory that
// share one store. URLs read "sqlite:PATH" or "postgresql://REST"; any
// other is refused as the real database refuses a URL it cannot read.
class FakeProductionDatabase : public ProductionDatabase
{
public:
    explicit FakeProductionDatabase(UserSettings &settings)
        : m_settings(settings)
    {}

    DatabaseChoice choose(const std::string &option) override
    {
        return chooseDatabase(option,
                              m_settings.text(kProductionDbSetting),
                              environment,
                              userDataFolder);
    }

    Result<std::string> describe(const std::string &url) override
    {
        if (url.starts_with("sqlite:"))
            return "the SQLite file " + url.substr(7);
        if (url.starts_with("postgresql://"))
            return "the PostgreSQL database " + url.substr(13);
        return failure("The production database URL \"" + url
                       + "\" is not one this program reads.");
    }

    Result<std::unique_ptr<ProductionRegister>> open(const DatabaseChoice &choice,
                                                     RegisterUse use) override
    {
        if (const auto described = describe(choice.url); !described)
            return failure(described.error());
        if (store->unreachable)
            return failure(*store->unreachable);
        opened.push_back({choice, use});
        return std::unique_ptr<ProductionRegister>(
            std::make_unique<FakeProductionRegister>(options, store));
    }

    std::string environment;
    std::string userDataFolder = "/home/technician/.local/share/Halvero/Orvane Editor";
    RegisterOptions options;
    std::shared_ptr<FakeRegisterStore> store = std::make_shared<FakeRegisterStore>();
    std::vector<std::pair<DatabaseChoice, RegisterUse>> opened;

private:
    UserSettings &m_settings;
};

} // namespace orvane::test
