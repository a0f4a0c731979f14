// Whole games against quarnd with pacing off, at the run log levels `game`
// (quarnd's default, with and without a game store) and `packets` (every
// packet logged): games per second,
// and the round trip of a play (PlayCards written to its PlayNotice read)
// beside the floor, a plain loopback echo of packets of the same size whose
// ends are pinned as quarnd and the players are and whose client pauses
// between trips as the players did between plays. Two placements: server and
// players on different processors (as on different machines: the targets),
// and on one (for comparison).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "bench/games_driver.h"
#include "bench/games_echo.h"
#include "bench/placement.h"

namespace {

using quarn::bench::PercentileMicros;
using quarn::bench::Placement;
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

struct PlacementFigures {
  std::map<std::string, LevelFigures> levels;  // by log level
  Samples gaps;                                // the players' pauses before their plays
  Samples echo;                                // paced as the players were
  Samples unpacedEcho;                         // trip after trip, for comparison
  std::string load;                            // the load average around the games
};

std::map<std::string, PlacementFigures> g_figures;  // by placement name

// A game store in a scratch file for one run, gone with it.
struct ScratchStore {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("quarn-bench-games-" + std::to_string(::getpid()) + ".db"))
                         .string();
  ~ScratchStore() {
    for (const char* suffix : {"", "-wal", "-shm", ".lock"}) std::filesystem::remove(path + suffix);
  }
};

// `level` is the run log level, with " --db" when the games are stored.
void BM_Games(benchmark::State& state, Placement placement, std::string level, bool bidding) {
  const bool stored = level.ends_with(" --db");
  std::vector<std::string> serverArgs = {"--no-delay", "--log", level.substr(0, level.find(' '))};
  if (bidding) serverArgs.push_back("--bid");
  ScratchStore store;
  if (stored) {
    serverArgs.push_back("--db");
    serverArgs.push_back(store.path);
  }
  PlacementFigures& figures = g_figures[placement.name];
  if (figures.load.empty()) figures.load = quarn::bench::LoadAverage();
  quarn::bench::GameRun run;
  for (auto _ : state) {
    quarn::bench::ServerProcess server(serverArgs, placement.serverCpu);
    if (!server.Running()) {
      state.SkipWithError("quarnd did not start (is it built beside this program?)");
      return;
    }
    const auto cpuBefore = server.CpuTime();
    run = quarn::bench::PlayGames(server.Port(), kGames, placement.playersCpu);
    run.serverCpu = server.CpuTime() - cpuBefore;
  }
  if (!run.error.empty()) {
    state.SkipWithError(run.error.c_str());
    return;
  }
  LevelFigures& levelFigures = figures.levels[level];
  const double seconds = std::chrono::duration<double>(run.elapsed).count();
  levelFigures.gamesPerSecond = run.games / seconds;
  levelFigures.serverCpu += run.serverCpu;
  levelFigures.games += run.games;
  levelFigures.play.insert(levelFigures.play.end(), run.playRoundTrips.begin(),
                           run.playRoundTrips.end());
  for (std::size_t seat = 0; seat < 4; ++seat) {
    levelFigures.bySeat[seat].insert(levelFigures.bySeat[seat].end(), run.bySeat[seat].begin(),
                                     run.bySeat[seat].end());
  }
  figures.gaps.insert(figures.gaps.end(), run.gaps.begin(), run.gaps.end());
  state.counters["games_per_s"] = levelFigures.gamesPerSecond;
  state.counters["plays"] = static_cast<double>(run.playRoundTrips.size());
  state.counters["refused"] = run.refusals;
  state.counters["p50_us"] = PercentileMicros(run.playRoundTrips, 50);
  state.counters["p99_us"] = PercentileMicros(run.playRoundTrips, 99);
}

// After the games of a placement: the echo pausing before each trip as long as
// the players paused before each play (computing, as they were), then without pauses.
void BM_EchoFloor(benchmark::State& state, Placement placement) {
  PlacementFigures& figures = g_figures[placement.name];
  quarn::bench::EchoTrips paced, unpaced;
  for (auto _ : state) {
    paced = quarn::bench::EchoRoundTrips(kPlayPacketBytes, kEchoTrips,
                                         {placement, figures.gaps, false});
    unpaced = quarn::bench::EchoRoundTrips(kPlayPacketBytes, kEchoTrips, {placement, {}, false});
  }
  if (paced.read.empty()) return state.SkipWithError("no loopback echo");
  figures.echo = paced.read;
  figures.unpacedEcho = unpaced.read;
  state.counters["p50_us"] = PercentileMicros(paced.read, 50);
  state.counters["p99_us"] = PercentileMicros(paced.read, 99);
}

