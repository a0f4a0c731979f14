#include "server/server_app.h"

#include <optional>
#include <string>

#include "core/card_error.h"
#include "core/rn32.h"
#include "server/accounts.h"
#include "server/connections.h"
#include "server/console_log.h"
#include "server/lobby_share.h"
#include "server/scheduler.h"
#include "server/server_settings.h"
#include "server/server_table.h"
#include "server/table_list.h"
#include "store/holding_store.h"

namespace quarn::server {

namespace {

// The word the log uses for a socket error kind.
const char* SocketErrorWord(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::Send:
      return "数据发送";
    case ErrorKind::Receive:
      return "数据接收";
    case ErrorKind::Connect:
      return "通道已连接";
    case ErrorKind::Disconnect:
      return "通道正断开";
    case ErrorKind::Accept:
      return "连接请求";
    case ErrorKind::General:
      break;
  }
  return "未知类型";  // General, and any number a host got wrong
}

}  // namespace

struct ServerApp::Impl {
  Impl(IServerHost& hostRef, IConsoleView& viewRef, std::filesystem::path fileDir,
       RunLogOptions logOptions)
      : host(hostRef),
        view(viewRef),
        log(hostRef, viewRef, std::move(fileDir), logOptions),
        scheduler(hostRef),
        tables(hostRef, viewRef, log, ids, scheduler,
               [this](ConnectionId id) { return connections.Find(id) != nullptr; }),
        accounts(
            hostRef, log, scheduler,
            [this](ConnectionId id, Packet& packet) { tables.Dispatch(id, packet); },
            [this](const LoginRecord& request, const std::string& address) {
              return tables.Returns(request, address);
            },
            [this](ConnectionId id) { return connections.Find(id) != nullptr; }) {}
  ~Impl() {
    if (sinkInstalled) SetCardErrorSink(std::move(previousSink));
  }

  bool IsStranger(ConnectionId id) const { return !tables.Seated(id) && !tables.Watching(id); }
  // Every seated or watching connection is open; the others have not logged in.
  std::size_t StrangerCount() const {
    return connections.Size() - tables.SeatedCount() - tables.WatchingCount();
  }
  // A connection that is gone, or that the server closed: it leaves the game at once.
  void Lose(ConnectionId id) {
    connections.Remove(id);
    accounts.Forget(id);
    tables.Disconnect(id);
  }
  void ReadEvent(ConnectionId id, Packet& packet);
  // A login that accounts look at first: from a connection without a seat.
  // Another login while one waits (at a table or for its turn) is dropped, so
  // nothing reaches a table unchecked.
  void AccountLogin(ConnectionId id, const Packet& packet);
  // Accounts over the store while the settings of the last start want them.
  void PointAccounts() { accounts.Use(accountsWanted ? store.get() : nullptr); }
  // Closes the connections that sent too much while their table was busy.
  void CloseFlooding();

  IServerHost& host;
  IConsoleView& view;
  ConsoleLog log;
  Scheduler scheduler;
  PlayerIds ids;
  Connections connections;
  TableList tables;
  bool initialised = false;
  bool listening = false;
  std::uint32_t packetCount = 0;
  CardErrorSink previousSink;
  bool sinkInstalled = false;
  std::unique_ptr<store::HoldingStore> store;
  std::unique_ptr<LobbyShare> lobbyShare;  // with a database other servers share
  Accounts accounts;
  bool accountsWanted = false;
};

void ServerApp::Impl::ReadEvent(ConnectionId id, Packet& packet) {
  ++packetCount;
  if (log.Wants(LineKind::Packet)) {
    log.Line(LineKind::Packet, tables.LogPrefix(id) + "累计数据包[" +
                                   std::to_string(static_cast<std::int32_t>(packetCount)) +
                                   "]个。");
  }
  const bool login = packet.RawType() == static_cast<std::uint32_t>(MessageType::LoginRequest);
  const bool watch = packet.RawType() == static_cast<std::uint32_t>(MessageType::WatchRequest);
  if (watch && accounts.Holds(id)) {
    // Its login's answer is still to come and would reach a watcher, or seat one.
  } else if (login && accounts.On() && !tables.Seated(id) && !tables.Watching(id)) {
    AccountLogin(id, packet);
  } else {
    tables.Dispatch(id, packet);
  }
  CloseFlooding();
}

