#include "protocol/pcpdeal.h"

#include <algorithm>

#include "protocol/byte_order.h"

namespace quarn {
namespace {

constexpr std::size_t kTableAt = 32;
constexpr std::size_t kSeatAt = 36;
constexpr std::size_t kCountAt = 37;
constexpr std::size_t kCardsAt = 41;

// Which counts a message allows.
struct CountRule {
  std::uint8_t min;
  std::uint8_t max;
};
constexpr CountRule kDealRule{0, DealHandSize};
constexpr CountRule kExtraRule{ExtraCardCount, ExtraCardCount};
constexpr CountRule kStartRule{1, 1};

bool CountAllowed(std::uint8_t count, CountRule rule) {
  return count >= rule.min && count <= rule.max;
}

// Writes table, seat, count and cards, each after its check, so a refused
// record leaves the fields before the fault written (as the server expects).
int Encode(const DealRecord& r, std::uint8_t count, CountRule rule, Packet& p) {
  if (p.length < DealLength) return 1;
  if (wire::PutTableSeat(p, kTableAt, kSeatAt, r.tableNumber, r.seat) != 0) return 1;
  if (!CountAllowed(count, rule)) return 1;
  p.bytes[kCountAt] = count;
  if (wire::PutCards(p, kCardsAt, std::span(r.cards).first(count)) != 0) return 1;
  return 0;
}

int Decode(DealRecord& r, CountRule rule, const Packet& p) {
  if (p.length < DealLength) return 1;
  if (wire::GetTableSeat(p, kTableAt, kSeatAt, r.tableNumber, r.seat) != 0) return 1;
  r.count = p.bytes[kCountAt];
  if (!CountAllowed(r.count, rule)) return 1;
  r.cards.fill(0);
  if (wire::GetCards(p, kCardsAt, std::span(r.cards).first(r.count)) != 0) return 1;
  return 0;
}

}  // namespace

int EncodeDealCards(const DealRecord& record, Packet& packet) {
  return Encode(record, record.count, kDealRule, packet);
}

int EncodeExtraCards(const DealRecord& record, Packet& packet) {
  return Encode(record, record.count, kExtraRule, packet);
}

int EncodeStartCardNotice(const DealRecord& record, Packet& packet) {
  return Encode(record, 1, kStartRule, packet);
}

int DecodeDealCards(DealRecord& record, const Packet& packet) {
  return Decode(record, kDealRule, packet);
}

int DecodeExtraCards(DealRecord& record, const Packet& packet) {
  return Decode(record, kExtraRule, packet);
}

int DecodeStartCardNotice(DealRecord& record, const Packet& packet) {
  return Decode(record, kStartRule, packet);
}

}  // namespace quarn
