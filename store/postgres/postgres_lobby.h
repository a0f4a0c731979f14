// The lobby board in the PostgreSQL database that several servers share:
// one row per server's range with the time it last published (the
// database's clock), and one row per table in use.
#pragma once

#include "store/lobby_board.h"
#include "store/postgres/connection.h"

namespace quarn::store::postgres {

class PostgresLobby final : public LobbyBoard {
 public:
  explicit PostgresLobby(Connection& db) : db_(db) {}

  [[nodiscard]] bool PublishLobby(const LobbyChange& change) override;
  std::optional<OthersLobby> ReadLobby(TableRange own, std::chrono::milliseconds maxAge) override;

 private:
  bool PublishSteps(const LobbyChange& change);

  Connection& db_;
};

}  // namespace quarn::store::postgres
