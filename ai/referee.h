// Whole games between computer players in one process, without sockets: the
// referee deals, settles the landlord, asks each seat's player for its moves,
// checks every move as the server does and scores the game. Tuning and the
// measurements of the players run on it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "ai/hand_plan.h"
#include "ai/playout.h"
#include "ai/seat_knowledge.h"

namespace quarn::ai {

// One seat's player. It sees its own hand when bidding and its SeatKnowledge when
// playing, never another seat's cards.
class Player {
 public:
  virtual ~Player() = default;
  // The bid for a hand of 25 cards when the high bid so far is `highBid`; 0 passes.
  virtual int Bid(const RankCounts& hand, int highBid) = 0;
  // The play to make; nothing passes.
  virtual std::optional<PlannedPlay> Play(const SeatKnowledge& known) = 0;
};

struct GameSetup {
  std::uint64_t seed = 0;        // decides the deal and the starting seat
  bool bidding = false;          // off: the starting seat is the landlord
  int defaultPoints = 10;        // the game's points when nobody bids or bidding is off
  int maxMoves = kMaxGameMoves;  // a game still going after this many moves is cut off
};

struct GameResult {
  int landlord = 0;
  int points = 0;
  int winner = 0;                   // the seat that went out first; kNoWinner when cut off
  std::array<int, kSeats> score{};  // landlord +-3P, each other seat -+P; 0 when cut off
  int refusals = 0;                 // moves the referee refused (and replaced)
  int moves = 0;                    // plays and passes accepted

  bool Capped() const { return winner == kNoWinner; }
  bool LandlordWon() const { return winner == landlord; }
  bool SideWon(int seat) const { return !Capped() && (seat == landlord) == LandlordWon(); }
};

// The cards of a deal by rank value: 25 for each seat, 8 left over.
struct Deal {
  std::array<RankCounts, kSeats> hands{};
  RankCounts bottom{};
  int startSeat = 0;  // holds the start card; leads the bidding, or is the landlord without it
};

Deal DealCards(std::uint64_t seed);

// One whole game (cut off after setup.maxMoves). A refused move (a card not held, no combination,
// not beating the table, a pass where the seat must lead) is counted and replaced by the lowest
// legal play, or by a pass where one is allowed.
GameResult PlayGame(const std::array<Player*, kSeats>& players, const GameSetup& setup);

// Whether the rules take `play` (nothing: a pass) from the seat of `known`.
bool Legal(const SeatKnowledge& known, const std::optional<PlannedPlay>& play);

}  // namespace quarn::ai
