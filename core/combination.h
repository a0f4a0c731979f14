// Recognition and comparison of combinations.
//
// The recognizer looks only at how many cards of each rank value a set holds;
// suits never matter. Type values travel on the wire as one byte.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/tpoker.h"

namespace quarn {

enum class CombinationType : std::uint8_t {
  Unknown = 0,   // not a combination
  Single = 1,    // one card
  Rocket = 2,    // one pair, or a run of consecutive pairs
  Missle = 3,    // one triple, or a run of consecutive triples
  Plane = 4,     // a run of triples with exactly as many pairs of any ranks
  Bomb = 5,      // four to eight cards of one rank
  KingBomb = 6,  // both small and both big jokers
  BombTail = 7,  // a bomb with one single of another rank (never named, never playable)
};

// "Unknown", "Single", ... as the type-name table gives them; "" beyond 7.
std::string_view CombinationTypeName(CombinationType type);

// Cards per rank value, indexed 0..15 (index 0 is never counted).
using RankCounts = std::array<std::uint8_t, kMaxRank + 1>;

// Counts the present cards of `cards` by rank value.
RankCounts CountRanks(std::span<const TPoker> cards);

// What a classified set is, as far as comparisons go.
struct Combination {
  CombinationType type = CombinationType::Unknown;
  std::uint8_t key = 0;  // key rank value, 1..15
  int count = 0;         // number of cards; 0 = nothing (an empty table)
  friend bool operator==(const Combination&, const Combination&) = default;
};

// The recognizer's verdict on a set of rank counts, without any report.
struct Recognition {
  bool ok = false;
  CombinationType type = CombinationType::Unknown;
  std::uint8_t key = 0;  // on failure 0, or the last run rank the scan reached
  int error = 0;         // card error code on failure; 0 for a silent failure
};

Recognition RecognizeCounts(const RankCounts& counts);

// Recognizes the present cards among `cards` (a selection's 33 slots), writes
// key and type, reports a failure's code through ReportCardError (two bombs, or
// a bomb after a pair or triple, fail silently) and returns whether it succeeded.
bool Recognize(std::span<const TPoker> cards, std::uint8_t& key, CombinationType& type);

// Whether `self` (a new play) beats `other` (the combination to beat). An empty
// `other` is beaten by any play; an empty `self` beats nothing.
bool Beats(const Combination& self, const Combination& other);

// The full verdict on a set of rank counts holding `count` cards, silently:
// the combination when it is recognised and named, type Unknown otherwise.
Combination ClassifyCounts(const RankCounts& counts, int count);

}  // namespace quarn
