// What the game service sees of the store: it hands over each finished game
// and asks for standings and past games. Which database sits behind it, and
// how a write that fails is held and retried, is not the game's concern.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/game_record.h"
#include "store/lobby_board.h"

namespace quarn::store {

// What a change to a name's password hash did. Refused: adding to a name that
// has one already, or removing from a name that has none.
enum class AccountWrite : std::uint8_t { Done, Refused, Failed };

// The queries both the store and a database answer.
class GameQueries {
 public:
  virtual ~GameQueries() = default;
  // The best `count` lines by points (then by name).
  virtual std::vector<Standing> Top(std::size_t count) = 0;
  // The line of `name` (exact bytes), or none when it never finished a game.
  virtual std::optional<Standing> StandingOf(std::string_view name) = 0;
  // The place of `line` in Top's order, from 1.
  virtual std::int64_t RankOf(const Standing& line) = 0;
  // The newest `count` games `name` sat in, newest first.
  virtual std::vector<GameSummary> RecentGames(std::string_view name, std::size_t count) = 0;
  virtual std::optional<GameRecord> Game(std::int64_t id) = 0;
  // Names that belong to a player (accounts): the stored password hash, if any.
  virtual std::optional<std::string> PasswordHash(std::string_view name) = 0;
};

class GameStore : public GameQueries {
 public:
  // Keeps a finished game. The game goes on whatever happens: a failure is
  // the store's to report and retry.
  virtual void Save(const GameRecord& game) = 0;
  // A moment to retry what a failed write left held (about once a second).
  virtual void Retry() = 0;
  // Registers or replaces a name's password hash; false when it could not be written.
  [[nodiscard]] virtual bool SetPasswordHash(std::string_view name, std::string_view hash) = 0;
  // Registers a name that has no hash yet; never replaces one.
  [[nodiscard]] virtual AccountWrite AddPasswordHash(std::string_view name,
                                                     std::string_view hash) = 0;
};

// A database behind the store (SQLite; later a server database). Each call
// is whole or nothing: a game is written in one transaction.
class GameDatabase : public GameQueries {
 public:
  [[nodiscard]] virtual bool Write(const GameRecord& game) = 0;
  [[nodiscard]] virtual bool SetPasswordHash(std::string_view name, std::string_view hash) = 0;
  [[nodiscard]] virtual AccountWrite AddPasswordHash(std::string_view name,
                                                     std::string_view hash) = 0;
  // Frees a name for the next player who logs in under it.
  [[nodiscard]] virtual AccountWrite RemovePasswordHash(std::string_view name) = 0;
  // What the last failed call met, for the run log.
  virtual std::string LastError() const = 0;
  // The lobby board that other servers on this database read too; none
  // where no other server can share the database.
  virtual LobbyBoard* SharedLobby() { return nullptr; }
};

}  // namespace quarn::store
