// Games played on to their end with every hand known, as the search imagines
// them in each deal it draws. The fast policy below decides without heap
// allocation or hand planning, so that thousands of games fit in a decision.
#pragma once

#include <array>
#include <optional>

#include "ai/hand_plan.h"
#include "ai/seat_view.h"

namespace quarn::ai {

// The whole table at one moment of an imagined game.
struct FullTable {
  std::array<RankCounts, kSeats> hands{};
  std::array<int, kSeats> left{};  // cards in each hand
  int landlord = 0;
  int turn = 0;
  Combination table;  // the combination lying there; count 0 when none
  int owner = -1;     // who laid it

  bool MustLead() const { return table.count == 0 || owner == turn; }
  bool Partners(int a, int b) const { return (a == landlord) == (b == landlord); }
  // Lays `play` (nothing: a pass) for the seat to move and passes the turn
  // on; true when that seat went out.
  bool Apply(const std::optional<PlannedPlay>& play);
};

enum class Policy {
  Fast,   // lowest-rank leads, cheapest follows, partners left alone
  Basic,  // the heuristic player's own choices (slower: it plans the hand)
};

// The move `policy` makes for the seat to move. Always one the rules take.
std::optional<PlannedPlay> PolicyMove(const FullTable& game, Policy policy);

// Plays the game on with `policy` for every seat; returns the seat that went out.
int PlayOut(FullTable game, Policy policy);

}  // namespace quarn::ai
