// The replays of a server that keeps its games, as the client holds them: the
// list of the own recent games and the one game asked for, joined from its
// parts and checked by playing it again. Asked for only once the server has
// shown it keeps games (it answered the standings), so a server with its
// defaults never sees the requests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "protocol/pcpreplay.h"
#include "protocol/record_parts.h"
#include "store/game_record.h"

namespace quarn::client {

enum class ReplayArrival : std::uint8_t {
  None,      // nothing asked
  Arriving,  // asked; parts still to come
  Ready,     // whole, and it plays again to its scores
  NotWhole,  // a part missing, out of order or changed, or bytes that do not read
  NotSound,  // read, but its moves do not replay (Fault says where)
  NotFound,  // the server has no such game of this player
};

struct TReplays {
  // Requests for the list still unanswered; a server that never answers keeps them few.
  static constexpr int kMaxListAsked = 8;

  std::vector<ReplayListLineRecord> Games;  // newest first, as last answered
  std::vector<ReplayListLineRecord> Incoming;
  int ListAsked = 0;

  std::int64_t GameId = 0;  // the game asked for last
  ReplayArrival Arrival = ReplayArrival::None;
  RecordJoiner Parts;
  std::optional<store::GameRecord> Game;  // when Ready (or NotSound, to show the fault)
  std::string Fault;
};

// What the replay window says in place of the game (UTF-8); empty when Ready.
std::string ArrivalText(const TReplays& replays);

}  // namespace quarn::client
