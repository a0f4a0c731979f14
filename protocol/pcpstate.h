// The game in play as one seat may know it: TableState (server, 184 bytes),
// sent to a player who comes back to a kept seat and in answer to a
// StateRequest (client, 48 bytes: the table at 32 and the own seat at 36, as
// the short play body, so it uses SeatRecord). WatchState (server to a
// watcher, 184 bytes) is the same body as a watcher may know it: seat 4, no
// hand, no bottom cards.
//
// TableState:
//   32  I32      TableNumber
//   36  1        seat: the receiving seat
//   37  1        phase: 0 dealing, 1 bidding, 2 playing
//   38  1        turn: the seat to bid or play
//   39  1        landlord; while dealing or bidding, the starting seat
//   40  I32      points: the high bid so far while bidding, else the game's points
//   44  4 x 1    cards held by seat 0..3, each 0..33
//   48  1        start card, 1..108
//   49  1        own card count; equals the receiving seat's count at 44
//   50  33       own cards 1..108, then zeros
//   83  1        lead seat: the seat whose cards lie on the table
//   84  1        table card count, 0..33 (0: nothing lies on the table)
//   85  33       table cards 1..108, then zeros
//   118 8        the bottom cards when the receiving seat is the landlord in play, else zeros
//   126 15       cards laid this game of rank 1..15 (3 .. 2, small joker, big joker), each 0..8
//   141 3        spare, 0
//   144 4 x I32  score of seat 0..3 plus ScoreBias
//   160 4 x I32  Rounds of seat 0..3
//   176 8        tail
#pragma once

#include <array>
#include <cstdint>

#include "protocol/pcpheadtail.h"
#include "protocol/pcpplay.h"

namespace quarn {

enum class TablePhase : std::uint8_t { Dealing = 0, Bidding = 1, Playing = 2 };

inline constexpr std::size_t PlayedRanks = 15;
inline constexpr std::size_t BottomCardCount = 8;

struct TableStateRecord {
  std::int32_t tableNumber = 0;
  std::uint8_t seat = 0;
  TablePhase phase = TablePhase::Dealing;
  std::uint8_t turn = 0;
  std::uint8_t landlord = 0;
  std::int32_t points = 0;
  std::array<std::uint8_t, 4> cardCount{};
  std::uint8_t startCard = 0;
  std::uint8_t handCount = 0;
  std::array<std::uint8_t, PlayMaxCards> hand{};  // the first handCount are cards
  std::uint8_t leadSeat = 0;
  std::uint8_t tableCount = 0;
  std::array<std::uint8_t, PlayMaxCards> tableCards{};  // the first tableCount are cards
  std::array<std::uint8_t, BottomCardCount> bottom{};   // all cards or all zero
  std::array<std::uint8_t, PlayedRanks> played{};       // index: rank - 1
  std::array<std::int32_t, 4> score{};                  // the real totals; biased on the wire
  std::array<std::int32_t, 4> rounds{};
  bool operator==(const TableStateRecord&) const = default;
};

// Both check the whole record first: every seat byte 0..3, the phase, counts
// at most 33 with the own count equal to the own seat's, the counted cards and
// the start card 1..108, the bottom all cards or all zero, each played count
// at most 8. The encoder writes nothing of a record that fails; the decoder's
// record then holds what it read. Card places beyond a count are zero after
// either.
int EncodeTableState(const TableStateRecord& record, Packet& packet);
int DecodeTableState(TableStateRecord& record, const Packet& packet);

// WatchState: the same body for a watcher, who holds no seat: the seat byte
// is kWatcherSeat, the own count 0 and the bottom cards zero; every other
// check as above.
inline constexpr std::uint8_t kWatcherSeat = 4;
int EncodeWatchState(const TableStateRecord& record, Packet& packet);
int DecodeWatchState(TableStateRecord& record, const Packet& packet);

// StateRequest: write the table, then fail when the seat is 4 or more.
int EncodeStateRequest(const SeatRecord& record, Packet& packet);
int DecodeStateRequest(SeatRecord& record, const Packet& packet);

}  // namespace quarn
