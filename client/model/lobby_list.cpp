#include "client/model/lobby_list.h"

namespace quarn::client {

bool TLobbyList::Take(const Packet& packet) {
  LobbyLineRecord line;
  if (packet.RawType() != static_cast<std::uint32_t>(MessageType::LobbyLine) ||
      DecodeLobbyLine(line, packet) != 0) {
    return false;
  }
  tableCount_ = line.tables;
  watcherLimit_ = line.watcherLimit;
  if (line.kind == LobbyKind::None) {
    pending_.clear();
    tables_.clear();
    answered_ = true;
    return true;
  }
  // A line of another answer than the one under way starts over from it.
  if (!pending_.empty() &&
      (pending_.front().count != line.count || pending_.back().tableNumber >= line.tableNumber)) {
    pending_.clear();
  }
  pending_.push_back(line);
  if (pending_.size() < line.count) return false;
  tables_ = std::move(pending_);
  pending_.clear();
  answered_ = true;
  return true;
}

std::optional<std::uint8_t> FirstFreeSeat(const LobbyLineRecord& table) {
  for (std::size_t seat = 0; seat < table.names.size(); ++seat) {
    if (table.names[seat].empty()) return static_cast<std::uint8_t>(seat);
  }
  return std::nullopt;
}

}  // namespace quarn::client
