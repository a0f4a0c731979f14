#include "bench/games_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <time.h>

#include <cerrno>
#include <cstring>

namespace quarn::bench {
namespace {

void NoDelay(int fd) {
  int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

Socket::~Socket() {
  if (fd_ >= 0) close(fd_);
}

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.Release();
  }
  return *this;
}

int Socket::Release() {
  int fd = fd_;
  fd_ = -1;
  return fd;
}

Socket ListenLoopback(std::uint16_t& port) {
  Socket listener(socket(AF_INET, SOCK_STREAM, 0));
  if (!listener.valid()) return {};
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (bind(listener.fd(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener.fd(), 4) != 0 ||
      getsockname(listener.fd(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return {};
  }
  port = ntohs(address.sin_port);
  return listener;
}

Socket AcceptOne(const Socket& listener) {
  Socket accepted(accept(listener.fd(), nullptr, nullptr));
  if (accepted.valid()) NoDelay(accepted.fd());
  return accepted;
}

Socket ConnectLoopback(std::uint16_t port) {
  Socket connection(socket(AF_INET, SOCK_STREAM, 0));
  if (!connection.valid()) return {};
  sockaddr_in address = Loopback(port);
  if (connect(connection.fd(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    return {};
  }
  NoDelay(connection.fd());
  return connection;
}

std::uint16_t FreeLoopbackPort() {
  std::uint16_t port = 0;
  Socket probe = ListenLoopback(port);
  return probe.valid() ? port : 0;
}

bool SendAll(const Socket& socket, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    ssize_t sent = send(socket.fd(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(sent));
  }
  return true;
}

bool ReceiveAll(const Socket& socket, std::span<std::uint8_t> bytes) {
  while (!bytes.empty()) {
    ssize_t got = recv(socket.fd(), bytes.data(), bytes.size(), 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(got));
  }
  return true;
}

std::chrono::nanoseconds RealNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

void StampArrivals(const Socket& socket) {
  int on = 1;
  setsockopt(socket.fd(), SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
}

ssize_t ReceiveStamped(const Socket& socket, std::span<std::uint8_t> into,
                       std::chrono::nanoseconds& arrived, int flags) {
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))] = {};
  iovec part{into.data(), into.size()};
  msghdr message{};
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  const ssize_t got = recvmsg(socket.fd(), &message, flags);
  if (got <= 0) return got;
  for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
      timespec stamp{};
      std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
      arrived = std::chrono::seconds(stamp.tv_sec) + std::chrono::nanoseconds(stamp.tv_nsec);
    }
  }
  return got;
}

}  // namespace quarn::bench
