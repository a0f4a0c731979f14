// The deal, the bids and the moves of a game as compact bytes, as the
// databases keep them. Reading checks every length: a damaged value gives
// nothing rather than a wrong game.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/game_record.h"

namespace quarn::store {

// The four hands of 25 cards, then the 8 bottom cards: 108 bytes.
std::string CardsBytes(const GameRecord& game);
// Seat and points (0: a pass), two bytes per bid.
std::string BidsBytes(const GameRecord& game);
// Seat, card count (0: a pass) and the cards, per move.
std::string MovesBytes(const GameRecord& game);

[[nodiscard]] bool ReadCards(std::string_view bytes, GameRecord& game);
[[nodiscard]] bool ReadBids(std::string_view bytes, GameRecord& game);
[[nodiscard]] bool ReadMoves(std::string_view bytes, GameRecord& game);

}  // namespace quarn::store
