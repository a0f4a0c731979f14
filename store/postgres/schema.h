// The database's layout, the same tables as the SQLite file's, written for
// PostgreSQL. The version lives in a table of its own (quarn_schema); each
// migration runs in one transaction under an advisory lock, so processes
// that start together against a new database create it once.
#pragma once

#include <string>

#include "store/postgres/connection.h"

namespace quarn::store::postgres {

// The version this program writes.
inline constexpr int kSchemaVersion = 2;

// Brings the database up to date; the error, or empty. Refuses a database
// of a newer version or one that holds tables of another program.
std::string Migrate(Connection& db);

}  // namespace quarn::store::postgres
