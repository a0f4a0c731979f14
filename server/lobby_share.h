// This server's part in a lobby shared by every server on one database: about
// once a second it publishes what changed at its tables (and, changed or not,
// that it is alive), and reads the other servers' tables for its own lobby.
// A database that is slow to come back costs a skipped step, never a wait:
// the last rows read stay, and the next publication after a failure is whole.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

#include "store/lobby_board.h"

namespace quarn::server {

class LobbyShare {
 public:
  using Clock = std::chrono::steady_clock;
  using Log = std::function<void(std::string_view)>;
  // At most one publication and one read in this long; a tick a little early
  // still counts as the next second's.
  static constexpr std::chrono::milliseconds kEvery{900};
  // A server with nothing new still says it is alive this often...
  static constexpr std::chrono::seconds kAlive{2};
  // ...and one not heard of for this long has left the lobby (killed, or cut
  // off from the database): its tables drop out of every list.
  static constexpr std::chrono::seconds kMaxAge{6};

  LobbyShare(store::LobbyBoard& board, Log log) : board_(board), log_(std::move(log)) {}

  // `inUse`: this server's tables in use, in number order.
  void Step(store::TableRange range, const std::vector<store::LobbyEntry>& inUse,
            Clock::time_point now);
  // The other servers' tables as last read.
  const store::OthersLobby& Others() const { return others_; }

 private:
  void Publish(store::TableRange range, const std::vector<store::LobbyEntry>& inUse,
               Clock::time_point now);

  store::LobbyBoard& board_;
  Log log_;
  std::map<std::int32_t, store::LobbyEntry> published_;
  bool known_ = false;  // whether the board holds published_ for range_
  bool failing_ = false;
  store::TableRange range_;
  Clock::time_point lastStep_{};
  Clock::time_point lastPublished_{};
  store::OthersLobby others_;
};

}  // namespace quarn::server
