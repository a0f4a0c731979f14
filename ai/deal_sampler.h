// Deals of the cards a seat cannot see, drawn at random but consistent with
// everything it has seen: its own hand, every card played, and how many cards
// each seat still holds. (A pass proves nothing about a hand here: a seat
// may always pass when it does not lead.)
#pragma once

#include <array>
#include <cstdint>

#include "ai/seat_knowledge.h"

namespace quarn::ai {

// Each rank's cards in the two decks: 8 of 3..2, 2 of each joker.
RankCounts FullDecks();

// The cards the seat of `known` has not seen: the two decks less its own hand
// and every card played. With the bottom cards known to the landlord and in
// its own hand, these are exactly the other seats' cards.
RankCounts Unseen(const SeatKnowledge& known);

// A small, fast generator with a fixed sequence for a given seed.
class DealRandom {
 public:
  explicit DealRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  // Uniform in 0..n-1 (n >= 1).
  std::uint32_t Below(std::uint32_t n);

 private:
  std::uint64_t state_;
};

// Every hand of the table: the own hand as it is, the unseen cards shared
// at random among the others by their card counts. Should the counts not add
// up (a known that lost track), the others get what there is.
std::array<RankCounts, kSeats> SampleDeal(const SeatKnowledge& known, DealRandom& random);

}  // namespace quarn::ai
