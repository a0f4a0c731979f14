#include "server/web/web_host.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTimer>

#include "server/web/header_guard.h"
#include "server/web/page_files.h"

namespace quarn::server {
namespace {

using Status = QHttpServerResponder::StatusCode;

bool AcceptsGzip(const QHttpServerRequest& request) {
  return request.value("accept-encoding").contains("gzip");
}

}  // namespace

bool PageServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
  // The library hands an upgrade to its WebSocket server after this call;
  // an answer written here would go out before the handshake.
  if (request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0) return true;
  QHttpServerResponder responder = makeResponder(request, socket);
  const auto method = request.method();
  if (method != QHttpServerRequest::Method::Get && method != QHttpServerRequest::Method::Head) {
    responder.write({{"Allow", "GET, HEAD"}}, Status::MethodNotAllowed);
    return true;
  }
  const QByteArray path = request.url().path(QUrl::FullyDecoded).toUtf8();
  const std::optional<std::filesystem::path> file =
      PageFile(root_, std::string_view(path.constData(), static_cast<std::size_t>(path.size())));
  if (!file) {
    responder.write(Status::NotFound);
    return true;
  }
  // The build leaves a gzip copy beside the big files; send it to browsers that take it.
  std::filesystem::path sent = *file;
  const std::filesystem::path gzipped = file->string() + ".gz";
  const bool gzip = AcceptsGzip(request) && std::filesystem::is_regular_file(gzipped);
  if (gzip) sent = gzipped;
  QFile content(QString::fromStdString(sent.string()));
  if (!content.open(QIODevice::ReadOnly)) {
    responder.write(Status::NotFound);
    return true;
  }
  const QByteArray body =
      method == QHttpServerRequest::Method::Head ? QByteArray() : content.readAll();
  responder.writeStatusLine(Status::Ok);
  responder.writeHeader("Content-Type", QByteArray(ContentType(*file).data()));
  responder.writeHeader("Content-Length", QByteArray::number(content.size()));
  responder.writeHeader("Cache-Control", "no-cache");
  responder.writeHeader("X-Content-Type-Options", "nosniff");
  if (gzip) responder.writeHeader("Content-Encoding", "gzip");
  responder.writeHeader("Vary", "Accept-Encoding");
  responder.writeBody(body);
  return true;
}

void PageServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
  makeResponder(request, socket).write(Status::NotFound);
}

WebHost::WebHost(std::filesystem::path root, QObject* parent)
    : QObject(parent), http_(std::move(root)), tcp_(new GuardedTcpServer(this)) {
  connect(&http_, &QAbstractHttpServer::newWebSocketConnection, this, &WebHost::AcceptPending);
}

WebHost::~WebHost() {
  events_ = nullptr;
  for (auto& [id, entry] : sockets_) entry.socket->disconnect(this);
}

bool WebHost::Listen(std::uint16_t port) {
  if (tcp_->isListening()) return tcp_->serverPort() == port || port == 0;
  if (!tcp_->listen(address_, port)) return false;
  if (!http_.servers().contains(tcp_)) http_.bind(tcp_);
  return true;
}

void WebHost::StopListening() {
  tcp_->close();
}

std::uint16_t WebHost::ListeningPort() const {
  return tcp_->isListening() ? tcp_->serverPort() : 0;
}

QString WebHost::ListenError() const {
  return tcp_->errorString();
}

ConnectionId WebHost::NextId() {
  do {
    lastId_ = (lastId_ + 1) & ~kWebConnectionBit;
  } while (lastId_ == 0 || sockets_.contains(lastId_ | kWebConnectionBit));
  return lastId_ | kWebConnectionBit;
}

void WebHost::AcceptPending() {
  while (http_.hasPendingWebSocketConnections()) {
    if (std::unique_ptr<QWebSocket> socket = http_.nextPendingWebSocketConnection()) {
      Adopt(std::move(socket));
    }
  }
}

