// Whole games against quarnd with pacing off: games per second, and the round
// trip of a play (PlayCards written to its PlayNotice read) beside the floor,
// a plain loopback echo of packets of the same size. Prints both and their ratio.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>

#include "bench/games_driver.h"
#include "bench/games_echo.h"

namespace {

using quarn::bench::PercentileMicros;
using quarn::bench::Samples;

constexpr std::size_t kPlayPacketBytes = 96;  // PlayCards and PlayNotice alike
constexpr int kEchoTrips = 20000;
constexpr int kGames = 200;

Samples g_echo;
Samples g_play;
std::array<Samples, 4> g_bySeat;
double g_gamesPerSecond = 0;

// Runs before and after the games; the summary takes both, so that a change in
// the machine's load during the run weighs on the floor as on the games.
void BM_LoopbackEchoFloor(benchmark::State& state) {
  Samples trips;
  for (auto _ : state) trips = quarn::bench::EchoRoundTrips(kPlayPacketBytes, kEchoTrips);
  if (trips.empty()) state.SkipWithError("no loopback socket");
  state.counters["p50_us"] = PercentileMicros(trips, 50);
  state.counters["p99_us"] = PercentileMicros(trips, 99);
  g_echo.insert(g_echo.end(), trips.begin(), trips.end());
}
BENCHMARK(BM_LoopbackEchoFloor)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void RunGames(benchmark::State& state, std::vector<std::string> serverArgs) {
  quarn::bench::GameRun run;
  for (auto _ : state) {
    quarn::bench::ServerProcess server(serverArgs);
    if (!server.Running()) {
      state.SkipWithError("quarnd did not start (is it built beside this program?)");
      return;
    }
    run = quarn::bench::PlayGames(server.Port(), kGames);
  }
  if (!run.error.empty()) {
    state.SkipWithError(run.error.c_str());
    return;
  }
  const double seconds = std::chrono::duration<double>(run.elapsed).count();
  g_gamesPerSecond = run.games / seconds;
  g_play.insert(g_play.end(), run.playRoundTrips.begin(), run.playRoundTrips.end());
  for (std::size_t seat = 0; seat < 4; ++seat) {
    g_bySeat[seat].insert(g_bySeat[seat].end(), run.bySeat[seat].begin(), run.bySeat[seat].end());
  }
  state.counters["games_per_s"] = g_gamesPerSecond;
  state.counters["plays"] = static_cast<double>(run.playRoundTrips.size());
  state.counters["refused"] = run.refusals;
  state.counters["p50_us"] = PercentileMicros(run.playRoundTrips, 50);
  state.counters["p99_us"] = PercentileMicros(run.playRoundTrips, 99);
}

void BM_GamesNoPacing(benchmark::State& state) {
  RunGames(state, {"--no-delay"});
}
BENCHMARK(BM_GamesNoPacing)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GamesNoPacingWithBids(benchmark::State& state) {
  RunGames(state, {"--no-delay", "--bid"});
}
BENCHMARK(BM_GamesNoPacingWithBids)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoopbackEchoFloorAgain(benchmark::State& state) {
  BM_LoopbackEchoFloor(state);
}
BENCHMARK(BM_LoopbackEchoFloorAgain)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void PrintSummary() {
  if (g_echo.empty() || g_play.empty()) return;
  const double echo50 = PercentileMicros(g_echo, 50);
  const double echo99 = PercentileMicros(g_echo, 99);
  const double play50 = PercentileMicros(g_play, 50);
  const double play99 = PercentileMicros(g_play, 99);
  std::printf(
      "\nPlayCards -> PlayNotice over loopback (%zu plays) against a plain echo (%zu trips):\n",
      g_play.size(), g_echo.size());
  std::printf("  p50: %8.1f us vs %8.1f us  ratio %.2f\n", play50, echo50, play50 / echo50);
  const double play90 = PercentileMicros(g_play, 90);
  const double echo90 = PercentileMicros(g_echo, 90);
  std::printf("  p90: %8.1f us vs %8.1f us  ratio %.2f\n", play90, echo90, play90 / echo90);
  std::printf("  p99: %8.1f us vs %8.1f us  ratio %.2f\n", play99, echo99, play99 / echo99);
  std::printf("  p50 by the seat that played (notices go out to seats 0..3 in order):");
  for (const Samples& seat : g_bySeat) std::printf(" %.1f", PercentileMicros(seat, 50));
  std::printf(" us\n  games per second, pacing off: %.1f\n", g_gamesPerSecond);
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
