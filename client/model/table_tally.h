// What the table window shows beside the game itself, read off the table:
// what each seat did last in this round, and the card counter's tally of the
// cards this player has not seen yet.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "client/model/table_state.h"

namespace quarn::client {

// One seat's last move in the round under way.
struct SeatAct {
  bool acted = false;               ///< false: nothing yet in this round
  std::vector<std::uint8_t> cards;  ///< card numbers laid; empty for a pass
  bool IsPass() const { return acted && cards.empty(); }
  friend bool operator==(const SeatAct&, const SeatAct&) = default;
};

// By absolute seat. A round begins with a lead: the game's first play, or a
// play after three passes (the last play came round to its own seat again).
std::array<SeatAct, kSeatCount> RoundActs(const TClientTable& table);

// Cards per rank value (index 1..15; index 0 stays 0) not seen by this player:
// two decks (8 of each rank 3..2, 2 of each joker) less the own hand (with a
// play sent and not yet told back) and every card laid this game.
using RankTally = std::array<int, 16>;
RankTally UnseenCards(const TClientTable& table);

}  // namespace quarn::client
