// The seam between the game server and the world. The server library is driven
// by events (ServerApp's methods) and reaches sockets, clocks and pauses only
// through IServerHost, so every rule runs in tests without sockets or windows.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <span>
#include <string_view>

namespace quarn::server {

// Names one accepted TCP connection for its whole life; never 0, never reused.
using ConnectionId = std::uint32_t;
inline constexpr ConnectionId kNoConnection = 0;

class IServerHost {
 public:
  virtual ~IServerHost() = default;

  // Starts listening on `port`; false when the port cannot be opened.
  virtual bool Listen(std::uint16_t port) = 0;
  // Stops listening. Open connections stay open: the server closes them itself.
  virtual void StopListening() = 0;

  // Writes one whole packet on a connection: the number of bytes taken, or -1.
  virtual int Send(ConnectionId connection, std::span<const std::uint8_t> bytes) = 0;
  // Closes a connection. The host reports it back through ServerApp::ConnectionClosed
  // later (never from inside this call).
  virtual void Close(ConnectionId connection) = 0;

  // Local wall-clock time, for log lines and file stamps.
  virtual std::tm LocalTime() = 0;
  // A monotonic clock, for time-outs.
  virtual std::chrono::steady_clock::time_point Monotonic() = 0;
  // Blocks the server's one thread (the pacing pauses of the deal and the seat list).
  virtual void Pause(std::chrono::milliseconds duration) = 0;
};

// What a front end (console window, daemon, tests) is told as it happens.
// Texts are UTF-8; the files the server writes are GBK.
class IConsoleView {
 public:
  virtual ~IConsoleView() = default;
  virtual void LogLineAdded(std::string_view line) = 0;
  virtual void HeroLineAdded(std::string_view line) = 0;
  // A view was emptied after it had been saved (it had reached 1000 lines).
  virtual void LogCleared() = 0;
  virtual void HeroCleared() = 0;
  // Status bar panel 0 and the running light.
  virtual void StatusChanged(std::string_view status, bool listening) = 0;
};

}  // namespace quarn::server
