#include "store/record_bytes.h"

namespace quarn::store {

namespace {

constexpr std::size_t kCardsBytes = kSeats * kHandCards + kBottomCards;
constexpr std::size_t kMaxMoveCards = 33;

std::uint8_t At(std::string_view bytes, std::size_t i) {
  return static_cast<std::uint8_t>(bytes[i]);
}

}  // namespace

std::string CardsBytes(const GameRecord& game) {
  std::string bytes;
  bytes.reserve(kCardsBytes);
  for (const auto& hand : game.hands) bytes.append(hand.begin(), hand.end());
  bytes.append(game.bottom.begin(), game.bottom.end());
  return bytes;
}

std::string BidsBytes(const GameRecord& game) {
  std::string bytes;
  for (const BidStep& bid : game.bids) {
    bytes += static_cast<char>(bid.seat);
    bytes += static_cast<char>(bid.points);
  }
  return bytes;
}

std::string MovesBytes(const GameRecord& game) {
  std::string bytes;
  for (const MoveStep& move : game.moves) {
    bytes += static_cast<char>(move.seat);
    bytes += static_cast<char>(move.cards.size());
    bytes.append(move.cards.begin(), move.cards.end());
  }
  return bytes;
}

bool ReadCards(std::string_view bytes, GameRecord& game) {
  if (bytes.size() != kCardsBytes) return false;
  std::size_t i = 0;
  for (auto& hand : game.hands) {
    for (auto& card : hand) card = At(bytes, i++);
  }
  for (auto& card : game.bottom) card = At(bytes, i++);
  return true;
}

bool ReadBids(std::string_view bytes, GameRecord& game) {
  if (bytes.size() % 2 != 0) return false;
  game.bids.clear();
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    game.bids.push_back({At(bytes, i), At(bytes, i + 1)});
  }
  return true;
}

bool ReadMoves(std::string_view bytes, GameRecord& game) {
  game.moves.clear();
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (i + 2 > bytes.size()) return false;
    MoveStep move{At(bytes, i), {}};
    const std::size_t count = At(bytes, i + 1);
    i += 2;
    if (count > kMaxMoveCards || i + count > bytes.size()) return false;
    move.cards.assign(bytes.begin() + static_cast<std::ptrdiff_t>(i),
                      bytes.begin() + static_cast<std::ptrdiff_t>(i + count));
    i += count;
    game.moves.push_back(std::move(move));
  }
  return true;
}

}  // namespace quarn::store
