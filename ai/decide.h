// The computer player's decisions behind one door: quarn-bot, the server's
// computer seats and the table window's hint all ask here, so they play alike
// and every improvement reaches all three.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "ai/hand_plan.h"
#include "ai/seat_knowledge.h"
#include "ai/strategy.h"

namespace quarn::ai {

enum class Level {
  Basic,   // the heuristic player: fast, no look-ahead
  Strong,  // searches over the cards it cannot see, within a budget
};

// How long a decision may take. A measurement fixes `samples` (repeatable);
// play gives a time. The seed makes a decision repeatable.
struct Budget {
  // With samples 0, the strong player searches until this much time has
  // passed since DecidePlay was called; 0 ms gives the heuristic's choice.
  std::chrono::milliseconds think{200};
  int samples = 0;  // 0: as many as the time allows; else exactly so many, however long
  std::uint64_t seed = 0;
};

// How much stronger the strong level counts a hand when it bids.
inline constexpr double kStrongBoldness = 1.5;

// The bid to send when the high bid so far is `highBid`; 0 passes.
int DecideBid(const RankCounts& hand, int highBid, Level level);

// The play to make now: a combination of the own hand that beats the table
// (any combination when the seat leads); nothing passes, which never happens
// when the seat must lead with cards in hand.
std::optional<PlannedPlay> DecidePlay(const SeatKnowledge& known, Level level,
                                      const Budget& budget = {});

// The basic level's play: the heuristic's choice, made legal.
std::optional<PlannedPlay> HeuristicPlay(const SeatKnowledge& known);

// What the heuristic player weighs, read off a seat's known.
TableSituation SituationOf(const SeatKnowledge& known);
// The same from the seat's place at the table, the card counts and what it
// must beat (count 0 when it leads).
TableSituation SituationAt(int seat, int landlord, const std::array<int, kSeats>& cardsLeft,
                           const Combination& toBeat, int tableOwner);

}  // namespace quarn::ai
