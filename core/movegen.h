// Move generation for computer players: every combination a hand can lay,
// and every one that beats a given combination, by the rules of Classify and
// Beats. Suits never matter to the rules, so moves are told apart by the
// rank values they use: one move per multiset of ranks, however many ways the
// hand could pick the suits or decks for it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/combination.h"
#include "core/name_grid.h"

namespace quarn {

struct Move {
  Combination combo;  // type, key rank and card count, as Classify finds them
  // The card numbers to lay, taken from the hand as given (first combo.count
  // places; for each rank the cards that come first in the hand).
  std::array<std::uint8_t, kMaxCards> cards{};
  RankCounts ranks{};  // cards of each rank value the move uses

  std::span<const std::uint8_t> Cards() const {
    return std::span<const std::uint8_t>(cards).first(static_cast<std::size_t>(combo.count));
  }
};

// Every combination Classify accepts that the hand can lay. Bytes that are no
// card number (0, above 108) are skipped. Moves come grouped by type (the
// order of CombinationType), then by card count, then by key rank.
std::vector<Move> LegalMoves(std::span<const std::uint8_t> handCards);

// The legal moves that beat `table`; with an empty table (count 0), all legal moves.
std::vector<Move> BeatingMoves(std::span<const std::uint8_t> handCards, const Combination& table);

// The same at the level of rank counts, for searches that track no card numbers.
// Each result carries combo and ranks; its cards stay zero.
std::vector<Move> LegalRankMoves(const RankCounts& hand);
std::vector<Move> BeatingRankMoves(const RankCounts& hand, const Combination& table);

}  // namespace quarn
