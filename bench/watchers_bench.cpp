// A table watched by 50 watchers against the same table unwatched, in one run:
// the play round trip (PlayCards written to its PlayNotice read) of four
// players at table 1 of a quarnd that allows 50 watchers, with none watching
// and with 50 connections that watch the table and read everything sent to
// them on a thread of their own, in batches, as watchers on machines of their
// own would take nothing from the players. The watchers' sends come after the
// seats', so the figure shows whether they cost a player anything. The two
// alternate for kRounds rounds, so that the machine's load falls on both alike, in two
// placements: wherever the scheduler puts them, and the server on a processor
// of its own with the players and the watchers' reader on the other (as
// clients elsewhere would not take the server's). The summary at the end holds
// the difference between the two against the spread of the unwatched rounds
// among themselves: the noise.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bench/games_driver.h"
#include "bench/games_socket.h"
#include "bench/placement.h"
#include "protocol/packet_builder.h"

namespace {

using quarn::bench::PercentileMicros;
using quarn::bench::Placement;
using quarn::bench::Socket;

constexpr int kGames = 100;
// Enough for medians that hold still from run to run on a quiet machine.
constexpr int kRounds = 8;
constexpr int kWatchers = 50;

// One round's play round trip, and quarnd's processor time a play.
struct Round {
  double p50 = 0;
  double p99 = 0;
  double serverUs = 0;
};
// By placement name, then by the number of watchers asked for.
std::map<std::string, std::map<int, std::vector<Round>>> g_rounds;

// `count` connections watching table 1, drained until this goes away.
class Watchers {
 public:
  Watchers(std::uint16_t port, int count, int cpu) {
    for (int i = 0; i < count; ++i) {
      Socket socket = quarn::bench::ConnectLoopback(port);
      const auto request = quarn::BuildPacket(
          quarn::MessageType::WatchRequest, quarn::WatchRequestRecord{1, "w" + std::to_string(i)});
      if (!socket.valid() || !request || !quarn::bench::SendAll(socket, request->data())) continue;
      // One at a time: a crowd of connections that have not yet asked is a
      // crowd of strangers, which the server bounds.
      std::array<std::uint8_t, quarn::WatchReplyLength> reply{};
      if (!quarn::bench::ReceiveAll(socket, reply) || reply[36] != 0) continue;
      sockets_.push_back(std::move(socket));
    }
    reader_ = std::thread([this, cpu] {
      const quarn::bench::PinnedThread pinned(cpu);
      // Watchers elsewhere take no processor from the players: this one runs
      // only when theirs is idle.
      const sched_param idle{};
      ::pthread_setschedparam(::pthread_self(), SCHED_IDLE, &idle);
      Drain();
    });
  }
  ~Watchers() {
    stop_ = true;
    reader_.join();
  }
  Watchers(const Watchers&) = delete;
  Watchers& operator=(const Watchers&) = delete;
  std::size_t Count() const { return sockets_.size(); }
  std::size_t Bytes() const { return bytes_; }
  // Watchers the server closed: a figure that costs watchers is no figure.
  int Cut() const { return cut_; }

