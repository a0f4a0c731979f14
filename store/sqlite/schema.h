// The database's layout and how an older one is brought up to date. The
// version lives in the file (PRAGMA user_version); each migration moves it up
// by one in its own transaction, so a crash mid-migration leaves the older
// version whole.
#pragma once

#include <sqlite3.h>

#include <string>

namespace quarn::store {

// The version this program writes.
inline constexpr int kSchemaVersion = 1;
// Marks a file as ours (PRAGMA application_id): "QURN".
inline constexpr int kApplicationId = 0x5155524E;

enum class SchemaCheck : std::uint8_t { Current, NeedsMigration, Newer, Foreign };

// What the open file holds, without changing it.
SchemaCheck CheckSchema(sqlite3* db, int& version);

// Runs every migration from `version` up; the error, or empty.
std::string Migrate(sqlite3* db, int version);

}  // namespace quarn::store
