// The play round trip through HAProxy against straight to quarnd, in one run:
// one quarnd, and in front of it an HAProxy with the cluster's routing rules
// (TCP mode, wait for the login's first 168 bytes, look its table up in a
// map). The same games are played both ways in turns, so the machine's load
// falls on both alike.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "bench/games_driver.h"
#include "bench/games_socket.h"

namespace {

using quarn::bench::PercentileMicros;
using quarn::bench::Samples;
namespace fs = std::filesystem;

constexpr int kRounds = 4;
constexpr int kGamesPerRound = 50;

// HAProxy in the foreground on `port`, routing table 1 to quarnd on `target`.
class Router {
 public:
  Router(std::uint16_t port, std::uint16_t target) {
    dir_ = fs::temp_directory_path() / ("quarn-bench-router-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    std::ofstream(dir_ / "tables.map") << "00000001 q1\n";
    std::ofstream(dir_ / "haproxy.cfg")
        << "defaults\n  mode tcp\n  timeout connect 2s\n  timeout client 1h\n"
        << "  timeout server 1h\nfrontend game\n  bind 127.0.0.1:" << port << "\n"
        << "  tcp-request inspect-delay 5s\n"
        << "  tcp-request content accept if { req.len ge 168 }\n"
        << "  use_backend %[req.payload(164,4),hex,map(" << (dir_ / "tables.map").string()
        << ",q1)]\n  default_backend q1\nbackend q1\n  server q1 127.0.0.1:" << target << "\n";
    const std::string config = (dir_ / "haproxy.cfg").string();
    pid_ = fork();
    if (pid_ == 0) {
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, STDERR_FILENO);
      execlp("haproxy", "haproxy", "-db", "-f", config.c_str(), nullptr);
      _exit(127);
    }
    for (int attempt = 0; pid_ > 0 && attempt < 200; ++attempt) {
      if (quarn::bench::ConnectLoopback(port).valid()) {
        port_ = port;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ~Router() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    fs::remove_all(dir_);
  }
  Router(const Router&) = delete;
  Router& operator=(const Router&) = delete;
  std::uint16_t Port() const { return port_; }

 private:
  fs::path dir_;
  pid_t pid_ = -1;
  std::uint16_t port_ = 0;
};

// A fresh quarnd for every run of games, as bench_games does: a table whose
// players left mid-deal is not where the next run should start.
void BM_PlayThroughRouter(benchmark::State& state) {
  Samples direct, routed;
  for (auto _ : state) {
    for (int round = 0; round < kRounds; ++round) {
      for (const bool viaRouter : {false, true}) {
        quarn::bench::ServerProcess server({"--no-delay", "--log", "game"});
        if (!server.Running()) return state.SkipWithError("quarnd did not start");
        std::optional<Router> router;
        if (viaRouter) {
          router.emplace(quarn::bench::FreeLoopbackPort(), server.Port());
          if (router->Port() == 0) return state.SkipWithError("haproxy did not start");
        }
        const auto run =
            quarn::bench::PlayGames(router ? router->Port() : server.Port(), kGamesPerRound);
        if (!run.error.empty()) {
          const std::string error = run.error + (viaRouter ? " (through haproxy" : " (direct") +
                                    ", round " + std::to_string(round + 1) + ")";
          return state.SkipWithError(error.c_str());
        }
        Samples& into = viaRouter ? routed : direct;
        into.insert(into.end(), run.playRoundTrips.begin(), run.playRoundTrips.end());
      }
    }
  }
  state.counters["direct_p50_us"] = PercentileMicros(direct, 50);
  state.counters["direct_p99_us"] = PercentileMicros(direct, 99);
  state.counters["haproxy_p50_us"] = PercentileMicros(routed, 50);
  state.counters["haproxy_p99_us"] = PercentileMicros(routed, 99);
  state.counters["plays"] = static_cast<double>(direct.size() + routed.size());
}
BENCHMARK(BM_PlayThroughRouter)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
