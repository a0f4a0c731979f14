#include "server/computer_player.h"

#include <algorithm>
#include <span>

#include "ai/decide.h"
#include "ai/players.h"
#include "core/card_error.h"
#include "protocol/packet_builder.h"

namespace quarn::server {

namespace {

ai::PlayEvent EventOf(const TMove& move) {
  ai::PlayEvent event;
  event.seat = move.seat;
  for (std::uint8_t card : std::span(move.cards).first(move.count)) ++event.cards[RankOf(card)];
  event.combo = ClassifyCounts(event.cards, move.count);
  return event;
}

bool MustLead(const TServerTable& table, std::uint32_t seat) {
  return table.LastPlay.Count() == 0 || table.LastPlayer == seat;
}

// Cards of the seat's hand, rank by rank as `wanted` counts them, as a play
// record with the type and key rank the server's own check will find.
std::optional<PlayRecord> PlayOf(const TServerTable& table, std::uint32_t seat, RankCounts wanted) {
  PlayRecord play;
  play.tableNumber = table.Table;
  play.seat = static_cast<std::uint8_t>(seat);
  for (const TPoker& card : table.Players[seat].Hand.Cards()) {
    if (!card.IsPresent() || wanted[card.Rank()] == 0) continue;
    --wanted[card.Rank()];
    play.cards[play.count++] = static_cast<std::uint8_t>(card.Number());
  }
  if (play.count == 0 || std::any_of(wanted.begin(), wanted.end(), [](auto n) { return n > 0; })) {
    return std::nullopt;
  }
  TSelectPoker check;
  check.LoadBytes(play.cards);
  // A choice that is no combination is dropped quietly: the safe move follows.
  {
    const SilencedCardErrors silenced;
    if (check.Classify() == 0) return std::nullopt;
  }
  play.comboType = static_cast<std::uint8_t>(check.Type());
  play.keyRank = check.Key();
  return play;
}

std::optional<Packet> BidPacket(const TServerTable& table, std::uint32_t seat, int points) {
  const BidRecord bid{table.Table, static_cast<std::uint8_t>(seat), points};
  return BuildPacket(points > 0 ? MessageType::BidOffer : MessageType::BidPass, bid);
}

std::optional<Packet> PassPacket(const TServerTable& table, std::uint32_t seat) {
  return BuildPacket(MessageType::PlayPass,
                     SeatRecord{table.Table, static_cast<std::uint8_t>(seat)});
}

std::optional<ai::PlannedPlay> ChoosePlay(const TServerTable& table, std::uint32_t seat,
                                          std::uint64_t seed) {
  if constexpr (QUARN_COMPUTER_FAST != 0) {
    ai::FastPlayer fast;
    return fast.Play(SeatKnowledgeAt(table, seat));
  }
  const ai::Budget budget{.think = kComputerThink, .samples = 0, .seed = seed};
  return ai::DecidePlay(SeatKnowledgeAt(table, seat), ai::Level::Strong, budget);
}

}  // namespace

ai::SeatKnowledge SeatKnowledgeAt(const TServerTable& table, std::uint32_t seat) {
  ai::SeatKnowledge known;
  known.seat = static_cast<int>(seat);
  known.landlord = static_cast<int>(table.Landlord);
  known.points = static_cast<int>(table.HighBid);
  known.hand = CountRanks(table.Players[seat].Hand.Cards());
  for (std::uint32_t s = 0; s < kSeatCount; ++s) {
    known.cardsLeft[s] = table.Players[s].Hand.Count();
  }
  if (seat == table.Landlord && table.Status >= TablePlaying) {
    for (int i = kDealtCards; i < kDeckCards; ++i) ++known.bottom[RankOf(table.Deck[i])];
  }
  known.history.reserve(table.History.size());
  for (const TMove& move : table.History) {
    const ai::PlayEvent event = EventOf(move);
    known.history.push_back(event);
    for (std::size_t rank = 0; rank < event.cards.size(); ++rank) {
      known.played[rank] = static_cast<std::uint8_t>(known.played[rank] + event.cards[rank]);
    }
  }
  if (table.LastPlay.Count() > 0) {
    known.table = table.LastPlay.AsCombination();
    known.tableOwner = static_cast<int>(table.LastPlayer);
  }
  return known;
}

std::optional<Packet> ComputerMove(const TServerTable& table, std::uint32_t seat,
                                   std::uint64_t seed) {
  if (seat >= kSeatCount || table.Turn != seat) return std::nullopt;
  if (table.Status == TableBidding) {
    const RankCounts hand = CountRanks(table.Players[seat].Hand.Cards());
    return BidPacket(table, seat,
                     ai::DecideBid(hand, static_cast<int>(table.HighBid), ai::Level::Strong));
  }
  if (table.Status != TablePlaying) return std::nullopt;
  const std::optional<ai::PlannedPlay> choice = ChoosePlay(table, seat, seed);
  if (!choice) return MustLead(table, seat) ? SafeMove(table, seat) : PassPacket(table, seat);
  const std::optional<PlayRecord> play = PlayOf(table, seat, choice->cards);
  if (!play) return SafeMove(table, seat);
  return BuildPacket(MessageType::PlayCards, *play);
}

std::optional<Packet> SafeMove(const TServerTable& table, std::uint32_t seat) {
  if (seat >= kSeatCount || table.Turn != seat) return std::nullopt;
  if (table.Status == TableBidding) return BidPacket(table, seat, 0);
  if (table.Status != TablePlaying) return std::nullopt;
  if (!MustLead(table, seat)) return PassPacket(table, seat);
  for (const TPoker& card : table.Players[seat].Hand.Cards()) {
    if (!card.IsPresent()) continue;
    RankCounts single{};
    single[card.Rank()] = 1;
    if (const auto play = PlayOf(table, seat, single))
      return BuildPacket(MessageType::PlayCards, *play);
    break;
  }
  return std::nullopt;
}

}  // namespace quarn::server
