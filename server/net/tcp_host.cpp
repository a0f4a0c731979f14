#include "server/net/tcp_host.h"

#include <sys/socket.h>
#include <QTcpSocket>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <ctime>

#include "protocol/proxy_header.h"
#include "server/net/error_kind.h"
#include "server/net/socket_options.h"

namespace quarn::server {
namespace {

// Sends what the kernel takes now without waiting, in one system call: the
// bytes taken, or -1 when the socket failed (EAGAIN counts as 0 taken).
qint64 SendNow(qintptr descriptor, std::span<const iovec> pieces) {
  msghdr message{};
  message.msg_iov = const_cast<iovec*>(pieces.data());
  message.msg_iovlen = std::min<std::size_t>(pieces.size(), IOV_MAX);
  ssize_t sent = -1;
  do {
    sent = ::sendmsg(static_cast<int>(descriptor), &message, MSG_DONTWAIT | MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  if (sent >= 0) return sent;
  return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
}

iovec PieceOf(std::span<const std::uint8_t> bytes) {
  return {const_cast<std::uint8_t*>(bytes.data()), bytes.size()};
}

}  // namespace

TcpServerHost::TcpServerHost(QObject* parent) : QObject(parent) {
  connect(&server_, &QTcpServer::newConnection, this, &TcpServerHost::AcceptPending);
  connect(&server_, &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError error) {
    if (events_) events_->SocketError(kNoConnection, ErrorKind::Accept, error);
  });
  tick_.setInterval(1000);
  connect(&tick_, &QTimer::timeout, this, [this] {
    if (events_) events_->Tick();
  });
  tick_.start();
  block_ = std::make_shared<Block>();
  block_->reserve(kLaterBlockSize);
  laterTurn_.setSingleShot(true);
  connect(&laterTurn_, &QTimer::timeout, this, &TcpServerHost::WriteLaterTurn);
}

TcpServerHost::~TcpServerHost() {
  // The sockets die with server_; none of their last signals may reach a receiver.
  events_ = nullptr;
  for (auto& [id, connection] : connections_) connection.socket->disconnect(this);
}

std::uint16_t TcpServerHost::ListeningPort() const {
  return server_.isListening() ? server_.serverPort() : 0;
}

qintptr TcpServerHost::Descriptor(ConnectionId connection) const {
  const auto it = connections_.find(connection);
  return it == connections_.end() ? -1 : it->second.socket->socketDescriptor();
}

bool TcpServerHost::Listen(std::uint16_t port) {
  if (server_.isListening()) return server_.serverPort() == port || port == 0;
  return server_.listen(address_, port);
}

void TcpServerHost::StopListening() {
  server_.close();
}

ConnectionId TcpServerHost::NextId() {
  do {
    ++lastId_;
  } while (lastId_ == kNoConnection || connections_.contains(lastId_));
  return lastId_;
}

void TcpServerHost::AcceptPending() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) Adopt(socket);
}

void TcpServerHost::Adopt(QTcpSocket* socket) {
  const ConnectionId id = NextId();
  SetSocketBuffers(socket->socketDescriptor());
  socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  socket->setReadBufferSize(kReadBufferSize);
  Connection& connection = connections_[id];
  connection.socket = socket;
  connection.awaitingHeader = refused_ != nullptr;

  connect(socket, &QTcpSocket::readyRead, this, [this, id] { Read(id); });
  connect(
      socket, &QTcpSocket::disconnected, this, [this, id] { Lost(id); }, Qt::QueuedConnection);
  connect(
      socket, &QTcpSocket::errorOccurred, this,
      [this, id](QAbstractSocket::SocketError error) { Failed(id, error); }, Qt::QueuedConnection);

  if (events_) events_->ConnectionOpened(id);
}

void TcpServerHost::Read(ConnectionId connection) {
  const auto it = connections_.find(connection);
  if (it == connections_.end()) return;
  QByteArray bytes = it->second.socket->readAll();
  // Whatever a connection on its way out still sends is not acted on.
  if (bytes.isEmpty() || it->second.closing || !events_) return;
  if (it->second.awaitingHeader) bytes = AfterHeader(connection, it->second, bytes);
  if (bytes.isEmpty()) return;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  events_->BytesReceived(connection, {data, static_cast<std::size_t>(bytes.size())});
}

QByteArray TcpServerHost::AfterHeader(ConnectionId id, Connection& connection,
                                      const QByteArray& bytes) {
  connection.header += bytes;
  ProxyHeader header;
  const auto* data = reinterpret_cast<const std::uint8_t*>(connection.header.constData());
  switch (ParseProxyHeader({data, static_cast<std::size_t>(connection.header.size())}, header)) {
    case ProxyParse::NeedMore:
      return {};
    case ProxyParse::Bad:
      connection.awaitingHeader = false;
      refused_("[错误]连接[" + std::to_string(id) + "]（" +
               connection.socket->peerAddress().toString().toStdString() +
               "）开头不是有效的PROXY头，已断开");
      Close(id);
      return {};
    case ProxyParse::Done:
      break;
  }
  connection.awaitingHeader = false;
  connection.address = header.address;
  QByteArray rest = connection.header.mid(static_cast<qsizetype>(header.length));
  connection.header = {};
  return rest;
}

