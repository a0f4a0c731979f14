#include "bench/games_echo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>

#include <sys/socket.h>

#include "bench/games_socket.h"

namespace quarn::bench {

Samples EchoRoundTrips(std::size_t packetSize, int count) {
  std::uint16_t port = 0;
  Socket listener = ListenLoopback(port);
  if (!listener.valid()) return {};
  std::jthread echo([&listener, packetSize] {
    Socket peer = AcceptOne(listener);
    std::vector<std::uint8_t> buffer(packetSize);
    while (peer.valid() && ReceiveAll(peer, buffer) && SendAll(peer, buffer)) {
    }
  });
  Socket client = ConnectLoopback(port);
  Samples samples;
  if (!client.valid()) {
    shutdown(listener.fd(), SHUT_RDWR);  // wakes the echo thread out of accept
    return samples;
  }
  std::vector<std::uint8_t> packet(packetSize, 0xAB);
  std::vector<std::uint8_t> answer(packetSize);
  samples.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    auto start = std::chrono::steady_clock::now();
    if (!SendAll(client, packet) || !ReceiveAll(client, answer)) break;
    samples.push_back(std::chrono::steady_clock::now() - start);
  }
  client = Socket();  // the echo thread sees the end and returns
  return samples;
}

double PercentileMicros(Samples samples, double p) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  double rank = std::clamp(p, 0.0, 100.0) / 100.0 * static_cast<double>(samples.size() - 1);
  auto index = static_cast<std::size_t>(std::lround(rank));
  return std::chrono::duration<double, std::micro>(samples[index]).count();
}

}  // namespace quarn::bench
