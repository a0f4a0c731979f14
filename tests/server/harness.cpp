#include "tests/server/harness.h"

namespace quarn::server::testing {

std::vector<MessageType> Kinds(const std::vector<SentPacket>& sent) {
  std::vector<MessageType> kinds;
  for (const SentPacket& packet : sent) kinds.push_back(Kind(packet));
  return kinds;
}

std::vector<SentPacket> OfKind(const std::vector<SentPacket>& sent, MessageType type) {
  std::vector<SentPacket> out;
  for (const SentPacket& packet : sent) {
    if (Kind(packet) == type) out.push_back(packet);
  }
  return out;
}

void Harness::SeatFour() {
  for (ConnectionId id = 1; id <= 4; ++id) {
    Open(id);
    Login(id, std::string(1, static_cast<char>('A' + id - 1)), static_cast<std::uint8_t>(id - 1));
  }
}

void Harness::Bid(std::uint32_t seat, int points) {
  const BidRecord bid{1, static_cast<std::uint8_t>(seat), points};
  Send(SocketOf(seat), points == 0 ? MessageType::BidPass : MessageType::BidOffer, bid);
}

void Harness::PlayLowest(std::uint32_t seat, std::int32_t number) {
  const THandPoker& hand = table(number).Players[seat].Hand;
  int slot = 0;
  while (!hand.Card(slot).IsPresent()) ++slot;
  PlayRecord play{.tableNumber = number, .seat = static_cast<std::uint8_t>(seat), .count = 1};
  play.cards[0] = static_cast<std::uint8_t>(hand.Card(slot).Number());
  play.comboType = static_cast<std::uint8_t>(CombinationType::Single);
  play.keyRank = static_cast<std::uint8_t>(hand.Card(slot).Rank());
  Send(SocketOf(seat, number), MessageType::PlayCards, play);
}

void Harness::LandlordLeads(std::int32_t number) {
  const TServerTable& t = table(number);
  if (t.Status != TablePlaying) return;
  t.Turn == t.Landlord ? PlayLowest(t.Turn, number) : Pass(t.Turn, number);
}

}  // namespace quarn::server::testing
