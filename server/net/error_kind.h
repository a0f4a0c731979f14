// The kinds of connection trouble the server's run log names.
#pragma once

#include <QAbstractSocket>

namespace quarn::server {

enum class ErrorKind : int {
  General = 0,
  Send = 1,
  Receive = 2,
  Connect = 3,
  Disconnect = 4,
  Accept = 5,
};

// The kind under which a Qt socket error is logged.
ErrorKind KindOfSocketError(QAbstractSocket::SocketError error);

// A peer that simply hung up (or reset) is a lost connection, not a fault worth a log line.
bool IsPlainHangUp(QAbstractSocket::SocketError error);

}  // namespace quarn::server
