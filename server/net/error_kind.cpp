#include "server/net/error_kind.h"

namespace quarn::server {

ErrorKind KindOfSocketError(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::RemoteHostClosedError:
      return ErrorKind::Disconnect;
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::HostNotFoundError:
    case QAbstractSocket::SocketAccessError:
    case QAbstractSocket::SslHandshakeFailedError:
      return ErrorKind::Connect;
    case QAbstractSocket::NetworkError:
    case QAbstractSocket::SocketTimeoutError:
      return ErrorKind::Receive;
    case QAbstractSocket::DatagramTooLargeError:
      return ErrorKind::Send;
    default:
      return ErrorKind::General;
  }
}

bool IsPlainHangUp(QAbstractSocket::SocketError error) {
  return error == QAbstractSocket::RemoteHostClosedError;
}

}  // namespace quarn::server
