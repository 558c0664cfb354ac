#pragma once

#include "platform/Result.h"

// The production register's schema, one for SQLite and PostgreSQL, kept in
// numbered migrations. Opening a register brings an older database up to
// date, each migration once, in order, in one transaction with the row that
// records it; a database made by a newer program is left alone.

namespace orvane {

class SqlConnection;

constexpr int kRegisterSchemaVersion = 1;

Result<> migrateRegister(SqlConnection &connection);

} // namespace orvane
