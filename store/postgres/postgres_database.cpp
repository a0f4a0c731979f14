#include "store/postgres/postgres_database.h"

#include <algorithm>
#include <numeric>

#include "store/postgres/schema.h"
#include "store/record_bytes.h"

namespace quarn::store {

using postgres::Param;
using postgres::Result;

namespace {

constexpr const char* kStandingColumns =
    "SELECT name, games, wins, points, landlord_games, landlord_wins, last_played"
    " FROM standings ";

Standing ReadStanding(const Result& rows, int row) {
  return {rows.Bytes(row, 0), rows.Int(row, 1), rows.Int(row, 2), rows.Int(row, 3),
          rows.Int(row, 4),   rows.Int(row, 5), rows.Int(row, 6)};
}

std::string Query(std::string_view tail) {
  return kStandingColumns + std::string(tail);
}

}  // namespace

bool IsPostgresUri(std::string_view where) {
  return where.starts_with("postgresql://") || where.starts_with("postgres://");
}

PostgresDatabase::Opened PostgresDatabase::Open(const std::string& uri) {
  auto db = std::make_unique<postgres::Connection>(uri);
  if (!db->Ok()) return {nullptr, "cannot connect to the database: " + db->Error()};
  if (std::string error = postgres::Migrate(*db); !error.empty()) return {nullptr, error};
  return {std::unique_ptr<PostgresDatabase>(new PostgresDatabase(std::move(db))), {}};
}

bool PostgresDatabase::Fail() {
  lastError_ = db_->Error();
  db_->RollbackIfOpen();
  return false;
}

bool PostgresDatabase::Write(const GameRecord& game) {
  return WriteSteps(game) || Fail();
}

bool PostgresDatabase::WriteSteps(const GameRecord& game) {
  if (!db_->Run("BEGIN").Ok()) return false;
  const Result inserted = db_->Run(
      "INSERT INTO games(finished_at, table_number, start_seat, start_card, landlord, winner,"
      " points, cards, bids, moves) VALUES($1, $2, $3, $4, $5, $6, $7, $8, $9, $10)"
      " ON CONFLICT DO NOTHING RETURNING id",
      {game.finishedAt, game.table, game.startSeat, game.startCard, game.landlord, game.winner,
       game.points, Param::Raw(CardsBytes(game)), Param::Raw(BidsBytes(game)),
       Param::Raw(MovesBytes(game))});
  if (!inserted.Ok()) return false;
  // No row: this very game is stored already (a commit whose answer was lost).
  if (inserted.Rows() == 0) return db_->Run("COMMIT").Ok();
  const std::int64_t id = inserted.Int(0, 0);
  // Standings rows are locked in name order, so that two servers writing
  // games of the same players never wait on each other in a circle.
  std::array<int, kSeats> order{};
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](int a, int b) { return game.names[a] < game.names[b]; });
  for (const int seat : order) {
    if (!db_->Run("INSERT INTO seats(game_id, seat, name, score_change) VALUES($1, $2, $3, $4)",
                  {id, seat, Param::Raw(game.names[seat]), game.scoreChange[seat]})
             .Ok()) {
      return false;
    }
    const bool landlord = seat == game.landlord;
    if (!db_->Run("INSERT INTO standings(name, games, wins, points, landlord_games,"
                  " landlord_wins, last_played) VALUES($1, 1, $2, $3, $4, $5, $6)"
                  " ON CONFLICT(name) DO UPDATE SET games = standings.games + 1,"
                  " wins = standings.wins + excluded.wins,"
                  " points = standings.points + excluded.points,"
                  " landlord_games = standings.landlord_games + excluded.landlord_games,"
                  " landlord_wins = standings.landlord_wins + excluded.landlord_wins,"
                  " last_played = greatest(standings.last_played, excluded.last_played)",
                  {Param::Raw(game.names[seat]), game.Won(seat) ? 1 : 0, game.scoreChange[seat],
                   landlord ? 1 : 0, landlord && game.Won(seat) ? 1 : 0, game.finishedAt})
             .Ok()) {
      return false;
    }
  }
  return db_->Run("COMMIT").Ok();
}

bool PostgresDatabase::SetPasswordHash(std::string_view name, std::string_view hash) {
  return db_->Run(
                "INSERT INTO accounts(name, hash) VALUES($1, $2)"
                " ON CONFLICT(name) DO UPDATE SET hash = excluded.hash",
                {Param::Raw(name), Param::Raw(hash)})
             .Ok() ||
         Fail();
}

