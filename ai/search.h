// The strong player's search: for each of a few candidate moves (the
// heuristic's choice first), the same drawn deals of the unseen cards are
// played out to the end by a fast policy for every seat, and the move whose
// side wins most often is taken. Within one game the points are fixed, so
// the most wins is also the best expected score for the side.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "ai/hand_plan.h"
#include "ai/playout.h"
#include "ai/seat_knowledge.h"

namespace quarn::ai {

struct SearchLimits {
  // Deals to draw; 0: as many as the time allows.
  int samples = 0;
  // When to stop drawing deals (used when samples is 0). Checked after every
  // playout, so a decision ends within one playout of it.
  std::chrono::steady_clock::time_point deadline{};
  std::uint64_t seed = 0;
  Policy policy = Policy::Fast;
  int maxCandidates = 8;
  // How many standard errors of the count a move must win by over the
  // heuristic's choice to replace it: picking the best of several noisy
  // counts otherwise favours lucky moves.
  double confidence = 1.0;
};

// The moves worth searching, the heuristic's choice first: a pass where one
// may pass, then the plays that keep the hand in fewest pieces.
std::vector<std::optional<PlannedPlay>> SearchCandidates(const SeatKnowledge& known,
                                                         int maxCandidates);

// Whatever the limits ask, a search weighs at most this many moves over at
// most this many deals (each playout being bounded too), so that it ends
// even when its clock does not move.
inline constexpr int kMostCandidates = 32;
inline constexpr int kMostSamples = 1 << 16;

struct SearchResult {
  std::optional<PlannedPlay> move;
  int samples = 0;     // deals every candidate was played out in
  int candidates = 0;  // moves compared
  int capped = 0;      // playouts cut off without a winner (counted as lost)
};

// The move with the most wins over the drawn deals; the heuristic's choice
// when no deal could be played out in time.
SearchResult Search(const SeatKnowledge& known, const SearchLimits& limits);

}  // namespace quarn::ai
