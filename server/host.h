// The seam between the game server and the world. The server library is driven
// by events (ServerApp's methods) and reaches sockets, clocks and timers only
// through IServerHost, so every rule runs in tests without sockets or windows.
//
// Timers: the server never waits. Whatever it does later (the pacing pauses of
// a table, and any other delayed step) it asks for with StartTimer(id, delay);
// the host answers once, `delay` later, by calling ServerApp::TimerDue(id) on
// the server's thread, like any other event. The server names the timers; a
// timer whose step is gone (its table was left, its step cancelled) still
// comes back and does nothing, so a host never needs to cancel one. The Qt
// host keeps one single-shot QTimer per request; the test host keeps a fake
// clock that a test moves by hand (tests/server/fake_host.h).
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

namespace quarn::server {

// Names one accepted TCP connection for its whole life; never 0, never reused.
using ConnectionId = std::uint32_t;
inline constexpr ConnectionId kNoConnection = 0;

// Names one timer request of the server; never 0, never reused.
using TimerId = std::uint64_t;
inline constexpr TimerId kNoTimer = 0;

// The kinds of connection trouble a host reports and the run log names.
enum class ErrorKind : int {
  General = 0,
  Send = 1,
  Receive = 2,
  Connect = 3,
  Disconnect = 4,
  Accept = 5,
};

class IServerHost {
 public:
  virtual ~IServerHost() = default;

  // Starts listening on `port`; false when the port cannot be opened.
  virtual bool Listen(std::uint16_t port) = 0;
  // Stops listening. Open connections stay open: the server closes them itself.
  virtual void StopListening() = 0;

  // Writes one whole packet on a connection: the number of bytes taken, or -1.
  virtual int Send(ConnectionId connection, std::span<const std::uint8_t> bytes) = 0;
  // The same for a packet that may wait: a socket host holds it a moment and
  // writes it together with whatever else the connection is given meanwhile,
  // so that the sends that may not wait (the seats') go out first and a fast
  // table costs one write per moment rather than one per packet. A
  // connection's packets still leave in the order they were given, by either
  // call. By default it is Send.
  virtual int SendLater(ConnectionId connection, std::span<const std::uint8_t> bytes) {
    return Send(connection, bytes);
  }
  // SendLater of one packet to each of `connections`, in that order; a socket
  // host keeps the packet once for them all, so that a crowd of watchers costs
  // the sender next to nothing per head. A connection that is gone is skipped.
  virtual void SendLaterToEach(std::span<const ConnectionId> connections,
                               std::span<const std::uint8_t> bytes) {
    for (const ConnectionId connection : connections) SendLater(connection, bytes);
  }
  // The address the connection comes from ("127.0.0.1"); empty when unknown.
  virtual std::string PeerAddress(ConnectionId connection) = 0;
  // Closes a connection. The host reports it back through ServerApp::ConnectionClosed
  // later (never from inside this call).
  virtual void Close(ConnectionId connection) = 0;

  // Local wall-clock time, for log lines and file stamps.
  virtual std::tm LocalTime() = 0;
  // A monotonic clock, for time-outs.
  virtual std::chrono::steady_clock::time_point Monotonic() = 0;
  // Asks for ServerApp::TimerDue(id) once, `delay` from now (0 and more), on the
  // server's thread and never from inside this call. Timers due at the same
  // moment come back in the order they were started.
  virtual void StartTimer(TimerId id, std::chrono::milliseconds delay) = 0;
};

// One table as the console lists it.
struct TableSummary {
  std::int32_t number = 0;
  std::uint32_t players = 0;
  std::int8_t status = 0;            // the table's state (TableStatus)
  std::array<std::string, 4> names;  // by seat, UTF-8; empty for a free seat
  bool operator==(const TableSummary&) const = default;
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
  // A table came into use, or its players or state changed.
  virtual void TableChanged(const TableSummary& /*table*/) {}
};

}  // namespace quarn::server
