#include "tests/support/wire_client.h"

#include <QHostAddress>

namespace quarn::test {

bool WireClient::Connect(std::uint16_t port) {
  socket_.abort();
  assembler_.Reset();
  socket_.connectToHost(QHostAddress::LocalHost, port);
  if (!socket_.waitForConnected(5000)) return false;
  socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  return true;
}

bool WireClient::Write(std::span<const std::uint8_t> bytes) {
  const auto size = static_cast<qint64>(bytes.size());
  if (socket_.write(reinterpret_cast<const char*>(bytes.data()), size) != size) return false;
  while (socket_.bytesToWrite() > 0) {
    if (!socket_.waitForBytesWritten(5000)) return false;
  }
  return true;
}

std::vector<Packet> WireClient::Read(int ms) {
  std::vector<Packet> packets;
  // An event loop elsewhere in the test may have taken the bytes already.
  if (socket_.bytesAvailable() == 0 && !socket_.waitForReadyRead(ms)) return packets;
  const QByteArray bytes = socket_.readAll();
  if (bytes.isEmpty()) return packets;
  readSizes_.push_back(static_cast<std::size_t>(bytes.size()));
  assembler_.Feed(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                            static_cast<std::size_t>(bytes.size())));
  while (auto packet = assembler_.Next()) packets.push_back(*packet);
  return packets;
}

}  // namespace quarn::test
