#pragma once

#include "platform/ProductionRegister.h"
#include "platform/sql/SqlProductionRegister.h"

#include <memory>
#include <string>

// The production register a station uses: the URL it was given (--db, the
// factory window's setting), else the one in ORVANE_PRODUCTION_DB, else the
// SQLite file in the per-user data folder. The failure says what is wrong
// (a bad URL, a missing driver, an unreachable server) and what to do.

namespace orvane {

inline constexpr const char *kProductionDbVariable = "ORVANE_PRODUCTION_DB";
inline constexpr const char *kDefaultRegisterFile = "production.sqlite";

// The URL that will be used, for a station to show where it records.
std::string chosenRegisterUrl(const std::string &url, const std::string &userDataFolder);

Result<std::unique_ptr<ProductionRegister>>
openProductionRegister(const std::string &url,
                       const std::string &userDataFolder,
                       RegisterOptions options = {});

} // namespace orvane
