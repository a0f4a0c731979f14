// Play: PlayCards and PlayNotice carry the full 96-byte play body; PlayPass
// and PlayTurn use only its first two fields.
//
//   32 I32   TableNumber
//   36 1     seat
//   37 1     card count 0..33 (0 only in PlayNotice: the seat passed)
//   38 33    card numbers 1..108, then zeros
//   71 1     combination type
//   72 1     key rank
//   73 15    combination name (sent as zeros; copied, never used)
//   88 8     tail
#pragma once

#include <array>
#include <cstdint>

#include "protocol/pcpheadtail.h"

namespace quarn {

inline constexpr std::size_t PlayMaxCards = 33;
inline constexpr std::size_t ComboNameSize = 15;

struct PlayRecord {
  std::int32_t tableNumber = 0;
  std::uint8_t seat = 0;
  std::uint8_t count = 0;
  std::array<std::uint8_t, PlayMaxCards> cards{};  // the first `count` are cards
  std::uint8_t comboType = 0;
  std::uint8_t keyRank = 0;
  std::array<std::uint8_t, ComboNameSize> comboName{};
  bool operator==(const PlayRecord&) const = default;
};

// The short form: a table and a seat (PlayPass, PlayTurn, and PlayerLeave of pcpgame.h).
struct SeatRecord {
  std::int32_t tableNumber = 0;
  std::uint8_t seat = 0;
  bool operator==(const SeatRecord&) const = default;
};

// Client: seat below 4, count 1..33, each counted card 1..108; then
// type, key rank and the 15 name bytes.
int EncodePlayCards(const PlayRecord& record, Packet& packet);
// Server: seat below 4, count 1..33, each counted card 1..108; the record's
// other card places are set to 0; then type, key rank and name.
int DecodePlayCards(PlayRecord& record, const Packet& packet);

// Server: as EncodePlayCards, except that count 0 (a pass) ends it with
// success after table, seat and count.
int EncodePlayNotice(const PlayRecord& record, Packet& packet);
// Client: as DecodePlayCards, except that count 0 succeeds without reading
// the card places (the record's cards and combination are set to 0).
int DecodePlayNotice(PlayRecord& record, const Packet& packet);

// Write the table, then fail when the seat is 4 or more, else write it.
int EncodePlayPass(const SeatRecord& record, Packet& packet);
int EncodePlayTurn(const SeatRecord& record, Packet& packet);
// Fail when the seat is 4 or more.
int DecodePlayPass(SeatRecord& record, const Packet& packet);
int DecodePlayTurn(SeatRecord& record, const Packet& packet);

}  // namespace quarn
