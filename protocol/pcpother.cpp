#include "protocol/pcpother.h"

#include "protocol/byte_order.h"

namespace quarn {
namespace {

constexpr std::size_t kTableAt = 32;
constexpr std::size_t kServiceIconAt = 36;
constexpr std::size_t kHeadIconAt = 40;
constexpr std::size_t kSeatAt = 44;

int Encode(const IconRecord& r, Packet& p) {
  if (p.length < OtherLength) return 1;
  wire::PutI32(p, kTableAt, r.tableNumber);
  if (r.seat >= 4) return 1;
  wire::PutI32(p, kServiceIconAt, r.serviceIcon);
  wire::PutI32(p, kHeadIconAt, r.headIcon);
  p.bytes[kSeatAt] = r.seat;
  return 0;
}

int Decode(IconRecord& r, const Packet& p) {
  if (p.length < OtherLength) return 1;
  if (wire::GetTableSeat(p, kTableAt, kSeatAt, r.tableNumber, r.seat) != 0) return 1;
  r.serviceIcon = wire::GetI32(p, kServiceIconAt);
  r.headIcon = wire::GetI32(p, kHeadIconAt);
  return 0;
}

}  // namespace

int EncodeIconChange(const IconRecord& record, Packet& packet) {
  return Encode(record, packet);
}
int EncodeIconChangeAlt(const IconRecord& record, Packet& packet) {
  return Encode(record, packet);
}
int EncodeIconNotice(const IconRecord& record, Packet& packet) {
  return Encode(record, packet);
}
int EncodeIconNoticeAlt(const IconRecord& record, Packet& packet) {
  return Encode(record, packet);
}
int DecodeIconChange(IconRecord& record, const Packet& packet) {
  return Decode(record, packet);
}
int DecodeIconChangeAlt(IconRecord& record, const Packet& packet) {
  return Decode(record, packet);
}
int DecodeIconNotice(IconRecord& record, const Packet& packet) {
  return Decode(record, packet);
}
int DecodeIconNoticeAlt(IconRecord& record, const Packet& packet) {
  return Decode(record, packet);
}

}  // namespace quarn
