#pragma once

#include "platform/ProductionRegister.h"

#include <memory>
#include <string>

// Where a station records the units it makes, and the door to that
// database: the Qt SQL register for the programs, a fake for the tests.
//
// One rule picks the database for every program: a command's --db, else
// the station's setting (the factory window keeps it), else
// ORVANE_PRODUCTION_DB, else the SQLite file in the per-user data folder.
// The first two are this station's own choice; the variable suits a
// machine set up by a script, and the file needs no set-up at all.

namespace orvane {

inline constexpr const char *kProductionDbVariable = "ORVANE_PRODUCTION_DB";
inline constexpr const char *kProductionDbSetting = "factory/productionDatabase";
inline constexpr const char *kDefaultRegisterFile = "production.sqlite";

enum class DatabaseSource { Option, Setting, Environment, Default };

struct DatabaseChoice
{
    std::string url;
    DatabaseSource source = DatabaseSource::Default;
};

// The rule above; an empty value is no choice.
DatabaseChoice chooseDatabase(const std::string &option,
                              const std::string &setting,
                              const std::string &environment,
                              const std::string &userDataFolder);

// Where the choice came from, for a sentence: "--db", "this station's
// setting", "ORVANE_PRODUCTION_DB", "the default".
std::string sourceName(DatabaseSource source);

// Reading never makes a database that is not there: a mistyped file name
// would otherwise show an empty list as if no unit had been made.
enum class RegisterUse { Record, Read };

class ProductionDatabase
{
public:
    virtual ~ProductionDatabase() = default;

    // The database this station uses, given a command's --db (empty: none).
    virtual DatabaseChoice choose(const std::string &option) = 0;
    // The database a URL names, in words and without its password ("the
    // SQLite file /srv/production.sqlite"), or why the URL cannot be used.
    virtual Result<std::string> describe(const std::string &url) = 0;
    // Connects; the failure says what is wrong and what to do.
    virtual Result<std::unique_ptr<ProductionRegister>> open(const DatabaseChoice &choice,
                                                             RegisterUse use)
        = 0;
};

// For programs and tests that keep no production records: every call says so.
ProductionDatabase &noProductionDatabase();

} // namespace orvane
