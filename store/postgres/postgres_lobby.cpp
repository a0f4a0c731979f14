#include "store/postgres/postgres_lobby.h"

namespace quarn::store::postgres {

namespace {

LobbyEntry ReadEntry(const Result& rows, int row) {
  return {static_cast<std::int32_t>(rows.Int(row, 0)),
          static_cast<std::uint8_t>(rows.Int(row, 1)),
          static_cast<std::int32_t>(rows.Int(row, 2)),
          static_cast<std::int32_t>(rows.Int(row, 3)),
          {rows.Bytes(row, 4), rows.Bytes(row, 5), rows.Bytes(row, 6), rows.Bytes(row, 7)}};
}

}  // namespace

bool PostgresLobby::PublishLobby(const LobbyChange& change) {
  if (PublishSteps(change) && db_.Run("COMMIT").Ok()) return true;
  db_.RollbackIfOpen();
  return false;
}

bool PostgresLobby::PublishSteps(const LobbyChange& change) {
  const TableRange& range = change.range;
  if (!db_.Run("BEGIN").Ok()) return false;
  if (!db_.Run("INSERT INTO lobby_ranges VALUES($1, $2,"
               " (extract(epoch FROM clock_timestamp()) * 1000)::bigint)"
               " ON CONFLICT(first_table) DO UPDATE"
               " SET last_table = excluded.last_table, seen_at = excluded.seen_at",
               {range.first, range.last})
           .Ok()) {
    return false;
  }
  if (change.whole && !db_.Run("DELETE FROM lobby_tables WHERE table_number BETWEEN $1 AND $2",
                               {range.first, range.last})
                           .Ok()) {
    return false;
  }
  for (const std::int32_t table : change.gone) {
    if (!range.Holds(table)) continue;  // never another server's row
    if (!db_.Run("DELETE FROM lobby_tables WHERE table_number = $1", {table}).Ok()) return false;
  }
  for (const LobbyEntry& e : change.changed) {
    if (!range.Holds(e.table)) continue;
    if (!db_.Run("INSERT INTO lobby_tables VALUES($1, $2, $3, $4, $5, $6, $7, $8)"
                 " ON CONFLICT(table_number) DO UPDATE SET state = excluded.state,"
                 " watchers = excluded.watchers, watcher_limit = excluded.watcher_limit,"
                 " name0 = excluded.name0, name1 = excluded.name1, name2 = excluded.name2,"
                 " name3 = excluded.name3",
                 {e.table, e.state, e.watchers, e.watcherLimit, Param::Raw(e.names[0]),
                  Param::Raw(e.names[1]), Param::Raw(e.names[2]), Param::Raw(e.names[3])})
             .Ok()) {
      return false;
    }
  }
  return true;
}

std::optional<OthersLobby> PostgresLobby::ReadLobby(TableRange own,
                                                    std::chrono::milliseconds maxAge) {
  const Result rows = db_.Run(
      "SELECT table_number, state, watchers, watcher_limit, name0, name1, name2, name3"
      " FROM lobby_tables t WHERE (table_number < $1 OR table_number > $2)"
      " AND EXISTS (SELECT 1 FROM lobby_ranges r"
      "  WHERE t.table_number BETWEEN r.first_table AND r.last_table"
      "  AND r.seen_at > (extract(epoch FROM clock_timestamp()) * 1000)::bigint - $3)"
      " ORDER BY table_number LIMIT $4",
      {own.first, own.last, maxAge.count(), kMaxRows});
  const Result last = db_.Run(
      "SELECT coalesce(max(last_table), 0) FROM lobby_ranges"
      " WHERE (first_table < $1 OR first_table > $2)"
      " AND seen_at > (extract(epoch FROM clock_timestamp()) * 1000)::bigint - $3",
      {own.first, own.last, maxAge.count()});
  if (!rows.Ok() || last.Rows() != 1) return std::nullopt;
  OthersLobby others;
  for (int row = 0; row < rows.Rows(); ++row) others.tables.push_back(ReadEntry(rows, row));
  others.lastTable = static_cast<std::int32_t>(last.Int(0, 0));
  return others;
}

}  // namespace quarn::store::postgres
