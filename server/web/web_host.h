// The web port: on one TCP port, HTTP GET and HEAD for the page's files and
// WebSocket upgrades at /ws, each WebSocket a game connection like a TCP one.
// A client's binary messages are stream bytes for the server's assembler;
// each packet the server sends goes out as one binary message. A text
// message closes the connection (1003), as the WebSocket library closes one
// whose message is over kMaxMessageBytes (1009) or whose frames are broken
// (1002). Connection ids have kWebConnectionBit set, so they never meet a
// TCP connection's.
#pragma once

#include <QAbstractHttpServer>
#include <QHostAddress>
#include <QObject>
#include <QWebSocket>
#include <filesystem>
#include <memory>
#include <unordered_map>

#include "server/host.h"
#include "server/net/host_events.h"

namespace quarn::server {

class GuardedTcpServer;

inline constexpr ConnectionId kWebConnectionBit = 0x80000000u;
constexpr bool IsWebConnection(ConnectionId connection) {
  return (connection & kWebConnectionBit) != 0;
}

// Answers GET and HEAD from the page folder; 404 outside it, 405 for any
// other method.
class PageServer final : public QAbstractHttpServer {
  Q_OBJECT

 public:
  explicit PageServer(std::filesystem::path root, QObject* parent = nullptr)
      : QAbstractHttpServer(parent), root_(std::move(root)) {}

 protected:
  bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
  void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

 private:
  std::filesystem::path root_;
};

class WebHost final : public QObject {
  Q_OBJECT

 public:
  static constexpr qint64 kMaxMessageBytes = qint64{64} * 1024;
  static constexpr qint64 kMaxPendingWrite = qint64{256} * 1024;
  static constexpr int kCloseGraceMs = 3000;

  WebHost(std::filesystem::path root, QObject* parent = nullptr);
  ~WebHost() override;
  WebHost(const WebHost&) = delete;
  WebHost& operator=(const WebHost&) = delete;

  void Attach(IHostEvents* events) { events_ = events; }
  void SetListenAddress(const QHostAddress& address) { address_ = address; }
  // Behind a router in HTTP mode: a WebSocket's address is the last one its
  // upgrade's X-Forwarded-For names (the one the router added), when valid.
  void TrustForwardedFor(bool trust) { trustForwardedFor_ = trust; }
  // Listens on `port` (0: any free port); false when it cannot.
  bool Listen(std::uint16_t port);
  void StopListening();
  std::uint16_t ListeningPort() const;
  QString ListenError() const;
  std::size_t ConnectionCount() const { return sockets_.size(); }

  int Send(ConnectionId connection, std::span<const std::uint8_t> bytes);
  void Close(ConnectionId connection);
  std::string PeerAddress(ConnectionId connection) const;

 private:
  struct Socket {
    std::unique_ptr<QWebSocket> socket;
    bool closing = false;
  };

  void AcceptPending();
  void Adopt(std::unique_ptr<QWebSocket> socket);
  void Refuse(ConnectionId connection, QWebSocketProtocol::CloseCode code, const QString& why);
  void Lost(ConnectionId connection);
  ConnectionId NextId();

  PageServer http_;
  GuardedTcpServer* tcp_;  // a child of this object
  QHostAddress address_{QHostAddress::Any};
  bool trustForwardedFor_ = false;
  IHostEvents* events_ = nullptr;
  ConnectionId lastId_ = 0;
  std::unordered_map<ConnectionId, Socket> sockets_;
};

}  // namespace quarn::server
