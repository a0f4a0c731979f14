// The computer player's connection: a QTcpSocket that feeds whole packets to a
// BotSession, a timer that spaces its moves by the thinking time, one that
// watches for answers that never come, and one that connects again after a
// drop when asked to.
#pragma once

#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <string>

#include "bot/bot_session.h"
#include "bot/options.h"
#include "client/assist/narrator.h"
#include "client/assist/watch_narrator.h"
#include "protocol/stream_assembler.h"

namespace quarn::bot {

class BotConnection : public QObject {
  Q_OBJECT

 public:
  explicit BotConnection(const BotOptions& options, QObject* parent = nullptr);

  // Connects and logs in; the program's exit code comes through `finished`.
  void Start();

 signals:
  void finished(int exitCode);

 private:
  void OnConnected();
  void OnReadyRead();
  void OnDisconnected();
  void OnError(QAbstractSocket::SocketError error);
  void OnMoveTimer();
  void OnAnswerTimer();
  void OnLoginTimer();
  void OnReconnectTimer();
  // The connection dropped and --reconnect was given: try again shortly.
  void ScheduleReconnect();
  void ScheduleMove();
  void ArmAnswerTimer();
  void Send(const Packet& packet);
  void Stop(int exitCode, const std::string& message);
  void Log(std::string_view line) const;
  // --watch: the table's story, from what a watcher is sent.
  void Watched(const Packet& packet);

  BotOptions options_;
  std::string label_;  // the name in front of every log line
  BotSession session_;
  client::Narrator narrator_;
  client::WatchNarrator watchNarrator_;
  int gamesWatched_ = 0;
  StreamAssembler assembler_;
  QTcpSocket socket_;
  QTimer moveTimer_;
  QTimer answerTimer_;
  QTimer loginTimer_;
  QTimer reconnectTimer_;
  int reconnectAttempts_ = 0;
  bool reconnecting_ = false;
  bool stopping_ = false;
};

}  // namespace quarn::bot
