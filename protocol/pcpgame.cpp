#include "protocol/pcpgame.h"

#include "protocol/byte_order.h"

namespace quarn {
namespace {

constexpr std::size_t kTableAt = 32;
constexpr std::size_t kNameLengthAt = 36;
constexpr std::size_t kNameAt = 52;
constexpr std::size_t kRoundsAt = 116;
constexpr std::size_t kScoreAt = 132;
constexpr std::size_t kServiceIconAt = 148;
constexpr std::size_t kHeadIconAt = 164;
constexpr std::size_t kSeatAt = 180;  // GameEnd's winner, PlayerLeave's vacated seat
constexpr std::size_t kNameFieldSize = 16;

std::size_t Word(std::size_t base, std::size_t seat) {
  return base + 4 * seat;
}

bool NameLengthValid(std::int32_t length) {
  return length >= 1 && length <= 15;
}

void PutSeat(const GameEndRecord& r, std::size_t seat, Packet& p) {
  wire::PutI32(p, Word(kNameLengthAt, seat), r.nameLength[seat]);
  wire::PutText(p, kNameAt + kNameFieldSize * seat, kNameFieldSize, r.name[seat]);
  wire::PutI32(p, Word(kRoundsAt, seat), r.rounds[seat]);
  wire::PutI32(p, Word(kScoreAt, seat), BiasedScore(r.score[seat]));
  wire::PutI32(p, Word(kServiceIconAt, seat), r.serviceIcon[seat]);
  wire::PutI32(p, Word(kHeadIconAt, seat), r.headIcon[seat]);
}

void GetSeat(GameEndRecord& r, std::size_t seat, const Packet& p) {
  r.nameLength[seat] = wire::GetI32(p, Word(kNameLengthAt, seat));
  r.name[seat] = wire::GetText(p, kNameAt + kNameFieldSize * seat, kNameFieldSize);
  r.rounds[seat] = wire::GetI32(p, Word(kRoundsAt, seat));
  r.score[seat] = UnbiasedScore(wire::GetI32(p, Word(kScoreAt, seat)));
  r.serviceIcon[seat] = wire::GetI32(p, Word(kServiceIconAt, seat));
  r.headIcon[seat] = wire::GetI32(p, Word(kHeadIconAt, seat));
}

}  // namespace

int EncodeGameEnd(const GameEndRecord& record, Packet& packet) {
  if (packet.length < GameLength) return 1;
  wire::PutI32(packet, kTableAt, record.tableNumber);
  for (std::size_t seat = 0; seat < 4; ++seat) {
    if (!NameLengthValid(record.nameLength[seat])) return 1;
    PutSeat(record, seat, packet);
  }
  if (record.winner >= 4) return 1;
  packet.bytes[kSeatAt] = record.winner;
  return 0;
}

int DecodeGameEnd(GameEndRecord& record, const Packet& packet) {
  if (packet.length < GameLength) return 1;
  record.tableNumber = wire::GetI32(packet, kTableAt);
  for (std::size_t seat = 0; seat < 4; ++seat) {
    GetSeat(record, seat, packet);
    if (!NameLengthValid(record.nameLength[seat])) return 1;
  }
  record.winner = packet.bytes[kSeatAt];
  return record.winner >= 4 ? 1 : 0;
}

int EncodePlayerLeave(const SeatRecord& record, Packet& packet) {
  if (packet.length < GameLength) return 1;
  wire::PutI32(packet, kTableAt, record.tableNumber);
  if (record.seat >= 4) return 1;
  packet.bytes[kSeatAt] = record.seat;
  return 0;
}

int DecodePlayerLeave(SeatRecord& record, const Packet& packet) {
  if (packet.length < GameLength) return 1;
  record.tableNumber = wire::GetI32(packet, kTableAt);
  record.seat = packet.bytes[kSeatAt];
  return record.seat >= 4 ? 1 : 0;
}

int EncodeGameSpare(Packet& packet) {
  return packet.length < GameLength ? 1 : 0;
}
int DecodeGameSpare(const Packet& packet) {
  return packet.length < GameLength ? 1 : 0;
}

}  // namespace quarn
