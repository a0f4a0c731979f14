// Plain blocking loopback sockets for the game benchmarks: the echo floor and
// the in-process players talk through these, with Nagle off on every socket.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <span>

namespace quarn::bench {

// An owned socket descriptor; closed on destruction.
class Socket {
 public:
  Socket() = default;
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket();
  Socket(Socket&& other) noexcept : fd_(other.Release()) {}
  Socket& operator=(Socket&& other) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  int fd() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release();

 private:
  int fd_ = -1;
};

// Listens on 127.0.0.1 at an ephemeral port; `port` receives it.
Socket ListenLoopback(std::uint16_t& port);
Socket AcceptOne(const Socket& listener);
// Connects to 127.0.0.1:port; invalid on failure.
Socket ConnectLoopback(std::uint16_t port);
// A port that was free a moment ago.
std::uint16_t FreeLoopbackPort();

// Whole-buffer blocking transfers; false when the peer went away.
bool SendAll(const Socket& socket, std::span<const std::uint8_t> bytes);
bool ReceiveAll(const Socket& socket, std::span<std::uint8_t> bytes);

// The clock the kernel stamps received bytes with (CLOCK_REALTIME).
std::chrono::nanoseconds RealNow();
// Asks the kernel to stamp what arrives on `socket` with its time of arrival.
void StampArrivals(const Socket& socket);
// One recv(2) with `flags`; `arrived` gets the kernel's stamp of the bytes read
// (left alone when there is none). Returns what recv returned.
ssize_t ReceiveStamped(const Socket& socket, std::span<std::uint8_t> into,
                       std::chrono::nanoseconds& arrived, int flags);

}  // namespace quarn::bench
