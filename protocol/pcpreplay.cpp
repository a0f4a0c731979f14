#include "protocol/pcpreplay.h"

#include <algorithm>
#include <span>

#include "core/gbk.h"
#include "protocol/byte_order.h"

namespace quarn {
namespace {

constexpr std::size_t kTableAt = 32;
constexpr std::size_t kKindAt = 36;
constexpr std::size_t kCountAt = 37;
constexpr std::size_t kOwnSeatAt = 38;
constexpr std::size_t kLandlordAt = 39;
constexpr std::size_t kIdAt = 40;
constexpr std::size_t kFinishedAt = 48;
constexpr std::size_t kGameTableAt = 52;
constexpr std::size_t kPointsAt = 56;
constexpr std::size_t kScoreAt = 60;
constexpr std::size_t kNamesAt = 68;
constexpr std::size_t kNameWidth = 16;
constexpr std::size_t kPartAt = 37;
constexpr std::size_t kPartsAt = 38;
constexpr std::size_t kPartLengthAt = 39;
constexpr std::size_t kTotalAt = 48;
constexpr std::size_t kSumAt = 52;
constexpr std::size_t kBytesAt = 56;

void PutI64(Packet& p, std::size_t at, std::int64_t value) {
  const auto bits = static_cast<std::uint64_t>(value);
  wire::PutU32(p.bytes, at, static_cast<std::uint32_t>(bits >> 32));
  wire::PutU32(p.bytes, at + 4, static_cast<std::uint32_t>(bits));
}

std::int64_t GetI64(const Packet& p, std::size_t at) {
  const std::uint64_t high = wire::GetU32(p.bytes, at);
  const std::uint64_t low = wire::GetU32(p.bytes, at + 4);
  return static_cast<std::int64_t>(high << 32 | low);
}

bool FitsField(const std::string& name) {
  return name.size() < kNameWidth && name.find('\0') == std::string::npos;
}

bool ValidLine(const ReplayListLineRecord& r) {
  if (r.kind == ReplayKind::None) {
    ReplayListLineRecord none;
    none.tableNumber = r.tableNumber;
    return r == none;
  }
  return r.kind == ReplayKind::Found && r.count >= 1 && r.count <= kMaxReplayLines &&
         r.ownSeat < 4 && r.landlord < 4 && r.gameId >= 1 &&
         std::all_of(r.names.begin(), r.names.end(), FitsField);
}

bool ValidPart(const ReplayGamePartRecord& r) {
  if (r.gameId < 1) return false;
  if (r.kind == ReplayKind::None) {
    return r.part == 0 && r.parts == 0 && r.totalLength == 0 && r.checkSum == 0 && r.bytes.empty();
  }
  const std::size_t parts = r.parts;
  return r.kind == ReplayKind::Found && parts >= 1 && parts <= kMaxReplayParts && r.part < parts &&
         !r.bytes.empty() && r.bytes.size() <= kReplayPartBytes &&
         r.totalLength > (parts - 1) * kReplayPartBytes &&
         r.totalLength <= parts * kReplayPartBytes;
}

}  // namespace

int EncodeReplayListRequest(const ReplayListRequestRecord& record, Packet& packet) {
  if (packet.length < ReplayListRequestLength) return 1;
  if (record.count < 1 || record.count > kMaxReplayLines) return 1;
  wire::PutI32(packet, kTableAt, record.tableNumber);
  packet.bytes[kKindAt] = record.count;
  return 0;
}

int DecodeReplayListRequest(ReplayListRequestRecord& record, const Packet& packet) {
  if (packet.length < ReplayListRequestLength) return 1;
  record.tableNumber = wire::GetI32(packet, kTableAt);
  record.count = packet.bytes[kKindAt];
  return record.count >= 1 && record.count <= kMaxReplayLines ? 0 : 1;
}

int EncodeReplayListLine(const ReplayListLineRecord& record, Packet& packet) {
  if (packet.length < ReplayListLineLength || !ValidLine(record)) return 1;
  wire::PutI32(packet, kTableAt, record.tableNumber);
  packet.bytes[kKindAt] = static_cast<std::uint8_t>(record.kind);
  packet.bytes[kCountAt] = record.count;
  packet.bytes[kOwnSeatAt] = record.ownSeat;
  packet.bytes[kLandlordAt] = record.landlord;
  PutI64(packet, kIdAt, record.gameId);
  wire::PutU32(packet.bytes, kFinishedAt, record.finishedAt);
  wire::PutI32(packet, kGameTableAt, record.gameTable);
  wire::PutU32(packet.bytes, kPointsAt, record.points);
  PutI64(packet, kScoreAt, record.scoreChange);
  for (std::size_t seat = 0; seat < record.names.size(); ++seat) {
    wire::PutText(packet, kNamesAt + seat * kNameWidth, kNameWidth, record.names[seat]);
  }
  return 0;
}

int DecodeReplayListLine(ReplayListLineRecord& record, const Packet& packet) {
  if (packet.length < ReplayListLineLength) return 1;
  record.tableNumber = wire::GetI32(packet, kTableAt);
  record.kind = static_cast<ReplayKind>(packet.bytes[kKindAt]);
  record.count = packet.bytes[kCountAt];
  record.ownSeat = packet.bytes[kOwnSeatAt];
  record.landlord = packet.bytes[kLandlordAt];
  record.gameId = GetI64(packet, kIdAt);
  record.finishedAt = wire::GetU32(packet.bytes, kFinishedAt);
  record.gameTable = wire::GetI32(packet, kGameTableAt);
  record.points = wire::GetU32(packet.bytes, kPointsAt);
  record.scoreChange = GetI64(packet, kScoreAt);
  for (std::size_t seat = 0; seat < record.names.size(); ++seat) {
    // A name filling its whole field has no NUL: refused by ValidLine.
    record.names[seat] = wire::GetText(packet, kNamesAt + seat * kNameWidth, kNameWidth);
  }
  return ValidLine(record) ? 0 : 1;
}

int EncodeReplayGameRequest(const ReplayGameRequestRecord& record, Packet& packet) {
  if (packet.length < ReplayGameRequestLength || record.gameId < 1) return 1;
  wire::PutI32(packet, kTableAt, record.tableNumber);
  PutI64(packet, kIdAt, record.gameId);
  return 0;
}

int DecodeReplayGameRequest(ReplayGameRequestRecord& record, const Packet& packet) {
  if (packet.length < ReplayGameRequestLength) return 1;
  record.tableNumber = wire::GetI32(packet, kTableAt);
  record.gameId = GetI64(packet, kIdAt);
  return record.gameId >= 1 ? 0 : 1;
}

int EncodeReplayGamePart(const ReplayGamePartRecord& record, Packet& packet) {
  if (packet.length < ReplayGamePartLength || !ValidPart(record)) return 1;
  wire::PutI32(packet, kTableAt, record.tableNumber);
  packet.bytes[kKindAt] = static_cast<std::uint8_t>(record.kind);
  packet.bytes[kPartAt] = record.part;
  packet.bytes[kPartsAt] = record.parts;
  packet.bytes[kPartLengthAt] = static_cast<std::uint8_t>(record.bytes.size());
  PutI64(packet, kIdAt, record.gameId);
  wire::PutU32(packet.bytes, kTotalAt, record.totalLength);
  wire::PutU32(packet.bytes, kSumAt, record.checkSum);
  std::copy(record.bytes.begin(), record.bytes.end(),
            packet.bytes.begin() + static_cast<std::ptrdiff_t>(kBytesAt));
  return 0;
}

int DecodeReplayGamePart(ReplayGamePartRecord& record, const Packet& packet) {
  if (packet.length < ReplayGamePartLength) return 1;
  record.tableNumber = wire::GetI32(packet, kTableAt);
  record.kind = static_cast<ReplayKind>(packet.bytes[kKindAt]);
  record.part = packet.bytes[kPartAt];
  record.parts = packet.bytes[kPartsAt];
  const std::size_t length =
      std::min<std::size_t>(packet.bytes[kPartLengthAt], kReplayPartBytes + 1);
  record.gameId = GetI64(packet, kIdAt);
  record.totalLength = wire::GetU32(packet.bytes, kTotalAt);
  record.checkSum = wire::GetU32(packet.bytes, kSumAt);
  // A length past the part's room is read short and then refused.
  const auto first = packet.bytes.begin() + static_cast<std::ptrdiff_t>(kBytesAt);
  record.bytes.assign(first,
                      first + static_cast<std::ptrdiff_t>(std::min(length, kReplayPartBytes)));
  if (length > kReplayPartBytes) return 1;
  return ValidPart(record) ? 0 : 1;
}

}  // namespace quarn