void ServerApp::Impl::AccountLogin(ConnectionId id, const Packet& packet) {
  if (tables.LoginWaits(id) || accounts.Holds(id)) return;
  accounts.Login(id, packet);
}

void ServerApp::Impl::CloseFlooding() {
  for (const auto [id, reason] : tables.TakeFlooding()) {
    if (connections.Find(id) == nullptr) continue;
    const std::string why =
        reason == TableList::Flood::Lobby
            ? "查询桌子列表过于频繁"
            : "等待处理的请求超过" + std::to_string(TableList::kMaxWaitingPerConnection) + "个";
    log.Line(LineKind::Error,
             tables.LogPrefix(id) + "[错误]连接[" + std::to_string(id) + "]" + why + "，已断开");
    host.Close(id);
    Lose(id);
  }
}

ServerApp::ServerApp(IServerHost& host, IConsoleView& view, std::filesystem::path fileDir,
                     RunLogOptions logOptions)
    : impl_(std::make_unique<Impl>(host, view, std::move(fileDir), logOptions)) {}

ServerApp::~ServerApp() = default;

void ServerApp::Initialise(const ServerSettings& settings) {
  Impl& app = *impl_;
  if (app.initialised) return;
  app.log.TakeStamp();
  Seed();
  const ServerSettings usable = InLimits(settings) ? settings : ServerSettings{};
  app.tables.Configure(usable.tables, usable);
  app.previousSink =
      SetCardErrorSink([&log = app.log, &tables = app.tables](std::string_view text) {
        log.Line(LineKind::Error, tables.CurrentPrefix() + "[错误]" + std::string(text));
      });
  app.sinkInstalled = true;
  app.initialised = true;
  app.view.StatusChanged("服务器连接...", false);
}

StartResult ServerApp::Start(const ServerSettings& settings, std::uint16_t port) {
  Impl& app = *impl_;
  if (!app.initialised) Initialise(settings);
  if (app.listening) return StartResult::AlreadyListening;
  if (!InLimits(settings)) return StartResult::BadSettings;
  if (settings.accounts && !app.store) return StartResult::NoStore;
  app.tables.Configure(settings.tables, settings);
  if (!app.host.Listen(port)) {
    app.view.StatusChanged("服务器启动失败...", false);
    return StartResult::ListenFailed;
  }
  app.listening = true;
  app.accountsWanted = settings.accounts;
  app.PointAccounts();
  app.view.StatusChanged("服务器正在运行中...", true);
  app.tables.AllWaiting();
  app.log.Line(LineKind::Event, "启动服务器");
  return StartResult::Started;
}

void ServerApp::Stop() {
  Impl& app = *impl_;
  if (!app.initialised) return;
  app.host.StopListening();
  app.listening = false;
  // Every connection the stop closes leaves the game now, as a lost one would.
  for (ConnectionId id : app.connections.Ids()) {
    app.host.Close(id);
    app.Lose(id);
  }
  app.tables.FreeKeptSeats();  // nobody can come back to a stopped server
  app.view.StatusChanged("服务器已停止...", false);
  app.log.Line(LineKind::Event, "停止服务器");
}

bool ServerApp::Listening() const {
  return impl_->listening;
}

void ServerApp::DumpDiagnostics() {
  Impl& app = *impl_;
  if (!app.initialised) return;
  app.log.Line(LineKind::Event, "--------开始诊断--------");
  // One line for each table in use; with several, each names its table.
  for (const TServerTable* table : app.tables.Made()) {
    std::string line = app.tables.PrefixOf(static_cast<std::uint32_t>(table->Table - 1));
    line += "[Status=" + std::to_string(static_cast<int>(table->Status)) +
            "][Count=" + std::to_string(table->Count) + "][Players=";
    for (const TServerPlayer& player : table->Players) {
      line += "(" + std::to_string(player.Id) + ")";
    }
    app.log.Line(LineKind::Event, line + "]");
  }
  app.log.Line(LineKind::Event, "--------结束诊断--------");
}

void ServerApp::LogError(std::string_view line) {
  if (impl_->initialised) impl_->log.Line(LineKind::Error, line);
}

void ServerApp::SaveFiles() {
  if (impl_->initialised) impl_->log.SaveBoth();
}

