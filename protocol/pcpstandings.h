// The standings of a server that keeps its games: a seated player asks for the
// top lines or its own, and the server answers with one line per packet.
//
// StandingsRequest (client, 48 bytes):
//   32 I32   TableNumber: the sender's table
//   36 1     0: the top lines; 1: my own line
//   37 1     top: how many lines, 1..20; own: 0
//   38 2     spare, 0
//   40 8     tail
//
// StandingsLine (server to the asker, 104 bytes):
//   32 I32   TableNumber
//   36 1     0: a line of the top list; 1: the asker's own line; 2: no line
//   37 1     lines in this answer, 0..20 (2: 0)
//   38 2     spare, 0
//   40 I32   rank, 1 or more (2: 0)
//   44 16    name, GBK, NUL-terminated (2: zeros)
//   60 I32   games
//   64 I32   games won
//   68 I32   games as landlord
//   72 I32   games won as landlord
//   76 I32   points, high word  } one signed 64-bit number
//   80 I32   points, low word   }
//   84 I32   last played: seconds since 1970-01-01 UTC, unsigned
//   88 8     spare, 0
//   96 8     tail
#pragma once

#include <cstdint>
#include <string>

#include "protocol/pcpheadtail.h"

namespace quarn {

inline constexpr int kMaxStandingsLines = 20;

enum class StandingsAsk : std::uint8_t { Top = 0, Own = 1 };
enum class StandingsKind : std::uint8_t { Top = 0, Own = 1, None = 2 };

struct StandingsRequestRecord {
  std::int32_t tableNumber = 0;
  StandingsAsk ask = StandingsAsk::Top;
  std::uint8_t count = 0;
  bool operator==(const StandingsRequestRecord&) const = default;
};

struct StandingsLineRecord {
  std::int32_t tableNumber = 0;
  StandingsKind kind = StandingsKind::None;
  std::uint8_t count = 0;
  std::int32_t rank = 0;
  std::string name;  // GBK, at most 15 bytes
  std::int32_t games = 0;
  std::int32_t wins = 0;
  std::int32_t landlordGames = 0;
  std::int32_t landlordWins = 0;
  std::int64_t points = 0;
  std::uint32_t lastPlayed = 0;
  bool operator==(const StandingsLineRecord&) const = default;
};

// Request: top with count 1..20, own with count 0.
int EncodeStandingsRequest(const StandingsRequestRecord& record, Packet& packet);
int DecodeStandingsRequest(StandingsRequestRecord& record, const Packet& packet);
// Line: kind 0..2; count 0..20; a line (0, 1) has rank 1 or more, a name of
// at most 15 bytes and 0 <= landlord wins <= landlord games <= games and
// landlord wins <= wins <= games; "no line" (2) has count, rank and every
// number 0 and no name. Nothing is written of a record that fails.
int EncodeStandingsLine(const StandingsLineRecord& record, Packet& packet);
int DecodeStandingsLine(StandingsLineRecord& record, const Packet& packet);

}  // namespace quarn
