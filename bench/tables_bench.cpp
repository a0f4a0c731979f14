// Many tables in one quarnd: 250 tables and 1000 computer players driven from
// two poll loops, quarnd pinned to one processor and the players to the other
// (as on different machines). Two phases:
// - capacity: the players move at once; aggregate games per second against one
//   table of the same run, and quarnd's memory;
// - latency: the players think as quarn-bot does by default (its --think, 200
//   ms a decision, spread evenly from half to one and a half times that); the
//   play round trip against a plain loopback echo pinned alike, whose client
//   pauses between trips as the server's requests were spaced in this phase,
//   and quarnd's memory.
// Players that answer at once keep a play in flight at every table, so the
// round trip of the capacity phase is the time a request waits behind the
// other 249 (Little's law), whatever the server does; it is reported beside
// the echo too, but the latency a player meets is the thinking phase's.
// Then how fast a login is answered while another table is in its deal pauses.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <string>

#include "bench/games_driver.h"
#include "bench/games_echo.h"
#include "bench/placement.h"
#include "bench/tables_driver.h"
#include "bot/options.h"

namespace {

using quarn::bench::PercentileMicros;
using quarn::bench::Samples;
using std::chrono::milliseconds;

constexpr int kTables = 250;
constexpr int kLoops = 2;
constexpr int kCapacityGames = 8;  // a table, players moving at once
constexpr int kLatencyGames = 2;   // a table, players thinking
// The players' time per decision in the latency phase: quarn-bot's default,
// what a server full of computer players sees.
const milliseconds kBotThinkTime{quarn::bot::BotOptions{}.thinkMs};
constexpr int kOneTableGames = 200;
constexpr int kEchoTrips = 5000;

const quarn::bench::Placement g_placement =
    quarn::bench::CanPlaceApart() ? quarn::bench::Apart()
                                  : quarn::bench::Placement{-1, -1, "not pinned (one processor)"};

struct Phase {
  quarn::bench::TablesRun run;
  quarn::bench::Memory memory;  // quarnd's, at the end of the phase
  double driverCpu = 0;         // the players' processor time, seconds
  std::string load;             // the load average before the phase
};

Phase g_capacity, g_latency;
Samples g_echo, g_unpacedEcho, g_login;
double g_oneTable = 0;

double OwnCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double GamesPerSecond(int games, std::chrono::nanoseconds elapsed) {
  return games / std::chrono::duration<double>(elapsed).count();
}

void BM_OneTable(benchmark::State& state) {
  quarn::bench::GameRun run;
  for (auto _ : state) {
    quarn::bench::ServerProcess server({"--no-delay"}, g_placement.serverCpu);
    if (!server.Running()) return state.SkipWithError("quarnd did not start");
    run = quarn::bench::PlayGames(server.Port(), kOneTableGames, g_placement.playersCpu);
  }
  if (!run.error.empty()) return state.SkipWithError(run.error.c_str());
  g_oneTable = GamesPerSecond(run.games, run.elapsed);
  state.counters["games_per_s"] = g_oneTable;
}
BENCHMARK(BM_OneTable)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ManyTables(benchmark::State& state, Phase* phase, int games, milliseconds think) {
  phase->load = quarn::bench::LoadAverage();
  const double cpuBefore = OwnCpuSeconds();
  for (auto _ : state) {
    quarn::bench::ServerProcess server({"--no-delay", "--tables", std::to_string(kTables)},
                                       g_placement.serverCpu);
    if (!server.Running()) return state.SkipWithError("quarnd did not start");
    phase->run = quarn::bench::PlayManyTables(
        server.Port(), {kTables, games, kLoops, g_placement.playersCpu, think});
    phase->memory = quarn::bench::MemoryOf(server.Pid());
  }
  const quarn::bench::TablesRun& run = phase->run;
  if (!run.error.empty()) return state.SkipWithError(run.error.c_str());
  phase->driverCpu = OwnCpuSeconds() - cpuBefore;
  state.counters["games"] = run.games;
  state.counters["games_per_s"] = GamesPerSecond(run.games, run.elapsed);
  state.counters["plays"] = static_cast<double>(run.playRoundTrips.size());
  state.counters["refused"] = run.refusals;
  state.counters["p99_us"] = PercentileMicros(run.playRoundTrips, 99);
}
BENCHMARK_CAPTURE(BM_ManyTables, capacity, &g_capacity, kCapacityGames, milliseconds(0))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ManyTables, latency, &g_latency, kLatencyGames, kBotThinkTime)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The floor of the latency phase: its client sleeps between trips as long as
// the server waited between requests in that phase, so that both ends are as
// awake as quarnd and the players were. Then trip after trip, the floor of the
// capacity phase.
void BM_EchoFloor(benchmark::State& state) {
  quarn::bench::EchoTrips paced, unpaced;
  for (auto _ : state) {
    paced = quarn::bench::EchoRoundTrips(96, kEchoTrips, {g_placement, g_latency.run.gaps, true});
    unpaced = quarn::bench::EchoRoundTrips(96, kEchoTrips, {g_placement, {}, false});
  }
  if (paced.arrived.empty() || unpaced.arrived.empty()) {
    return state.SkipWithError("no loopback echo");
  }
  g_echo = paced.arrived;
  g_unpacedEcho = unpaced.arrived;
  state.counters["p99_us"] = PercentileMicros(g_echo, 99);
  state.counters["unpaced_p99_us"] = PercentileMicros(g_unpacedEcho, 99);
}
BENCHMARK(BM_EchoFloor)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoginWhileAnotherTableDeals(benchmark::State& state) {
  for (auto _ : state) {
    quarn::bench::ServerProcess server({"--tables", "2", "--delay-sync", "50"},
                                       g_placement.serverCpu);
    if (!server.Running()) return state.SkipWithError("quarnd did not start");
    g_login = quarn::bench::LoginWhileDealing(server.Port(), 10, g_placement.playersCpu);
  }
  state.counters["p50_us"] = PercentileMicros(g_login, 50);
}
BENCHMARK(BM_LoginWhileAnotherTableDeals)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

