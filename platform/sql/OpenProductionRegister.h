#pragma once

#include "platform/ProductionDatabase.h"
#include "platform/ProductionRegister.h"
#include "platform/sql/RegisterUrl.h"
#include "platform/sql/SqlProductionRegister.h"

#include <memory>
#include <string>

// The production register a station uses: the URL it was given (--db, the
// factory window's setting), else the one in ORVANE_PRODUCTION_DB, else the
// SQLite file in the per-user data folder. The failure says what is wrong
// (a bad URL, a missing driver, an unreachable server) and what to do.

namespace orvane {

// The URL that will be used, for a station to show where it records.
std::string chosenRegisterUrl(const std::string &url, const std::string &userDataFolder);

Result<std::unique_ptr<ProductionRegister>>
openProductionRegister(const std::string &url,
                       const std::string &userDataFolder,
                       RegisterOptions options = {});

// The register at a location already read from its URL.
Result<std::unique_ptr<ProductionRegister>> openRegisterAt(const RegisterLocation &location,
                                                           RegisterOptions options);

} // namespace orvane
