// The web port's listening socket, which watches each connection's request
// headers before the HTTP library reads them: a header that does not end
// within kHeaderTimeoutMs is dropped, one longer than kMaxHeaderBytes is
// refused with 431. A connection that becomes a WebSocket is left alone.
#pragma once

#include <QTcpServer>

namespace quarn::server {

class GuardedTcpServer final : public QTcpServer {
  Q_OBJECT

 public:
  static constexpr int kHeaderTimeoutMs = 5000;
  static constexpr qint64 kMaxHeaderBytes = qint64{8} * 1024;

  using QTcpServer::QTcpServer;

 protected:
  void incomingConnection(qintptr descriptor) override;
};

}  // namespace quarn::server
