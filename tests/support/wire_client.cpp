#include "tests/support/wire_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

namespace quarn::test {

WireClient::~WireClient() {
  Disconnect();
}

bool WireClient::Connect(std::uint16_t port) {
  Disconnect();
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    Disconnect();
    return false;
  }
  const int on = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  assembler_.Reset();
  return true;
}

void WireClient::Disconnect() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool WireClient::Write(std::span<const std::uint8_t> bytes) {
  while (!bytes.empty() && fd_ >= 0) {
    const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(sent));
  }
  return bytes.empty();
}

std::vector<Packet> WireClient::Read(int ms) {
  std::vector<Packet> packets;
  if (fd_ < 0) return packets;
  pollfd watch{fd_, POLLIN, 0};
  if (::poll(&watch, 1, ms) <= 0) return packets;
  std::array<std::uint8_t, 4096> buffer{};
  const ssize_t got = ::recv(fd_, buffer.data(), buffer.size(), 0);
  if (got <= 0) {
    Disconnect();
    return packets;
  }
  readSizes_.push_back(static_cast<std::size_t>(got));
  assembler_.Feed(std::span(buffer.data(), static_cast<std::size_t>(got)));
  while (auto packet = assembler_.Next()) packets.push_back(*packet);
  return packets;
}

}  // namespace quarn::test
