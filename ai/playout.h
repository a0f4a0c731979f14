// Games played on to their end with every hand known, as the search imagines
// them in each deal it draws. The fast policy below decides without heap
// allocation or hand planning, so that thousands of games fit in a decision.
#pragma once

#include <array>
#include <optional>

#include "ai/hand_plan.h"
#include "ai/seat_knowledge.h"
#include "core/tpoker.h"

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

// A whole game takes at most 432 moves (every play lays a card, and at most
// three passes come between two plays); a playout or a game that goes on
// longer is the work of a fault in a plan or a policy, and is cut off there
// so that it cannot hold the thread. A game cut off has no winner.
inline constexpr int kMaxGameMoves = 4 * kTwoDecks + kSeats;
inline constexpr int kNoWinner = -1;

// Plays the game on with `choose(game)` for every seat's move; returns the
// seat that went out, or kNoWinner after kMaxGameMoves.
template <typename Choose>
int PlayOutWith(FullTable game, Choose choose) {
  for (int moves = 0; moves < kMaxGameMoves; ++moves) {
    const int seat = game.turn;
    // A hand drawn short from a known that lost count may be empty: out already.
    if (game.left[static_cast<std::size_t>(seat)] <= 0) return seat;
    if (game.Apply(choose(static_cast<const FullTable&>(game)))) return seat;
  }
  return kNoWinner;
}

// Plays the game on with `policy` for every seat.
int PlayOut(const FullTable& game, Policy policy);

}  // namespace quarn::ai
