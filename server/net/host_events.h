// What the socket layer reports upward. ServerApp is the real receiver (see
// app_events.h); tests put a recorder here to drive the sockets without a game.
#pragma once

#include <cstdint>
#include <span>

#include "server/host.h"

namespace quarn::server {

class IHostEvents {
 public:
  virtual ~IHostEvents() = default;
  virtual void ConnectionOpened(ConnectionId connection) = 0;
  virtual void BytesReceived(ConnectionId connection, std::span<const std::uint8_t> bytes) = 0;
  virtual void ConnectionClosed(ConnectionId connection) = 0;
  virtual void SocketError(ConnectionId connection, ErrorKind kind, int code) = 0;
  virtual void Tick() = 0;
  // A timer started with IServerHost::StartTimer is due.
  virtual void TimerDue(TimerId timer) = 0;
};

}  // namespace quarn::server
