// How the server finds a connection's seat and sends: to one connection, and
// to every seated connection of a table.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "protocol/pcpheadtail.h"
#include "server/console_log.h"
#include "server/host.h"
#include "server/server_table.h"

namespace quarn::server {

// 0 and the table number and seat when `connection` holds a seat of `table`;
// 1 otherwise. Only Socket is looked at.
int FindSeat(ConnectionId connection, const TServerTable& table, std::int32_t& tableNumber,
             std::uint32_t& seat);

class Outbox {
 public:
  // `logPrefix` goes before every send line (the table's number, when there are several).
  Outbox(IServerHost& host, ConsoleLog& log, std::string logPrefix = {})
      : host_(host), log_(log), logPrefix_(std::move(logPrefix)) {}

  // Logs "[发送数据包]<length>" and sends; a send that fails is tried once more.
  // 1 when there is no connection or nothing to send.
  int SendToSeat(ConnectionId connection, std::span<const std::uint8_t> bytes);
  int SendToSeat(ConnectionId connection, const Packet& packet) {
    return SendToSeat(connection, packet.data());
  }
  // Every seat with a connection, seats 0..3 in order, then the table's
  // watchers (sent for later), without a log line each: many watchers must
  // not swell the log.
  int SendToTable(const TServerTable& table, std::span<const std::uint8_t> bytes);
  int SendToTable(const TServerTable& table, const Packet& packet) {
    return SendToTable(table, packet.data());
  }

  // The connections that watch this table, in the order they came.
  void AddWatcher(ConnectionId connection) { watchers_.push_back(connection); }
  void RemoveWatcher(ConnectionId connection) { std::erase(watchers_, connection); }
  std::size_t WatcherCount() const { return watchers_.size(); }

 private:
  IServerHost& host_;
  ConsoleLog& log_;
  std::string logPrefix_;
  std::vector<ConnectionId> watchers_;
};

}  // namespace quarn::server
