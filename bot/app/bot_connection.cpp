#include "bot/app/bot_connection.h"

#include <QSignalBlocker>
#include <chrono>
#include <cstdio>

#include "core/gbk.h"
#include "protocol/packet_builder.h"

namespace quarn::bot {
namespace {

// The server pauses at most a few seconds between a login and its answer.
constexpr int kLoginTimeoutMs = 15000;
// After a drop: a new attempt every second for half a minute.
constexpr int kReconnectDelayMs = 1000;
constexpr int kReconnectAttempts = 30;
// A kept seat is given back at once; no answer soon means the old connection
// still held it when the login came.
constexpr int kReconnectLoginTimeoutMs = 3000;

SessionConfig ConfigFrom(const BotOptions& options) {
  SessionConfig config;
  config.utf8Name = GbkToUtf8(LoginNameGbk(options));
  config.table = options.table;
  config.seat = options.seat;
  config.games = options.games;
  config.utf8Password = options.password;
  config.level = options.level;
  config.budget.think = std::chrono::milliseconds(options.thinkMs);
  return config;
}

}  // namespace

BotConnection::BotConnection(const BotOptions& options, QObject* parent)
    : QObject(parent),
      options_(options),
      label_(GbkToUtf8(LoginNameGbk(options))),
      session_(ConfigFrom(options), [this](std::string_view line) { Log(line); }) {
  moveTimer_.setSingleShot(true);
  answerTimer_.setSingleShot(true);
  loginTimer_.setSingleShot(true);
  reconnectTimer_.setSingleShot(true);
  connect(&socket_, &QTcpSocket::connected, this, &BotConnection::OnConnected);
  connect(&socket_, &QTcpSocket::readyRead, this, &BotConnection::OnReadyRead);
  connect(&socket_, &QTcpSocket::disconnected, this, &BotConnection::OnDisconnected);
  connect(&socket_, &QTcpSocket::errorOccurred, this, &BotConnection::OnError);
  connect(&moveTimer_, &QTimer::timeout, this, &BotConnection::OnMoveTimer);
  connect(&answerTimer_, &QTimer::timeout, this, &BotConnection::OnAnswerTimer);
  connect(&loginTimer_, &QTimer::timeout, this, &BotConnection::OnLoginTimer);
  connect(&reconnectTimer_, &QTimer::timeout, this, &BotConnection::OnReconnectTimer);
}

void BotConnection::Start() {
  socket_.connectToHost(QString::fromStdString(options_.host), options_.port);
}

void BotConnection::OnConnected() {
  socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  if (options_.watch) {
    const auto request = BuildPacket(MessageType::WatchRequest,
                                     WatchRequestRecord{options_.table, LoginNameGbk(options_)});
    if (request) Send(*request);
    loginTimer_.start(kLoginTimeoutMs);
    return;
  }
  std::optional<Packet> login = session_.Login();
  if (!login) {
    Stop(2, "cannot build a login request for this name");
    return;
  }
  Send(*login);
  loginTimer_.start(reconnecting_ ? kReconnectLoginTimeoutMs : kLoginTimeoutMs);
}

void BotConnection::OnReadyRead() {
  const QByteArray bytes = socket_.readAll();
  assembler_.Feed(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                            static_cast<std::size_t>(bytes.size())));
  while (std::optional<Packet> packet = assembler_.Next()) {
    if (options_.watch) {
      Watched(*packet);
      if (stopping_) return;
      continue;
    }
    session_.OnPacket(*packet);
    if (options_.narrate) {
      for (const std::string& line : narrator_.Lines(session_.Table(), *packet))
        std::fprintf(stdout, "%s\n", line.c_str());
      std::fflush(stdout);
    }
    if (session_.LoginRefused()) {
      Stop(1,
           "the server refused the login: every table is full, the table is another "
           "server's, or the name belongs to another password");
      return;
    }
    if (session_.Finished()) {
      Stop(0, "finished " + std::to_string(session_.GamesFinished()) + " games");
      return;
    }
  }
  if (session_.LoggedIn()) {
    loginTimer_.stop();
    if (reconnecting_) Log("logged in again at seat " + std::to_string(session_.Table().OwnSeat));
    reconnecting_ = false;
    reconnectAttempts_ = 0;
  }
  ArmAnswerTimer();
  ScheduleMove();
}

void BotConnection::Watched(const Packet& packet) {
  for (const std::string& line : watchNarrator_.Lines(packet)) {
    std::fprintf(stdout, "%s\n", line.c_str());
  }
  std::fflush(stdout);
  const auto type = static_cast<MessageType>(packet.RawType());
  if (WatchReplyRecord reply;
      type == MessageType::WatchReply && DecodeWatchReply(reply, packet) == 0) {
    loginTimer_.stop();
    if (reply.result != WatchResult::Watching) {
      Stop(1, "the server does not let this table be watched (quarnd --spectators N allows it)");
    }
  }
  if (type == MessageType::GameEnd && ++gamesWatched_ == options_.games) {
    Stop(0, "watched " + std::to_string(gamesWatched_) + " games");
  }
}

