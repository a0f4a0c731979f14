// Game end and departures: GameEnd, PlayerLeave and GameSpare (192 bytes).
//
// GameEnd:
//   32  I32       TableNumber
//   36  4 x I32   name length of seat 0..3, each 1..15
//   52  4 x 16    name of seat 0..3, GBK, NUL-terminated
//   116 4 x I32   Rounds of seat 0..3 (games finished there, this one included)
//   132 4 x I32   score of seat 0..3 plus ScoreBias
//   148 4 x I32   ServiceIcon of seat 0..3
//   164 4 x I32   HeadIcon of seat 0..3
//   180 1         winner: the seat that laid the last cards
//   181 3         0
//   184 8         tail
// PlayerLeave: TableNumber at 32, the vacated seat at 180, every other body byte 0.
// GameSpare: no defined body.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "protocol/pcpheadtail.h"
#include "protocol/pcpplay.h"

namespace quarn {

inline constexpr std::int32_t ScoreBias = 10000;

// A score as it travels, and back. The bias is added and removed modulo 2^32,
// so no score overflows.
constexpr std::int32_t BiasedScore(std::int32_t score) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(score) + ScoreBias);
}
constexpr std::int32_t UnbiasedScore(std::int32_t wire) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(wire) - ScoreBias);
}

struct GameEndRecord {
  std::int32_t tableNumber = 0;
  std::array<std::int32_t, 4> nameLength{};
  std::array<std::string, 4> name;  // GBK bytes, cut to 15 at a character boundary
  std::array<std::int32_t, 4> rounds{};
  std::array<std::int32_t, 4> score{};  // the real running totals; the bias is added on the wire
  std::array<std::int32_t, 4> serviceIcon{};
  std::array<std::int32_t, 4> headIcon{};
  std::uint8_t winner = 0;
  bool operator==(const GameEndRecord&) const = default;
};

// Server: fails at the first seat whose name length is not 1..15 (earlier
// seats are already written) and when the winner is not a seat 0..3.
int EncodeGameEnd(const GameEndRecord& record, Packet& packet);
// Client: fails when a name length is not 1..15 or the winner is not 0..3
// (the winner indexes the seats, so it is checked).
int DecodeGameEnd(GameEndRecord& record, const Packet& packet);

// Write the table, then fail when the seat is 4 or more, else write it at 180.
int EncodePlayerLeave(const SeatRecord& record, Packet& packet);
// Fails when the seat is 4 or more.
int DecodePlayerLeave(SeatRecord& record, const Packet& packet);

// GameSpare has no body to write or read; both succeed.
int EncodeGameSpare(Packet& packet);
int DecodeGameSpare(const Packet& packet);

}  // namespace quarn
