#include "bench/games_echo.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <thread>

#include "bench/games_socket.h"

namespace quarn::bench {
namespace {

using Clock = std::chrono::steady_clock;

// The echo's server: a process of its own, as quarnd is. Returns its pid.
pid_t StartEchoServer(const Socket& listener, std::size_t packetSize, int cpu) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  PinTo(0, cpu);
  Socket peer = AcceptOne(listener);
  std::vector<std::uint8_t> buffer(packetSize);
  while (peer.valid() && ReceiveAll(peer, buffer) && SendAll(peer, buffer)) {
  }
  _exit(0);
}

void Pause(std::chrono::nanoseconds gap, bool asleep) {
  if (gap <= std::chrono::nanoseconds::zero()) return;
  if (asleep) {
    std::this_thread::sleep_for(gap);
    return;
  }
  const Clock::time_point end = Clock::now() + gap;
  while (Clock::now() < end) {
  }
}

// Reads the whole echo; false when the echo went away.
bool ReceiveEcho(const Socket& client, std::span<std::uint8_t> answer,
                 std::chrono::nanoseconds& arrived) {
  while (!answer.empty()) {
    const ssize_t got = ReceiveStamped(client, answer, arrived, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    answer = answer.subspan(static_cast<std::size_t>(got));
  }
  return true;
}

}  // namespace

EchoTrips EchoRoundTrips(std::size_t packetSize, int count, const EchoPlan& plan) {
  EchoTrips trips;
  std::uint16_t port = 0;
  Socket listener = ListenLoopback(port);
  if (!listener.valid()) return trips;
  const pid_t server = StartEchoServer(listener, packetSize, plan.placement.serverCpu);
  if (server < 0) return trips;
  {
    const PinnedThread pinned(plan.placement.playersCpu);
    Socket client = ConnectLoopback(port);
    StampArrivals(client);
    std::vector<std::uint8_t> packet(packetSize, 0xAB);
    std::vector<std::uint8_t> answer(packetSize);
    trips.read.reserve(static_cast<std::size_t>(count));
    trips.arrived.reserve(static_cast<std::size_t>(count));
    std::mt19937 random(1);
    std::uniform_int_distribution<std::size_t> draw(0,
                                                    std::max<std::size_t>(plan.gaps.size(), 1) - 1);
    for (int i = 0; client.valid() && i < count; ++i) {
      if (!plan.gaps.empty()) Pause(plan.gaps[draw(random)], plan.sleepThroughGaps);
      const Clock::time_point start = Clock::now();
      const std::chrono::nanoseconds sent = RealNow();
      std::chrono::nanoseconds arrived = sent;
      if (!SendAll(client, packet) || !ReceiveEcho(client, answer, arrived)) break;
      trips.read.push_back(Clock::now() - start);
      trips.arrived.push_back(arrived - sent);
    }
  }                       // the client closes: the echo sees the end and exits
  kill(server, SIGKILL);  // in case it never got a connection
  waitpid(server, nullptr, 0);
  return trips;
}

double PercentileMicros(Samples samples, double p) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  double rank = std::clamp(p, 0.0, 100.0) / 100.0 * static_cast<double>(samples.size() - 1);
  auto index = static_cast<std::size_t>(std::lround(rank));
  return std::chrono::duration<double, std::micro>(samples[index]).count();
}

double MeanMicros(const Samples& samples) {
  if (samples.empty()) return 0;
  const auto total = std::accumulate(samples.begin(), samples.end(), std::chrono::nanoseconds{});
  return std::chrono::duration<double, std::micro>(total).count() /
         static_cast<double>(samples.size());
}

}  // namespace quarn::bench