int TcpServerHost::Send(ConnectionId connection, std::span<const std::uint8_t> bytes) {
  const auto it = connections_.find(connection);
  if (it == connections_.end() || it->second.closing) return -1;
  Connection& open = it->second;
  if (open.later.empty()) {
    const iovec piece = PieceOf(bytes);
    return Write(connection, open, {&piece, 1}) < 0 ? -1 : static_cast<int>(bytes.size());
  }
  // What waits for later was sent first: it goes first, in the same write.
  return WriteWaiting(connection, open, bytes) ? static_cast<int>(bytes.size()) : -1;
}

int TcpServerHost::SendLater(ConnectionId connection, std::span<const std::uint8_t> bytes) {
  SendLaterToEach({&connection, 1}, bytes);
  const auto it = connections_.find(connection);
  return it == connections_.end() || it->second.closing ? -1 : static_cast<int>(bytes.size());
}

void TcpServerHost::SendLaterToEach(std::span<const ConnectionId> connections,
                                    std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return;
  const std::size_t offset = Keep(bytes);
  // The clock at most once for all, and only for a connection that had nothing
  // waiting: on some virtual machines each reading is a system call.
  std::optional<std::chrono::steady_clock::time_point> now;
  for (const ConnectionId connection : connections) {
    AddLater(connection, offset, bytes.size(), now);
  }
  if (!laterTurn_.isActive() && !laterQueue_.empty()) laterTurn_.start(kLaterDelay);
}

std::size_t TcpServerHost::Keep(std::span<const std::uint8_t> bytes) {
  if (block_.use_count() == 1) {
    block_->clear();  // all it held is written: its room serves again
  } else if (block_->size() + bytes.size() > kLaterBlockSize) {
    // Still waited on; it goes when its last bytes are written.
    block_ = std::make_shared<Block>();
    block_->reserve(std::max(kLaterBlockSize, bytes.size()));
  }
  const std::size_t offset = block_->size();
  block_->insert(block_->end(), bytes.begin(), bytes.end());
  return offset;
}

void TcpServerHost::AddLater(ConnectionId id, std::size_t offset, std::size_t length,
                             std::optional<std::chrono::steady_clock::time_point>& now) {
  const auto it = connections_.find(id);
  if (it == connections_.end() || it->second.closing) return;
  Connection& open = it->second;
  // The bound of Send: all that may wait for a peer, here and in Qt's buffer.
  // Qt is asked only near it: its buffer holds no more than after our last write.
  const auto waiting = static_cast<qint64>(open.laterSize) + static_cast<qint64>(length);
  if (open.buffered + waiting > kMaxPendingWrite) {
    open.buffered = open.socket->bytesToWrite();
    if (open.buffered + waiting > kMaxPendingWrite) {
      Close(id);
      return;
    }
  }
  open.laterSize += length;
  // A watcher of one table is given every packet kept: one piece grows.
  Piece* last = open.later.empty() ? nullptr : &open.later.back();
  if (last && last->block == block_ && last->offset + last->length == offset) {
    last->length += length;
  } else {
    open.later.push_back({block_, offset, length});
  }
  if (!open.queued) {
    open.queued = true;
    if (!now) now = std::chrono::steady_clock::now();
    laterQueue_.emplace_back(id, *now);
  }
}

bool TcpServerHost::WriteWaiting(ConnectionId id, Connection& connection,
                                 std::span<const std::uint8_t> after) {
  // Taken out first: a write that closes the connection finds nothing more to
  // write. Swapped rather than moved, so that the lists keep their room and
  // the heap is not given back and taken again on every turn.
  writing_.swap(connection.later);
  const std::size_t size = connection.laterSize + after.size();
  connection.laterSize = 0;
  iovecs_.clear();
  for (const Piece& piece : writing_) {
    iovecs_.push_back(PieceOf({piece.block->data() + piece.offset, piece.length}));
  }
  if (!after.empty()) iovecs_.push_back(PieceOf(after));
  const bool written = Write(id, connection, iovecs_) == static_cast<qint64>(size);
  writing_.clear();  // lets go of blocks all written
  return written;
}

void TcpServerHost::WriteLaterTurn() {
  const auto now = std::chrono::steady_clock::now();
  bool wroteOne = false;
  while (!laterQueue_.empty()) {
    const auto [id, since] = laterQueue_.front();
    const bool overdue = now - since >= kLaterMaxWait;
    if (!overdue && (wroteOne || now - since < kLaterDelay)) break;
    laterQueue_.pop_front();
    const auto it = connections_.find(id);
    if (it == connections_.end()) continue;
    it->second.queued = false;
    if (it->second.later.empty()) continue;  // a Send or a Close wrote it already
    WriteWaiting(id, it->second);
    wroteOne = true;
  }
  AwaitLater(now);
}

