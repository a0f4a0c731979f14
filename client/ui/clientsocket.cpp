#include "client/ui/clientsocket.h"

#include <array>

namespace quarn::client {

TClientSocket::TClientSocket(QObject* parent) : QObject(parent) {
  connect(&socket_, &QTcpSocket::readyRead, this, &TClientSocket::OnReadyRead);
  connect(&socket_, &QTcpSocket::errorOccurred, this, &TClientSocket::OnError);
  connect(&socket_, &QTcpSocket::disconnected, this, &TClientSocket::OnDisconnected);
  connect(&socket_, &QTcpSocket::connected, this, [this] {
    wasConnected_ = true;
    // Each packet is one small write that the other side waits for.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  });
}

TClientSocket::~TClientSocket() {
  Close(true);
}

bool TClientSocket::Open() {
  if (address_.isEmpty() || port_ == 0) return false;
  Close(true);
  assembler_.Reset();
  socket_.connectToHost(address_, port_);
  // connectToHost fails at once (state back to unconnected) for an unusable address.
  return socket_.state() != QAbstractSocket::UnconnectedState;
}

void TClientSocket::Close(bool quietly) {
  if (socket_.state() == QAbstractSocket::UnconnectedState) return;
  const QSignalBlocker blocker(quietly ? &socket_ : nullptr);
  socket_.abort();
  wasConnected_ = false;
  if (quietly) assembler_.Reset();
}

bool TClientSocket::IsOpen() const {
  const auto state = socket_.state();
  return state == QAbstractSocket::HostLookupState || state == QAbstractSocket::ConnectingState ||
         state == QAbstractSocket::ConnectedState;
}

bool TClientSocket::IsConnected() const {
  return socket_.state() == QAbstractSocket::ConnectedState;
}

bool TClientSocket::WritePacket(std::span<const std::uint8_t> packet) {
  if (writeOverride_) return writeOverride_(packet);
  if (packet.empty() || !IsOpen()) return false;
  const auto size = static_cast<qint64>(packet.size());
  return socket_.write(reinterpret_cast<const char*>(packet.data()), size) == size;
}

void TClientSocket::OnReadyRead() {
  std::array<std::uint8_t, 4096> chunk{};
  for (;;) {
    const qint64 got = socket_.read(reinterpret_cast<char*>(chunk.data()), chunk.size());
    if (got <= 0) break;
    assembler_.Feed(std::span(chunk.data(), static_cast<std::size_t>(got)));
    // The assembler keeps at most one unfinished packet, so whole ones go out
    // as they come instead of piling up.
    Dispatch();
  }
}

void TClientSocket::Dispatch() {
  if (dispatching_) return;  // the running loop below takes them in order
  dispatching_ = true;
  while (auto packet = assembler_.Next()) {
    if (handler_) handler_(*packet);
  }
  dispatching_ = false;
}

void TClientSocket::OnError(QAbstractSocket::SocketError error) {
  // A close by the server is a lost connection, not a fault of ours.
  if (error == QAbstractSocket::RemoteHostClosedError && wasConnected_) return;
  emit socketError(socket_.errorString());
}

void TClientSocket::OnDisconnected() {
  const bool stood = wasConnected_;
  wasConnected_ = false;
  assembler_.Reset();
  if (stood) emit disconnected();
}

}  // namespace quarn::client
