#include "tests/server/harness.h"

#include "core/tselectpoker.h"

namespace quarn::server::testing {

void Harness::Play(std::uint32_t seat, const std::vector<std::uint8_t>& cards) {
  PlayRecord play;
  play.tableNumber = 1;
  play.seat = static_cast<std::uint8_t>(seat);
  play.count = static_cast<std::uint8_t>(cards.size());
  std::copy(cards.begin(), cards.end(), play.cards.begin());
  TSelectPoker check;
  check.LoadBytes(play.cards);
  check.Classify();
  play.comboType = static_cast<std::uint8_t>(check.Type());
  play.keyRank = check.Key();
  Send(SocketOf(seat), MessageType::PlayCards, play);
}

std::uint8_t Harness::LowestCard(std::uint32_t seat) const {
  const THandPoker& hand = table().Players[seat].Hand;
  for (int slot = 0; slot < THandPoker::kSlots; ++slot) {
    if (hand.Card(slot).IsPresent()) return static_cast<std::uint8_t>(hand.Card(slot).Number());
  }
  return 0;
}

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

}  // namespace quarn::server::testing
