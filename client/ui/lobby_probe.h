// Asks a server which tables are in use while the login window is open: its
// own connection, a LobbyRequest every two seconds, the answers gathered into
// a TLobbyList. A server that never answers costs nothing: the window shows
// its usual fields from the start, and only a whole answer adds the list.
#pragma once

#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <cstdint>
#include <string>

#include "client/model/lobby_list.h"
#include "protocol/stream_assembler.h"

namespace quarn::client {

class TLobbyProbe : public QObject {
  Q_OBJECT

 public:
  static constexpr int kRefreshMs = 2000;

  explicit TLobbyProbe(QObject* parent = nullptr);
  // Asks `host:port` from now on (a new address starts over); Stop closes.
  void Start(const std::string& host, std::uint16_t port);
  void Stop();
  const TLobbyList& List() const { return list_; }

 signals:
  // A whole answer came: the list of tables changed.
  void Changed();

 private:
  void Ask();
  void Read();

  QTcpSocket socket_;
  QTimer refresh_;
  StreamAssembler assembler_;
  TLobbyList list_;
  std::string host_;
  std::uint16_t port_ = 0;
};

}  // namespace quarn::client
