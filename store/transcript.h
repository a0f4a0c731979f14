// A stored game as readable text (UTF-8): the table, the players, the deal,
// the bidding and every move in order, then the scores. Used by the export
// tool and by anything that shows a game as lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/game_record.h"

namespace quarn::store {

// "黑桃10 红心10 小王": card numbers by name, in the order given.
std::string CardsText(const std::vector<std::uint8_t>& cards);

// Seat names as the table shows them, by index.
const char* SeatName(int seat);

std::string Transcript(const GameRecord& game, std::int64_t id);

}  // namespace quarn::store
