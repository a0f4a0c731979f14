// Reading and writing body fields at fixed offsets of a packet buffer.
// Words are network order; offsets are from the first byte of the packet.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/gbk.h"
#include "protocol/pcpheadtail.h"

namespace quarn::wire {

inline void PutU32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = static_cast<std::uint8_t>(value >> 24);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 16);
  bytes[at + 2] = static_cast<std::uint8_t>(value >> 8);
  bytes[at + 3] = static_cast<std::uint8_t>(value);
}

inline std::uint32_t GetU32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
         std::uint32_t{bytes[at + 2]} << 8 | std::uint32_t{bytes[at + 3]};
}

inline void PutI32(Packet& p, std::size_t at, std::int32_t value) {
  PutU32(p.bytes, at, static_cast<std::uint32_t>(value));
}

inline std::int32_t GetI32(const Packet& p, std::size_t at) {
  return static_cast<std::int32_t>(GetU32(p.bytes, at));
}

// The start of most bodies: the table number, then a seat index 0..3. The
// table goes first; a seat of 4 or more is refused (the decoder leaves it read
// into the record, the encoder does not write it).
inline int PutTableSeat(Packet& p, std::size_t tableAt, std::size_t seatAt, std::int32_t table,
                        std::uint8_t seat) {
  PutI32(p, tableAt, table);
  if (seat >= 4) return 1;
  p.bytes[seatAt] = seat;
  return 0;
}

inline int GetTableSeat(const Packet& p, std::size_t tableAt, std::size_t seatAt,
                        std::int32_t& table, std::uint8_t& seat) {
  table = GetI32(p, tableAt);
  seat = p.bytes[seatAt];
  return seat >= 4 ? 1 : 0;
}

// A fixed-width NUL-terminated GBK field, cut at a character boundary.
inline void PutText(Packet& p, std::size_t at, std::size_t width, std::string_view gbk) {
  WriteGbkField(std::span<std::uint8_t>(p.bytes).subspan(at, width), gbk);
}

// The field up to its first NUL, or its whole width when it has none.
inline std::string GetText(const Packet& p, std::size_t at, std::size_t width) {
  return ReadGbkField(std::span<const std::uint8_t>(p.bytes).subspan(at, width));
}

inline void Zero(Packet& p, std::size_t at, std::size_t width) {
  std::fill_n(p.bytes.begin() + static_cast<std::ptrdiff_t>(at), width, std::uint8_t{0});
}

inline bool IsCard(std::uint8_t card) {
  return card >= 1 && card <= 108;
}

// A run of card bytes, each checked; at a refused card the ones before it
// stay written (Put) or read (Get).
inline int PutCards(Packet& p, std::size_t at, std::span<const std::uint8_t> cards) {
  for (std::size_t i = 0; i < cards.size(); ++i) {
    if (!IsCard(cards[i])) return 1;
    p.bytes[at + i] = cards[i];
  }
  return 0;
}

inline int GetCards(const Packet& p, std::size_t at, std::span<std::uint8_t> cards) {
  for (std::size_t i = 0; i < cards.size(); ++i) {
    cards[i] = p.bytes[at + i];
    if (!IsCard(cards[i])) return 1;
  }
  return 0;
}

}  // namespace quarn::wire