AccountWrite PostgresDatabase::AddPasswordHash(std::string_view name, std::string_view hash) {
  return Changed(
      db_->Run("INSERT INTO accounts(name, hash) VALUES($1, $2) ON CONFLICT(name) DO NOTHING",
               {Param::Raw(name), Param::Raw(hash)}));
}

AccountWrite PostgresDatabase::RemovePasswordHash(std::string_view name) {
  return Changed(db_->Run("DELETE FROM accounts WHERE name = $1", {Param::Raw(name)}));
}

AccountWrite PostgresDatabase::Changed(const Result& result) {
  if (!result.Ok()) {
    Fail();
    return AccountWrite::Failed;
  }
  return result.Changed() > 0 ? AccountWrite::Done : AccountWrite::Refused;
}

std::vector<Standing> PostgresDatabase::Top(std::size_t count) {
  const Result rows =
      db_->Run(Query("ORDER BY points DESC, name LIMIT $1"), {static_cast<std::int64_t>(count)});
  std::vector<Standing> lines;
  lines.reserve(static_cast<std::size_t>(rows.Rows()));
  for (int row = 0; row < rows.Rows(); ++row) lines.push_back(ReadStanding(rows, row));
  return lines;
}

std::optional<Standing> PostgresDatabase::StandingOf(std::string_view name) {
  const Result rows = db_->Run(Query("WHERE name = $1"), {Param::Raw(name)});
  if (rows.Rows() != 1) return std::nullopt;
  return ReadStanding(rows, 0);
}

std::int64_t PostgresDatabase::RankOf(const Standing& line) {
  // Two ranges of the points index, counted; an OR of both would scan the table.
  const Result rows = db_->Run(
      "SELECT (SELECT count(*) FROM standings WHERE points > $1) +"
      " (SELECT count(*) FROM standings WHERE points = $1 AND name < $2)",
      {line.points, Param::Raw(line.name)});
  return rows.Rows() == 1 ? rows.Int(0, 0) + 1 : 0;
}

std::vector<GameSummary> PostgresDatabase::RecentGames(std::string_view name, std::size_t count) {
  const Result rows =
      db_->Run("SELECT DISTINCT game_id FROM seats WHERE name = $1 ORDER BY game_id DESC LIMIT $2",
               {Param::Raw(name), static_cast<std::int64_t>(count)});
  std::vector<GameSummary> games;
  for (int row = 0; row < rows.Rows(); ++row) {
    const std::int64_t id = rows.Int(row, 0);
    if (auto game = Game(id)) {
      games.push_back({id, game->finishedAt, game->table, game->names, game->landlord, game->points,
                       game->scoreChange});
    }
  }
  return games;
}

std::optional<GameRecord> PostgresDatabase::Game(std::int64_t id) {
  const Result row = db_->Run(
      "SELECT finished_at, table_number, start_seat, start_card, landlord, winner, points,"
      " cards, bids, moves FROM games WHERE id = $1",
      {id});
  if (row.Rows() != 1) return std::nullopt;
  GameRecord game;
  game.finishedAt = row.Int(0, 0);
  game.table = static_cast<std::int32_t>(row.Int(0, 1));
  game.startSeat = static_cast<std::uint8_t>(row.Int(0, 2));
  game.startCard = static_cast<std::uint8_t>(row.Int(0, 3));
  game.landlord = static_cast<std::uint8_t>(row.Int(0, 4));
  game.winner = static_cast<std::uint8_t>(row.Int(0, 5));
  game.points = static_cast<std::uint32_t>(row.Int(0, 6));
  if (!ReadCards(row.Bytes(0, 7), game) || !ReadBids(row.Bytes(0, 8), game) ||
      !ReadMoves(row.Bytes(0, 9), game)) {
    return std::nullopt;
  }
  const Result seats =
      db_->Run("SELECT seat, name, score_change FROM seats WHERE game_id = $1 ORDER BY seat", {id});
  if (seats.Rows() != kSeats) return std::nullopt;
  for (int seat = 0; seat < kSeats; ++seat) {
    if (seats.Int(seat, 0) != seat) return std::nullopt;
    game.names[seat] = seats.Bytes(seat, 1);
    game.scoreChange[seat] = seats.Int(seat, 2);
  }
  return game;
}

std::optional<std::string> PostgresDatabase::PasswordHash(std::string_view name) {
  const Result rows = db_->Run("SELECT hash FROM accounts WHERE name = $1", {Param::Raw(name)});
  if (rows.Rows() != 1) return std::nullopt;
  return rows.Bytes(0, 0);
}

}  // namespace quarn::store
