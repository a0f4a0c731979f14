// The answers of our own requests that come as lines: every line, or the one
// line that tells the asker there is none.
#pragma once

#include <vector>

#include "protocol/packet_builder.h"
#include "server/table_game.h"

namespace quarn::server {

template <typename Line>
void TableGame::SendLines(ConnectionId to, MessageType type, std::vector<Line> lines,
                          const Line& none) {
  if (lines.empty()) lines.push_back(none);
  for (const Line& line : lines) SendTo(to, BuildPacket(type, line));
}

}  // namespace quarn::server