void WebHost::Adopt(std::unique_ptr<QWebSocket> socket) {
  const ConnectionId id = NextId();
  QWebSocket* raw = socket.get();
  raw->setParent(nullptr);
  raw->setMaxAllowedIncomingMessageSize(kMaxMessageBytes);
  raw->setMaxAllowedIncomingFrameSize(kMaxMessageBytes);
  sockets_[id] = Socket{std::move(socket), false};
  connect(raw, &QWebSocket::binaryMessageReceived, this, [this, id](const QByteArray& message) {
    const auto it = sockets_.find(id);
    if (it == sockets_.end() || it->second.closing || !events_ || message.isEmpty()) return;
    const auto* data = reinterpret_cast<const std::uint8_t*>(message.constData());
    events_->BytesReceived(id, {data, static_cast<std::size_t>(message.size())});
  });
  connect(raw, &QWebSocket::textMessageReceived, this, [this, id] {
    Refuse(id, QWebSocketProtocol::CloseCodeDatatypeNotSupported,
           QStringLiteral("binary messages only"));
  });
  connect(
      raw, &QWebSocket::disconnected, this, [this, id] { Lost(id); }, Qt::QueuedConnection);
  if (raw->requestUrl().path() != QLatin1String("/ws")) {
    // Only /ws is a game connection; the server never hears of another.
    sockets_[id].closing = true;
    raw->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("not found"));
    return;
  }
  if (events_) events_->ConnectionOpened(id);
}

int WebHost::Send(ConnectionId connection, std::span<const std::uint8_t> bytes) {
  const auto it = sockets_.find(connection);
  if (it == sockets_.end() || it->second.closing) return -1;
  QWebSocket& socket = *it->second.socket;
  if (socket.state() != QAbstractSocket::ConnectedState) return -1;
  if (socket.bytesToWrite() + static_cast<qint64>(bytes.size()) > kMaxPendingWrite) {
    // A peer that reads nothing would make us buffer without end: let it go.
    Close(connection);
    return -1;
  }
  const QByteArray message(reinterpret_cast<const char*>(bytes.data()),
                           static_cast<qsizetype>(bytes.size()));
  return socket.sendBinaryMessage(message) == message.size() ? static_cast<int>(bytes.size()) : -1;
}

void WebHost::Close(ConnectionId connection) {
  const auto it = sockets_.find(connection);
  if (it == sockets_.end() || it->second.closing) return;
  it->second.closing = true;
  QTimer::singleShot(0, this, [this, connection] {
    const auto at = sockets_.find(connection);
    if (at == sockets_.end()) return;
    at->second.socket->close(QWebSocketProtocol::CloseCodeNormal);
    QTimer::singleShot(kCloseGraceMs, this, [this, connection] { Lost(connection); });
  });
}

void WebHost::Refuse(ConnectionId connection, QWebSocketProtocol::CloseCode code,
                     const QString& why) {
  const auto it = sockets_.find(connection);
  if (it == sockets_.end() || it->second.closing) return;
  it->second.closing = true;
  it->second.socket->close(code, why);
  QTimer::singleShot(kCloseGraceMs, this, [this, connection] { Lost(connection); });
}

std::string WebHost::PeerAddress(ConnectionId connection) const {
  const auto it = sockets_.find(connection);
  if (it == sockets_.end()) return {};
  const QWebSocket& socket = *it->second.socket;
  if (trustForwardedFor_) {
    // The router appends the address it saw; whatever came before, the player may have written.
    const QByteArray list = socket.request().rawHeader("X-Forwarded-For");
    const QHostAddress forwarded(
        QString::fromLatin1(list.mid(list.lastIndexOf(',') + 1).trimmed()));
    if (!forwarded.isNull()) return forwarded.toString().toStdString();
  }
  return socket.peerAddress().toString().toStdString();
}

void WebHost::Lost(ConnectionId connection) {
  const auto it = sockets_.find(connection);
  if (it == sockets_.end()) return;
  std::unique_ptr<QWebSocket> socket = std::move(it->second.socket);
  const bool announced = socket->requestUrl().path() == QLatin1String("/ws");
  sockets_.erase(it);
  socket->disconnect(this);
  socket->abort();
  socket.release()->deleteLater();  // it may be inside one of its own signals
  if (announced && events_) events_->ConnectionClosed(connection);
}

}  // namespace quarn::server
