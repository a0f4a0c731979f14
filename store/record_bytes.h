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

// The whole record, as it travels to a client that asks for a replay: format
// byte 1, the fixed fields, the names with their lengths, then the three runs
// above, each after its 2-byte length. Numbers big-endian.
std::string GameBytes(const GameRecord& game);
// The record of GameBytes; none when any length or field is out of place.
std::optional<GameRecord> ReadGame(std::string_view bytes);

[[nodiscard]] bool ReadCards(std::string_view bytes, GameRecord& game);
[[nodiscard]] bool ReadBids(std::string_view bytes, GameRecord& game);
[[nodiscard]] bool ReadMoves(std::string_view bytes, GameRecord& game);

}  // namespace quarn::store