 private:
  void Drain() {
    std::vector<pollfd> fds;
    for (const Socket& socket : sockets_) fds.push_back({socket.fd(), POLLIN, 0});
    std::array<std::uint8_t, 65536> buffer{};
    while (!stop_) {
      if (::poll(fds.data(), fds.size(), 20) <= 0) continue;
      for (pollfd& fd : fds) {
        if ((fd.revents & POLLIN) == 0) continue;
        const ssize_t got = ::recv(fd.fd, buffer.data(), buffer.size(), 0);
        if (got > 0) bytes_ += static_cast<std::size_t>(got);
        if (got == 0) {
          fd.fd = -1;  // closed: poll skips it from now on
          ++cut_;
        }
      }
      // One wake-up for many of the server's writes rather than one for each:
      // the processor it shares with the players is the players'. The kernel
      // holds what comes meanwhile (a few KiB a watcher).
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  std::vector<Socket> sockets_;
  std::thread reader_;
  std::atomic<bool> stop_ = false;
  std::atomic<std::size_t> bytes_ = 0;
  std::atomic<int> cut_ = 0;
};

void BM_Watched(benchmark::State& state, Placement placement) {
  const auto watchers = static_cast<int>(state.range(0));
  quarn::bench::GameRun run;
  std::size_t watched = 0, bytes = 0;
  int cut = 0;
  std::chrono::nanoseconds serverCpu{};
  for (auto _ : state) {
    quarn::bench::ServerProcess server({"--no-delay", "--spectators", std::to_string(kWatchers)},
                                       placement.serverCpu);
    if (!server.Running()) return state.SkipWithError("quarnd did not start");
    Watchers crowd(server.Port(), watchers, placement.playersCpu);
    watched = crowd.Count();
    const auto cpuBefore = server.CpuTime();
    run = quarn::bench::PlayGames(server.Port(), kGames, placement.playersCpu);
    serverCpu = server.CpuTime() - cpuBefore;
    bytes = crowd.Bytes();
    cut = crowd.Cut();
  }
  if (!run.error.empty()) return state.SkipWithError(run.error.c_str());
  if (cut > 0) return state.SkipWithError("the server closed watchers");
  const auto plays = static_cast<double>(run.playRoundTrips.size());
  const Round round{PercentileMicros(run.playRoundTrips, 50),
                    PercentileMicros(run.playRoundTrips, 99),
                    std::chrono::duration<double, std::micro>(serverCpu).count() / plays};
  g_rounds[placement.name][watchers].push_back(round);
  state.counters["watchers"] = static_cast<double>(watched);
  state.counters["watcher_MiB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
  state.counters["games"] = run.games;
  state.counters["plays"] = plays;
  state.counters["p50_us"] = round.p50;
  state.counters["p99_us"] = round.p99;
  state.counters["server_us_a_play"] = round.serverUs;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t half = values.size() / 2;
  return values.size() % 2 == 1 ? values[half] : (values[half - 1] + values[half]) / 2;
}

// One percentile over the rounds: each round's value, the median and the spread.
struct Spread {
  std::vector<double> values;
  double median = 0;
  double spread = 0;  // the largest less the smallest
};

Spread Over(const std::vector<Round>& rounds, double Round::*which) {
  Spread out;
  for (const Round& round : rounds) out.values.push_back(round.*which);
  if (out.values.empty()) return out;
  out.median = Median(out.values);
  const auto [low, high] = std::minmax_element(out.values.begin(), out.values.end());
  out.spread = *high - *low;
  return out;
}

// Prints one placement's rounds and its verdicts; true when both percentiles
// of the watched table are within noise of the unwatched one.
bool PrintPlacement(const std::string& name, std::map<int, std::vector<Round>>& rounds) {
  std::printf("%s: play round trip, PlayCards written to its PlayNotice read, by round:\n",
              name.c_str());
  bool within = true;
  for (const auto& [label, which] :
       {std::pair{"p50", &Round::p50}, std::pair{"p99", &Round::p99}}) {
    const Spread none = Over(rounds[0], which);
    const Spread watched = Over(rounds[kWatchers], which);
    for (const auto& [count, spread] : {std::pair{0, none}, std::pair{kWatchers, watched}}) {
      std::printf("  %s, %2d watchers:", label, count);
      for (const double value : spread.values) std::printf(" %8.1f", value);
      std::printf("  us; median %.1f, spread %.1f\n", spread.median, spread.spread);
    }
    const double difference = watched.median - none.median;
    within = within && difference <= none.spread;
    std::printf("  %s: %d watchers %+.1f us against none; the unwatched rounds spread %.1f: %s\n",
                label, kWatchers, difference, none.spread,
                difference <= none.spread ? "within noise" : "OUTSIDE noise");
  }
  std::printf("  quarnd's processor time a play, medians: %.1f us unwatched, %.1f us watched\n",
              Over(rounds[0], &Round::serverUs).median,
              Over(rounds[kWatchers], &Round::serverUs).median);
  return within;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::vector<Placement> placements = {{-1, -1, "placed by the scheduler"}};
  if (quarn::bench::CanPlaceApart()) placements.push_back(quarn::bench::Apart());
  for (const Placement& placement : placements) {
    const std::string where = placement.serverCpu < 0 ? "anywhere" : "apart";
    for (int round = 0; round < kRounds; ++round) {
      for (const int watchers : {0, kWatchers}) {
        benchmark::RegisterBenchmark(("BM_Watched/" + where).c_str(), BM_Watched, placement)
            ->Arg(watchers)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
      }
    }
  }
  const std::string load = quarn::bench::LoadAverage();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("\n%s; load average %s before, %s after\n", quarn::bench::MachineName().c_str(),
              load.c_str(), quarn::bench::LoadAverage().c_str());
  std::vector<std::string> outside;
  for (auto& [name, rounds] : g_rounds) {
    if (rounds[0].empty() || rounds[kWatchers].empty()) continue;
    if (!PrintPlacement(name, rounds)) outside.push_back(name);
  }
  if (g_rounds.empty()) return 1;
  std::printf("verdict: a table with %d watchers keeps its play round trip %s\n", kWatchers,
              outside.empty() ? "within noise of a table with none, at p50 and p99, every placement"
                              : "OUTSIDE the noise of a table with none, placed:");
  for (const std::string& name : outside) std::printf("  %s\n", name.c_str());
  return 0;
}
