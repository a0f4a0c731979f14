// The players the referee seats: a greedy floor, the heuristic player and the
// searching player.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string_view>

#include "ai/decide.h"
#include "ai/referee.h"
#include "ai/search.h"

namespace quarn::ai {

// Lays the lowest play that beats the table (the lowest single when it
// leads), a partner's play included, and passes only when nothing beats it.
// Bids as the heuristic player does, so that only its play is weak.
class GreedyPlayer final : public Player {
 public:
  int Bid(const RankCounts& hand, int highBid) override;
  std::optional<PlannedPlay> Play(const SeatKnowledge& known) override;
};

// The heuristic player, as quarn-bot plays at the basic level.
class BasicPlayer final : public Player {
 public:
  int Bid(const RankCounts& hand, int highBid) override;
  std::optional<PlannedPlay> Play(const SeatKnowledge& known) override;
};

// The searching player's playout policy as a player of its own, to see how
// well the search's picture of the others plays.
class FastPlayer final : public Player {
 public:
  int Bid(const RankCounts& hand, int highBid) override;
  std::optional<PlannedPlay> Play(const SeatKnowledge& known) override;
};

// The searching player. With limits.samples 0 each decision searches for
// `think`; the seed moves on with every decision, so a game is repeatable.
class SearchPlayer final : public Player {
 public:
  SearchPlayer(SearchLimits limits, std::chrono::milliseconds think,
               double boldness = kStrongBoldness)
      : limits_(limits), think_(think), boldness_(boldness) {}
  int Bid(const RankCounts& hand, int highBid) override;
  std::optional<PlannedPlay> Play(const SeatKnowledge& known) override;

 private:
  SearchLimits limits_;
  std::chrono::milliseconds think_;
  double boldness_;
  std::uint64_t decisions_ = 0;
};

}  // namespace quarn::ai
