// Many tables in one quarnd: 250 tables and 1000 computer players driven from
// two poll loops, against one table of the same run and the plain loopback
// echo: aggregate games per second, the play round trip, quarnd's memory,
// and how fast a login is answered while another table is in its deal pauses.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "bench/games_driver.h"
#include "bench/games_echo.h"
#include "bench/tables_driver.h"

namespace {

using quarn::bench::PercentileMicros;
using quarn::bench::Samples;

constexpr int kTables = 250;
constexpr int kGamesPerTable = 8;
constexpr int kLoops = 2;
constexpr int kOneTableGames = 200;

Samples g_echo, g_play, g_login;
double g_oneTable = 0, g_manyTables = 0, g_driverCpu = 0;
int g_games = 0;
quarn::bench::Memory g_memory;
std::string g_loadBefore, g_loadAfter;

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

void BM_EchoFloor(benchmark::State& state) {
  if (g_loadBefore.empty()) g_loadBefore = LoadAverage();
  Samples trips;
  for (auto _ : state) trips = quarn::bench::EchoRoundTrips(96, 20000);
  state.counters["p99_us"] = PercentileMicros(trips, 99);
  g_echo.insert(g_echo.end(), trips.begin(), trips.end());
}
BENCHMARK(BM_EchoFloor)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OneTable(benchmark::State& state) {
  quarn::bench::GameRun run;
  for (auto _ : state) {
    quarn::bench::ServerProcess server({"--no-delay"});
    if (!server.Running()) return state.SkipWithError("quarnd did not start");
    run = quarn::bench::PlayGames(server.Port(), kOneTableGames);
  }
  if (!run.error.empty()) return state.SkipWithError(run.error.c_str());
  g_oneTable = run.games / std::chrono::duration<double>(run.elapsed).count();
  state.counters["games_per_s"] = g_oneTable;
}
BENCHMARK(BM_OneTable)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

double OwnCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_ManyTables(benchmark::State& state) {
  quarn::bench::TablesRun run;
  const double cpuBefore = OwnCpuSeconds();
  for (auto _ : state) {
    quarn::bench::ServerProcess server({"--no-delay", "--tables", std::to_string(kTables)});
    if (!server.Running()) return state.SkipWithError("quarnd did not start");
    run = quarn::bench::PlayManyTables(server.Port(), kTables, kGamesPerTable, kLoops);
    g_memory = quarn::bench::MemoryOf(server.Pid());
  }
  if (!run.error.empty()) return state.SkipWithError(run.error.c_str());
  g_manyTables = run.games / std::chrono::duration<double>(run.elapsed).count();
  g_driverCpu = OwnCpuSeconds() - cpuBefore;
  g_games = run.games;
  g_play = run.playRoundTrips;
  state.counters["games"] = run.games;
  state.counters["games_per_s"] = g_manyTables;
  state.counters["refused"] = run.refusals;
  state.counters["p99_us"] = PercentileMicros(g_play, 99);
}
BENCHMARK(BM_ManyTables)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoginWhileAnotherTableDeals(benchmark::State& state) {
  for (auto _ : state) {
    quarn::bench::ServerProcess server({"--tables", "2", "--delay-sync", "50"});
    if (!server.Running()) return state.SkipWithError("quarnd did not start");
    g_login = quarn::bench::LoginWhileDealing(server.Port(), 10);
  }
  state.counters["p50_us"] = PercentileMicros(g_login, 50);
}
BENCHMARK(BM_LoginWhileAnotherTableDeals)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_EchoFloorAgain(benchmark::State& state) {
  BM_EchoFloor(state);
  g_loadAfter = LoadAverage();
}
BENCHMARK(BM_EchoFloorAgain)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void PrintSummary() {
  if (g_play.empty()) return;
  std::printf(
      "\nquarnd with %d tables, %d players from %d poll loops (load average %s, after %s):\n",
      kTables, 4 * kTables, kLoops, g_loadBefore.c_str(), g_loadAfter.c_str());
  std::printf("  games per second: one table %.1f, %d tables %.1f, ratio %.2f (target >= 3)\n",
              g_oneTable, kTables, g_manyTables, g_manyTables / g_oneTable);
  for (const double p : {50.0, 99.0}) {
    const double play = PercentileMicros(g_play, p);
    const double echo = PercentileMicros(g_echo, p);
    std::printf("  PlayCards -> PlayNotice p%.0f: %8.1f us vs echo %6.1f us, ratio %.2f%s\n", p,
                play, echo, play / echo, p == 99.0 ? " (target <= 5)" : "");
  }
  std::printf("  quarnd memory: peak %.1f MB, at the end %.1f MB (target < 64 MB)\n",
              g_memory.peakKiB / 1024.0, g_memory.nowKiB / 1024.0);
  // Processor time per game does not depend on what else the machine runs.
  std::printf("  processor time per game: quarnd %.0f us, the 1000 players %.0f us (%d games)\n",
              1e6 * g_memory.cpuSeconds / g_games, 1e6 * g_driverCpu / g_games, g_games);
  if (!g_login.empty()) {
    std::printf("  a login to table 2 while table 1 deals: p50 %.0f us, max %.0f us (%zu logins)\n",
                PercentileMicros(g_login, 50), PercentileMicros(g_login, 100), g_login.size());
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary();
  return 0;
}
