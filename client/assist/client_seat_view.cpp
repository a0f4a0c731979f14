#include "client/assist/client_seat_view.h"

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

ai::SeatView SeatViewOf(const TClientTable& table) {
  ai::SeatView view;
  view.seat = table.OwnSeat;
  view.landlord = table.LordSeat;
  view.points = table.BidPoints;
  view.hand = CountRanks(table.Me.Hand.Cards());
  for (int seat = 0; seat < ai::kSeats; ++seat) {
    const client::TClientPlayer* player = table.PlayerAt(seat);
    view.cardsLeft[static_cast<std::size_t>(seat)] =
        seat == table.OwnSeat ? ai::CardTotal(view.hand) : (player ? player->CardCount() : 0);
  }
  if (table.LordSeat == table.OwnSeat) view.bottom = CountCards(table.BottomCards);
  view.played = table.PlayedBeforeHistory;  // a table restored mid-game
  for (const client::TPlayedCards& seen : table.History) {
    ai::PlayEvent event;
    event.seat = seen.Seat;
    event.cards = CountCards(std::span(seen.Cards).first(static_cast<std::size_t>(seen.Count)));
    event.combo = ClassifyCounts(event.cards, seen.Count);
    view.history.push_back(event);
    for (std::size_t rank = 0; rank < event.cards.size(); ++rank) {
      view.played[rank] = static_cast<std::uint8_t>(view.played[rank] + event.cards[rank]);
    }
  }
  if (table.TableCards.Count() > 0) {
    view.table = table.TableCards.AsCombination();
    view.tableOwner = table.LeadSeat;
  }
  return view;
}

}  // namespace quarn::client
