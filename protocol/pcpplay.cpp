#include "protocol/pcpplay.h"

#include <algorithm>

#include "protocol/byte_order.h"

namespace quarn {
namespace {

constexpr std::size_t kTableAt = 32;
constexpr std::size_t kSeatAt = 36;
constexpr std::size_t kCountAt = 37;
constexpr std::size_t kCardsAt = 38;
constexpr std::size_t kTypeAt = 71;
constexpr std::size_t kKeyRankAt = 72;
constexpr std::size_t kNameAt = 73;

// What a pass looks like: PlayNotice may carry count 0, PlayCards may not.
enum class PassAllowed : bool { No, Yes };

int EncodeFull(const PlayRecord& r, PassAllowed pass, Packet& p) {
  if (p.length < PlayLength) return 1;
  if (wire::PutTableSeat(p, kTableAt, kSeatAt, r.tableNumber, r.seat) != 0) return 1;
  // A play of no cards is only the pass form of PlayNotice; the server's
  // decoder would refuse it anyway, so it is not sent.
  if (r.count > PlayMaxCards || (r.count == 0 && pass == PassAllowed::No)) return 1;
  p.bytes[kCountAt] = r.count;
  if (r.count == 0) return 0;
  if (wire::PutCards(p, kCardsAt, std::span(r.cards).first(r.count)) != 0) return 1;
  p.bytes[kTypeAt] = r.comboType;
  p.bytes[kKeyRankAt] = r.keyRank;
  std::copy(r.comboName.begin(), r.comboName.end(), p.bytes.begin() + kNameAt);
  return 0;
}

int DecodeFull(PlayRecord& r, PassAllowed pass, const Packet& p) {
  if (p.length < PlayLength) return 1;
  if (wire::GetTableSeat(p, kTableAt, kSeatAt, r.tableNumber, r.seat) != 0) return 1;
  r.count = p.bytes[kCountAt];
  r.cards.fill(0);
  if (r.count == 0 && pass == PassAllowed::Yes) {
    // A pass carries no combination; nothing stale may remain in the record.
    r.comboType = r.keyRank = 0;
    r.comboName.fill(0);
    return 0;
  }
  if (r.count == 0 || r.count > PlayMaxCards) return 1;
  if (wire::GetCards(p, kCardsAt, std::span(r.cards).first(r.count)) != 0) return 1;
  r.comboType = p.bytes[kTypeAt];
  r.keyRank = p.bytes[kKeyRankAt];
  std::copy_n(p.bytes.begin() + kNameAt, ComboNameSize, r.comboName.begin());
  return 0;
}

int EncodeShort(const SeatRecord& r, Packet& p) {
  if (p.length < PlayLength) return 1;
  if (wire::PutTableSeat(p, kTableAt, kSeatAt, r.tableNumber, r.seat) != 0) return 1;
  return 0;
}

int DecodeShort(SeatRecord& r, const Packet& p) {
  if (p.length < PlayLength) return 1;
  return wire::GetTableSeat(p, kTableAt, kSeatAt, r.tableNumber, r.seat);
}

}  // namespace

int EncodePlayCards(const PlayRecord& record, Packet& packet) {
  return EncodeFull(record, PassAllowed::No, packet);
}

int DecodePlayCards(PlayRecord& record, const Packet& packet) {
  return DecodeFull(record, PassAllowed::No, packet);
}

int EncodePlayNotice(const PlayRecord& record, Packet& packet) {
  return EncodeFull(record, PassAllowed::Yes, packet);
}

int DecodePlayNotice(PlayRecord& record, const Packet& packet) {
  return DecodeFull(record, PassAllowed::Yes, packet);
}

int EncodePlayPass(const SeatRecord& record, Packet& packet) {
  return EncodeShort(record, packet);
}
int EncodePlayTurn(const SeatRecord& record, Packet& packet) {
  return EncodeShort(record, packet);
}
int DecodePlayPass(SeatRecord& record, const Packet& packet) {
  return DecodeShort(record, packet);
}
int DecodePlayTurn(SeatRecord& record, const Packet& packet) {
  return DecodeShort(record, packet);
}

}  // namespace quarn
