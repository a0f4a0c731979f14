#include "protocol/pcpauto.h"

#include <algorithm>

#include "protocol/byte_order.h"

namespace quarn {
namespace {

constexpr std::size_t kTableAt = 32;
constexpr std::size_t kSeatAt = 36;
constexpr std::size_t kControlAt = 37;
constexpr std::size_t kSeatsAt = 40;
constexpr std::size_t kTurnMsAt = 40;
constexpr std::size_t kLeftMsAt = 44;

bool IsControl(SeatControl control) {
  return control <= SeatControl::PlayerGone;
}

bool ValidRequest(const AutoPlayRecord& r) {
  return r.seat < 4 && (r.control == SeatControl::Person || r.control == SeatControl::OnRequest);
}

bool ValidNotice(const AutoPlayRecord& r) {
  return r.seat < 4 && std::all_of(r.seats.begin(), r.seats.end(), IsControl) &&
         r.seats[r.seat] == r.control;
}

bool ValidClock(const TurnClockRecord& r) {
  return r.seat < 4 && r.turnMs > 0 && r.leftMs >= 0 && r.leftMs <= r.turnMs;
}

void PutHead(const AutoPlayRecord& r, Packet& p) {
  wire::PutI32(p, kTableAt, r.tableNumber);
  p.bytes[kSeatAt] = r.seat;
  p.bytes[kControlAt] = static_cast<std::uint8_t>(r.control);
}

void GetHead(AutoPlayRecord& r, const Packet& p) {
  r.tableNumber = wire::GetI32(p, kTableAt);
  r.seat = p.bytes[kSeatAt];
  r.control = static_cast<SeatControl>(p.bytes[kControlAt]);
}

}  // namespace

int EncodeAutoPlayRequest(const AutoPlayRecord& record, Packet& packet) {
  if (packet.length < AutoPlayRequestLength || !ValidRequest(record)) return 1;
  PutHead(record, packet);
  return 0;
}

int DecodeAutoPlayRequest(AutoPlayRecord& record, const Packet& packet) {
  if (packet.length < AutoPlayRequestLength) return 1;
  GetHead(record, packet);
  record.seats = {};
  return ValidRequest(record) ? 0 : 1;
}

int EncodeAutoPlayNotice(const AutoPlayRecord& record, Packet& packet) {
  if (packet.length < AutoPlayNoticeLength || !ValidNotice(record)) return 1;
  PutHead(record, packet);
  for (std::size_t seat = 0; seat < record.seats.size(); ++seat) {
    packet.bytes[kSeatsAt + seat] = static_cast<std::uint8_t>(record.seats[seat]);
  }
  return 0;
}

int DecodeAutoPlayNotice(AutoPlayRecord& record, const Packet& packet) {
  if (packet.length < AutoPlayNoticeLength) return 1;
  GetHead(record, packet);
  for (std::size_t seat = 0; seat < record.seats.size(); ++seat) {
    record.seats[seat] = static_cast<SeatControl>(packet.bytes[kSeatsAt + seat]);
  }
  return ValidNotice(record) ? 0 : 1;
}

int EncodeTurnClock(const TurnClockRecord& record, Packet& packet) {
  if (packet.length < TurnClockLength || !ValidClock(record)) return 1;
  wire::PutI32(packet, kTableAt, record.tableNumber);
  packet.bytes[kSeatAt] = record.seat;
  wire::PutI32(packet, kTurnMsAt, record.turnMs);
  wire::PutI32(packet, kLeftMsAt, record.leftMs);
  return 0;
}

int DecodeTurnClock(TurnClockRecord& record, const Packet& packet) {
  if (packet.length < TurnClockLength) return 1;
  record.tableNumber = wire::GetI32(packet, kTableAt);
  record.seat = packet.bytes[kSeatAt];
  record.turnMs = wire::GetI32(packet, kTurnMsAt);
  record.leftMs = wire::GetI32(packet, kLeftMsAt);
  return ValidClock(record) ? 0 : 1;
}

}  // namespace quarn
