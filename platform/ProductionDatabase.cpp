#include "platform/ProductionDatabase.h"

namespace orvane {

namespace {

class NoProductionDatabase : public ProductionDatabase
{
public:
    DatabaseChoice choose(const std::string &option) override
    {
        return {option, option.empty() ? DatabaseSource::Default : DatabaseSource::Option};
    }
    Result<std::string> describe(const std::string &) override { return refusal(); }
    Result<std::unique_ptr<ProductionRegister>> open(const DatabaseChoice &, RegisterUse) override
    {
        return refusal();
    }

private:
    static Failure refusal()
    {
        return failure("This program keeps no production records; use the editor or orvane.");
    }
};

} // namespace

DatabaseChoice chooseDatabase(const std::string &option,
                              const std::string &setting,
                              const std::string &environment,
                              const std::string &userDataFolder)
{
    if (!option.empty())
        return {option, DatabaseSource::Option};
    if (!setting.empty())
        return {setting, DatabaseSource::Setting};
    if (!environment.empty())
        return {environment, DatabaseSource::Environment};
    return {"sqlite:" + userDataFolder + "/" + kDefaultRegisterFile, DatabaseSource::Default};
}

std::string sourceName(DatabaseSource source)
{
    switch (source) {
    case DatabaseSource::Option:
        return "--db";
    case DatabaseSource::Setting:
        return "this station's setting";
    case DatabaseSource::Environment:
        return kProductionDbVariable;
    case DatabaseSource::Default:
        break;
    }
    return "the default";
}

ProductionDatabase &noProductionDatabase()
{
    static NoProductionDatabase none;
    return none;
}

} // namespace orvane
