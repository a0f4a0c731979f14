// The game server as one object driven by events: the console's buttons and the
// connections' events go in, packets and log lines come out through the host and
// the view. The Qt console window, the daemon and the tests are front ends over it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "server/console_log.h"
#include "server/host.h"
#include "server/password_hash.h"
#include "server/server_settings.h"
#include "store/game_store.h"

namespace quarn::server {

struct TServerTable;

enum class StartResult {
  Started,
  BadSettings,       // a number outside its limits
  ListenFailed,      // "服务器启动失败..."
  AlreadyListening,  // nothing changes
  NoStore,           // accounts asked for without a game store
};

inline constexpr std::uint16_t kDefaultPort = 1073;

class ServerApp {
 public:
  // Files "Log<stamp>" and "Hero<stamp>" are written into `fileDir`; the run
  // log's level and files are the console's unless `logOptions` say otherwise.
  ServerApp(IServerHost& host, IConsoleView& view, std::filesystem::path fileDir = ".",
            RunLogOptions logOptions = {});
  ~ServerApp();
  ServerApp(const ServerApp&) = delete;
  ServerApp& operator=(const ServerApp&) = delete;

  // The console's first show: stamp, random seed, table 1, the settings
  // (settings outside their limits leave the table's defaults). Later calls do nothing.
  void Initialise(const ServerSettings& settings = {});
  // Copies the settings into the tables and listens (initialising first if
  // needed). While listening it changes nothing. Accounts need a database
  // (UseDatabase) first.
  StartResult Start(const ServerSettings& settings, std::uint16_t port = kDefaultPort);
  // Stops listening and closes every connection; their seats are freed at once.
  void Stop();
  bool Listening() const;
  // The diagnostics dump of a double click on the console.
  void DumpDiagnostics();
  // An error line of a front end's own in the run log (a connection refused
  // before the server saw it, say).
  void LogError(std::string_view line);
  // Saves "Log" and "Hero" (the console's close, the daemon's SIGTERM).
  void SaveFiles();
  // Every finished game goes to `database` from now on, before the next deal
  // (nullptr: games are not stored). A write that fails is held in memory and
  // retried, and the run log tells of it; the games go on either way. With a
  // database other servers share, the lobby lists their tables too.
  void UseDatabase(store::GameDatabase* database);
  // Publishes this server's tables on `board` and lists the other servers'
  // tables from it (nullptr: only its own); UseDatabase takes the database's.
  void ShareLobby(store::LobbyBoard* board);
  // The store over that database, or nullptr.
  store::GameStore* Store();
  // What each new password hash costs (tests and the fuzzer make it cheap).
  void UsePasswordCost(PasswordCost cost);

  // Connection events from the socket layer.
  void ConnectionOpened(ConnectionId connection);
  void BytesReceived(ConnectionId connection, std::span<const std::uint8_t> bytes);
  void ConnectionClosed(ConnectionId connection);
  void SocketError(ConnectionId connection, ErrorKind kind, int code);
  // Called about once a second: closes connections that did not log in in time,
  // and takes part in the lobby of a database that other servers share.
  void Tick();
  // A timer the server asked for with IServerHost::StartTimer is due.
  void TimerDue(TimerId timer);

  // Views for front ends and tests.
  // The table numbered `number` (nullptr before Initialise, or when that table
  // was never used).
  const TServerTable* Table(std::int32_t number = 1) const;
  // How many tables the server runs (the setting of the last start).
  std::uint32_t TableCount() const;
  // Whole packets received since the program started.
  std::int32_t PacketCount() const;
  // The stamp that names the next "Log" and "Hero" files, e.g. "001220_144034.txt".
  std::string Stamp() const;
  // Connections currently open, seated or not.
  std::size_t OpenConnections() const;
  // Steps the tables have scheduled and not yet run (a stopped server has none).
  std::size_t PendingSteps() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quarn::server
