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

TableSituation SituationOf(const SeatKnowledge& known) {
  return SituationAt(known.seat, known.landlord, known.cardsLeft, known.ToBeat(), known.tableOwner);
}

std::optional<PlannedPlay> DecidePlay(const SeatKnowledge& known, Level level,
                                      const Budget& budget) {
  const auto start = std::chrono::steady_clock::now();
  if (CardTotal(known.hand) == 0) return std::nullopt;
  if (level == Level::Strong && (budget.samples > 0 || budget.think.count() > 0)) {
    SearchLimits limits;
    limits.samples = budget.samples;
    limits.deadline = start + budget.think;
    limits.seed = budget.seed;
    std::optional<PlannedPlay> choice = Search(known, limits).move;
    if (Legal(known, choice)) return choice;
  }
  return HeuristicPlay(known);
}

std::optional<PlannedPlay> HeuristicPlay(const SeatKnowledge& known) {
  if (CardTotal(known.hand) == 0) return std::nullopt;
  std::optional<PlannedPlay> choice = ChoosePlay(known.hand, SituationOf(known));
  if (Legal(known, choice)) return choice;
  // Never a play the referee would refuse, and never a pass where one must lead.
  if (!known.MustLead()) return std::nullopt;
  return PlaysThatBeat(known.hand, Combination{}).front();
}

}  // namespace quarn::ai
