// Replays from a server that keeps its games: a seated player asks for the
// games it sat in, newest first, and then for one of them whole. The list
// comes one game per packet; a game comes as its record's bytes cut into
// numbered parts that the client joins (protocol/record_parts.h).
//
// ReplayListRequest (client, 48 bytes):
//   32 I32   TableNumber: the sender's table
//   36 1     how many games, 1..20
//   37 3     spare, 0
//   40 8     tail
//
// ReplayListLine (server to the asker, 144 bytes):
//   32 I32   TableNumber
//   36 1     0: a game; 1: no game
//   37 1     games in this answer, 1..20 (1: 0)
//   38 1     the asker's seat in that game, 0..3
//   39 1     the landlord's seat, 0..3
//   40 I32   game id, high word  } one signed 64-bit number, 1 or more
//   44 I32   game id, low word   }
//   48 I32   finished: seconds since 1970-01-01 UTC, unsigned
//   52 I32   the table the game was played at
//   56 I32   points the game was played for, unsigned
//   60 I32   the asker's score change, high word  } one signed 64-bit number
//   64 I32   the asker's score change, low word   }
//   68 4x16  the four names by seat, GBK, NUL-terminated
//   132 4    spare, 0
//   136 8    tail
//
// ReplayGameRequest (client, 56 bytes):
//   32 I32   TableNumber: the sender's table
//   36 4     spare, 0
//   40 I32   game id, high word
//   44 I32   game id, low word
//   48 8     tail
//
// ReplayGamePart (server to the asker, 200 bytes):
//   32 I32   TableNumber
//   36 1     0: a part; 1: no such game (or not the asker's)
//   37 1     part number, from 0
//   38 1     parts in all, 1..32 (1: 0)
//   39 1     bytes in this part, 1..136 (1: 0)
//   40 I32   game id, high word
//   44 I32   game id, low word
//   48 I32   the record's length in bytes, unsigned
//   52 I32   the record's check sum (FNV-1a, 32 bits), unsigned
//   56 136   this part's bytes, then zeros
//   192 8    tail
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/pcpheadtail.h"

namespace quarn {

inline constexpr int kMaxReplayLines = 20;
inline constexpr std::size_t kReplayPartBytes = 136;
inline constexpr std::size_t kMaxReplayParts = 32;

enum class ReplayKind : std::uint8_t { Found = 0, None = 1 };

struct ReplayListRequestRecord {
  std::int32_t tableNumber = 0;
  std::uint8_t count = 0;
  bool operator==(const ReplayListRequestRecord&) const = default;
};

struct ReplayListLineRecord {
  std::int32_t tableNumber = 0;
  ReplayKind kind = ReplayKind::None;
  std::uint8_t count = 0;
  std::uint8_t ownSeat = 0;
  std::uint8_t landlord = 0;
  std::int64_t gameId = 0;
  std::uint32_t finishedAt = 0;
  std::int32_t gameTable = 0;
  std::uint32_t points = 0;
  std::int64_t scoreChange = 0;
  std::array<std::string, 4> names;  // GBK, at most 15 bytes each
  bool operator==(const ReplayListLineRecord&) const = default;
};

struct ReplayGameRequestRecord {
  std::int32_t tableNumber = 0;
  std::int64_t gameId = 0;
  bool operator==(const ReplayGameRequestRecord&) const = default;
};

struct ReplayGamePartRecord {
  std::int32_t tableNumber = 0;
  ReplayKind kind = ReplayKind::None;
  std::uint8_t part = 0;
  std::uint8_t parts = 0;
  std::int64_t gameId = 0;
  std::uint32_t totalLength = 0;
  std::uint32_t checkSum = 0;
  std::vector<std::uint8_t> bytes;  // 1..136 of them in a part; none in "no such game"
  bool operator==(const ReplayGamePartRecord&) const = default;
};

// Request: a count of 1..20.
int EncodeReplayListRequest(const ReplayListRequestRecord& record, Packet& packet);
int DecodeReplayListRequest(ReplayListRequestRecord& record, const Packet& packet);
// Line: a game has a count of 1..20, seats 0..3, an id of 1 or more and names
// of at most 15 bytes without NUL; "no game" has every field but the table 0.
int EncodeReplayListLine(const ReplayListLineRecord& record, Packet& packet);
int DecodeReplayListLine(ReplayListLineRecord& record, const Packet& packet);
// Request: an id of 1 or more.
int EncodeReplayGameRequest(const ReplayGameRequestRecord& record, Packet& packet);
int DecodeReplayGameRequest(ReplayGameRequestRecord& record, const Packet& packet);
// Part: an id of 1 or more; a part has 1..32 parts, a number below them,
// 1..136 bytes and a length the parts can hold; "no such game" has no part,
// no bytes, length and sum 0.
int EncodeReplayGamePart(const ReplayGamePartRecord& record, Packet& packet);
int DecodeReplayGamePart(ReplayGamePartRecord& record, const Packet& packet);

}  // namespace quarn
