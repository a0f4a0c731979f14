// The lobby and its watchers: anyone connected asks which tables are in use,
// and may watch one without a seat.
//
// LobbyRequest (client, 48 bytes):
//   32 I32   the first table to list, 1 or more
//   36 4     spare, 0
//   40 8     tail
//
// LobbyLine (server to the asker, 128 bytes), one per table in use:
//   32 I32   table number; no table: 0
//   36 1     0: a table; 1: no table in use from the first asked
//   37 1     lines in this answer, 1..16; no table: 0
//   38 1     state: 0 waiting, 1 dealing, 2 bidding, 3 playing; no table: 0
//   39 1     free seats, 0..4: the seats whose name is empty; no table: 0
//   40 I32   watchers at the table, 0..the limit at 44; no table: 0
//   44 I32   watchers a table may have (0: watching is off)
//   48 I32   the highest table a login may ask for, 1 or more
//   52 4x16  the names by seat, GBK, NUL-terminated; empty: a free seat
//   116 4    spare, 0
//   120 8    tail
//
// WatchRequest (client, 64 bytes):
//   32 I32   the table to watch, 1 or more
//   36 4     spare, 0
//   40 16    the watcher's name, GBK, 1..15 bytes, NUL-terminated
//   56 8     tail
//
// WatchReply (server to the asker, 56 bytes):
//   32 I32   the table asked for
//   36 1     0: watching; 1: watching is off; 2: the table has all its watchers; 3: no such table
//   37 3     spare, 0
//   40 I32   watchers at the table now, this one included when watching
//   44 I32   watchers a table may have
//   48 8     tail
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "protocol/pcpheadtail.h"

namespace quarn {

inline constexpr int kMaxLobbyLines = 16;

enum class LobbyKind : std::uint8_t { Table = 0, None = 1 };
enum class LobbyTableState : std::uint8_t { Waiting = 0, Dealing = 1, Bidding = 2, Playing = 3 };
enum class WatchResult : std::uint8_t { Watching = 0, Off = 1, Full = 2, NoTable = 3 };

struct LobbyRequestRecord {
  std::int32_t firstTable = 1;
  bool operator==(const LobbyRequestRecord&) const = default;
};

struct LobbyLineRecord {
  std::int32_t tableNumber = 0;
  LobbyKind kind = LobbyKind::None;
  std::uint8_t count = 0;
  LobbyTableState state = LobbyTableState::Waiting;
  std::uint8_t freeSeats = 0;
  std::int32_t watchers = 0;
  std::int32_t watcherLimit = 0;
  std::int32_t tables = 1;
  std::array<std::string, 4> names;  // GBK, at most 15 bytes; empty: free
  bool operator==(const LobbyLineRecord&) const = default;
};

struct WatchRequestRecord {
  std::int32_t tableNumber = 1;
  std::string name;  // GBK, 1..15 bytes
  bool operator==(const WatchRequestRecord&) const = default;
};

struct WatchReplyRecord {
  std::int32_t tableNumber = 0;
  WatchResult result = WatchResult::Off;
  std::int32_t watchers = 0;
  std::int32_t watcherLimit = 0;
  bool mayChat = false;  // the server passes a watcher's chat on (0 in older servers)
  bool operator==(const WatchReplyRecord&) const = default;
};

// Request: a first table of 1 or more.
int EncodeLobbyRequest(const LobbyRequestRecord& record, Packet& packet);
int DecodeLobbyRequest(LobbyRequestRecord& record, const Packet& packet);
// Line: a table has a number of 1..tables, a count of 1..16, a state 0..3,
// free seats equal to its empty names, 0 <= watchers <= limit and names of at
// most 15 bytes; "no table" has every field from 32 to 43 and the names
// zero; both have a limit of 0 or more and 1 or more tables. Nothing is
// written of a record that fails.
int EncodeLobbyLine(const LobbyLineRecord& record, Packet& packet);
int DecodeLobbyLine(LobbyLineRecord& record, const Packet& packet);
// Watch request: a table of 1 or more and a name of 1..15 bytes without a NUL.
int EncodeWatchRequest(const WatchRequestRecord& record, Packet& packet);
int DecodeWatchRequest(WatchRequestRecord& record, const Packet& packet);
// Watch reply: a result 0..3 and 0 <= watchers, 0 <= limit; watching needs
// 1 <= watchers <= limit.
int EncodeWatchReply(const WatchReplyRecord& record, Packet& packet);
int DecodeWatchReply(WatchReplyRecord& record, const Packet& packet);

}  // namespace quarn
