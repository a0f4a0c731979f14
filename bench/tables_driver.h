// Many tables at once against one quarnd: four computer players a table,
// driven from a few poll loops (threads) in this process, each loop owning
// its share of the tables.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "bench/games_echo.h"
#include "bench/placement.h"

namespace quarn::bench {

struct TablesRun {
  int games = 0;     // games finished, over all tables
  int refusals = 0;  // plays or bids the server left unanswered
  // PlayCards written to its PlayNotice arriving at the player's socket (the
  // kernel's receive time, so the driver's own loop does not count).
  Samples playRoundTrips;
  // Between one move (bid, play, pass) written to the server and the next, over all players:
  // how long the server waits between requests, which the echo's client pauses in turn.
  Samples gaps;
  std::chrono::nanoseconds elapsed{};
  std::string error;
};

struct TablesPlan {
  int tables = 0;
  int games = 0;  // each table plays so many
  int loops = 0;  // poll loops (threads), each owning its share of the tables
  int playersCpu = -1;
  // Each decision (a bid or a play) waits a time drawn evenly from half to one
  // and a half times this, as a player thinks; 0: every move at once.
  std::chrono::milliseconds think{0};
};

// `tables` x 4 players log in (table t asks for table t) and play until every
// table has finished its games.
TablesRun PlayManyTables(std::uint16_t port, const TablesPlan& plan);

// How long logins take to be answered at `port` (a server of two tables,
// pacing on) while table 1 is in its deal pauses: one sample per round.
Samples LoginWhileDealing(std::uint16_t port, int rounds, int playersCpu);

// VmHWM and VmRSS of a process, in KiB (0 when unknown), and the processor
// time it has used so far.
struct Memory {
  long peakKiB = 0;
  long nowKiB = 0;
  double cpuSeconds = 0;
};
Memory MemoryOf(int pid);

}  // namespace quarn::bench
