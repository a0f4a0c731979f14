// Whole games against quarnd with pacing off, at the run log levels `game`
// (quarnd's default) and `packets` (every packet logged): games per second,
// and the round trip of a play (PlayCards written to its PlayNotice read)
// beside the floor, a plain loopback echo of packets of the same size. Prints
// both and their ratio, for each level.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>

#include "bench/games_driver.h"
#include "bench/games_echo.h"

namespace {

using quarn::bench::PercentileMicros;
using quarn::bench::Samples;

constexpr std::size_t kPlayPacketBytes = 96;  // PlayCards and PlayNotice alike
constexpr int kEchoTrips = 20000;
constexpr int kGames = 200;

struct LevelFigures {
  Samples play;
  std::array<Samples, 4> bySeat;
  double gamesPerSecond = 0;
  std::chrono::nanoseconds serverCpu{};
  int games = 0;
};

Samples g_echo;
std::map<std::string, LevelFigures> g_levels;  // by log level

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

void BM_Games(benchmark::State& state, std::string level, bool bidding) {
  std::vector<std::string> serverArgs = {"--no-delay", "--log", level};
  if (bidding) serverArgs.push_back("--bid");
  quarn::bench::GameRun run;
  for (auto _ : state) {
    quarn::bench::ServerProcess server(serverArgs);
    if (!server.Running()) {
      state.SkipWithError("quarnd did not start (is it built beside this program?)");
      return;
    }
    const auto cpuBefore = server.CpuTime();
    run = quarn::bench::PlayGames(server.Port(), kGames);
    run.serverCpu = server.CpuTime() - cpuBefore;
  }
  if (!run.error.empty()) {
    state.SkipWithError(run.error.c_str());
    return;
  }
  LevelFigures& figures = g_levels[level];
  const double seconds = std::chrono::duration<double>(run.elapsed).count();
  figures.gamesPerSecond = run.games / seconds;
  figures.serverCpu += run.serverCpu;
  figures.games += run.games;
  figures.play.insert(figures.play.end(), run.playRoundTrips.begin(), run.playRoundTrips.end());
  for (std::size_t seat = 0; seat < 4; ++seat) {
    figures.bySeat[seat].insert(figures.bySeat[seat].end(), run.bySeat[seat].begin(),
                                run.bySeat[seat].end());
  }
  state.counters["games_per_s"] = figures.gamesPerSecond;
  state.counters["plays"] = static_cast<double>(run.playRoundTrips.size());
  state.counters["refused"] = run.refusals;
  state.counters["p50_us"] = PercentileMicros(run.playRoundTrips, 50);
  state.counters["p99_us"] = PercentileMicros(run.playRoundTrips, 99);
}
// The echo floor, the games at each level, with and without bidding, and the floor again.
void RegisterAll() {
  const auto once = [](benchmark::internal::Benchmark* bench) {
    bench->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
  };
  once(benchmark::RegisterBenchmark("BM_LoopbackEchoFloor", BM_LoopbackEchoFloor));
  for (const std::string level : {"game", "packets"}) {
    for (const bool bidding : {false, true}) {
      const std::string name = "BM_Games/log:" + level + (bidding ? "/bids" : "");
      once(benchmark::RegisterBenchmark(name.c_str(), BM_Games, level, bidding));
    }
  }
  once(benchmark::RegisterBenchmark("BM_LoopbackEchoFloorAgain", BM_LoopbackEchoFloor));
}

void PrintLevel(const std::string& level, const LevelFigures& figures) {
  const Samples& play = figures.play;
  std::printf("\n--log %s: PlayCards -> PlayNotice (%zu plays) against the echo (%zu trips):\n",
              level.c_str(), play.size(), g_echo.size());
  for (double p : {50.0, 90.0, 99.0}) {
    const double mine = PercentileMicros(play, p);
    const double echo = PercentileMicros(g_echo, p);
    std::printf("  p%.0f: %8.1f us vs %8.1f us  ratio %.2f\n", p, mine, echo, mine / echo);
  }
  std::printf("  p50 by the seat that played (notices go out to seats 0..3 in order):");
  for (const Samples& seat : figures.bySeat) std::printf(" %.1f", PercentileMicros(seat, 50));
  const double first = PercentileMicros(figures.bySeat[0], 50);
  std::printf(" us; seat 3 / seat 0: %.2f\n",
              first > 0 ? PercentileMicros(figures.bySeat[3], 50) / first : 0.0);
  std::printf("  games per second, pacing off: %.1f\n", figures.gamesPerSecond);
  if (figures.games > 0) {
    std::printf(
        "  quarnd's processor time: %.2f ms a game, %.1f us a play\n",
        std::chrono::duration<double, std::milli>(figures.serverCpu).count() / figures.games,
        std::chrono::duration<double, std::micro>(figures.serverCpu).count() /
            static_cast<double>(play.size()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!g_echo.empty()) {
    for (const auto& [level, figures] : g_levels) {
      if (!figures.play.empty()) PrintLevel(level, figures);
    }
  }
  return 0;
}
