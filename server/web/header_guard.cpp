#include "server/web/header_guard.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace quarn::server {
namespace {

constexpr QByteArrayView kHeaderEnd("\r\n\r\n");

// Lives on the socket. Its readyRead handler is connected before the HTTP
// library's, so it sees each batch of bytes first (peeking, not reading).
class HeaderGuard final : public QObject {
 public:
  explicit HeaderGuard(QTcpSocket* socket) : QObject(socket), socket_(socket) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
      if (watching_) socket_->abort();
    });
    timer_.start(GuardedTcpServer::kHeaderTimeoutMs);
    watching_ = connect(socket, &QTcpSocket::readyRead, this, [this] { Look(); });
  }

 private:
  void Look() {
    // Bytes the HTTP library left unread last time are not new.
    const QByteArray all = socket_->peek(socket_->bytesAvailable());
    const QByteArray fresh = all.sliced(std::min<qsizetype>(kept_, all.size()));
    QTimer::singleShot(0, this, [this] { kept_ = socket_->bytesAvailable(); });
    const QByteArray window = tail_ + fresh;
    const qsizetype first = window.indexOf(kHeaderEnd);
    if (first < 0) {
      pending_ += fresh.size();
      tail_ = window.right(3);
      if (pending_ > GuardedTcpServer::kMaxHeaderBytes) Refuse();
      return;
    }
    // A request came whole; the next one (keep-alive) gets its own time.
    if (pending_ + first - tail_.size() > GuardedTcpServer::kMaxHeaderBytes) {
      Refuse();
      return;
    }
    if (window.left(first).toLower().contains("upgrade: websocket")) {
      // From here the bytes are WebSocket frames, not headers.
      disconnect(watching_);
      timer_.stop();
      return;
    }
    const qsizetype last = window.lastIndexOf(kHeaderEnd);
    pending_ = window.size() - last - kHeaderEnd.size();
    tail_ = window.right(std::min<qsizetype>(pending_, 3));
    timer_.start(GuardedTcpServer::kHeaderTimeoutMs);
    if (pending_ > GuardedTcpServer::kMaxHeaderBytes) Refuse();
  }

  void Refuse() {
    disconnect(watching_);
    timer_.stop();
    socket_->readAll();  // nothing of it reaches the HTTP library
    socket_->write(
        "HTTP/1.1 431 Request Header Fields Too Large\r\n"
        "Content-Length: 0\r\nConnection: close\r\n\r\n");
    socket_->disconnectFromHost();
  }

  QTcpSocket* socket_;
  QTimer timer_;
  QMetaObject::Connection watching_;
  QByteArray tail_;     // the last bytes seen, for a header end split across reads
  qint64 pending_ = 0;  // bytes of a header not yet ended
  qint64 kept_ = 0;     // bytes the HTTP library left in the socket after its read
};

}  // namespace

void GuardedTcpServer::incomingConnection(qintptr descriptor) {
  auto socket = std::make_unique<QTcpSocket>(this);
  if (!socket->setSocketDescriptor(descriptor)) return;
  new HeaderGuard(socket.get());           // a child: it dies with the socket
  addPendingConnection(socket.release());  // the server's child until taken
}

}  // namespace quarn::server
