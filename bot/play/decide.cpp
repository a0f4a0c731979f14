#include "bot/play/decide.h"

#include <algorithm>

#include "bot/play/candidates.h"

namespace quarn::bot {
namespace {

// A play the rules accept here: held, a combination, and beating the table.
bool Playable(const SeatView& view, const PlannedPlay& play) {
  for (std::size_t rank = 0; rank < play.cards.size(); ++rank) {
    if (play.cards[rank] > view.hand[rank]) return false;
  }
  const Combination combo = ClassifyCounts(play.cards, CardTotal(play.cards));
  return combo.type != CombinationType::Unknown && combo == play.combo &&
         Beats(combo, view.ToBeat());
}

}  // namespace

int DecideBid(const RankCounts& hand, int highBid, Level /*level*/) {
  return ChooseBid(hand, highBid);
}

TableSituation SituationOf(const SeatView& view) {
  TableSituation s;
  s.table = view.ToBeat();
  s.tableIsPartner = !view.MustLead() && view.Partners(view.tableOwner, view.seat);
  s.landlordPlaysNext = (view.seat + 1) % kSeats == view.landlord;
  if (view.tableOwner >= 0)
    s.tableOwnerCards = view.cardsLeft[static_cast<std::size_t>(view.tableOwner)];
  for (int seat = 0; seat < kSeats; ++seat) {
    if (seat == view.seat) continue;
    int& fewest = view.Partners(seat, view.seat) ? s.fewestPartnerCards : s.fewestEnemyCards;
    fewest = std::min(fewest, view.cardsLeft[static_cast<std::size_t>(seat)]);
  }
  return s;
}

std::optional<PlannedPlay> DecidePlay(const SeatView& view, Level /*level*/,
                                      const Budget& /*budget*/) {
  if (CardTotal(view.hand) == 0) return std::nullopt;
  std::optional<PlannedPlay> choice = ChoosePlay(view.hand, SituationOf(view));
  if (choice && Playable(view, *choice)) return choice;
  // Never a play the referee would refuse, and never a pass where one must lead.
  if (!view.MustLead()) return std::nullopt;
  return PlaysThatBeat(view.hand, Combination{}).front();
}

}  // namespace quarn::bot
