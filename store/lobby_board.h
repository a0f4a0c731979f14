// The tables in use, shared by every server on one database: each server
// publishes the tables of its own range and reads the other servers', so a
// lobby anywhere lists the tables everywhere. Times are the database's own
// clock, so servers on machines whose clocks differ still agree on who is alive.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/game_record.h"

namespace quarn::store {

// One table in use, as a lobby lists it.
struct LobbyEntry {
  std::int32_t table = 0;
  std::uint8_t state = 0;  // 0 waiting, 1 dealing, 2 bidding, 3 playing
  std::int32_t watchers = 0;
  std::int32_t watcherLimit = 0;
  std::array<std::string, kSeats> names;  // GBK bytes; empty: a free seat
  bool operator==(const LobbyEntry&) const = default;
};

// The table numbers one server holds, first..last.
struct TableRange {
  std::int32_t first = 1;
  std::int32_t last = 1;
  bool Holds(std::int32_t table) const { return table >= first && table <= last; }
  bool operator==(const TableRange&) const = default;
};

// What changed in a range since its last publication.
struct LobbyChange {
  TableRange range;
  // Every row of the range goes first (a first publication, or one after a
  // failure, when what the database holds is not known).
  bool whole = false;
  std::vector<LobbyEntry> changed;  // written over the rows of their tables
  std::vector<std::int32_t> gone;   // tables no longer in use
};

// The other servers' tables, and the highest table number any of them holds.
struct OthersLobby {
  std::vector<LobbyEntry> tables;  // in number order
  std::int32_t lastTable = 0;
  bool operator==(const OthersLobby&) const = default;
};

class LobbyBoard {
 public:
  // Rows read at most: the lobby lists 16 a time, and a bound keeps a read
  // cheap however many tables are in use.
  static constexpr int kMaxRows = 4096;

  virtual ~LobbyBoard() = default;
  // Marks the range's server alive now and applies the change, in one
  // transaction; false when nothing was written.
  [[nodiscard]] virtual bool PublishLobby(const LobbyChange& change) = 0;
  // The tables outside `own` whose server published within `maxAge`; none
  // when the database could not be read.
  virtual std::optional<OthersLobby> ReadLobby(TableRange own,
                                               std::chrono::milliseconds maxAge) = 0;
};

}  // namespace quarn::store
