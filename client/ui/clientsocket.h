// The table window's connection to the server: a QTcpSocket with low delay on,
// whose bytes go through a stream assembler so that every whole packet comes
// out once, however TCP joins or splits them.
#pragma once

#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <cstdint>
#include <functional>
#include <span>

#include "client/model/display.h"
#include "client/ui/loginsettings.h"
#include "protocol/pcpheadtail.h"
#include "protocol/stream_assembler.h"

namespace quarn::client {

class TClientSocket : public QObject, public IPacketWriter {
  Q_OBJECT

 public:
  explicit TClientSocket(QObject* parent = nullptr);
  ~TClientSocket() override;

  void SetAddress(const QString& address) { address_ = address.trimmed(); }
  const QString& Address() const { return address_; }
  void SetPort(quint16 port) { port_ = port; }
  quint16 Port() const { return port_; }

  // Starts connecting to Address():Port(), dropping any earlier connection
  // quietly. False at once when the address is empty; a failure found later
  // comes as socketError(). Packets written while connecting go out once the
  // connection stands.
  bool Open();
  // Closes the connection. With `quietly`, no disconnected() follows.
  void Close(bool quietly = false);
  // Connecting or connected.
  bool IsOpen() const;
  bool IsConnected() const;
  // The current connection stood at some point (false while still connecting
  // or after a connect that failed).
  bool WasConnected() const { return wasConnected_; }

  // Hands the whole packet to the connection in one write. False when the
  // socket is not open or took fewer bytes than the packet has.
  bool WritePacket(std::span<const std::uint8_t> packet) override;

  // Tests replace the write with their own (return false to make it fail).
  using WriteOverride = std::function<bool(std::span<const std::uint8_t>)>;
  void SetWriteOverride(WriteOverride override) { writeOverride_ = std::move(override); }

  // Whole packets are handed out through this callback, one at a time and in
  // order. A packet arriving while the callback runs (for instance under a
  // message box) waits until it has returned.
  using PacketHandler = std::function<void(const Packet&)>;
  void SetPacketHandler(PacketHandler handler) { handler_ = std::move(handler); }

  QTcpSocket& Socket() { return socket_; }

 signals:
  // The connection stood and then closed (by the peer or the network).
  void disconnected();
  // The connection could not be made or failed; the text is Qt's description.
  // A close by the peer is reported only through disconnected().
  void socketError(const QString& description);

 private:
  void OnReadyRead();
  void OnError(QAbstractSocket::SocketError error);
  void OnDisconnected();
  void Dispatch();

  QTcpSocket socket_;
  StreamAssembler assembler_;
  QString address_;
  quint16 port_ = kServerPort;
  PacketHandler handler_;
  WriteOverride writeOverride_;
  bool dispatching_ = false;
  bool wasConnected_ = false;
};

}  // namespace quarn::client
