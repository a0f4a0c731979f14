// The lobby board of a SQLite file. One server holds a file, so nobody else
// reads what it publishes: the rows live in the connection's own temporary
// tables and never reach the file.
#pragma once

#include <sqlite3.h>

#include "store/lobby_board.h"

namespace quarn::store {

class SqliteLobby final : public LobbyBoard {
 public:
  explicit SqliteLobby(sqlite3* db) : db_(db) {}

  [[nodiscard]] bool PublishLobby(const LobbyChange& change) override;
  std::optional<OthersLobby> ReadLobby(TableRange own, std::chrono::milliseconds maxAge) override;

 private:
  bool Made();
  bool PublishSteps(const LobbyChange& change);

  sqlite3* db_;
  bool made_ = false;
};

}  // namespace quarn::store
