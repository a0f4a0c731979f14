// Many tables at once against one quarnd: four computer players a table,
// driven from a few poll loops (threads) in this process, each loop owning
// its share of the tables.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "bench/games_echo.h"

namespace quarn::bench {

struct TablesRun {
  int games = 0;     // games finished, over all tables
  int refusals = 0;  // plays or bids the server left unanswered
  // PlayCards written to its PlayNotice arriving at the player's socket (the
  // kernel's receive time, so the driver's own loop does not count).
  Samples playRoundTrips;
  std::chrono::nanoseconds elapsed{};
  std::string error;
};

// `tables` x 4 players log in (table t asks for table t) and play until every
// table has finished `games` games.
TablesRun PlayManyTables(std::uint16_t port, int tables, int games, int loops);

// How long logins take to be answered at `port` (a server of two tables,
// pacing on) while table 1 is in its deal pauses: one sample per round.
Samples LoginWhileDealing(std::uint16_t port, int rounds);

// VmHWM and VmRSS of a process, in KiB (0 when unknown), and the processor
// time it has used so far.
struct Memory {
  long peakKiB = 0;
  long nowKiB = 0;
  double cpuSeconds = 0;
};
Memory MemoryOf(int pid);

}  // namespace quarn::bench
