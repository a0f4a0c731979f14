// The tables a server told in answer to our lobby request: the lines of one
// answer gathered until it is whole, then shown as the list of tables. A
// server that never answers leaves the list unanswered, and the login window
// shows its usual fields only.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "protocol/pcpheadtail.h"
#include "protocol/pcplobby.h"

namespace quarn::client {

class TLobbyList {
 public:
  // Takes one LobbyLine; true when it completed an answer (the list changed).
  // A line that does not decode, or that belongs to no answer under way, is dropped.
  bool Take(const Packet& packet);
  bool Answered() const { return answered_; }
  // The tables in use, in number order, as the last whole answer told them.
  const std::vector<LobbyLineRecord>& Tables() const { return tables_; }
  std::int32_t TableCount() const { return tableCount_; }
  std::int32_t WatcherLimit() const { return watcherLimit_; }

 private:
  std::vector<LobbyLineRecord> pending_;
  std::vector<LobbyLineRecord> tables_;
  bool answered_ = false;
  std::int32_t tableCount_ = 1;
  std::int32_t watcherLimit_ = 0;
};

// The first free seat of a table (0..3), or none when it is full.
std::optional<std::uint8_t> FirstFreeSeat(const LobbyLineRecord& table);

}  // namespace quarn::client
