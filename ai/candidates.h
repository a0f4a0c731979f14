// The plays a hand can make against a table combination, in the strategy's terms.
#pragma once

#include <vector>

#include "ai/hand_plan.h"

namespace quarn::ai {

// Every legal play of `hand` that beats `table` (every legal play when the
// table is empty), weakest types and keys first.
std::vector<PlannedPlay> PlaysThatBeat(const RankCounts& hand, const Combination& table);

}  // namespace quarn::ai
