// The game record store in one SQLite file: WAL, a versioned schema,
// prepared statements only, one transaction per game. Opening refuses a file
// of a newer schema, a file that is not ours or not sound, and a file another
// server holds; it never makes a new file over an existing one.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "store/game_store.h"
#include "store/sqlite/file_lock.h"
#include "store/sqlite/sqlite_lobby.h"
#include "store/sqlite/statement.h"

namespace quarn::store {

class SqliteDatabase final : public GameDatabase {
 public:
  enum class Mode : std::uint8_t {
    Serve,     // read and write, the file locked for this process alone
    ReadOnly,  // reading beside a running server (export tools)
  };
  struct Opened {
    std::unique_ptr<SqliteDatabase> database;
    std::string error;  // when database is null
  };
  static Opened Open(const std::filesystem::path& file, Mode mode = Mode::Serve);

  ~SqliteDatabase() override;

  [[nodiscard]] bool Write(const GameRecord& game) override;
  [[nodiscard]] bool SetPasswordHash(std::string_view name, std::string_view hash) override;
  [[nodiscard]] AccountWrite AddPasswordHash(std::string_view name, std::string_view hash) override;
  [[nodiscard]] AccountWrite RemovePasswordHash(std::string_view name) override;
  std::string LastError() const override { return lastError_; }

  std::vector<Standing> Top(std::size_t count) override;
  std::optional<Standing> StandingOf(std::string_view name) override;
  std::int64_t RankOf(const Standing& line) override;
  std::vector<GameSummary> RecentGames(std::string_view name, std::size_t count) override;
  std::optional<GameRecord> Game(std::int64_t id) override;
  std::optional<std::string> PasswordHash(std::string_view name) override;

  // The file's own lobby board; no other server shares it (SharedLobby: none).
  LobbyBoard& Lobby() { return lobby_; }

  // The connection, for tools that need more than the store's calls.
  sqlite3* Handle() const { return db_.get(); }

 private:
  struct Statements;
  SqliteDatabase(Connection db, FileLock lock);
  std::string Prepare();
  bool WriteSteps(const GameRecord& game);
  bool Fail();
  // Done when the statement just run changed a row, Refused when it changed none.
  AccountWrite Changed(bool ran);
  std::optional<GameSummary> Summary(std::int64_t id);

  Connection db_;
  FileLock lock_;
  SqliteLobby lobby_{db_.get()};
  std::unique_ptr<Statements> statements_;
  std::string lastError_;
};

}  // namespace quarn::store
