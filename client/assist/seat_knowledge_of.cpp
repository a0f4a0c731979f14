#include "client/assist/seat_knowledge_of.h"

#include <span>

#include "ai/hand_plan.h"

namespace quarn::client {
namespace {

RankCounts CountCards(std::span<const std::uint8_t> numbers) {
  RankCounts counts{};
  for (std::uint8_t number : numbers) {
    if (const int rank = RankOf(number); rank != 0) ++counts[static_cast<std::size_t>(rank)];
  }
  return counts;
}

}  // namespace

ai::SeatKnowledge SeatKnowledgeOf(const TClientTable& table) {
  ai::SeatKnowledge known;
  known.seat = table.OwnSeat;
  known.landlord = table.LordSeat;
  known.points = table.BidPoints;
  known.hand = CountRanks(table.Me.Hand.Cards());
  for (int seat = 0; seat < ai::kSeats; ++seat) {
    const client::TClientPlayer* player = table.PlayerAt(seat);
    known.cardsLeft[static_cast<std::size_t>(seat)] =
        seat == table.OwnSeat ? ai::CardTotal(known.hand) : (player ? player->CardCount() : 0);
  }
  if (table.LordSeat == table.OwnSeat) known.bottom = CountCards(table.BottomCards);
  known.played = table.PlayedBeforeHistory;  // a table restored mid-game
  for (const client::TPlayedCards& seen : table.History) {
    ai::PlayEvent event;
    event.seat = seen.Seat;
    event.cards = CountCards(std::span(seen.Cards).first(static_cast<std::size_t>(seen.Count)));
    event.combo = ClassifyCounts(event.cards, seen.Count);
    known.history.push_back(event);
    for (std::size_t rank = 0; rank < event.cards.size(); ++rank) {
      known.played[rank] = static_cast<std::uint8_t>(known.played[rank] + event.cards[rank]);
    }
  }
  if (table.TableCards.Count() > 0) {
    known.table = table.TableCards.AsCombination();
    known.tableOwner = table.LeadSeat;
  }
  return known;
}

}  // namespace quarn::client
