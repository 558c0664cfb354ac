#pragma once

#include "platform/Platform.h"
#include "platform/ProductionDatabase.h"

#include <string>

// The factory window's setting of where this station records the units it
// makes: a database URL kept in the user's settings, or none, which leaves
// ORVANE_PRODUCTION_DB or the SQLite file in the per-user data folder.

namespace orvane {

std::string stationDatabaseSetting(UserSettings &settings);

// Keeps the URL (blanks around it dropped; empty clears the setting) once
// it reads as a database URL; a URL that does not is refused and the
// setting stays as it was. The database now in use, in words.
Result<std::string> setStationDatabase(Platform &platform, const std::string &url);

// Opens the database in use as making a unit opens it: the database in
// words once it answers, or why it does not and what to do.
Result<std::string> checkStationDatabase(ProductionDatabase &database);

} // namespace orvane
