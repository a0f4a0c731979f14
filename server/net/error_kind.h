// How the Qt host sorts its socket errors into the kinds the run log names.
#pragma once

#include <QAbstractSocket>

#include "server/host.h"

namespace quarn::server {

// The kind under which a Qt socket error is logged.
ErrorKind KindOfSocketError(QAbstractSocket::SocketError error);

// A peer that simply hung up (or reset) is a lost connection, not a fault worth a log line.
bool IsPlainHangUp(QAbstractSocket::SocketError error);

}  // namespace quarn::server
