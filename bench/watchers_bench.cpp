// A table watched by 50 watchers against the same table unwatched, in one run:
// the play round trip (PlayCards written to its PlayNotice read) of four
// players at table 1 of a quarnd that allows 50 watchers, with none watching
// and with 50 connections that watch the table and read everything sent to
// them on a thread of their own. The watchers' sends come after the seats',
// so the figure shows whether they cost a player anything.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

#include "bench/games_driver.h"
#include "bench/games_socket.h"
#include "protocol/packet_builder.h"

namespace {

using quarn::bench::PercentileMicros;
using quarn::bench::Socket;

constexpr int kGames = 100;

// `count` connections watching table 1, drained until this goes away.
class Watchers {
 public:
  Watchers(std::uint16_t port, int count) {
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
    reader_ = std::thread([this] { Drain(); });
  }
  ~Watchers() {
    stop_ = true;
    reader_.join();
  }
  Watchers(const Watchers&) = delete;
  Watchers& operator=(const Watchers&) = delete;
  std::size_t Count() const { return sockets_.size(); }
  std::size_t Bytes() const { return bytes_; }

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
        if (got == 0) fd.fd = -1;  // closed: poll skips it from now on
      }
    }
  }

  std::vector<Socket> sockets_;
  std::thread reader_;
  std::atomic<bool> stop_ = false;
  std::atomic<std::size_t> bytes_ = 0;
};

void BM_Watched(benchmark::State& state) {
  const auto watchers = static_cast<int>(state.range(0));
  quarn::bench::GameRun run;
  std::size_t watched = 0, bytes = 0;
  for (auto _ : state) {
    quarn::bench::ServerProcess server({"--no-delay", "--spectators", "50"});
    if (!server.Running()) return state.SkipWithError("quarnd did not start");
    Watchers crowd(server.Port(), watchers);
    watched = crowd.Count();
    run = quarn::bench::PlayGames(server.Port(), kGames);
    bytes = crowd.Bytes();
  }
  if (!run.error.empty()) return state.SkipWithError(run.error.c_str());
  state.counters["watchers"] = static_cast<double>(watched);
  state.counters["watcher_MiB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
  state.counters["games"] = run.games;
  state.counters["plays"] = static_cast<double>(run.playRoundTrips.size());
  state.counters["p50_us"] = PercentileMicros(run.playRoundTrips, 50);
  state.counters["p99_us"] = PercentileMicros(run.playRoundTrips, 99);
}

// Alternated, twice each, so that the machine's load falls on both alike.
BENCHMARK(BM_Watched)
    ->Arg(0)
    ->Arg(50)
    ->Arg(0)
    ->Arg(50)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
