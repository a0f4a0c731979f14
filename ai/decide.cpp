#include "ai/decide.h"

#include <algorithm>

#include "ai/candidates.h"
#include "ai/referee.h"
#include "ai/search.h"

namespace quarn::ai {

int DecideBid(const RankCounts& hand, int highBid, Level level) {
  // The search wins far more often as the landlord than the heuristic does
  // (about eight games in ten against heuristic players), so it takes the
  // landlord's seat with weaker hands.
  return ChooseBid(hand, highBid, level == Level::Strong ? kStrongBoldness : 0);
}

TableSituation SituationAt(int seat, int landlord, const std::array<int, kSeats>& cardsLeft,
                           const Combination& toBeat, int tableOwner) {
  const auto partners = [landlord](int a, int b) { return (a == landlord) == (b == landlord); };
  TableSituation s;
  s.table = toBeat;
  s.tableIsPartner = toBeat.count != 0 && partners(tableOwner, seat);
  s.landlordPlaysNext = (seat + 1) % kSeats == landlord;
  if (tableOwner >= 0) s.tableOwnerCards = cardsLeft[static_cast<std::size_t>(tableOwner)];
  for (int other = 0; other < kSeats; ++other) {
    if (other == seat) continue;
    int& fewest = partners(other, seat) ? s.fewestPartnerCards : s.fewestEnemyCards;
    fewest = std::min(fewest, cardsLeft[static_cast<std::size_t>(other)]);
  }
  return s;
}

TableSituation SituationOf(const SeatView& view) {
  return SituationAt(view.seat, view.landlord, view.cardsLeft, view.ToBeat(), view.tableOwner);
}

std::optional<PlannedPlay> DecidePlay(const SeatView& view, Level level, const Budget& budget) {
  const auto start = std::chrono::steady_clock::now();
  if (CardTotal(view.hand) == 0) return std::nullopt;
  if (level == Level::Strong && (budget.samples > 0 || budget.think.count() > 0)) {
    SearchLimits limits;
    limits.samples = budget.samples;
    limits.deadline = start + budget.think;
    limits.seed = budget.seed;
    std::optional<PlannedPlay> choice = Search(view, limits).move;
    if (Legal(view, choice)) return choice;
  }
  return HeuristicPlay(view);
}

std::optional<PlannedPlay> HeuristicPlay(const SeatView& view) {
  if (CardTotal(view.hand) == 0) return std::nullopt;
  std::optional<PlannedPlay> choice = ChoosePlay(view.hand, SituationOf(view));
  if (Legal(view, choice)) return choice;
  // Never a play the referee would refuse, and never a pass where one must lead.
  if (!view.MustLead()) return std::nullopt;
  return PlaysThatBeat(view.hand, Combination{}).front();
}

}  // namespace quarn::ai
