#include "store/postgres/schema.h"

#include <array>
#include <span>
#include <string_view>

namespace quarn::store::postgres {

namespace {

// "QURN", as the SQLite file's application id: the advisory lock's key.
constexpr std::int64_t kLockKey = 0x5155524E;

// Migration N takes the database from version N to N + 1. The unique deal
// key makes a game written again after a commit whose answer was lost a
// no-op rather than a second copy.
constexpr std::array<std::string_view, 7> kVersion1 = {
    "CREATE TABLE quarn_schema(version BIGINT NOT NULL)",
    "CREATE TABLE games("
    " id BIGSERIAL PRIMARY KEY,"
    " finished_at BIGINT NOT NULL,"
    " table_number BIGINT NOT NULL,"
    " start_seat BIGINT NOT NULL,"
    " start_card BIGINT NOT NULL,"
    " landlord BIGINT NOT NULL,"
    " winner BIGINT NOT NULL,"
    " points BIGINT NOT NULL,"
    " cards BYTEA NOT NULL,"  // the four hands of 25, then the 8 bottom cards
    " bids BYTEA NOT NULL,"   // seat, points (0: pass) per bid
    " moves BYTEA NOT NULL,"  // seat, count, cards per move (count 0: pass)
    " UNIQUE(finished_at, table_number, cards))",
    "CREATE TABLE seats("
    " game_id BIGINT NOT NULL REFERENCES games(id),"
    " seat BIGINT NOT NULL,"
    " name BYTEA NOT NULL,"
    " score_change BIGINT NOT NULL,"
    " PRIMARY KEY(game_id, seat))",
    "CREATE INDEX seats_by_name ON seats(name, game_id)",
    "CREATE TABLE standings("
    " name BYTEA PRIMARY KEY,"
    " games BIGINT NOT NULL,"
    " wins BIGINT NOT NULL,"
    " points BIGINT NOT NULL,"
    " landlord_games BIGINT NOT NULL,"
    " landlord_wins BIGINT NOT NULL,"
    " last_played BIGINT NOT NULL)",
    "CREATE INDEX standings_by_points ON standings(points DESC, name)",
    "CREATE TABLE accounts(name BYTEA PRIMARY KEY, hash TEXT NOT NULL)",
};

// The shared lobby: each server's range with when it last published (ms by
// the database's clock), and the tables in use.
constexpr std::array<std::string_view, 2> kVersion2 = {
    "CREATE TABLE lobby_ranges("
    " first_table BIGINT PRIMARY KEY,"
    " last_table BIGINT NOT NULL,"
    " seen_at BIGINT NOT NULL)",
    "CREATE TABLE lobby_tables("
    " table_number BIGINT PRIMARY KEY,"
    " state BIGINT NOT NULL,"
    " watchers BIGINT NOT NULL,"
    " watcher_limit BIGINT NOT NULL,"
    " name0 BYTEA NOT NULL,"
    " name1 BYTEA NOT NULL,"
    " name2 BYTEA NOT NULL,"
    " name3 BYTEA NOT NULL)",
};

constexpr std::array<std::span<const std::string_view>, kSchemaVersion> kMigrations = {
    kVersion1,
    kVersion2,
};

// The version in the database: 0 when it is empty, -1 when it holds tables
// that are not ours.
std::int64_t Version(Connection& db) {
  const Result known = db.Run("SELECT to_regclass('quarn_schema') IS NOT NULL");
  if (known.Ok() && known.Rows() == 1 && known.Int(0, 0) != 0) {
    const Result ours = db.Run("SELECT version FROM quarn_schema");
    return ours.Ok() && ours.Rows() == 1 ? ours.Int(0, 0) : -1;
  }
  const Result any = db.Run("SELECT count(*) FROM pg_tables WHERE schemaname = current_schema()");
  return any.Ok() && any.Rows() == 1 && any.Int(0, 0) == 0 ? 0 : -1;
}

std::string Step(Connection& db, std::int64_t from) {
  for (const std::string_view sql : kMigrations[from]) {
    if (!db.Run(sql).Ok()) return db.Error();
  }
  const Result set = from == 0 ? db.Run("INSERT INTO quarn_schema VALUES($1)", {from + 1})
                               : db.Run("UPDATE quarn_schema SET version = $1", {from + 1});
  return set.Ok() ? std::string() : db.Error();
}

std::string MigrationFailed(std::int64_t to, const std::string& why) {
  return "migration to version " + std::to_string(to) + " failed: " + why;
}

}  // namespace

std::string Migrate(Connection& db) {
  for (;;) {
    if (!db.Run("BEGIN").Ok()) return db.Error();
    if (!db.Run("SELECT pg_advisory_xact_lock($1)", {kLockKey}).Ok()) return db.Error();
    // Read under the lock: another process may have just migrated.
    const std::int64_t version = Version(db);
    std::string error;
    if (version < 0) {
      error = "the database is not a Quarn game database; it was left untouched";
    } else if (version > kSchemaVersion) {
      error = "the database has schema version " + std::to_string(version) +
              ", newer than this program's " + std::to_string(kSchemaVersion) +
              "; use a newer quarnd";
    } else if (version < kSchemaVersion) {
      error = Step(db, version);
      if (error.empty()) {
        if (!db.Run("COMMIT").Ok()) return db.Error();
        continue;
      }
      error = MigrationFailed(version + 1, error);
    }
    if (error.empty()) return db.Run("COMMIT").Ok() ? std::string() : db.Error();
    db.RollbackIfOpen();
    return error;
  }
}

}  // namespace quarn::store::postgres
