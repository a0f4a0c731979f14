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

store::TableRange TableList::Range() const {
  const std::int32_t first = FirstTableNumber(settings_);
  return {first, first + static_cast<std::int32_t>(slots_.size()) - 1};
}

std::vector<store::LobbyEntry> TableList::InUse(std::int32_t from, std::size_t limit) const {
  std::vector<store::LobbyEntry> entries;
  const std::int64_t start = std::max<std::int64_t>(std::int64_t{from} - Range().first, 0);
  // A table is in use while someone sits at it, watches it or plays there.
  for (auto index = static_cast<std::size_t>(start);
       index < slots_.size() && entries.size() < limit; ++index) {
    const Slot* slot = slots_[index].get();
    if (slot == nullptr) continue;
    const TServerTable& table = *slot->table;
    const std::size_t watchers = slot->outbox.WatcherCount();
    if (table.Count == 0 && watchers == 0 && table.Status <= TableWaiting) continue;
    store::LobbyEntry& entry = entries.emplace_back();
    entry.table = table.Table;
    entry.state = static_cast<std::uint8_t>(StateOf(table.Status));
    entry.watchers = static_cast<std::int32_t>(watchers);
    entry.watcherLimit = static_cast<std::int32_t>(settings_.spectators);
    for (std::size_t seat = 0; seat < kSeatCount; ++seat) {
      const TServerPlayer& player = table.Players[seat];
      if (player.Taken()) entry.names[seat] = player.Name;
    }
  }
  return entries;
}

std::vector<Packet> TableList::LobbyLines(std::int32_t first) const {
  std::vector<LobbyLineRecord> lines;
  std::int32_t tables = Range().last;
  const auto add = [&](const store::LobbyEntry& entry) {
    LobbyLineRecord& line = lines.emplace_back();
    line.tableNumber = entry.table;
    line.kind = LobbyKind::Table;
    line.count = 1;
    line.state = static_cast<LobbyTableState>(entry.state);
    line.watchers = entry.watchers;
    line.watcherLimit = entry.watcherLimit;
    line.tables = std::max(tables, entry.table);
    std::copy(entry.names.begin(), entry.names.end(), line.names.begin());
    line.freeSeats = static_cast<std::uint8_t>(
        std::count(entry.names.begin(), entry.names.end(), std::string()));
  };
  for (const store::LobbyEntry& entry : InUse(first, kMaxLobbyLines)) add(entry);
  if (others_ != nullptr) {
    // Another server's rows come from the database: one this server could not
    // send is left out rather than break the answer.
    tables = std::max(tables, others_->lastTable);
    const std::size_t own = lines.size();
    for (const store::LobbyEntry& entry : others_->tables) {
      if (entry.table < first) continue;
      add(entry);
      if (!BuildPacket(MessageType::LobbyLine, lines.back())) lines.pop_back();
      if (lines.size() - own == kMaxLobbyLines) break;
    }
    std::sort(lines.begin(), lines.end(),
              [](const auto& a, const auto& b) { return a.tableNumber < b.tableNumber; });
    if (lines.size() > kMaxLobbyLines) lines.resize(kMaxLobbyLines);
  }
  if (lines.empty()) {
    LobbyLineRecord& none = lines.emplace_back();
    none.watcherLimit = static_cast<std::int32_t>(settings_.spectators);
    none.tables = tables;
  }
  std::vector<Packet> packets;
  for (LobbyLineRecord& each : lines) {
    if (each.kind == LobbyKind::Table) {
      each.count = static_cast<std::uint8_t>(lines.size());
      each.tables = std::max(each.tables, tables);
    }
    if (auto packet = BuildPacket(MessageType::LobbyLine, each)) packets.push_back(*packet);
  }
  return packets;
}

void TableList::Watch(ConnectionId connection, const Packet& packet) {
  WatchRequestRecord request;
  if (packet.length != WatchRequestLength || DecodeWatchRequest(request, packet) != 0) return;
  const auto limit = static_cast<std::int32_t>(settings_.spectators);
  WatchReplyRecord reply{request.tableNumber, WatchResult::Off, 0, limit, settings_.spectatorChat};
  std::optional<std::uint32_t> index;
  if (limit == 0) {
    reply.result = WatchResult::Off;
  } else if (!IndexOf(request.tableNumber)) {
    reply.result = WatchResult::NoTable;
  } else {
    const std::uint32_t wanted = *IndexOf(request.tableNumber);
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
  log_.Line(LineKind::Game, PrefixOf(*index) + "[" + std::to_string(request.tableNumber) + "]观众" +
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