void BotConnection::ScheduleMove() {
  if (!session_.WantsToMove() || moveTimer_.isActive()) return;
  // The strong player's play takes its thinking time in the search itself.
  const bool searches = options_.level == ai::Level::Strong &&
                        session_.Table().GameState == client::TGameState::InPlay;
  moveTimer_.start(searches ? 0 : options_.thinkMs);
}

void BotConnection::OnMoveTimer() {
  if (std::optional<Packet> packet = session_.Move(std::chrono::steady_clock::now())) {
    Send(*packet);
  }
  ArmAnswerTimer();
  ScheduleMove();
}

void BotConnection::ArmAnswerTimer() {
  std::optional<BotSession::Clock::time_point> deadline = session_.AnswerDeadline();
  if (!deadline) {
    answerTimer_.stop();
    return;
  }
  auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - BotSession::Clock::now());
  answerTimer_.start(static_cast<int>(std::max<std::int64_t>(0, left.count())));
}

void BotConnection::OnAnswerTimer() {
  if (std::optional<Packet> packet = session_.CheckAnswer(BotSession::Clock::now())) {
    Send(*packet);
  }
  ArmAnswerTimer();
  ScheduleMove();
}

void BotConnection::OnLoginTimer() {
  if (options_.watch) {
    Stop(1, "no answer to the request to watch: the server predates watchers");
    return;
  }
  if (session_.LoggedIn()) return;
  // The server may not have seen the old connection go yet: try again.
  if (reconnecting_) {
    ScheduleReconnect();
    return;
  }
  Stop(1, "no answer to the login: is the table busy with a game?");
}

void BotConnection::Send(const Packet& packet) {
  const auto written = socket_.write(reinterpret_cast<const char*>(packet.bytes.data()),
                                     static_cast<qint64>(packet.length));
  if (written != static_cast<qint64>(packet.length)) Log("could not write a packet");
}

void BotConnection::OnDisconnected() {
  if (stopping_) return;
  if (options_.watch) {
    Stop(1, "the connection to the server was lost after watching " +
                std::to_string(gamesWatched_) + " games");
    return;
  }
  if (session_.Finished()) {
    Stop(0, "finished " + std::to_string(session_.GamesFinished()) + " games");
    return;
  }
  if (options_.reconnect && (session_.LoggedIn() || reconnecting_)) {
    ScheduleReconnect();
    return;
  }
  Stop(1, "the connection to the server was lost after " +
              std::to_string(session_.GamesFinished()) + " games");
}

void BotConnection::ScheduleReconnect() {
  if (reconnectTimer_.isActive()) return;
  if (++reconnectAttempts_ > kReconnectAttempts) {
    Stop(1, "the connection was lost and could not be made again");
    return;
  }
  if (!reconnecting_) {
    Log("the connection was lost: connecting again");
    session_.ConnectionLost();
    reconnecting_ = true;
  }
  moveTimer_.stop();
  answerTimer_.stop();
  loginTimer_.stop();
  assembler_.Reset();
  reconnectTimer_.start(kReconnectDelayMs);
}

void BotConnection::OnReconnectTimer() {
  // Whatever is left of the old connection goes quietly: its end is known.
  const QSignalBlocker quiet(socket_);
  socket_.abort();
  Start();
}

void BotConnection::OnError(QAbstractSocket::SocketError error) {
  if (stopping_ || error == QAbstractSocket::RemoteHostClosedError) return;
  if (reconnecting_) {
    ScheduleReconnect();  // the server may be back in a moment
    return;
  }
  Stop(1, "connection to " + options_.host + ":" + std::to_string(options_.port) +
              " failed: " + socket_.errorString().toStdString());
}

void BotConnection::Stop(int exitCode, const std::string& message) {
  if (stopping_) return;
  stopping_ = true;
  moveTimer_.stop();
  answerTimer_.stop();
  loginTimer_.stop();
  reconnectTimer_.stop();
  std::string line = message;
  if (session_.LoggedIn()) line += " (" + std::to_string(session_.Refusals()) + " refused)";
  if (exitCode == 0) {
    Log(line);
  } else {
    std::fprintf(stderr, "quarn-bot [%s]: %s\n", label_.c_str(), line.c_str());
  }
  socket_.disconnectFromHost();
  emit finished(exitCode);
}

void BotConnection::Log(std::string_view line) const {
  // A narrating player or a watcher keeps standard output for the story.
  FILE* out = options_.narrate || options_.watch ? stderr : stdout;
  std::fprintf(out, "[%s] %.*s\n", label_.c_str(), static_cast<int>(line.size()), line.data());
  std::fflush(out);
}

}  // namespace quarn::bot