void TcpServerHost::AwaitLater(std::chrono::steady_clock::time_point now) {
  if (laterQueue_.empty()) return;
  const auto left = laterQueue_.front().second + kLaterDelay - now;
  // On the next turn once due: after the sockets that are ready by then.
  laterTurn_.start(
      std::max(std::chrono::ceil<std::chrono::milliseconds>(left), std::chrono::milliseconds(0)));
}

qint64 TcpServerHost::Write(ConnectionId connection, Connection& open,
                            std::span<const iovec> pieces) {
  QTcpSocket* socket = open.socket;
  if (socket->state() != QAbstractSocket::ConnectedState) return -1;
  qint64 size = 0;
  for (const iovec& piece : pieces) size += static_cast<qint64>(piece.iov_len);
  // Straight to the kernel while Qt holds nothing for this peer: one system
  // call, where Qt's buffered write would also switch its write notifier on and
  // off (each a wake-up of the event loop). A table-wide send is four of these.
  open.buffered = socket->bytesToWrite();
  qint64 sent = open.buffered == 0 ? SendNow(socket->socketDescriptor(), pieces) : 0;
  if (sent == size) return size;
  if (sent < 0) sent = 0;  // Qt's own write below meets the error and reports it
  if (open.buffered + size - sent > kMaxPendingWrite) {
    // A peer that reads nothing would make us buffer without end: let it go.
    Close(connection);
    return -1;
  }
  // The rest waits in Qt's buffer and goes out as the peer makes room.
  qint64 skip = sent;
  bool whole = true;
  for (const iovec& piece : pieces) {
    const auto length = static_cast<qint64>(piece.iov_len);
    if (skip >= length) {
      skip -= length;
      continue;
    }
    const qint64 rest = length - skip;
    whole = whole && socket->write(static_cast<const char*>(piece.iov_base) + skip, rest) == rest;
    skip = 0;
  }
  socket->flush();
  open.buffered = socket->bytesToWrite();
  return whole ? size : -1;
}

void TcpServerHost::Close(ConnectionId connection) {
  const auto it = connections_.find(connection);
  if (it == connections_.end() || it->second.closing) return;
  // The server's login time ran out (or it had strangers enough) first.
  if (it->second.awaitingHeader && refused_) {
    refused_("[错误]连接[" + std::to_string(connection) + "]未送来PROXY头，已断开");
  }
  // Packets waiting for later go out before the close, as those in Qt's buffer do.
  if (!it->second.later.empty()) WriteWaiting(connection, it->second);
  if (it->second.closing) return;  // that write met the bound and closed it
  it->second.closing = true;
  QTimer::singleShot(0, this, [this, connection] { Shut(connection); });
}

std::string TcpServerHost::PeerAddress(ConnectionId connection) {
  const auto it = connections_.find(connection);
  if (it == connections_.end()) return {};
  if (!it->second.address.empty()) return it->second.address;
  return it->second.socket->peerAddress().toString().toStdString();
}

void TcpServerHost::Shut(ConnectionId connection) {
  const auto it = connections_.find(connection);
  if (it == connections_.end()) return;
  // Packets already queued still go out; a peer that does not take them is cut off.
  it->second.socket->disconnectFromHost();
  QTimer::singleShot(kCloseGraceMs, this, [this, connection] { Abort(connection); });
}

void TcpServerHost::Abort(ConnectionId connection) {
  const auto it = connections_.find(connection);
  if (it == connections_.end()) return;
  it->second.socket->abort();
  Lost(connection);
}

void TcpServerHost::Lost(ConnectionId connection) {
  const auto it = connections_.find(connection);
  if (it == connections_.end()) return;
  QTcpSocket* socket = it->second.socket;
  connections_.erase(it);
  socket->disconnect(this);
  socket->deleteLater();
  if (events_) events_->ConnectionClosed(connection);
}

void TcpServerHost::Failed(ConnectionId connection, QAbstractSocket::SocketError error) {
  const auto it = connections_.find(connection);
  if (it == connections_.end() || it->second.closing || IsPlainHangUp(error)) return;
  if (events_) events_->SocketError(connection, KindOfSocketError(error), error);
}

std::tm TcpServerHost::LocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

std::chrono::steady_clock::time_point TcpServerHost::Monotonic() {
  return std::chrono::steady_clock::now();
}

void TcpServerHost::StartTimer(TimerId id, std::chrono::milliseconds delay) {
  QTimer::singleShot(delay, Qt::PreciseTimer, this, [this, id] {
    if (events_) events_->TimerDue(id);
  });
}

}  // namespace quarn::server
