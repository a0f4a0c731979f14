#include "tests/support/cut_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>

namespace quarn::test {

namespace {

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

void ClosePair(const std::pair<int, int>& pair) {
  ::close(pair.first);
  ::close(pair.second);
}

}  // namespace

CutProxy::CutProxy(std::uint16_t serverPort) : serverPort_(serverPort) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      ::listen(listener_, 8) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    return;
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

CutProxy::~CutProxy() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  CutAll();
  if (listener_ >= 0) ::close(listener_);
}

int CutProxy::CutAll() {
  const std::lock_guard lock(mutex_);
  for (const auto& pair : pairs_) ClosePair(pair);
  const auto cut = static_cast<int>(pairs_.size());
  pairs_.clear();
  return cut;
}

void CutProxy::Run() {
  while (!stop_) {
    std::vector<pollfd> watch{{listener_, POLLIN, 0}};
    {
      const std::lock_guard lock(mutex_);
      for (const auto& [client, server] : pairs_) {
        watch.push_back({client, POLLIN, 0});
        watch.push_back({server, POLLIN, 0});
      }
    }
    if (::poll(watch.data(), watch.size(), 20) <= 0) continue;
    if (watch[0].revents != 0) Accept();
    const std::lock_guard lock(mutex_);
    for (std::size_t i = 1; i < watch.size(); ++i) {
      if (watch[i].revents == 0) continue;
      const auto pair = std::find_if(pairs_.begin(), pairs_.end(), [&](const auto& p) {
        return p.first == watch[i].fd || p.second == watch[i].fd;
      });
      if (pair == pairs_.end()) continue;  // cut meanwhile
      const int other = pair->first == watch[i].fd ? pair->second : pair->first;
      if (!Relay(watch[i].fd, other)) {
        ClosePair(*pair);
        pairs_.erase(pair);
      }
    }
  }
}

void CutProxy::Accept() {
  const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
  if (client < 0) return;
  const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in address = Loopback(serverPort_);
  if (server < 0 ||
      ::connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ClosePair({client, server});
    return;
  }
  const std::lock_guard lock(mutex_);
  pairs_.emplace_back(client, server);
}

bool CutProxy::Relay(int from, int to) {
  std::array<char, 4096> buffer{};
  const ssize_t got = ::recv(from, buffer.data(), buffer.size(), 0);
  return got > 0 && ::send(to, buffer.data(), static_cast<std::size_t>(got), MSG_NOSIGNAL) == got;
}

}  // namespace quarn::test
