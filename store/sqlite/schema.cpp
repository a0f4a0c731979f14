#include "store/sqlite/schema.h"

#include <array>
#include <span>
#include <string_view>

#include "store/sqlite/statement.h"

namespace quarn::store {

namespace {

// Migration N takes the file from version N to N + 1; its last statement
// sets the version it leaves behind.
constexpr std::array<std::string_view, 8> kVersion1 = {
    "CREATE TABLE games("
    " id INTEGER PRIMARY KEY,"
    " finished_at INTEGER NOT NULL,"
    " table_number INTEGER NOT NULL,"
    " start_seat INTEGER NOT NULL,"
    " start_card INTEGER NOT NULL,"
    " landlord INTEGER NOT NULL,"
    " winner INTEGER NOT NULL,"
    " points INTEGER NOT NULL,"
    " cards BLOB NOT NULL,"   // the four hands of 25, then the 8 bottom cards
    " bids BLOB NOT NULL,"    // seat, points (0: pass) per bid
    " moves BLOB NOT NULL)",  // seat, count, cards per move (count 0: pass)
    "CREATE TABLE seats("
    " game_id INTEGER NOT NULL REFERENCES games(id),"
    " seat INTEGER NOT NULL,"
    " name BLOB NOT NULL,"
    " score_change INTEGER NOT NULL,"
    " PRIMARY KEY(game_id, seat)) WITHOUT ROWID",
    "CREATE INDEX seats_by_name ON seats(name, game_id)",
    "CREATE TABLE standings("
    " name BLOB PRIMARY KEY,"
    " games INTEGER NOT NULL,"
    " wins INTEGER NOT NULL,"
    " points INTEGER NOT NULL,"
    " landlord_games INTEGER NOT NULL,"
    " landlord_wins INTEGER NOT NULL,"
    " last_played INTEGER NOT NULL) WITHOUT ROWID",
    "CREATE INDEX standings_by_points ON standings(points DESC, name)",
    "CREATE TABLE accounts(name BLOB PRIMARY KEY, hash TEXT NOT NULL) WITHOUT ROWID",
    "PRAGMA application_id = 1364546126",
    "PRAGMA user_version = 1",
};

constexpr std::array<std::span<const std::string_view>, kSchemaVersion> kMigrations = {
    kVersion1,
};

std::int64_t PragmaInt(sqlite3* db, std::string_view sql) {
  Statement statement(db, sql);
  return statement.Next() == Statement::Step::Row ? statement.Int(0) : -1;
}

bool HasTables(sqlite3* db) {
  Statement statement(db, "SELECT count(*) FROM sqlite_master");
  return statement.Next() == Statement::Step::Row && statement.Int(0) > 0;
}

std::string Error(sqlite3* db) {
  return sqlite3_errmsg(db);
}

}  // namespace

static_assert(kApplicationId == 1364546126);

SchemaCheck CheckSchema(sqlite3* db, int& version) {
  version = static_cast<int>(PragmaInt(db, "PRAGMA user_version"));
  const std::int64_t application = PragmaInt(db, "PRAGMA application_id");
  if (application != kApplicationId && (application != 0 || version != 0 || HasTables(db))) {
    return SchemaCheck::Foreign;
  }
  if (version > kSchemaVersion) return SchemaCheck::Newer;
  return version == kSchemaVersion ? SchemaCheck::Current : SchemaCheck::NeedsMigration;
}

std::string Migrate(sqlite3* db, int version) {
  for (int from = version; from < kSchemaVersion; ++from) {
    Statement begin(db, "BEGIN IMMEDIATE");
    if (!begin.Run()) return Error(db);
    for (const std::string_view sql : kMigrations[from]) {
      Statement step(db, sql);
      if (!step.Ok() || !step.Run()) {
        std::string error = Error(db);
        Statement rollback(db, "ROLLBACK");
        (void)rollback.Run();
        return "migration to version " + std::to_string(from + 1) + " failed: " + error;
      }
    }
    Statement commit(db, "COMMIT");
    if (!commit.Run()) return Error(db);
  }
  return {};
}

}  // namespace quarn::store
