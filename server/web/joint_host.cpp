#include "server/web/joint_host.h"

namespace quarn::server {

bool JointHost::Listen(std::uint16_t port) {
  if (!tcp_.Listen(port)) {
    error_ = QStringLiteral("port %1: %2").arg(port).arg(tcp_.ListenError());
    return false;
  }
  if (web_ && webPort_ && !web_->Listen(*webPort_)) {
    error_ = QStringLiteral("web port %1: %2").arg(*webPort_).arg(web_->ListenError());
    tcp_.StopListening();
    return false;
  }
  return true;
}

void JointHost::StopListening() {
  tcp_.StopListening();
  if (web_) web_->StopListening();
}

int JointHost::Send(ConnectionId connection, std::span<const std::uint8_t> bytes) {
  if (IsWebConnection(connection)) return web_ ? web_->Send(connection, bytes) : -1;
  return tcp_.Send(connection, bytes);
}

int JointHost::SendLater(ConnectionId connection, std::span<const std::uint8_t> bytes) {
  if (IsWebConnection(connection)) return web_ ? web_->Send(connection, bytes) : -1;
  return tcp_.SendLater(connection, bytes);
}

void JointHost::SendLaterToEach(std::span<const ConnectionId> connections,
                                std::span<const std::uint8_t> bytes) {
  if (web_) {
    for (const ConnectionId connection : connections) {
      if (IsWebConnection(connection)) web_->Send(connection, bytes);
    }
  }
  // The TCP host skips the web connections: it holds none of their ids.
  tcp_.SendLaterToEach(connections, bytes);
}

std::string JointHost::PeerAddress(ConnectionId connection) {
  if (IsWebConnection(connection)) return web_ ? web_->PeerAddress(connection) : std::string();
  return tcp_.PeerAddress(connection);
}

void JointHost::Close(ConnectionId connection) {
  if (IsWebConnection(connection)) {
    if (web_) web_->Close(connection);
    return;
  }
  tcp_.Close(connection);
}

}  // namespace quarn::server
