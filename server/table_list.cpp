#include "server/table_list.h"

#include <algorithm>
#include <utility>

#include "core/gbk.h"
#include "protocol/packet_builder.h"
#include "protocol/pcplogin.h"
#include "server/table_slot.h"

namespace quarn::server {

namespace {

TableSummary Summary(const TServerTable& table) {
  TableSummary summary{table.Table, table.Count, table.Status, {}};
  for (std::size_t seat = 0; seat < kSeatCount; ++seat) {
    const TServerPlayer& player = table.Players[seat];
    if (player.Taken()) summary.names[seat] = GbkToUtf8(player.Name);
  }
  return summary;
}

}  // namespace

TableList::TableList(IServerHost& host, IConsoleView& view, ConsoleLog& log, PlayerIds& ids,
                     Scheduler& scheduler, OpenCheck isOpen)
    : host_(host),
      view_(view),
      log_(log),
      ids_(ids),
      scheduler_(scheduler),
      isOpen_(std::move(isOpen)),
      plainOutbox_(host, log) {}

TableList::~TableList() = default;

void TableList::UseStore(store::GameStore* store) {
  store_ = store;
  for (auto& slot : slots_) {
    if (slot) slot->game.UseStore(store);
  }
}

void TableList::Configure(std::uint32_t count, const ServerSettings& settings) {
  const bool renumbered = settings.firstTable != settings_.firstTable;
  settings_ = settings;
  count = std::max<std::uint32_t>(count, 1);
  if (count != slots_.size() || renumbered) {
    // The prefix of every table's lines depends on how many there are.
    slots_.clear();
    slots_.resize(count);
    open_.clear();
    keeping_.clear();
    lowestUnmade_ = 0;
    seats_.clear();
  }
  Make(0);
  for (auto& slot : slots_) {
    if (!slot) continue;
    ApplySettings(*slot->table, settings_);
    slot->waiting.clear();
  }
  waitingLogins_.clear();
  waitingCounts_.clear();
}

void TableList::AllWaiting() {
  for (std::uint32_t index = 0; index < slots_.size(); ++index) {
    if (!slots_[index]) continue;
    slots_[index]->table->Status = TableWaiting;
    AfterEvent(index);
  }
}

TableList::Slot& TableList::Make(std::uint32_t index) {
  std::unique_ptr<Slot>& slot = slots_[index];
  if (!slot) {
    slot = std::make_unique<Slot>(index, *this);
    ApplySettings(*slot->table, settings_);
    slot->game.OnStepRun([this, index] {
      AfterEvent(index);
      Settle(index);
    });
    while (lowestUnmade_ < slots_.size() && slots_[lowestUnmade_]) ++lowestUnmade_;
    AfterEvent(index);
  }
  return *slot;
}

void TableList::Dispatch(ConnectionId connection, Packet& packet) {
  Take(connection, packet);
  current_.clear();
}

void TableList::Take(ConnectionId connection, Packet& packet) {
  const auto type = static_cast<MessageType>(packet.RawType());
  if (type == MessageType::LobbyRequest) {
    Lobby(connection, packet);
    return;
  }
  if (Watching(connection)) {
    // A watcher never moves or sits; it speaks only where the server lets it.
    if (type == MessageType::ChatSay && settings_.spectatorChat) WatcherChat(connection, packet);
    return;
  }
  if (const auto seat = seats_.find(connection); seat != seats_.end()) {
    Handle(seat->second, connection, packet);
  } else if (const auto login = waitingLogins_.find(connection); login != waitingLogins_.end()) {
    Defer(login->second, connection, packet);  // behind its login, in order
  } else if (type == MessageType::LoginRequest) {
    Login(connection, packet);
  } else if (type == MessageType::WatchRequest) {
    Watch(connection, packet);
  }
  // A stranger reaches the game only with a login request.
}

void TableList::Handle(std::uint32_t index, ConnectionId connection, Packet& packet) {
  Slot& slot = *slots_[index];
  if (slot.game.Busy()) {
    Defer(index, connection, packet);
    return;
  }
  current_ = PrefixOf(index);
  slot.game.Dispatch(connection, packet);
  AfterEvent(index);
}

void TableList::Login(ConnectionId connection, Packet& packet) {
  LoginRecord request;
  if (packet.length != LoginLength || DecodeLoginRequest(request, packet) != 0) return;
  std::string address = host_.PeerAddress(connection);
  if (const auto kept = KeptSeatFor(request, address)) {
    const auto [index, seat] = *kept;
    Slot& slot = *slots_[index];
    if (slot.game.Busy()) {  // between two dealing steps: the return waits its turn
      if (Defer(index, connection, packet)) waitingLogins_[connection] = index;
      return;
    }
    current_ = PrefixOf(index);
    if (slot.game.Rejoin(connection, packet, seat, std::move(address))) {
      seats_[connection] = index;
    }
    AfterEvent(index);
    return;
  }
  const std::optional<std::uint32_t> wanted = IndexOf(request.tableNumber);
  std::optional<std::uint32_t> target;
  if (settings_.firstTable != 0) {
    // Another server's table: never seated here, whatever is free.
    if (wanted) target = Choose(wanted);
  } else {
    // Whatever table the request names, with one table.
    target = slots_.size() == 1 ? 0 : Choose(wanted);
  }
  if (!target) {
    // Every table is full, or the one named is not ours: the refusal form, so
    // the player is not left waiting.
    request.tableNumber = RefusedTable;
    request.seat = RefusedSeat;
    if (RewriteHeader(packet, MessageType::LoginReply) == 0 &&
        EncodeLoginReply(request, packet) == 0) {
      plainOutbox_.SendToSeat(connection, packet);
    }
    return;
  }
  // A table seating someone else takes this login next, as it always did.
  if (const Slot* busy = slots_[*target].get();
      busy != nullptr && busy->game.Busy() && busy->table->Count < kSeatCount) {
    if (Defer(*target, connection, packet)) waitingLogins_[connection] = *target;
    return;
  }
  Slot& slot = Make(*target);
  current_ = PrefixOf(*target);
  slot.game.Login(connection, packet, std::move(address));
  for (const TServerPlayer& player : slot.table->Players) {
    if (player.Socket == connection) seats_[connection] = *target;
  }
  AfterEvent(*target);
}

bool TableList::Defer(std::uint32_t index, ConnectionId connection, const Packet& packet) {
  std::size_t& count = waitingCounts_[connection];
  if (count >= kMaxWaitingPerConnection) {
    MarkFlooding(connection, Flood::Waiting);
    return false;
  }
  ++count;
  slots_[index]->waiting.push_back({connection, packet});
  return true;
}

void TableList::MarkFlooding(ConnectionId connection, Flood reason) {
  if (std::none_of(flooding_.begin(), flooding_.end(),
                   [connection](const Flooding& f) { return f.connection == connection; })) {
    flooding_.push_back({connection, reason});
  }
}

std::vector<TableList::Flooding> TableList::TakeFlooding() {
  std::vector<Flooding> flooding;
  flooding.swap(flooding_);
  return flooding;
}

void TableList::Settle(std::uint32_t index) {
  Slot& slot = *slots_[index];
  while (!slot.game.Busy() && !slot.waiting.empty()) {
    Waiting next = slot.waiting.front();
    slot.waiting.pop_front();
    if (const auto count = waitingCounts_.find(next.connection);
        count != waitingCounts_.end() && --count->second == 0) {
      waitingCounts_.erase(count);
    }
    if (!isOpen_(next.connection)) continue;
    const auto login = waitingLogins_.find(next.connection);
    if (login != waitingLogins_.end() && login->second == index &&
        next.packet.RawType() == static_cast<std::uint32_t>(MessageType::LoginRequest)) {
      waitingLogins_.erase(login);
    }
    Take(next.connection, next.packet);
  }
  current_.clear();
}

void TableList::Disconnect(ConnectionId connection) {
  waitingLogins_.erase(connection);
  waitingCounts_.erase(connection);
  lobby_.Forget(connection);
  StopWatching(connection);
  const auto seat = seats_.find(connection);
  if (seat == seats_.end()) return;
  const std::uint32_t index = seat->second;
  seats_.erase(seat);
  current_ = PrefixOf(index);
  slots_[index]->game.Disconnect(connection);
  AfterEvent(index);
  Settle(index);
}

void TableList::FreeKeptSeats() {
  const std::set<std::uint32_t> keeping = keeping_;
  for (const std::uint32_t index : keeping) {
    current_ = PrefixOf(index);
    slots_[index]->game.FreeKeptSeats();
    AfterEvent(index);
    Settle(index);
  }
}

std::optional<std::pair<std::uint32_t, int>> TableList::KeptSeatFor(
    const LoginRecord& request, const std::string& address) const {
  for (const std::uint32_t index : keeping_) {
    const int seat = slots_[index]->game.KeptSeatFor(request, address);
    if (seat >= 0) return std::pair{index, seat};
  }
  return std::nullopt;
}

void TableList::AfterEvent(std::uint32_t index) {
  Slot& slot = *slots_[index];
  const TServerTable& table = *slot.table;
  std::array<std::int32_t, kSeatCount> ids{};
  for (std::size_t seat = 0; seat < kSeatCount; ++seat) ids[seat] = table.Players[seat].Id;
  if (table.Status != slot.shownStatus || ids != slot.shownIds) {
    slot.shownStatus = table.Status;
    slot.shownIds = ids;
    view_.TableChanged(Summary(table));
  }
  if (slot.game.KeepsSeats()) {
    keeping_.insert(index);
  } else {
    keeping_.erase(index);
  }
  const bool open = TakesNewcomers(index);
  if (open != slot.open) {
    slot.open = open;
    if (open) {
      open_.insert(index);
    } else {
      open_.erase(index);
    }
  }
}

bool TableList::TakesNewcomers(std::uint32_t index) const {
  const Slot* slot = slots_[index].get();
  if (slot == nullptr) return true;
  // A table seating someone (its seat list is due) takes the next one after.
  const TableStatus status = slot->table->Status;
  return slot->table->Count < kSeatCount && (status == TableWaiting || status == TableSeating);
}

std::optional<std::uint32_t> TableList::Choose(std::optional<std::uint32_t> wanted) {
  if (wanted && TakesNewcomers(*wanted)) return wanted;
  std::optional<std::uint32_t> lowest;
  if (!open_.empty()) lowest = *open_.begin();
  if (lowestUnmade_ < slots_.size() && (!lowest || lowestUnmade_ < *lowest)) {
    lowest = lowestUnmade_;
  }
  return lowest;
}

int TableList::FindSeat(ConnectionId connection, std::int32_t& tableNumber,
                        std::uint32_t& seat) const {
  const auto found = seats_.find(connection);
  if (found == seats_.end()) return 1;
  return server::FindSeat(connection, *slots_[found->second]->table, tableNumber, seat);
}

std::optional<std::uint32_t> TableList::IndexOf(std::int32_t number) const {
  const std::int64_t index = std::int64_t{number} - FirstTableNumber(settings_);
  if (index < 0 || index >= static_cast<std::int64_t>(slots_.size())) return std::nullopt;
  return static_cast<std::uint32_t>(index);
}

const TServerTable* TableList::Table(std::int32_t number) const {
  const auto index = IndexOf(number);
  if (!index) return nullptr;
  const auto& slot = slots_[*index];
  return slot ? slot->table.get() : nullptr;
}

std::vector<const TServerTable*> TableList::Made() const {
  std::vector<const TServerTable*> made;
  for (const auto& slot : slots_) {
    if (slot) made.push_back(slot->table.get());
  }
  return made;
}

std::string TableList::PrefixOf(std::uint32_t index) const {
  if (slots_.size() == 1) return {};
  return "[Table=" + std::to_string(FirstTableNumber(settings_) + std::int64_t{index}) + "]";
}

std::string TableList::LogPrefix(ConnectionId connection) const {
  const auto seat = seats_.find(connection);
  return seat == seats_.end() ? std::string() : PrefixOf(seat->second);
}

}  // namespace quarn::server
