// A short run of the benchmarks' drivers against quarnd, small enough for a
// test: a few tables from two poll loops (threads) and one table from the
// calling thread. Under ThreadSanitizer it shows the loops share nothing they
// should not; anywhere it shows the drivers still play games to the end.
#include <cstdio>
#include <string>

#include "bench/games_driver.h"
#include "bench/tables_driver.h"

namespace {

constexpr int kTables = 8;
constexpr int kLoops = 2;

bool Failed(const char* what, const std::string& error, int games, int expected) {
  if (error.empty() && games == expected) return false;
  std::fprintf(stderr, "%s: %d of %d games, %s\n", what, games, expected,
               error.empty() ? "no error" : error.c_str());
  return true;
}

}  // namespace

int main() {
  using quarn::bench::ServerProcess;
  const ServerProcess many({"--no-delay", "--tables", std::to_string(kTables)});
  if (!many.Running()) return std::fputs("quarnd did not start\n", stderr), 1;
  const quarn::bench::TablesRun tables =
      quarn::bench::PlayManyTables(many.Port(), {kTables, 1, kLoops, -1, {}});
  if (Failed("many tables", tables.error, tables.games, kTables)) return 1;

  const ServerProcess one({"--no-delay"});
  if (!one.Running()) return std::fputs("quarnd did not start\n", stderr), 1;
  const quarn::bench::GameRun game = quarn::bench::PlayGames(one.Port(), 1);
  if (Failed("one table", game.error, game.games, 1)) return 1;
  std::printf("%d tables from %d loops and one table played to the end\n", kTables, kLoops);
  return 0;
}
