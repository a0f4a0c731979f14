#include "protocol/pcpstate.h"

#include <algorithm>

#include "protocol/byte_order.h"
#include "protocol/pcpgame.h"

namespace quarn {
namespace {

constexpr std::size_t kTableAt = 32;
constexpr std::size_t kSeatAt = 36;
constexpr std::size_t kPhaseAt = 37;
constexpr std::size_t kTurnAt = 38;
constexpr std::size_t kLandlordAt = 39;
constexpr std::size_t kPointsAt = 40;
constexpr std::size_t kCardCountAt = 44;
constexpr std::size_t kStartCardAt = 48;
constexpr std::size_t kHandCountAt = 49;
constexpr std::size_t kHandAt = 50;
constexpr std::size_t kLeadSeatAt = 83;
constexpr std::size_t kTableCountAt = 84;
constexpr std::size_t kTableCardsAt = 85;
constexpr std::size_t kBottomAt = 118;
constexpr std::size_t kPlayedAt = 126;
constexpr std::size_t kScoreAt = 144;
constexpr std::size_t kRoundsAt = 160;
constexpr std::uint8_t kMaxOfOneRank = 8;

bool Seat(std::uint8_t seat) {
  return seat < 4;
}

bool Counted(std::span<const std::uint8_t, PlayMaxCards> cards, std::uint8_t count) {
  return count <= PlayMaxCards && std::all_of(cards.begin(), cards.begin() + count, wire::IsCard);
}

bool Zeros(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t c) { return c == 0; });
}

// A watcher's state has the seat kWatcherSeat, no hand and no bottom cards.
bool Valid(const TableStateRecord& r, bool watcher) {
  if (watcher && (r.seat != kWatcherSeat || r.handCount != 0 || !Zeros(r.bottom))) return false;
  const bool seats =
      (watcher || Seat(r.seat)) && Seat(r.turn) && Seat(r.landlord) && Seat(r.leadSeat);
  const bool phase = r.phase <= TablePhase::Playing;
  const bool counts = std::all_of(r.cardCount.begin(), r.cardCount.end(),
                                  [](std::uint8_t n) { return n <= PlayMaxCards; });
  const bool own = watcher || (Seat(r.seat) && r.handCount == r.cardCount[r.seat]);
  const bool bottom =
      std::all_of(r.bottom.begin(), r.bottom.end(), wire::IsCard) || Zeros(r.bottom);
  const bool played = std::all_of(r.played.begin(), r.played.end(),
                                  [](std::uint8_t n) { return n <= kMaxOfOneRank; });
  return seats && phase && counts && own && wire::IsCard(r.startCard) &&
         Counted(r.hand, r.handCount) && Counted(r.tableCards, r.tableCount) && bottom && played;
}

template <std::size_t N>
void PutBytes(Packet& p, std::size_t at, const std::array<std::uint8_t, N>& bytes,
              std::size_t count = N) {
  std::copy_n(bytes.begin(), count, p.bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

// Reads `count` bytes (at most N) and zeroes the places after them.
template <std::size_t N>
void GetBytes(const Packet& p, std::size_t at, std::array<std::uint8_t, N>& bytes,
              std::size_t count = N) {
  count = std::min(count, N);
  bytes.fill(0);
  std::copy_n(p.bytes.begin() + static_cast<std::ptrdiff_t>(at), count, bytes.begin());
}

std::int32_t Same(std::int32_t word) {
  return word;
}

template <typename Convert>
void PutWords(Packet& p, std::size_t at, const std::array<std::int32_t, 4>& words,
              Convert convert) {
  for (std::size_t i = 0; i < words.size(); ++i) wire::PutI32(p, at + 4 * i, convert(words[i]));
}

template <typename Convert>
void GetWords(const Packet& p, std::size_t at, std::array<std::int32_t, 4>& words,
              Convert convert) {
  for (std::size_t i = 0; i < words.size(); ++i) words[i] = convert(wire::GetI32(p, at + 4 * i));
}

int EncodeState(const TableStateRecord& r, Packet& p, bool watcher) {
  if (p.length < TableStateLength || !Valid(r, watcher)) return 1;
  wire::PutI32(p, kTableAt, r.tableNumber);
  p.bytes[kSeatAt] = r.seat;
  p.bytes[kPhaseAt] = static_cast<std::uint8_t>(r.phase);
  p.bytes[kTurnAt] = r.turn;
  p.bytes[kLandlordAt] = r.landlord;
  wire::PutI32(p, kPointsAt, r.points);
  PutBytes(p, kCardCountAt, r.cardCount);
  p.bytes[kStartCardAt] = r.startCard;
  p.bytes[kHandCountAt] = r.handCount;
  PutBytes(p, kHandAt, r.hand, r.handCount);
  p.bytes[kLeadSeatAt] = r.leadSeat;
  p.bytes[kTableCountAt] = r.tableCount;
  PutBytes(p, kTableCardsAt, r.tableCards, r.tableCount);
  PutBytes(p, kBottomAt, r.bottom);
  PutBytes(p, kPlayedAt, r.played);
  PutWords(p, kScoreAt, r.score, BiasedScore);
  PutWords(p, kRoundsAt, r.rounds, Same);
  return 0;
}

int DecodeState(TableStateRecord& r, const Packet& p, bool watcher) {
  if (p.length < TableStateLength) return 1;
  r.tableNumber = wire::GetI32(p, kTableAt);
  r.seat = p.bytes[kSeatAt];
  r.phase = static_cast<TablePhase>(p.bytes[kPhaseAt]);
  r.turn = p.bytes[kTurnAt];
  r.landlord = p.bytes[kLandlordAt];
  r.points = wire::GetI32(p, kPointsAt);
  GetBytes(p, kCardCountAt, r.cardCount);
  r.startCard = p.bytes[kStartCardAt];
  r.handCount = p.bytes[kHandCountAt];
  GetBytes(p, kHandAt, r.hand, r.handCount);
  r.leadSeat = p.bytes[kLeadSeatAt];
  r.tableCount = p.bytes[kTableCountAt];
  GetBytes(p, kTableCardsAt, r.tableCards, r.tableCount);
  GetBytes(p, kBottomAt, r.bottom);
  GetBytes(p, kPlayedAt, r.played);
  GetWords(p, kScoreAt, r.score, UnbiasedScore);
  GetWords(p, kRoundsAt, r.rounds, Same);
  return Valid(r, watcher) ? 0 : 1;
}

}  // namespace

int EncodeTableState(const TableStateRecord& record, Packet& packet) {
  return EncodeState(record, packet, false);
}

int DecodeTableState(TableStateRecord& record, const Packet& packet) {
  return DecodeState(record, packet, false);
}

int EncodeWatchState(const TableStateRecord& record, Packet& packet) {
  return EncodeState(record, packet, true);
}

int DecodeWatchState(TableStateRecord& record, const Packet& packet) {
  return DecodeState(record, packet, true);
}

int EncodeStateRequest(const SeatRecord& record, Packet& packet) {
  if (packet.length < StateRequestLength) return 1;
  return wire::PutTableSeat(packet, kTableAt, kSeatAt, record.tableNumber, record.seat);
}

int DecodeStateRequest(SeatRecord& record, const Packet& packet) {
  if (packet.length < StateRequestLength) return 1;
  return wire::GetTableSeat(packet, kTableAt, kSeatAt, record.tableNumber, record.seat);
}

}  // namespace quarn
