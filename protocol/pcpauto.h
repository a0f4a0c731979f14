// Seats played by the computer, and the time a seat has to move.
//
// AutoPlayRequest (client, 48 bytes):
//   32 I32   TableNumber
//   36 1     seat: the sender's own seat
//   37 1     1: play my seat for me (托管); 0: I play it myself again
//   38 2     spare, 0
//   40 8     tail
//
// AutoPlayNotice (server to table, 56 bytes):
//   32 I32   TableNumber
//   36 1     seat whose control changed
//   37 1     its control now (SeatControl)
//   38 2     spare, 0
//   40 4 x 1 control of seat 0..3 (SeatControl)
//   44 4     spare, 0
//   48 8     tail
//
// TurnClock (server to table, 56 bytes):
//   32 I32   TableNumber
//   36 1     seat: the seat whose bid or play is awaited
//   37 3     spare, 0
//   40 I32   the time a seat has for each move, milliseconds, 1 or more
//   44 I32   milliseconds this seat has left, 0 .. the time above
//   48 8     tail
#pragma once

#include <array>
#include <cstdint>

#include "protocol/pcpheadtail.h"

namespace quarn {

// Who makes a seat's moves.
enum class SeatControl : std::uint8_t {
  Person = 0,         // its player
  OnRequest = 1,      // the computer: its player asked for it (托管)
  AfterTimeouts = 2,  // the computer: its player let the time run out twice in a row
  PlayerGone = 3,     // the computer: the connection was lost and the seat kept
};

struct AutoPlayRecord {
  std::int32_t tableNumber = 0;
  std::uint8_t seat = 0;
  SeatControl control = SeatControl::Person;  // request: Person or OnRequest only
  std::array<SeatControl, 4> seats{};         // notice only
  bool operator==(const AutoPlayRecord&) const = default;
};

struct TurnClockRecord {
  std::int32_t tableNumber = 0;
  std::uint8_t seat = 0;
  std::int32_t turnMs = 0;
  std::int32_t leftMs = 0;
  bool operator==(const TurnClockRecord&) const = default;
};

// Request: seat 0..3 and control Person or OnRequest. Nothing is written of a
// record that fails; a decoded one holds what was read.
int EncodeAutoPlayRequest(const AutoPlayRecord& record, Packet& packet);
int DecodeAutoPlayRequest(AutoPlayRecord& record, const Packet& packet);
// Notice: seat 0..3, every control a SeatControl, and the changed seat's
// control in the list equal to the one at 37.
int EncodeAutoPlayNotice(const AutoPlayRecord& record, Packet& packet);
int DecodeAutoPlayNotice(AutoPlayRecord& record, const Packet& packet);
// Seat 0..3, turnMs 1 or more, leftMs 0..turnMs.
int EncodeTurnClock(const TurnClockRecord& record, Packet& packet);
int DecodeTurnClock(TurnClockRecord& record, const Packet& packet);

}  // namespace quarn
