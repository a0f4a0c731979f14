// One host seam over two ports: the TCP host and, when it is on, the web
// host. Connection ids tell them apart (kWebConnectionBit); clocks, timers
// and the Tick come from the TCP host alone.
#pragma once

#include <cstdint>
#include <optional>

#include "server/host.h"
#include "server/net/tcp_host.h"
#include "server/web/web_host.h"

namespace quarn::server {

class JointHost final : public IServerHost {
 public:
  // `web` may be nullptr, and `webPort` empty: no web port. Neither host is owned.
  JointHost(TcpServerHost& tcp, WebHost* web, std::optional<std::uint16_t> webPort)
      : tcp_(tcp), web_(web), webPort_(webPort) {}
  // The web port of the next Listen() (the console's setting); empty: none.
  void SetWebPort(std::optional<std::uint16_t> port) { webPort_ = port; }

  // The TCP port, then the web port; false (and neither listening) when one fails.
  bool Listen(std::uint16_t port) override;
  void StopListening() override;
  int Send(ConnectionId connection, std::span<const std::uint8_t> bytes) override;
  // The web host sends each packet as a message of its own, at once.
  int SendLater(ConnectionId connection, std::span<const std::uint8_t> bytes) override;
  void SendLaterToEach(std::span<const ConnectionId> connections,
                       std::span<const std::uint8_t> bytes) override;
  std::string PeerAddress(ConnectionId connection) override;
  void Close(ConnectionId connection) override;
  std::tm LocalTime() override { return tcp_.LocalTime(); }
  std::chrono::steady_clock::time_point Monotonic() override { return tcp_.Monotonic(); }
  void StartTimer(TimerId id, std::chrono::milliseconds delay) override {
    tcp_.StartTimer(id, delay);
  }

  // Why the last Listen() failed.
  QString ListenError() const { return error_; }

 private:
  TcpServerHost& tcp_;
  WebHost* web_;
  std::optional<std::uint16_t> webPort_;
  QString error_;
};

}  // namespace quarn::server
