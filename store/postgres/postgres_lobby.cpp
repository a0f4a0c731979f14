#include "store/postgres/postgres_lobby.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace quarn::store::postgres {

namespace {

// A column of rows as one array literal, so that a publication is one
// statement however many tables changed: numbers as they are, bytes as
// quoted hex ("\\x6162" is the two bytes "ab").
template <typename Each>
std::string ArrayOf(std::size_t count, const Each& each) {
  std::string text = "{";
  for (std::size_t i = 0; i < count; ++i) text += (i > 0 ? "," : "") + each(i);
  return text + "}";
}

std::string Hex(std::string_view bytes) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string text = R"("\\x)";
  for (const char c : bytes) {
    text += kDigits[static_cast<unsigned char>(c) >> 4];
    text += kDigits[static_cast<unsigned char>(c) & 0x0F];
  }
  return text + "\"";
}

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
  // Only the range's own rows: never another server's.
  std::vector<std::int32_t> gone;
  std::copy_if(change.gone.begin(), change.gone.end(), std::back_inserter(gone),
               [&](std::int32_t table) { return range.Holds(table); });
  std::vector<const LobbyEntry*> rows;
  for (const LobbyEntry& entry : change.changed) {
    if (range.Holds(entry.table)) rows.push_back(&entry);
  }
  if (!gone.empty() &&
      !db_.Run("DELETE FROM lobby_tables WHERE table_number = ANY($1::bigint[])",
               {Param::Text(
                   ArrayOf(gone.size(), [&](std::size_t i) { return std::to_string(gone[i]); }))})
           .Ok()) {
    return false;
  }
  if (rows.empty()) return true;
  const auto numbers = [&](auto field) {
    return Param::Text(
        ArrayOf(rows.size(), [&](std::size_t i) { return std::to_string(field(*rows[i])); }));
  };
  const auto names = [&](int seat) {
    return Param::Text(
        ArrayOf(rows.size(), [&](std::size_t i) { return Hex(rows[i]->names[seat]); }));
  };
  return db_
      .Run(
          "INSERT INTO lobby_tables SELECT * FROM unnest($1::bigint[], $2::bigint[],"
          " $3::bigint[], $4::bigint[], $5::bytea[], $6::bytea[], $7::bytea[], $8::bytea[])"
          " ON CONFLICT(table_number) DO UPDATE SET state = excluded.state,"
          " watchers = excluded.watchers, watcher_limit = excluded.watcher_limit,"
          " name0 = excluded.name0, name1 = excluded.name1, name2 = excluded.name2,"
          " name3 = excluded.name3",
          {numbers([](const LobbyEntry& e) { return e.table; }),
           numbers([](const LobbyEntry& e) { return int{e.state}; }),
           numbers([](const LobbyEntry& e) { return e.watchers; }),
           numbers([](const LobbyEntry& e) { return e.watcherLimit; }), names(0), names(1),
           names(2), names(3)})
      .Ok();
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
