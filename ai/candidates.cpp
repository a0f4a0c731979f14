#include "ai/candidates.h"

#include "core/movegen.h"

namespace quarn::ai {

std::vector<PlannedPlay> PlaysThatBeat(const RankCounts& hand, const Combination& table) {
  std::vector<PlannedPlay> plays;
  for (const Move& move : BeatingRankMoves(hand, table)) plays.push_back({move.ranks, move.combo});
  return plays;
}

}  // namespace quarn::ai
