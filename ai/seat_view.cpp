#include "ai/seat_view.h"

namespace quarn::ai {

void Record(SeatView& view, const PlayEvent& event) {
  view.history.push_back(event);
  if (event.IsPass()) return;  // a pass leaves the table as it is
  const bool own = event.seat == view.seat;
  for (std::size_t rank = 0; rank < event.cards.size(); ++rank) {
    view.played[rank] = static_cast<std::uint8_t>(view.played[rank] + event.cards[rank]);
    if (own) view.hand[rank] = static_cast<std::uint8_t>(view.hand[rank] - event.cards[rank]);
  }
  view.cardsLeft[static_cast<std::size_t>(event.seat)] -= event.combo.count;
  view.table = event.combo;
  view.tableOwner = event.seat;
}

}  // namespace quarn::ai
