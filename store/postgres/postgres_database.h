// The game record store in a PostgreSQL database that many servers share:
// the SQLite file's tables, values always bound, one transaction per game.
// A connection lost when the database restarts is made again at the next
// call; the calls in between fail, and the holding store keeps the games.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "store/game_store.h"
#include "store/postgres/connection.h"
#include "store/postgres/postgres_lobby.h"

namespace quarn::store {

// Whether `where` names a PostgreSQL database (a postgres:// or
// postgresql:// URI) rather than a SQLite file.
bool IsPostgresUri(std::string_view where);

class PostgresDatabase final : public GameDatabase {
 public:
  struct Opened {
    std::unique_ptr<PostgresDatabase> database;
    std::string error;  // when database is null
  };
  // Connects and brings the schema up to date.
  static Opened Open(const std::string& uri);

  [[nodiscard]] bool Write(const GameRecord& game) override;
  [[nodiscard]] bool SetPasswordHash(std::string_view name, std::string_view hash) override;
  [[nodiscard]] AccountWrite AddPasswordHash(std::string_view name, std::string_view hash) override;
  [[nodiscard]] AccountWrite RemovePasswordHash(std::string_view name) override;
  std::string LastError() const override { return lastError_; }
  LobbyBoard* SharedLobby() override { return &lobby_; }

  std::vector<Standing> Top(std::size_t count) override;
  std::optional<Standing> StandingOf(std::string_view name) override;
  std::int64_t RankOf(const Standing& line) override;
  std::vector<GameSummary> RecentGames(std::string_view name, std::size_t count) override;
  std::optional<GameRecord> Game(std::int64_t id) override;
  std::optional<std::string> PasswordHash(std::string_view name) override;

 private:
  explicit PostgresDatabase(std::unique_ptr<postgres::Connection> db)
      : db_(std::move(db)), lobby_(*db_) {}
  bool WriteSteps(const GameRecord& game);
  bool Fail();
  AccountWrite Changed(const postgres::Result& result);

  std::unique_ptr<postgres::Connection> db_;
  postgres::PostgresLobby lobby_;
  std::string lastError_;
};

}  // namespace quarn::store
