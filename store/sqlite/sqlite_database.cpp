#include "store/sqlite/sqlite_database.h"

#include <system_error>
#include <utility>

#include "store/record_bytes.h"
#include "store/sqlite/schema.h"

namespace quarn::store {

namespace {

Standing ReadStanding(const Statement& row) {
  return {row.Bytes(0), row.Int(1), row.Int(2), row.Int(3), row.Int(4), row.Int(5), row.Int(6)};
}

std::string Message(sqlite3* db) {
  return sqlite3_errmsg(db);
}

// The soundness and schema checks of a file just opened, which change
// nothing in it; the error, or empty. `migrate` tells whether it is older.
std::string CheckFile(sqlite3* db, const std::string& name, SqliteDatabase::Mode mode, int& version,
                      bool& migrate) {
  Statement check(db, "PRAGMA quick_check");
  if (!check.Ok() || check.Next() != Statement::Step::Row || check.Bytes(0) != "ok") {
    const std::string why = check.Ok() ? check.Bytes(0) : Message(db);
    return name + " is not a sound database (" + why + "); it was left untouched";
  }
  switch (CheckSchema(db, version)) {
    case SchemaCheck::Foreign:
      return name + " is not a Quarn game database; it was left untouched";
    case SchemaCheck::Newer:
      return name + " has schema version " + std::to_string(version) +
             ", newer than this program's " + std::to_string(kSchemaVersion) +
             "; use a newer quarnd";
    case SchemaCheck::NeedsMigration:
      if (mode == SqliteDatabase::Mode::ReadOnly) {
        return name + " has an older schema; a server opening it brings it up to date";
      }
      migrate = true;
      return {};
    case SchemaCheck::Current:
      return {};
  }
  return {};
}

// WAL lets readers (the export tool) look while the server writes; FULL
// makes a committed game survive a power cut, not only a crash.
std::string Configure(sqlite3* db) {
  Statement wal(db, "PRAGMA journal_mode = WAL");
  if (wal.Next() != Statement::Step::Row || wal.Bytes(0) != "wal") {
    return "cannot switch to WAL: " + Message(db);
  }
  Statement full(db, "PRAGMA synchronous = FULL");
  if (!full.Run()) return Message(db);
  return {};
}

}  // namespace

struct SqliteDatabase::Statements {
  explicit Statements(sqlite3* db)
      : begin(db, "BEGIN IMMEDIATE"),
        commit(db, "COMMIT"),
        rollback(db, "ROLLBACK"),
        insertGame(db,
                   "INSERT INTO games(finished_at, table_number, start_seat, start_card, landlord,"
                   " winner, points, cards, bids, moves) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        insertSeat(db, "INSERT INTO seats(game_id, seat, name, score_change) VALUES(?, ?, ?, ?)"),
        addStanding(db,
                    "INSERT INTO standings(name, games, wins, points, landlord_games,"
                    " landlord_wins, last_played) VALUES(?, 1, ?, ?, ?, ?, ?)"
                    " ON CONFLICT(name) DO UPDATE SET games = games + 1,"
                    " wins = wins + excluded.wins, points = points + excluded.points,"
                    " landlord_games = landlord_games + excluded.landlord_games,"
                    " landlord_wins = landlord_wins + excluded.landlord_wins,"
                    " last_played = max(last_played, excluded.last_played)"),
        top(db,
            "SELECT name, games, wins, points, landlord_games, landlord_wins, last_played"
            " FROM standings ORDER BY points DESC, name LIMIT ?"),
        standingOf(db,
                   "SELECT name, games, wins, points, landlord_games, landlord_wins, last_played"
                   " FROM standings WHERE name = ?"),
        rankOf(db,
               "SELECT (SELECT count(*) FROM standings WHERE points > ?1) +"
               " (SELECT count(*) FROM standings WHERE points = ?1 AND name < ?2)"),
        recentIds(db,
                  "SELECT DISTINCT game_id FROM seats WHERE name = ?"
                  " ORDER BY game_id DESC LIMIT ?"),
        game(db,
             "SELECT finished_at, table_number, start_seat, start_card, landlord, winner, points,"
             " cards, bids, moves FROM games WHERE id = ?"),
        seats(db, "SELECT seat, name, score_change FROM seats WHERE game_id = ? ORDER BY seat"),
        passwordHash(db, "SELECT hash FROM accounts WHERE name = ?"),
        setPasswordHash(db,
                        "INSERT INTO accounts(name, hash) VALUES(?, ?)"
                        " ON CONFLICT(name) DO UPDATE SET hash = excluded.hash"),
        addPasswordHash(db,
                        "INSERT INTO accounts(name, hash) VALUES(?, ?)"
                        " ON CONFLICT(name) DO NOTHING"),
        removePasswordHash(db, "DELETE FROM accounts WHERE name = ?") {}

  bool AllOk() const {
    for (const Statement* statement :
         {&begin, &commit, &rollback, &insertGame, &insertSeat, &addStanding, &top, &standingOf,
          &rankOf, &recentIds, &game, &seats, &passwordHash, &setPasswordHash, &addPasswordHash,
          &removePasswordHash}) {
      if (!statement->Ok()) return false;
    }
    return true;
  }

  Statement begin, commit, rollback;
  Statement insertGame, insertSeat, addStanding;
  Statement top, standingOf, rankOf, recentIds, game, seats;
  Statement passwordHash, setPasswordHash, addPasswordHash, removePasswordHash;
};

SqliteDatabase::SqliteDatabase(Connection db, FileLock lock)
    : db_(std::move(db)), lock_(std::move(lock)) {}

// The statements go before the connection closes.
SqliteDatabase::~SqliteDatabase() {
  statements_.reset();
}

SqliteDatabase::Opened SqliteDatabase::Open(const std::filesystem::path& file, Mode mode) {
  const std::string name = file.string();
  FileLock lock;
  if (mode == Mode::Serve) {
    if (std::string error = lock.Take(file); !error.empty()) return {nullptr, error};
  }
  std::error_code missing;
  const bool exists = std::filesystem::exists(file, missing);
  if (!exists && mode == Mode::ReadOnly) return {nullptr, name + ": no such database"};
  int flags = SQLITE_OPEN_NOMUTEX;
  if (mode == Mode::ReadOnly) {
    flags |= SQLITE_OPEN_READONLY;
  } else {
    flags |= SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE);
  }
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(name.c_str(), &raw, flags, nullptr);
  Connection db(raw);
  if (opened != SQLITE_OK) {
    return {nullptr, "cannot open " + name + ": " + (raw ? Message(raw) : "out of memory")};
  }
  sqlite3_extended_result_codes(db.get(), 1);
  int version = 0;
  bool migrate = false;
  std::string error = CheckFile(db.get(), name, mode, version, migrate);
  if (error.empty() && mode == Mode::Serve) error = Configure(db.get());
  if (error.empty() && migrate) error = Migrate(db.get(), version);
  if (!error.empty()) return {nullptr, error};
  std::unique_ptr<SqliteDatabase> database(new SqliteDatabase(std::move(db), std::move(lock)));
  if (error = database->Prepare(); !error.empty()) return {nullptr, error};
  return {std::move(database), {}};
}

std::string SqliteDatabase::Prepare() {
  statements_ = std::make_unique<Statements>(db_.get());
  if (!statements_->AllOk()) return "cannot prepare the store's statements: " + Message(db_.get());
  return {};
}

bool SqliteDatabase::Fail() {
  lastError_ = Message(db_.get());
  if (sqlite3_get_autocommit(db_.get()) == 0) (void)statements_->rollback.Run();
  return false;
}

bool SqliteDatabase::Write(const GameRecord& game) {
  return WriteSteps(game) || Fail();
}

bool SqliteDatabase::WriteSteps(const GameRecord& game) {
  Statements& s = *statements_;
  if (!s.begin.Run()) return false;
  s.insertGame.Bind(1, game.finishedAt)
      .Bind(2, game.table)
      .Bind(3, game.startSeat)
      .Bind(4, game.startCard)
      .Bind(5, game.landlord)
      .Bind(6, game.winner)
      .Bind(7, game.points)
      .BindBytes(8, CardsBytes(game))
      .BindBytes(9, BidsBytes(game))
      .BindBytes(10, MovesBytes(game));
  if (!s.insertGame.Run()) return false;
  const std::int64_t id = sqlite3_last_insert_rowid(db_.get());
  for (int seat = 0; seat < kSeats; ++seat) {
    s.insertSeat.Bind(1, id)
        .Bind(2, seat)
        .BindBytes(3, game.names[seat])
        .Bind(4, game.scoreChange[seat]);
    if (!s.insertSeat.Run()) return false;
    const bool landlord = seat == game.landlord;
    s.addStanding.BindBytes(1, game.names[seat])
        .Bind(2, game.Won(seat) ? 1 : 0)
        .Bind(3, game.scoreChange[seat])
        .Bind(4, landlord ? 1 : 0)
        .Bind(5, landlord && game.Won(seat) ? 1 : 0)
        .Bind(6, game.finishedAt);
    if (!s.addStanding.Run()) return false;
  }
  return s.commit.Run();
}

bool SqliteDatabase::SetPasswordHash(std::string_view name, std::string_view hash) {
  statements_->setPasswordHash.BindBytes(1, name).BindText(2, hash);
  return statements_->setPasswordHash.Run() || Fail();
}

AccountWrite SqliteDatabase::AddPasswordHash(std::string_view name, std::string_view hash) {
  statements_->addPasswordHash.BindBytes(1, name).BindText(2, hash);
  return Changed(statements_->addPasswordHash.Run());
}

AccountWrite SqliteDatabase::RemovePasswordHash(std::string_view name) {
  statements_->removePasswordHash.BindBytes(1, name);
  return Changed(statements_->removePasswordHash.Run());
}

AccountWrite SqliteDatabase::Changed(bool ran) {
  if (!ran) {
    Fail();
    return AccountWrite::Failed;
  }
  return sqlite3_changes(db_.get()) > 0 ? AccountWrite::Done : AccountWrite::Refused;
}

std::vector<Standing> SqliteDatabase::Top(std::size_t count) {
  Statement& top = statements_->top;
  ResetOnExit reset(top);
  top.Bind(1, static_cast<std::int64_t>(count));
  std::vector<Standing> lines;
  while (top.Next() == Statement::Step::Row) lines.push_back(ReadStanding(top));
  return lines;
}

std::optional<Standing> SqliteDatabase::StandingOf(std::string_view name) {
  Statement& query = statements_->standingOf;
  ResetOnExit reset(query);
  query.BindBytes(1, name);
  if (query.Next() != Statement::Step::Row) return std::nullopt;
  return ReadStanding(query);
}

std::int64_t SqliteDatabase::RankOf(const Standing& line) {
  Statement& query = statements_->rankOf;
  ResetOnExit reset(query);
  // Two ranges of the points index, counted; an OR of both would scan the table.
  query.Bind(1, line.points).BindBytes(2, line.name);
  return query.Next() == Statement::Step::Row ? query.Int(0) + 1 : 0;
}

std::vector<GameSummary> SqliteDatabase::RecentGames(std::string_view name, std::size_t count) {
  std::vector<std::int64_t> ids;
  {
    Statement& query = statements_->recentIds;
    ResetOnExit reset(query);
    query.BindBytes(1, name).Bind(2, static_cast<std::int64_t>(count));
    while (query.Next() == Statement::Step::Row) ids.push_back(query.Int(0));
  }
  std::vector<GameSummary> games;
  for (const std::int64_t id : ids) {
    if (auto summary = Summary(id)) games.push_back(std::move(*summary));
  }
  return games;
}

std::optional<GameSummary> SqliteDatabase::Summary(std::int64_t id) {
  auto game = Game(id);
  if (!game) return std::nullopt;
  return GameSummary{id,           game->finishedAt, game->table, game->names, game->landlord,
                     game->points, game->scoreChange};
}

std::optional<GameRecord> SqliteDatabase::Game(std::int64_t id) {
  GameRecord game;
  {
    Statement& query = statements_->game;
    ResetOnExit reset(query);
    query.Bind(1, id);
    if (query.Next() != Statement::Step::Row) return std::nullopt;
    game.finishedAt = query.Int(0);
    game.table = static_cast<std::int32_t>(query.Int(1));
    game.startSeat = static_cast<std::uint8_t>(query.Int(2));
    game.startCard = static_cast<std::uint8_t>(query.Int(3));
    game.landlord = static_cast<std::uint8_t>(query.Int(4));
    game.winner = static_cast<std::uint8_t>(query.Int(5));
    game.points = static_cast<std::uint32_t>(query.Int(6));
    if (!ReadCards(query.Bytes(7), game) || !ReadBids(query.Bytes(8), game) ||
        !ReadMoves(query.Bytes(9), game)) {
      return std::nullopt;
    }
  }
  Statement& seats = statements_->seats;
  ResetOnExit reset(seats);
  seats.Bind(1, id);
  int found = 0;
  while (seats.Next() == Statement::Step::Row) {
    const std::int64_t seat = seats.Int(0);
    if (seat < 0 || seat >= kSeats) return std::nullopt;
    game.names[seat] = seats.Bytes(1);
    game.scoreChange[seat] = seats.Int(2);
    ++found;
  }
  if (found != kSeats) return std::nullopt;
  return game;
}

std::optional<std::string> SqliteDatabase::PasswordHash(std::string_view name) {
  Statement& query = statements_->passwordHash;
  ResetOnExit reset(query);
  query.BindBytes(1, name);
  if (query.Next() != Statement::Step::Row) return std::nullopt;
  return query.Bytes(0);
}

}  // namespace quarn::store
