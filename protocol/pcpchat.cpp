#include "protocol/pcpchat.h"

#include "protocol/byte_order.h"

namespace quarn {
namespace {

constexpr std::size_t kTableAt = 32;
constexpr std::size_t kSeatAt = 36;
constexpr std::size_t kTextAt = 37;

int Encode(const ChatRecord& r, Packet& p) {
  if (p.length < ChatLength) return 1;
  if (wire::PutTableSeat(p, kTableAt, kSeatAt, r.tableNumber, r.seat) != 0) return 1;
  wire::PutText(p, kTextAt, ChatFieldSize, r.text);
  return 0;
}

int Decode(ChatRecord& r, const Packet& p) {
  if (p.length < ChatLength) return 1;
  if (wire::GetTableSeat(p, kTableAt, kSeatAt, r.tableNumber, r.seat) != 0) return 1;
  r.text = wire::GetText(p, kTextAt, ChatFieldSize);
  return 0;
}

}  // namespace

int EncodeChatSay(const ChatRecord& record, Packet& packet) {
  return Encode(record, packet);
}
int EncodeChatNotice(const ChatRecord& record, Packet& packet) {
  return Encode(record, packet);
}
int DecodeChatSay(ChatRecord& record, const Packet& packet) {
  return Decode(record, packet);
}
int DecodeChatNotice(ChatRecord& record, const Packet& packet) {
  return Decode(record, packet);
}

}  // namespace quarn
