#include "protocol/pcpbid.h"

#include "protocol/byte_order.h"

namespace quarn {
namespace {

constexpr std::size_t kTableAt = 32;
constexpr std::size_t kSeatAt = 36;
constexpr std::size_t kPointsAt = 37;

// All five bid messages share this body; points travel as one byte.
int Encode(const BidRecord& r, Packet& p) {
  if (p.length < BidLength) return 1;
  wire::PutI32(p, kTableAt, r.tableNumber);
  p.bytes[kSeatAt] = r.seat;
  p.bytes[kPointsAt] = static_cast<std::uint8_t>(r.points & 0xFF);
  return r.seat >= 4 ? 1 : 0;
}

int Decode(BidRecord& r, const Packet& p) {
  if (p.length < BidLength) return 1;
  r.tableNumber = wire::GetI32(p, kTableAt);
  r.seat = p.bytes[kSeatAt];
  r.points = p.bytes[kPointsAt];
  return r.seat >= 4 ? 1 : 0;
}

}  // namespace

int EncodeBidStart(const BidRecord& record, Packet& packet) {
  return Encode(record, packet);
}
int EncodeBidTurn(const BidRecord& record, Packet& packet) {
  return Encode(record, packet);
}
int EncodeBidResult(const BidRecord& record, Packet& packet) {
  return Encode(record, packet);
}
int EncodeBidPass(const BidRecord& record, Packet& packet) {
  return Encode(record, packet);
}
int EncodeBidOffer(const BidRecord& record, Packet& packet) {
  return Encode(record, packet);
}

int DecodeBidStart(BidRecord& record, const Packet& packet) {
  return Decode(record, packet);
}
int DecodeBidTurn(BidRecord& record, const Packet& packet) {
  return Decode(record, packet);
}
int DecodeBidResult(BidRecord& record, const Packet& packet) {
  return Decode(record, packet);
}
int DecodeBidPass(BidRecord& record, const Packet& packet) {
  return Decode(record, packet);
}
int DecodeBidOffer(BidRecord& record, const Packet& packet) {
  return Decode(record, packet);
}

}  // namespace quarn
