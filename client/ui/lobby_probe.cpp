#include "client/ui/lobby_probe.h"

#include "protocol/packet_builder.h"

namespace quarn::client {

TLobbyProbe::TLobbyProbe(QObject* parent) : QObject(parent) {
  refresh_.setInterval(kRefreshMs);
  connect(&refresh_, &QTimer::timeout, this, &TLobbyProbe::Ask);
  connect(&socket_, &QTcpSocket::connected, this, &TLobbyProbe::Ask);
  connect(&socket_, &QTcpSocket::readyRead, this, &TLobbyProbe::Read);
}

void TLobbyProbe::Start(const std::string& host, std::uint16_t port) {
  if (host == host_ && port == port_ && socket_.state() != QAbstractSocket::UnconnectedState) {
    return;
  }
  Stop();
  host_ = host;
  port_ = port;
  list_ = {};
  socket_.connectToHost(QString::fromStdString(host), port);
  refresh_.start();
}

void TLobbyProbe::Stop() {
  refresh_.stop();
  socket_.abort();
  assembler_ = {};
}

void TLobbyProbe::Ask() {
  if (socket_.state() != QAbstractSocket::ConnectedState) {
    // Closed by the server (its login time ran out): ask again on a new connection.
    if (socket_.state() == QAbstractSocket::UnconnectedState && !host_.empty()) {
      assembler_ = {};
      socket_.connectToHost(QString::fromStdString(host_), port_);
    }
    return;
  }
  if (auto packet = BuildPacket(MessageType::LobbyRequest, LobbyRequestRecord{1})) {
    socket_.write(reinterpret_cast<const char*>(packet->data().data()),
                  static_cast<qint64>(packet->data().size()));
  }
}

void TLobbyProbe::Read() {
  const QByteArray bytes = socket_.readAll();
  assembler_.Feed(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                            static_cast<std::size_t>(bytes.size())));
  bool changed = false;
  while (std::optional<Packet> packet = assembler_.Next()) changed |= list_.Take(*packet);
  if (changed) emit Changed();
}

}  // namespace quarn::client
