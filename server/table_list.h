// The server's tables and the way to them: which table a connection sits at,
// which table a login goes to, and the requests that wait while their table is
// between two paced steps. Tables are made when a login first needs them, so
// memory and work grow with the tables in use, not with their number.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "server/console_log.h"
#include "server/lobby_desk.h"
#include "server/scheduler.h"
#include "server/sending.h"
#include "server/server_settings.h"
#include "server/server_table.h"
#include "server/table_game.h"
#include "store/lobby_board.h"

namespace quarn::server {

class TableList {
 public:
  // Tells whether a connection is still open (a waiting request of a closed one is dropped).
  using OpenCheck = std::function<bool(ConnectionId)>;

  // Requests one connection may have waiting at busy tables. A table's queue
  // has no bound of its own, so that nobody's move, return, login or leave is
  // dropped because others filled it; a connection that sends more than this
  // while it waits is flooding and is closed (see TakeFlooding).
  static constexpr std::size_t kMaxWaitingPerConnection = 32;

  // Why a connection is closed for asking too much.
  enum class Flood : std::uint8_t { Waiting, Lobby };
  struct Flooding {
    ConnectionId connection;
    Flood reason;
  };

  TableList(IServerHost& host, IConsoleView& view, ConsoleLog& log, PlayerIds& ids,
            Scheduler& scheduler, OpenCheck isOpen);
  ~TableList();
  TableList(const TableList&) = delete;
  TableList& operator=(const TableList&) = delete;

  // The number of tables and the settings every table takes. Table 1 always
  // exists. Tables beyond the count go; call it only while nobody is seated
  // (the console's start).
  void Configure(std::uint32_t count, const ServerSettings& settings);
  // Every table back to waiting, seats untouched (the console's start).
  void AllWaiting();
  // Where every table's finished games go (none: nowhere).
  void UseStore(store::GameStore* store);

  // A whole packet from `connection`, its header checked.
  void Dispatch(ConnectionId connection, Packet& packet);
  // A lost connection: its seat, if any, is freed (or kept, with KeepSeats).
  void Disconnect(ConnectionId connection);
  // Frees every kept seat of every table (the server stops).
  void FreeKeptSeats();
  // Connections that went over kMaxWaitingPerConnection, or asked the lobby
  // too often, since the last call, each once: the caller closes them.
  std::vector<Flooding> TakeFlooding();

  // 0 with the table number and seat of a seated connection, else 1.
  int FindSeat(ConnectionId connection, std::int32_t& tableNumber, std::uint32_t& seat) const;
  bool Seated(ConnectionId connection) const { return seats_.contains(connection); }
  // Watchers hold no seat, may not log in, and are no strangers (table_watchers.cpp).
  bool Watching(ConnectionId connection) const { return watching_.contains(connection); }
  std::size_t WatchingCount() const { return watching_.size(); }
  // Whether a login of the connection waits at a busy table.
  bool LoginWaits(ConnectionId connection) const { return waitingLogins_.contains(connection); }
  // Whether a login goes back to a kept seat.
  bool Returns(const LoginRecord& request, const std::string& address) const {
    return KeptSeatFor(request, address).has_value();
  }
  std::size_t SeatedCount() const { return seats_.size(); }
  std::uint32_t Count() const { return static_cast<std::uint32_t>(slots_.size()); }
  // The table numbered `number`, or nullptr when it was never used.
  const TServerTable* Table(std::int32_t number) const;
  // The tables made so far, in number order.
  std::vector<const TServerTable*> Made() const;
  // The table numbers this server holds.
  store::TableRange Range() const;
  // The tables in use from number `from` on, at most `limit`, in number order.
  std::vector<store::LobbyEntry> InUse(std::int32_t from, std::size_t limit) const;
  // Other servers' tables that the lobby lists beside this one's (none: only ours).
  void ShowOthers(const store::OthersLobby* others) { others_ = others; }
  // "[Table=N]" before the run log lines of table N when there are several
  // tables; empty with one table, whose lines stay as they always were.
  std::string LogPrefix(ConnectionId connection) const;
  // The prefix of the table whose request is being handled now.
  const std::string& CurrentPrefix() const { return current_; }
  // The prefix of the table at list position `index`.
  std::string PrefixOf(std::uint32_t index) const;

 private:
  struct Slot;
  struct Waiting {
    ConnectionId connection;
    Packet packet;
  };

  Slot& Make(std::uint32_t index);
  void Take(ConnectionId connection, Packet& packet);
  void Login(ConnectionId connection, Packet& packet);
  void Handle(std::uint32_t index, ConnectionId connection, Packet& packet);
  // False when the connection has too many requests waiting already: the
  // request is dropped and the connection marked as flooding.
  bool Defer(std::uint32_t index, ConnectionId connection, const Packet& packet);
  void MarkFlooding(ConnectionId connection, Flood reason);
  // Our own lobby and watching (table_watchers.cpp): the tables in use, and a
  // connection that watches a table instead of sitting at it.
  void Lobby(ConnectionId connection, const Packet& packet);
  std::vector<Packet> LobbyLines(std::int32_t first) const;
  void Watch(ConnectionId connection, const Packet& packet);
  void StopWatching(ConnectionId connection);
  // A watcher's line to its table's players and watchers, named in the text.
  void WatcherChat(ConnectionId connection, Packet& packet);
  // A table that is no longer busy takes its waiting requests, in order.
  void Settle(std::uint32_t index);
  // Keeps the set of tables that take newcomers and tells the view of a change.
  void AfterEvent(std::uint32_t index);
  // Where a login goes with several tables: the wanted table when it takes
  // newcomers, else the lowest-numbered one that does; none when all are full.
  std::optional<std::uint32_t> Choose(std::optional<std::uint32_t> wanted);
  bool TakesNewcomers(std::uint32_t index) const;
  // The list position of table `number`; none when it is not one of ours.
  std::optional<std::uint32_t> IndexOf(std::int32_t number) const;
  // The table and kept seat a login comes back to, if any.
  std::optional<std::pair<std::uint32_t, int>> KeptSeatFor(const LoginRecord& request,
                                                           const std::string& address) const;

  IServerHost& host_;
  IConsoleView& view_;
  ConsoleLog& log_;
  PlayerIds& ids_;
  Scheduler& scheduler_;
  OpenCheck isOpen_;
  Outbox plainOutbox_;  // for the refusal of a login that no table takes
  ServerSettings settings_;
  std::vector<std::unique_ptr<Slot>> slots_;
  std::uint32_t lowestUnmade_ = 0;
  std::set<std::uint32_t> open_;                           // made tables that take a newcomer now
  std::set<std::uint32_t> keeping_;                        // made tables with kept seats
  std::unordered_map<ConnectionId, std::uint32_t> seats_;  // seated: table index
  std::unordered_map<ConnectionId, std::uint32_t> waitingLogins_;  // login waits at a table
  std::unordered_map<ConnectionId, std::size_t> waitingCounts_;    // requests in the queues
  std::vector<Flooding> flooding_;
  std::unordered_map<ConnectionId, std::uint32_t> watching_;    // watchers: table index
  std::unordered_map<ConnectionId, std::string> watcherNames_;  // GBK, for their chat
  LobbyDesk lobby_;
  const store::OthersLobby* others_ = nullptr;
  std::string current_;
  store::GameStore* store_ = nullptr;
};

}  // namespace quarn::server
