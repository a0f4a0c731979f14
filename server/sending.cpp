#include "server/sending.h"

#include <string>

namespace quarn::server {

int FindSeat(ConnectionId connection, const TServerTable& table, std::int32_t& tableNumber,
             std::uint32_t& seat) {
  if (connection == kNoConnection) return 1;
  for (std::uint32_t index = 0; index < kSeatCount; ++index) {
    if (table.Players[index].Socket == connection) {
      tableNumber = table.Table;
      seat = index;
      return 0;
    }
  }
  return 1;
}

int Outbox::SendToSeat(ConnectionId connection, std::span<const std::uint8_t> bytes) {
  if (connection == kNoConnection || bytes.empty()) return 1;
  if (log_.Wants(LineKind::Packet)) {
    log_.Line(LineKind::Packet, logPrefix_ + "[发送数据包]" + std::to_string(bytes.size()));
  }
  if (host_.Send(connection, bytes) == -1) {
    host_.Send(connection, bytes);
  }
  return 0;
}

int Outbox::SendToTable(const TServerTable& table, std::span<const std::uint8_t> bytes) {
  for (const TServerPlayer& player : table.Players) {
    if (player.Socket != kNoConnection) SendToSeat(player.Socket, bytes);
  }
  // The watchers' copies may wait: a socket host keeps one for them all and
  // writes it a moment later, many in one write per watcher, once the seats
  // have theirs. A watcher whose connection stalls costs nothing here: the
  // host never waits, and closes a connection that leaves too much unread.
  if (!watchers_.empty()) host_.SendLaterToEach(watchers_, bytes);
  return 0;
}

}  // namespace quarn::server
