#include "store/record_bytes.h"

namespace quarn::store {

namespace {

constexpr std::size_t kCardsBytes = kSeats * kHandCards + kBottomCards;
constexpr std::size_t kMaxMoveCards = 33;

std::uint8_t At(std::string_view bytes, std::size_t i) {
  return static_cast<std::uint8_t>(bytes[i]);
}

constexpr std::uint8_t kGameFormat = 1;

template <typename Number>
void Put(std::string& out, Number value) {
  const auto bits = static_cast<std::uint64_t>(value);
  for (int shift = 8 * (static_cast<int>(sizeof(Number)) - 1); shift >= 0; shift -= 8) {
    out += static_cast<char>(bits >> shift);
  }
}

void PutRun(std::string& out, std::string_view run) {
  Put(out, static_cast<std::uint16_t>(run.size()));
  out += run;
}

// Reads from the front of the bytes, every read checked against what is left.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  template <typename Number>
  bool Take(Number& value) {
    if (bytes_.size() < sizeof(Number)) return false;
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < sizeof(Number); ++i) bits = bits << 8 | At(bytes_, i);
    value = static_cast<Number>(bits);
    bytes_.remove_prefix(sizeof(Number));
    return true;
  }
  bool Take(std::string_view& run, std::size_t length) {
    if (bytes_.size() < length) return false;
    run = bytes_.substr(0, length);
    bytes_.remove_prefix(length);
    return true;
  }
  bool TakeRun(std::string_view& run) {
    std::uint16_t length = 0;
    return Take(length) && Take(run, length);
  }
  bool Done() const { return bytes_.empty(); }

 private:
  std::string_view bytes_;
};

bool ReadFixed(Reader& in, GameRecord& game) {
  std::uint8_t format = 0;
  if (!in.Take(format) || format != kGameFormat) return false;
  if (!in.Take(game.finishedAt) || !in.Take(game.table)) return false;
  for (std::string& name : game.names) {
    std::uint8_t length = 0;
    std::string_view bytes;
    if (!in.Take(length) || !in.Take(bytes, length)) return false;
    name = std::string(bytes);
  }
  if (!in.Take(game.startSeat) || !in.Take(game.startCard) || !in.Take(game.landlord) ||
      !in.Take(game.winner) || !in.Take(game.points)) {
    return false;
  }
  for (auto& change : game.scoreChange) {
    if (!in.Take(change)) return false;
  }
  return game.startSeat < kSeats && game.landlord < kSeats && game.winner < kSeats;
}

}  // namespace

std::string GameBytes(const GameRecord& game) {
  std::string out;
  Put(out, kGameFormat);
  Put(out, game.finishedAt);
  Put(out, game.table);
  for (const std::string& name : game.names) {
    // Names come from a 15-byte field; a longer one is cut rather than misread.
    const std::string_view kept = std::string_view(name).substr(0, 255);
    Put(out, static_cast<std::uint8_t>(kept.size()));
    out += kept;
  }
  Put(out, game.startSeat);
  Put(out, game.startCard);
  Put(out, game.landlord);
  Put(out, game.winner);
  Put(out, game.points);
  for (const std::int64_t change : game.scoreChange) Put(out, change);
  PutRun(out, CardsBytes(game));
  PutRun(out, BidsBytes(game));
  PutRun(out, MovesBytes(game));
  return out;
}

std::optional<GameRecord> ReadGame(std::string_view bytes) {
  Reader in(bytes);
  GameRecord game;
  std::string_view cards;
  std::string_view bids;
  std::string_view moves;
  if (!ReadFixed(in, game) || !in.TakeRun(cards) || !in.TakeRun(bids) || !in.TakeRun(moves) ||
      !in.Done()) {
    return std::nullopt;
  }
  if (!ReadCards(cards, game) || !ReadBids(bids, game) || !ReadMoves(moves, game)) {
    return std::nullopt;
  }
  return game;
}

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