void ServerApp::UseDatabase(store::GameDatabase* database) {
  Impl& app = *impl_;
  app.tables.UseStore(nullptr);
  app.accounts.Use(nullptr);
  app.store.reset();
  ShareLobby(database != nullptr ? database->SharedLobby() : nullptr);
  if (database == nullptr) return;
  app.store = std::make_unique<store::HoldingStore>(
      *database, [&log = app.log](std::string_view text) { log.Line(LineKind::Error, text); },
      [&host = app.host] { return host.Monotonic(); });
  app.tables.UseStore(app.store.get());
  app.PointAccounts();
}

void ServerApp::ShareLobby(store::LobbyBoard* board) {
  Impl& app = *impl_;
  app.tables.ShowOthers(nullptr);
  app.lobbyShare.reset();
  if (board == nullptr) return;
  app.lobbyShare = std::make_unique<LobbyShare>(
      *board, [&log = app.log](std::string_view text) { log.Line(LineKind::Error, text); });
  app.tables.ShowOthers(&app.lobbyShare->Others());
}

store::GameStore* ServerApp::Store() {
  return impl_->store.get();
}

void ServerApp::UsePasswordCost(PasswordCost cost) {
  impl_->accounts.SetCost(cost);
}

void ServerApp::ConnectionOpened(ConnectionId connection) {
  Impl& app = *impl_;
  if (!app.initialised || !app.listening ||
      app.StrangerCount() >= StrangerLimit(app.tables.Count())) {
    app.host.Close(connection);
    return;
  }
  app.connections.Add(connection, app.host.Monotonic());
}

void ServerApp::BytesReceived(ConnectionId connection, std::span<const std::uint8_t> bytes) {
  Impl& app = *impl_;
  if (!app.initialised) return;
  Connection* open = app.connections.Find(connection);
  if (open == nullptr) return;  // closed already: whatever was in flight is dropped
  open->assembler.Feed(bytes);
  while (open != nullptr) {
    std::optional<Packet> packet = open->assembler.Next();
    if (!packet) break;
    app.ReadEvent(connection, *packet);
    open = app.connections.Find(connection);
  }
}

void ServerApp::ConnectionClosed(ConnectionId connection) {
  Impl& app = *impl_;
  if (!app.initialised || app.connections.Find(connection) == nullptr) return;
  app.Lose(connection);
}

void ServerApp::SocketError(ConnectionId connection, ErrorKind kind, int code) {
  Impl& app = *impl_;
  if (!app.initialised) return;
  const std::string word = SocketErrorWord(kind);
  std::int32_t tableNumber = 0;
  std::uint32_t seat = 0;
  if (app.tables.FindSeat(connection, tableNumber, seat) == 0) {
    app.log.Line(LineKind::Error, "[" + std::to_string(tableNumber) + "][" + std::to_string(seat) +
                                      ":" + SeatNames[seat] + "]" + word + "错[" +
                                      std::to_string(code) + "]");
  } else {
    app.log.Line(LineKind::Error, "未知通讯通道发生" + word + "错误[" + std::to_string(code) + "]");
  }
}

void ServerApp::TimerDue(TimerId timer) {
  if (!impl_->initialised) return;
  impl_->scheduler.Fire(timer);
  impl_->CloseFlooding();
}

void ServerApp::Tick() {
  Impl& app = *impl_;
  if (!app.initialised) return;
  if (app.store) app.store->Retry();
  const auto now = app.host.Monotonic();
  if (app.lobbyShare && app.listening) {
    app.lobbyShare->Step(app.tables.Range(), app.tables.InUse(1, app.tables.Count()), now);
  }
  for (ConnectionId id : app.connections.Ids()) {
    const Connection* open = app.connections.Find(id);
    if (app.IsStranger(id) && now - open->openedAt >= kLoginTimeout) {
      app.host.Close(id);
      app.Lose(id);  // a login it left waiting for its turn goes with it
    }
  }
}

const TServerTable* ServerApp::Table(std::int32_t number) const {
  return impl_->tables.Table(number);
}

std::size_t ServerApp::PendingSteps() const {
  return impl_->scheduler.Pending();
}

std::uint32_t ServerApp::TableCount() const {
  return impl_->tables.Count();
}

std::int32_t ServerApp::PacketCount() const {
  return static_cast<std::int32_t>(impl_->packetCount);
}

std::string ServerApp::Stamp() const {
  return impl_->log.Stamp();
}

std::size_t ServerApp::OpenConnections() const {
  return impl_->connections.Size();
}

}  // namespace quarn::server
