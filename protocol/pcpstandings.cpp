#include "protocol/pcpstandings.h"

#include <span>

#include "core/gbk.h"
#include "protocol/byte_order.h"

namespace quarn {
namespace {

constexpr std::size_t kTableAt = 32;
constexpr std::size_t kKindAt = 36;
constexpr std::size_t kCountAt = 37;
constexpr std::size_t kRankAt = 40;
constexpr std::size_t kNameAt = 44;
constexpr std::size_t kNameWidth = 16;
constexpr std::size_t kGamesAt = 60;
constexpr std::size_t kWinsAt = 64;
constexpr std::size_t kLandlordGamesAt = 68;
constexpr std::size_t kLandlordWinsAt = 72;
constexpr std::size_t kPointsAt = 76;
constexpr std::size_t kLastPlayedAt = 84;

bool ValidRequest(const StandingsRequestRecord& r) {
  if (r.ask == StandingsAsk::Top) return r.count >= 1 && r.count <= kMaxStandingsLines;
  return r.ask == StandingsAsk::Own && r.count == 0;
}

bool ValidLine(const StandingsLineRecord& r) {
  if (r.kind == StandingsKind::None) {
    return r.count == 0 && r.rank == 0 && r.name.empty() && r.games == 0 && r.wins == 0 &&
           r.landlordGames == 0 && r.landlordWins == 0 && r.points == 0 && r.lastPlayed == 0;
  }
  if (r.kind != StandingsKind::Top && r.kind != StandingsKind::Own) return false;
  return r.count <= kMaxStandingsLines && r.rank >= 1 && r.name.size() < kNameWidth &&
         r.name.find('\0') == std::string::npos && r.landlordWins >= 0 &&
         r.landlordWins <= r.landlordGames && r.landlordGames <= r.games &&
         r.landlordWins <= r.wins && r.wins <= r.games;
}

std::span<std::uint8_t> NameField(Packet& p) {
  return std::span(p.bytes).subspan(kNameAt, kNameWidth);
}

}  // namespace

int EncodeStandingsRequest(const StandingsRequestRecord& record, Packet& packet) {
  if (packet.length < StandingsRequestLength || !ValidRequest(record)) return 1;
  wire::PutI32(packet, kTableAt, record.tableNumber);
  packet.bytes[kKindAt] = static_cast<std::uint8_t>(record.ask);
  packet.bytes[kCountAt] = record.count;
  return 0;
}

int DecodeStandingsRequest(StandingsRequestRecord& record, const Packet& packet) {
  if (packet.length < StandingsRequestLength) return 1;
  record.tableNumber = wire::GetI32(packet, kTableAt);
  record.ask = static_cast<StandingsAsk>(packet.bytes[kKindAt]);
  record.count = packet.bytes[kCountAt];
  return ValidRequest(record) ? 0 : 1;
}

int EncodeStandingsLine(const StandingsLineRecord& record, Packet& packet) {
  if (packet.length < StandingsLineLength || !ValidLine(record)) return 1;
  wire::PutI32(packet, kTableAt, record.tableNumber);
  packet.bytes[kKindAt] = static_cast<std::uint8_t>(record.kind);
  packet.bytes[kCountAt] = record.count;
  wire::PutI32(packet, kRankAt, record.rank);
  WriteGbkField(NameField(packet), record.name);
  wire::PutI32(packet, kGamesAt, record.games);
  wire::PutI32(packet, kWinsAt, record.wins);
  wire::PutI32(packet, kLandlordGamesAt, record.landlordGames);
  wire::PutI32(packet, kLandlordWinsAt, record.landlordWins);
  const auto points = static_cast<std::uint64_t>(record.points);
  wire::PutU32(packet.bytes, kPointsAt, static_cast<std::uint32_t>(points >> 32));
  wire::PutU32(packet.bytes, kPointsAt + 4, static_cast<std::uint32_t>(points));
  wire::PutU32(packet.bytes, kLastPlayedAt, record.lastPlayed);
  return 0;
}

int DecodeStandingsLine(StandingsLineRecord& record, const Packet& packet) {
  if (packet.length < StandingsLineLength) return 1;
  record.tableNumber = wire::GetI32(packet, kTableAt);
  record.kind = static_cast<StandingsKind>(packet.bytes[kKindAt]);
  record.count = packet.bytes[kCountAt];
  record.rank = wire::GetI32(packet, kRankAt);
  record.name = ReadGbkField(std::span(packet.bytes).subspan(kNameAt, kNameWidth));
  // A name filling the whole field has no NUL: refused like any other fault.
  if (record.name.size() >= kNameWidth) return 1;
  record.games = wire::GetI32(packet, kGamesAt);
  record.wins = wire::GetI32(packet, kWinsAt);
  record.landlordGames = wire::GetI32(packet, kLandlordGamesAt);
  record.landlordWins = wire::GetI32(packet, kLandlordWinsAt);
  const std::uint64_t high = wire::GetU32(packet.bytes, kPointsAt);
  const std::uint64_t low = wire::GetU32(packet.bytes, kPointsAt + 4);
  record.points = static_cast<std::int64_t>(high << 32 | low);
  record.lastPlayed = wire::GetU32(packet.bytes, kLastPlayedAt);
  return ValidLine(record) ? 0 : 1;
}

}  // namespace quarn
