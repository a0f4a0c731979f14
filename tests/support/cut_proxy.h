// A loopback TCP relay in front of a server that a test can cut: every client
// that connects to Port() is joined to the server, byte for byte, until
// CutAll() closes both ends of every pair at once, as a network that fails
// would. It keeps listening, so a client may connect again.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace quarn::test {

class CutProxy {
 public:
  explicit CutProxy(std::uint16_t serverPort);
  ~CutProxy();
  CutProxy(const CutProxy&) = delete;
  CutProxy& operator=(const CutProxy&) = delete;

  // The port clients connect to; 0 when the relay could not start.
  std::uint16_t Port() const { return port_; }
  // Closes every pair now; returns how many there were.
  int CutAll();

 private:
  void Run();
  void Accept();
  // Moves what one side sent to the other; false when either side is done.
  static bool Relay(int from, int to);

  std::uint16_t serverPort_;
  std::uint16_t port_ = 0;
  int listener_ = -1;
  std::mutex mutex_;
  std::vector<std::pair<int, int>> pairs_;  // client, server
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace quarn::test
