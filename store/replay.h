// Plays a stored game again from its deal by the game's rules: every bid and
// move is checked as the server checked it, and the score changes follow from
// the landlord, the points and who played out. A record that does not replay
// (a card not in the hand, a play out of turn...) says where it went wrong.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/game_record.h"

namespace quarn::store {

struct ReplayOutcome {
  bool sound = false;
  std::string fault;  // empty when sound
  std::array<std::int64_t, kSeats> scoreChange{};
};

ReplayOutcome Replay(const GameRecord& game);

// The cards each seat holds after the first `moves` moves (the landlord's
// with the bottom cards), folded 1..54 and sorted.
std::array<std::vector<std::uint8_t>, kSeats> HandsAfter(const GameRecord& game, std::size_t moves);

}  // namespace quarn::store
