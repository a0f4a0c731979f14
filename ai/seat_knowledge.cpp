#include "ai/seat_knowledge.h"

namespace quarn::ai {

void Record(SeatKnowledge& known, const PlayEvent& event) {
  known.history.push_back(event);
  if (event.IsPass()) return;  // a pass leaves the table as it is
  const bool own = event.seat == known.seat;
  for (std::size_t rank = 0; rank < event.cards.size(); ++rank) {
    known.played[rank] = static_cast<std::uint8_t>(known.played[rank] + event.cards[rank]);
    if (own) known.hand[rank] = static_cast<std::uint8_t>(known.hand[rank] - event.cards[rank]);
  }
  known.cardsLeft[static_cast<std::size_t>(event.seat)] -= event.combo.count;
  known.table = event.combo;
  known.tableOwner = event.seat;
}

}  // namespace quarn::ai