void RegisterAll() {
  const auto once = [](benchmark::internal::Benchmark* bench) {
    bench->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
  };
  std::vector<Placement> placements = {quarn::bench::Together()};
  if (quarn::bench::CanPlaceApart()) placements.insert(placements.begin(), quarn::bench::Apart());
  for (const Placement& placement : placements) {
    const std::string where = placement.serverCpu == placement.playersCpu ? "together" : "apart";
    for (const std::string level : {"game", "game --db", "packets"}) {
      for (const bool bidding : {false, true}) {
        if (bidding && level == "game --db") continue;
        const std::string name = "BM_Games/" + where + "/log:" + level.substr(0, level.find(' ')) +
                                 (level.ends_with("--db") ? "/db" : "") + (bidding ? "/bids" : "");
        once(benchmark::RegisterBenchmark(name.c_str(), BM_Games, placement, level, bidding));
      }
    }
    const std::string name = "BM_EchoFloor/" + where;
    once(benchmark::RegisterBenchmark(name.c_str(), BM_EchoFloor, placement));
  }
}

const char* Verdict(double value, double limit) {
  return value <= limit ? "met" : "MISSED";
}

void PrintLevel(const std::string& level, const LevelFigures& figures, const Samples& echo,
                bool targets) {
  const Samples& play = figures.play;
  std::printf("  --log %s: PlayCards -> PlayNotice (%zu plays) against the echo (%zu trips):\n",
              level.c_str(), play.size(), echo.size());
  for (double p : {50.0, 90.0, 99.0}) {
    const double mine = PercentileMicros(play, p);
    const double ratio = mine / PercentileMicros(echo, p);
    std::printf("    p%.0f: %8.1f us vs %8.1f us  ratio %.2f", p, mine, PercentileMicros(echo, p),
                ratio);
    if (targets && p != 90.0) {
      const double limit = p == 50.0 ? 1.3 : 1.6;
      std::printf("  (target <= %.1f: %s)", limit, Verdict(ratio, limit));
    }
    std::printf("\n");
  }
  std::printf("    p50 by the seat that played (notices go out to seats 0..3 in order):");
  for (const Samples& seat : figures.bySeat) std::printf(" %.1f", PercentileMicros(seat, 50));
  const double first = PercentileMicros(figures.bySeat[0], 50);
  const double spread = first > 0 ? PercentileMicros(figures.bySeat[3], 50) / first : 0.0;
  std::printf(" us; seat 3 / seat 0: %.2f", spread);
  if (targets) std::printf(" (target <= 1.2: %s)", Verdict(spread, 1.2));
  std::printf("\n    games per second, pacing off: %.1f\n", figures.gamesPerSecond);
  if (figures.games > 0) {
    std::printf(
        "    quarnd's processor time: %.2f ms a game, %.1f us a play\n",
        std::chrono::duration<double, std::milli>(figures.serverCpu).count() / figures.games,
        std::chrono::duration<double, std::micro>(figures.serverCpu).count() /
            static_cast<double>(play.size()));
  }
}

void PrintSummary() {
  std::printf("\n%s\n", quarn::bench::MachineName().c_str());
  for (const auto& [where, figures] : g_figures) {
    if (figures.echo.empty()) continue;
    const bool apart = where == quarn::bench::Apart().name;
    std::printf("\n%s (load average %s before the games, %s at the end)%s:\n", where.c_str(),
                figures.load.c_str(), quarn::bench::LoadAverage().c_str(),
                apart ? "; the targets hold here" : "; for comparison");
    std::printf(
        "  echo floor, pausing %.1f us on average before a trip as the players did: "
        "p50 %.1f, p90 %.1f, p99 %.1f us; without pauses p50 %.1f, p99 %.1f us\n",
        quarn::bench::MeanMicros(figures.gaps), PercentileMicros(figures.echo, 50),
        PercentileMicros(figures.echo, 90), PercentileMicros(figures.echo, 99),
        PercentileMicros(figures.unpacedEcho, 50), PercentileMicros(figures.unpacedEcho, 99));
    for (const auto& [level, levelFigures] : figures.levels) {
      if (!levelFigures.play.empty()) {
        PrintLevel(level, levelFigures, figures.echo, apart && level == "game");
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary();
  return 0;
}
