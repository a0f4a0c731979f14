// The open connections: each one's stream assembler and the time it was
// accepted. A connection without a seat is a stranger; strangers are bounded
// in number and in how long they may stay without logging in.
#pragma once

#include <chrono>
#include <unordered_map>
#include <vector>

#include "protocol/stream_assembler.h"
#include "server/host.h"

namespace quarn::server {

inline constexpr std::size_t kMaxStrangers = 32;

// With several tables a rush of logins is larger: room for a full house more.
constexpr std::size_t StrangerLimit(std::size_t tables) {
  return kMaxStrangers + 4 * (tables > 0 ? tables - 1 : 0);
}
inline constexpr std::chrono::seconds kLoginTimeout{60};

struct Connection {
  StreamAssembler assembler;
  std::chrono::steady_clock::time_point openedAt;
};

class Connections {
 public:
  // False when the connection is already known.
  bool Add(ConnectionId id, std::chrono::steady_clock::time_point now);
  // The connection, or nullptr when it is unknown (never opened, or already closed).
  Connection* Find(ConnectionId id);
  void Remove(ConnectionId id) { open_.erase(id); }
  // In the order of their ids, so that what walks them does so in a fixed order.
  std::vector<ConnectionId> Ids() const;
  std::size_t Size() const { return open_.size(); }

 private:
  // Hashed: with a thousand players, a tree's walk to a connection on every
  // read showed in the server's profile.
  std::unordered_map<ConnectionId, Connection> open_;
};

}  // namespace quarn::server
