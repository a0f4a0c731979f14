#include "store/sqlite/sqlite_lobby.h"

#include "store/sqlite/statement.h"

namespace quarn::store {

namespace {

LobbyEntry ReadEntry(const Statement& row) {
  return {static_cast<std::int32_t>(row.Int(0)),
          static_cast<std::uint8_t>(row.Int(1)),
          static_cast<std::int32_t>(row.Int(2)),
          static_cast<std::int32_t>(row.Int(3)),
          {row.Bytes(4), row.Bytes(5), row.Bytes(6), row.Bytes(7)}};
}

}  // namespace

bool SqliteLobby::Made() {
  if (!made_) {
    Statement ranges(db_,
                     "CREATE TEMP TABLE IF NOT EXISTS lobby_ranges(first_table INTEGER PRIMARY KEY,"
                     " last_table INTEGER NOT NULL, seen_at INTEGER NOT NULL)");
    Statement tables(
        db_,
        "CREATE TEMP TABLE IF NOT EXISTS lobby_tables(table_number INTEGER PRIMARY KEY,"
        " state INTEGER NOT NULL, watchers INTEGER NOT NULL,"
        " watcher_limit INTEGER NOT NULL, name0 BLOB NOT NULL, name1 BLOB NOT NULL,"
        " name2 BLOB NOT NULL, name3 BLOB NOT NULL)");
    made_ = ranges.Run() && tables.Run();
  }
  return made_;
}

bool SqliteLobby::PublishLobby(const LobbyChange& change) {
  if (!Made()) return false;
  Statement begin(db_, "BEGIN IMMEDIATE");
  if (!begin.Run()) return false;
  if (PublishSteps(change)) {
    Statement commit(db_, "COMMIT");
    if (commit.Run()) return true;
  }
  Statement rollback(db_, "ROLLBACK");
  (void)rollback.Run();
  return false;
}

bool SqliteLobby::PublishSteps(const LobbyChange& change) {
  const TableRange& range = change.range;
  Statement alive(db_,
                  "INSERT INTO lobby_ranges VALUES(?, ?, "
                  " CAST((julianday('now') - 2440587.5) * 86400000 AS INTEGER)) ON "
                  "CONFLICT(first_table) DO UPDATE"
                  " SET last_table = excluded.last_table, seen_at = excluded.seen_at");
  if (!alive.Bind(1, range.first).Bind(2, range.last).Run()) return false;
  if (change.whole) {
    Statement clear(db_, "DELETE FROM lobby_tables WHERE table_number BETWEEN ? AND ?");
    if (!clear.Bind(1, range.first).Bind(2, range.last).Run()) return false;
  }
  Statement remove(db_, "DELETE FROM lobby_tables WHERE table_number = ?");
  for (const std::int32_t table : change.gone) {
    if (!range.Holds(table)) continue;  // never another server's row
    if (!remove.Bind(1, table).Run()) return false;
  }
  Statement write(db_, "INSERT OR REPLACE INTO lobby_tables VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
  for (const LobbyEntry& entry : change.changed) {
    if (!range.Holds(entry.table)) continue;
    write.Bind(1, entry.table)
        .Bind(2, entry.state)
        .Bind(3, entry.watchers)
        .Bind(4, entry.watcherLimit);
    for (int seat = 0; seat < kSeats; ++seat) write.BindBytes(5 + seat, entry.names[seat]);
    if (!write.Run()) return false;
  }
  return true;
}

std::optional<OthersLobby> SqliteLobby::ReadLobby(TableRange own,
                                                  std::chrono::milliseconds maxAge) {
  if (!Made()) return std::nullopt;
  Statement rows(db_,
                 "SELECT table_number, state, watchers, watcher_limit, name0, name1, name2, name3"
                 " FROM lobby_tables t WHERE (table_number < ?1 OR table_number > ?2)"
                 " AND EXISTS (SELECT 1 FROM lobby_ranges r WHERE t.table_number"
                 " BETWEEN r.first_table AND r.last_table AND r.seen_at >"
                 " CAST((julianday('now') - 2440587.5) * 86400000 AS INTEGER) - ?3) ORDER BY "
                 "table_number LIMIT ?4");
  rows.Bind(1, own.first).Bind(2, own.last).Bind(3, maxAge.count()).Bind(4, kMaxRows);
  OthersLobby others;
  Statement::Step step = Statement::Step::Row;
  while ((step = rows.Next()) == Statement::Step::Row) others.tables.push_back(ReadEntry(rows));
  if (step == Statement::Step::Failed) return std::nullopt;
  Statement last(db_,
                 "SELECT coalesce(max(last_table), 0) FROM lobby_ranges"
                 " WHERE (first_table < ?1 OR first_table > ?2) AND seen_at >"
                 " CAST((julianday('now') - 2440587.5) * 86400000 AS INTEGER) - ?3");
  last.Bind(1, own.first).Bind(2, own.last).Bind(3, maxAge.count());
  if (last.Next() != Statement::Step::Row) return std::nullopt;
  others.lastTable = static_cast<std::int32_t>(last.Int(0));
  return others;
}

}  // namespace quarn::store
