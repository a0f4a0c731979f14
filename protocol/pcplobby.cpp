#include "protocol/pcplobby.h"

#include <algorithm>

#include "protocol/byte_order.h"

namespace quarn {
namespace {

constexpr std::size_t kTableAt = 32;
constexpr std::size_t kNameWidth = 16;

// LobbyLine
constexpr std::size_t kKindAt = 36;
constexpr std::size_t kCountAt = 37;
constexpr std::size_t kStateAt = 38;
constexpr std::size_t kFreeAt = 39;
constexpr std::size_t kWatchersAt = 40;
constexpr std::size_t kLimitAt = 44;
constexpr std::size_t kTablesAt = 48;
constexpr std::size_t kNamesAt = 52;

// WatchRequest, WatchReply
constexpr std::size_t kWatchNameAt = 40;
constexpr std::size_t kResultAt = 36;
constexpr std::size_t kMayChatAt = 37;
constexpr std::size_t kReplyWatchersAt = 40;
constexpr std::size_t kReplyLimitAt = 44;

bool Name(const std::string& name) {
  return name.size() < kNameWidth && name.find('\0') == std::string::npos;
}

std::uint8_t FreeSeats(const LobbyLineRecord& r) {
  return static_cast<std::uint8_t>(std::count_if(r.names.begin(), r.names.end(),
                                                 [](const std::string& n) { return n.empty(); }));
}

bool ValidLine(const LobbyLineRecord& r) {
  const bool names = std::all_of(r.names.begin(), r.names.end(), Name);
  const bool common = r.watcherLimit >= 0 && r.tables >= 1 && names;
  if (r.kind == LobbyKind::None) {
    return common && r.tableNumber == 0 && r.count == 0 && r.state == LobbyTableState::Waiting &&
           r.freeSeats == 0 && r.watchers == 0 &&
           std::all_of(r.names.begin(), r.names.end(),
                       [](const std::string& n) { return n.empty(); });
  }
  return common && r.kind == LobbyKind::Table && r.tableNumber >= 1 && r.tableNumber <= r.tables &&
         r.count >= 1 && r.count <= kMaxLobbyLines && r.state <= LobbyTableState::Playing &&
         r.freeSeats == FreeSeats(r) && r.watchers >= 0 && r.watchers <= r.watcherLimit;
}

bool ValidReply(const WatchReplyRecord& r) {
  if (r.result == WatchResult::Watching) {
    return r.watchers >= 1 && r.watchers <= r.watcherLimit;
  }
  return r.result <= WatchResult::NoTable && r.watchers >= 0 && r.watcherLimit >= 0;
}

}  // namespace

int EncodeLobbyRequest(const LobbyRequestRecord& record, Packet& packet) {
  if (packet.length < LobbyRequestLength || record.firstTable < 1) return 1;
  wire::PutI32(packet, kTableAt, record.firstTable);
  return 0;
}

int DecodeLobbyRequest(LobbyRequestRecord& record, const Packet& packet) {
  if (packet.length < LobbyRequestLength) return 1;
  record.firstTable = wire::GetI32(packet, kTableAt);
  return record.firstTable >= 1 ? 0 : 1;
}

int EncodeLobbyLine(const LobbyLineRecord& r, Packet& p) {
  if (p.length < LobbyLineLength || !ValidLine(r)) return 1;
  wire::PutI32(p, kTableAt, r.tableNumber);
  p.bytes[kKindAt] = static_cast<std::uint8_t>(r.kind);
  p.bytes[kCountAt] = r.count;
  p.bytes[kStateAt] = static_cast<std::uint8_t>(r.state);
  p.bytes[kFreeAt] = r.freeSeats;
  wire::PutI32(p, kWatchersAt, r.watchers);
  wire::PutI32(p, kLimitAt, r.watcherLimit);
  wire::PutI32(p, kTablesAt, r.tables);
  for (std::size_t seat = 0; seat < r.names.size(); ++seat) {
    wire::PutText(p, kNamesAt + seat * kNameWidth, kNameWidth, r.names[seat]);
  }
  return 0;
}

int DecodeLobbyLine(LobbyLineRecord& r, const Packet& p) {
  if (p.length < LobbyLineLength) return 1;
  r.tableNumber = wire::GetI32(p, kTableAt);
  r.kind = static_cast<LobbyKind>(p.bytes[kKindAt]);
  r.count = p.bytes[kCountAt];
  r.state = static_cast<LobbyTableState>(p.bytes[kStateAt]);
  r.freeSeats = p.bytes[kFreeAt];
  r.watchers = wire::GetI32(p, kWatchersAt);
  r.watcherLimit = wire::GetI32(p, kLimitAt);
  r.tables = wire::GetI32(p, kTablesAt);
  for (std::size_t seat = 0; seat < r.names.size(); ++seat) {
    r.names[seat] = wire::GetText(p, kNamesAt + seat * kNameWidth, kNameWidth);
  }
  // A name filling its whole field has no NUL: refused by the name check.
  return ValidLine(r) ? 0 : 1;
}

int EncodeWatchRequest(const WatchRequestRecord& r, Packet& p) {
  if (p.length < WatchRequestLength || r.tableNumber < 1 || r.name.empty() || !Name(r.name)) {
    return 1;
  }
  wire::PutI32(p, kTableAt, r.tableNumber);
  wire::PutText(p, kWatchNameAt, kNameWidth, r.name);
  return 0;
}

int DecodeWatchRequest(WatchRequestRecord& r, const Packet& p) {
  if (p.length < WatchRequestLength) return 1;
  r.tableNumber = wire::GetI32(p, kTableAt);
  r.name = wire::GetText(p, kWatchNameAt, kNameWidth);
  return r.tableNumber >= 1 && !r.name.empty() && Name(r.name) ? 0 : 1;
}

int EncodeWatchReply(const WatchReplyRecord& r, Packet& p) {
  if (p.length < WatchReplyLength || !ValidReply(r)) return 1;
  wire::PutI32(p, kTableAt, r.tableNumber);
  p.bytes[kResultAt] = static_cast<std::uint8_t>(r.result);
  p.bytes[kMayChatAt] = r.mayChat ? 1 : 0;
  wire::PutI32(p, kReplyWatchersAt, r.watchers);
  wire::PutI32(p, kReplyLimitAt, r.watcherLimit);
  return 0;
}

int DecodeWatchReply(WatchReplyRecord& r, const Packet& p) {
  if (p.length < WatchReplyLength) return 1;
  r.tableNumber = wire::GetI32(p, kTableAt);
  r.result = static_cast<WatchResult>(p.bytes[kResultAt]);
  r.mayChat = p.bytes[kMayChatAt] == 1;
  r.watchers = wire::GetI32(p, kReplyWatchersAt);
  r.watcherLimit = wire::GetI32(p, kReplyLimitAt);
  return ValidReply(r) && p.bytes[kMayChatAt] <= 1 ? 0 : 1;
}

}  // namespace quarn
