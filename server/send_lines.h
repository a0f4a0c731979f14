// Our own requests answered from the store: who may ask, and the answers that
// come as lines (every line, or the one line that tells the asker there is none).
#pragma once

#include <optional>
#include <vector>

#include "protocol/packet_builder.h"
#include "server/table_game.h"

namespace quarn::server {

template <typename Request>
std::optional<Request> TableGame::AskedOfStore(ConnectionId from, const Packet& packet,
                                               int (*decode)(Request&, const Packet&)) const {
  Request request;
  if (store_ == nullptr || SeatOf(from) < 0 || decode(request, packet) != 0 ||
      request.tableNumber != table_.Table) {
    return std::nullopt;
  }
  return request;
}

template <typename Line>
void TableGame::SendLines(ConnectionId to, MessageType type, std::vector<Line> lines,
                          const Line& none) {
  if (lines.empty()) lines.push_back(none);
  for (const Line& line : lines) SendTo(to, BuildPacket(type, line));
}

}  // namespace quarn::server
