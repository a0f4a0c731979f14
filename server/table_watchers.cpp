// The lobby and the watchers of the tables: anyone connected may ask which
// tables are in use, and with spectators allowed, watch one without a seat.
#include <algorithm>

#include "protocol/packet_builder.h"
#include "protocol/pcpchat.h"
#include "protocol/pcplobby.h"
#include "server/table_list.h"
#include "server/table_slot.h"

namespace quarn::server {

namespace {

LobbyTableState StateOf(TableStatus status) {
  switch (status) {
    case TableDealing:
      return LobbyTableState::Dealing;
    case TableBidding:
    case TableBidBusy:
      return LobbyTableState::Bidding;
    case TablePlaying:
    case TablePlayBusy:
      return LobbyTableState::Playing;
    default:
      return LobbyTableState::Waiting;
  }
}

}  // namespace

void TableList::Lobby(ConnectionId connection, const Packet& packet) {
  LobbyRequestRecord request;
  if (!settings_.lobby || packet.length != LobbyRequestLength ||
      DecodeLobbyRequest(request, packet) != 0) {
    return;
  }
  const auto now = host_.Monotonic();
  if (!lobby_.Admit(connection, now)) {
    MarkFlooding(connection, Flood::Lobby);
    return;
  }
  for (const Packet& line :
       lobby_.Answer(request.firstTable, now, [&] { return LobbyLines(request.firstTable); })) {
    plainOutbox_.SendToSeat(connection, line);
  }
}

std::vector<Packet> TableList::LobbyLines(std::int32_t first) const {
  LobbyLineRecord line;
  line.watcherLimit = static_cast<std::int32_t>(settings_.spectators);
  line.tables = static_cast<std::int32_t>(slots_.size());
  std::vector<LobbyLineRecord> lines;
  // A table is in use while someone sits at it, watches it or plays there.
  for (auto index = static_cast<std::size_t>(std::max(first, 1) - 1);
       index < slots_.size() && lines.size() < kMaxLobbyLines; ++index) {
    const Slot* slot = slots_[index].get();
    if (slot == nullptr) continue;
    const TServerTable& table = *slot->table;
    const std::size_t watchers = slot->outbox.WatcherCount();
    if (table.Count == 0 && watchers == 0 && table.Status <= TableWaiting) continue;
    line.tableNumber = table.Table;
    line.kind = LobbyKind::Table;
    line.state = StateOf(table.Status);
    line.watchers = static_cast<std::int32_t>(watchers);
    line.freeSeats = 0;
    for (std::size_t seat = 0; seat < kSeatCount; ++seat) {
      const TServerPlayer& player = table.Players[seat];
      line.names[seat] = player.Taken() ? player.Name : std::string();
      if (!player.Taken()) ++line.freeSeats;
    }
    lines.push_back(line);
  }
  if (lines.empty()) {
    LobbyLineRecord none;
    none.watcherLimit = line.watcherLimit;
    none.tables = line.tables;
    lines.push_back(none);
  }
  std::vector<Packet> packets;
  for (LobbyLineRecord& each : lines) {
    if (each.kind == LobbyKind::Table) each.count = static_cast<std::uint8_t>(lines.size());
    if (auto packet = BuildPacket(MessageType::LobbyLine, each)) packets.push_back(*packet);
  }
  return packets;
}

void TableList::Watch(ConnectionId connection, const Packet& packet) {
  WatchRequestRecord request;
  if (packet.length != WatchRequestLength || DecodeWatchRequest(request, packet) != 0) return;
  const auto limit = static_cast<std::int32_t>(settings_.spectators);
  WatchReplyRecord reply{request.tableNumber, WatchResult::Off, 0, limit};
  std::optional<std::uint32_t> index;
  if (limit == 0) {
    reply.result = WatchResult::Off;
  } else if (static_cast<std::uint32_t>(request.tableNumber) > slots_.size()) {
    reply.result = WatchResult::NoTable;
  } else {
    const auto wanted = static_cast<std::uint32_t>(request.tableNumber - 1);
    const auto watchers = static_cast<std::int32_t>(Make(wanted).outbox.WatcherCount());
    reply.watchers = watchers;
    if (watchers >= limit) {
      reply.result = WatchResult::Full;
    } else {
      reply.result = WatchResult::Watching;
      reply.watchers = watchers + 1;
      index = wanted;
    }
  }
  if (auto answer = BuildPacket(MessageType::WatchReply, reply)) {
    plainOutbox_.SendToSeat(connection, *answer);
  }
  if (!index) return;
  Slot& slot = *slots_[*index];
  watching_[connection] = *index;
  watcherNames_[connection] = request.name;
  slot.outbox.AddWatcher(connection);
  slot.game.ShowToWatcher(connection);
  log_.Line(LineKind::Game, PrefixOf(*index) + "[" + std::to_string(*index + 1) + "]观众" +
                                NameForText(request.name) + "开始观看");
}

void TableList::StopWatching(ConnectionId connection) {
  const auto watching = watching_.find(connection);
  if (watching == watching_.end()) return;
  slots_[watching->second]->outbox.RemoveWatcher(connection);
  watching_.erase(watching);
  watcherNames_.erase(connection);
}

void TableList::WatcherChat(ConnectionId connection, Packet& packet) {
  const auto watching = watching_.find(connection);
  ChatRecord chat;
  if (watching == watching_.end() || packet.length != ChatLength ||
      DecodeChatSay(chat, packet) != 0) {
    return;
  }
  Slot& slot = *slots_[watching->second];
  chat.tableNumber = slot.table->Table;
  chat.seat = 0;
  chat.text = WatcherChatText({watcherNames_[connection], chat.text});
  if (RewriteHeader(packet, MessageType::ChatNotice) != 0 || EncodeChatNotice(chat, packet) != 0) {
    return;
  }
  slot.outbox.SendToTable(*slot.table, packet);
}

}  // namespace quarn::server