const char* Verdict(bool met) {
  return met ? "met" : "MISSED";
}

void PrintMemory(const quarn::bench::Memory& memory) {
  const double peak = memory.peakKiB / 1024.0;
  std::printf("    quarnd memory: peak %.1f MB, at the end %.1f MB (target < 64 MB: %s)\n", peak,
              memory.nowKiB / 1024.0, Verdict(peak < 64));
}

void PrintCapacity() {
  const quarn::bench::TablesRun& run = g_capacity.run;
  if (run.games == 0) return;
  const double many = GamesPerSecond(run.games, run.elapsed);
  const double ratio = many / g_oneTable;
  std::printf("  capacity, the players moving at once (load average %s):\n",
              g_capacity.load.c_str());
  std::printf(
      "    games per second: one table %.1f, %d tables %.1f, ratio %.2f (target >= 3: %s)\n",
      g_oneTable, kTables, many, ratio, Verdict(ratio >= 3));
  PrintMemory(g_capacity.memory);
  std::printf("    processor time per game: quarnd %.0f us, the 1000 players %.0f us (%d games)\n",
              1e6 * g_capacity.memory.cpuSeconds / run.games,
              1e6 * g_capacity.driverCpu / run.games, run.games);
  const double p99 = PercentileMicros(run.playRoundTrips, 99);
  const double echo = PercentileMicros(g_unpacedEcho, 99);
  std::printf(
      "    PlayCards -> PlayNotice at saturation, p50 %.0f us, p99 %.0f us vs echo p99 %.1f us "
      "(trip after trip), ratio %.0f (target <= 5: %s): the wait behind %d tables each with a "
      "play in flight\n",
      PercentileMicros(run.playRoundTrips, 50), p99, echo, echo > 0 ? p99 / echo : 0.0,
      Verdict(echo > 0 && p99 / echo <= 5), kTables);
}

void PrintLatency() {
  const quarn::bench::TablesRun& run = g_latency.run;
  if (run.playRoundTrips.empty() || g_echo.empty()) return;
  std::printf(
      "  latency, the players thinking %lld-%lld ms a move (load average %s): %zu plays in %.1f "
      "s, %.1f games per second\n",
      static_cast<long long>(kBotThinkTime.count() / 2),
      static_cast<long long>(kBotThinkTime.count() * 3 / 2), g_latency.load.c_str(),
      run.playRoundTrips.size(), std::chrono::duration<double>(run.elapsed).count(),
      GamesPerSecond(run.games, run.elapsed));
  std::printf(
      "    echo floor (%zu trips), sleeping between trips as the server waited between "
      "requests (%.0f us on average)\n",
      g_echo.size(), quarn::bench::MeanMicros(run.gaps));
  for (const double p : {50.0, 90.0, 99.0}) {
    const double play = PercentileMicros(run.playRoundTrips, p);
    const double echo = PercentileMicros(g_echo, p);
    std::printf("    PlayCards -> PlayNotice p%.0f: %7.1f us vs echo %6.1f us, ratio %.2f", p, play,
                echo, play / echo);
    if (p == 99.0) std::printf(" (target <= 5: %s)", Verdict(play / echo <= 5));
    std::printf("\n");
  }
  PrintMemory(g_latency.memory);
}

void PrintSummary() {
  std::printf("\n%s\nquarnd --tables %d, %d players from %d poll loops; %s; load average now %s\n",
              quarn::bench::MachineName().c_str(), kTables, 4 * kTables, kLoops,
              g_placement.name.c_str(), quarn::bench::LoadAverage().c_str());
  PrintCapacity();
  PrintLatency();
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
