// Hands the socket layer's events to the game server.
#pragma once

#include "server/net/host_events.h"
#include "server/server_app.h"

namespace quarn::server {

class ServerAppEvents final : public IHostEvents {
 public:
  explicit ServerAppEvents(ServerApp& app) : app_(app) {}
  void ConnectionOpened(ConnectionId connection) override { app_.ConnectionOpened(connection); }
  void BytesReceived(ConnectionId connection, std::span<const std::uint8_t> bytes) override {
    app_.BytesReceived(connection, bytes);
  }
  void ConnectionClosed(ConnectionId connection) override { app_.ConnectionClosed(connection); }
  void SocketError(ConnectionId connection, ErrorKind kind, int code) override {
    app_.SocketError(connection, kind, code);
  }
  void Tick() override { app_.Tick(); }
  void TimerDue(TimerId timer) override { app_.TimerDue(timer); }

 private:
  ServerApp& app_;
};

}  // namespace quarn::server
