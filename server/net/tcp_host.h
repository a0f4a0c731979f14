// The server's sockets: a QTcpServer whose connections are named by ids and
// whose events go to one IHostEvents receiver on the server's only thread.
//
// Socket signals reach the receiver through queued connections, so a close or
// an error caused by a Send() inside a handler is reported after that handler
// returns, never in the middle of it.
#pragma once

#include <sys/uio.h>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTimer>
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "server/host.h"
#include "server/net/host_events.h"

class QTcpSocket;

namespace quarn::server {

class TcpServerHost final : public QObject, public IServerHost {
  Q_OBJECT

 public:
  // Bytes a peer may leave unread in our send queue before we give up on it.
  static constexpr qint64 kMaxPendingWrite = qint64{256} * 1024;
  // Bytes taken from the kernel per read; the rest waits there until we drain.
  static constexpr qint64 kReadBufferSize = qint64{64} * 1024;
  // How long a closed connection may take to flush its last packets.
  static constexpr int kCloseGraceMs = 3000;
  // Packets sent for later wait this long after the first of them, so that
  // a table that plays fast costs one write per watcher in that time rather
  // than one per move (a hundredth of a second nobody watching can tell).
  static constexpr std::chrono::milliseconds kLaterDelay{10};
  // Then they are written one connection per turn of the event loop, so that
  // a player's packet that comes meanwhile waits behind one write at most;
  // those that have waited this long go out on the next turn whatever comes
  // in, so that a busy server still keeps its watchers close.
  static constexpr std::chrono::milliseconds kLaterMaxWait{50};
  // Packets for later are kept once, in blocks of about this size, however
  // many connections they go to; a block is used again once all is written.
  static constexpr std::size_t kLaterBlockSize = std::size_t{64} * 1024;

  explicit TcpServerHost(QObject* parent = nullptr);
  ~TcpServerHost() override;
  TcpServerHost(const TcpServerHost&) = delete;
  TcpServerHost& operator=(const TcpServerHost&) = delete;

  // The receiver of all events; nullptr detaches it (do so before it is destroyed).
  void Attach(IHostEvents* events) { events_ = events; }
  // The address Listen() binds: any address unless set.
  void SetListenAddress(const QHostAddress& address) { address_ = address; }
  // Behind a load balancer: every connection must open with a PROXY protocol
  // header (version 1 or 2), whose address then stands for the peer's. One
  // without a valid header is closed, and `refused` gets a run log line;
  // until its header is whole, nothing it sends reaches the receiver.
  using Refused = std::function<void(const std::string&)>;
  void ExpectProxyHeader(Refused refused) { refused_ = std::move(refused); }
  // The port listened on (the chosen one after Listen(0)); 0 when not listening.
  std::uint16_t ListeningPort() const;
  // Why the last Listen() failed, in the socket layer's words.
  QString ListenError() const { return server_.errorString(); }
  std::size_t ConnectionCount() const { return connections_.size(); }
  // The native socket of a connection, or -1 (for diagnostics and tests).
  qintptr Descriptor(ConnectionId connection) const;

  bool Listen(std::uint16_t port) override;
  void StopListening() override;
  int Send(ConnectionId connection, std::span<const std::uint8_t> bytes) override;
  // Kept with the connection and written in one go a little later (see
  // kLaterDelay), in the order the connections were given packets; a Send or
  // a Close writes them at once, before its own.
  int SendLater(ConnectionId connection, std::span<const std::uint8_t> bytes) override;
  void SendLaterToEach(std::span<const ConnectionId> connections,
                       std::span<const std::uint8_t> bytes) override;
  void Close(ConnectionId connection) override;
  std::string PeerAddress(ConnectionId connection) override;
  std::tm LocalTime() override;
  std::chrono::steady_clock::time_point Monotonic() override;
  // One single-shot timer per request, precise to the millisecond.
  void StartTimer(TimerId id, std::chrono::milliseconds delay) override;

 private:
  using Block = std::vector<std::uint8_t>;
  // Bytes of a block that wait for one connection.
  struct Piece {
    std::shared_ptr<const Block> block;
    std::size_t offset = 0;
    std::size_t length = 0;
  };
  struct Connection {
    QTcpSocket* socket = nullptr;  // owned by server_, deleted with deleteLater
    bool closing = false;
    bool awaitingHeader = false;  // a PROXY header is due first
    QByteArray header;            // its bytes so far
    std::string address;          // the one it named; empty: the socket's
    std::vector<Piece> later;     // packets for SendLater not yet written, in order
    std::size_t laterSize = 0;    // their bytes
    qint64 buffered = 0;          // in Qt's buffer after our last write to it, or more
    bool queued = false;          // in laterQueue_
  };

  // Writes now: straight to the kernel while Qt holds nothing, the rest to
  // Qt's buffer. The bytes taken, or -1.
  qint64 Write(ConnectionId id, Connection& connection, std::span<const iovec> pieces);
  // Writes what waits for later on this connection, then `after`; false when that failed.
  bool WriteWaiting(ConnectionId id, Connection& connection,
                    std::span<const std::uint8_t> after = {});
  // Copies `bytes` into the current block: their offset there.
  std::size_t Keep(std::span<const std::uint8_t> bytes);
  // Puts the kept bytes at `offset` in line for a connection (none when it is
  // gone). `now` is read when first needed, and kept for the next connection.
  void AddLater(ConnectionId id, std::size_t offset, std::size_t length,
                std::optional<std::chrono::steady_clock::time_point>& now);
  // One turn's share of the connections with packets waiting for later.
  void WriteLaterTurn();
  // Starts laterTurn_ for when the first connection in laterQueue_ is due.
  void AwaitLater(std::chrono::steady_clock::time_point now);

  void AcceptPending();
  void Adopt(QTcpSocket* socket);
  void Read(ConnectionId connection);
  // The bytes after a connection's PROXY header, once it is whole; empty
  // while it is not, and after a bad one, which closes the connection.
  QByteArray AfterHeader(ConnectionId id, Connection& connection, const QByteArray& bytes);
  void Shut(ConnectionId connection);
  void Abort(ConnectionId connection);
  void Lost(ConnectionId connection);
  void Failed(ConnectionId connection, QAbstractSocket::SocketError error);
  ConnectionId NextId();

  QTcpServer server_;
  QTimer tick_;
  QTimer laterTurn_;
  // The connections with packets for later, each with when its first came.
  std::deque<std::pair<ConnectionId, std::chrono::steady_clock::time_point>> laterQueue_;
  std::shared_ptr<Block> block_;  // where packets for later are kept now
  std::vector<Piece> writing_;    // what WriteWaiting writes
  std::vector<iovec> iovecs_;     // and where those bytes are
  QHostAddress address_{QHostAddress::Any};
  IHostEvents* events_ = nullptr;
  Refused refused_;  // set: connections open with a PROXY header
  ConnectionId lastId_ = kNoConnection;
  std::unordered_map<ConnectionId, Connection> connections_;
};

}  // namespace quarn::server
