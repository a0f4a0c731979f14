#include "bot/play/decide.h"

#include <gtest/gtest.h>

#include <random>

#include "bot/play/candidates.h"
#include "core/movegen.h"
#include "hand_text.h"

namespace quarn::bot {
namespace {

using testing::RandomHand;

// A random position: own hand, a table laid by a random seat (or none).
SeatView RandomView(std::mt19937& random) {
  SeatView view;
  view.seat = static_cast<int>(random() % kSeats);
  view.landlord = static_cast<int>(random() % kSeats);
  view.hand = RandomHand(random, 1 + static_cast<int>(random() % 33));
  for (int& left : view.cardsLeft) left = 1 + static_cast<int>(random() % 33);
  view.cardsLeft[static_cast<std::size_t>(view.seat)] = CardTotal(view.hand);
  if (random() % 4 != 0) {
    const std::vector<Move> moves = LegalRankMoves(RandomHand(random, 12));
    view.table = moves[random() % moves.size()].combo;
    view.tableOwner = static_cast<int>(random() % kSeats);
  }
  return view;
}

// Whatever the position, at every level, the decision is one the referee
// takes: cards held, a named combination that beats the table, and a play
// whenever one must lead.
TEST(Decide, EveryDecisionIsLegal) {
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    const SeatView view = RandomView(random);
    const Level level = round % 3 == 0 ? Level::Strong : Level::Basic;
    const std::optional<PlannedPlay> play = DecidePlay(view, level, {{}, 2, 1});
    if (!play) {
      EXPECT_FALSE(view.MustLead());
      continue;
    }
    for (int rank = 0; rank <= kMaxRank; ++rank) EXPECT_LE(play->cards[rank], view.hand[rank]);
    const Combination combo = ClassifyCounts(play->cards, CardTotal(play->cards));
    EXPECT_EQ(combo, play->combo);
    EXPECT_TRUE(Beats(combo, view.ToBeat())) << "round " << round;
  }
}

// Record keeps the view in step with the game: cards, counts and who leads.
TEST(Decide, RecordFollowsPlaysAndPasses) {
  SeatView view;
  view.seat = 1;
  view.hand = testing::Hand("3 3 5");
  view.cardsLeft = {10, 3, 10, 10};
  const RankCounts pair = testing::Hand("3 3");
  Record(view, {1, pair, ClassifyCounts(pair, 2)});
  EXPECT_EQ(view.hand, testing::Hand("5"));
  EXPECT_EQ(view.cardsLeft[1], 1);
  EXPECT_EQ(view.played, pair);
  EXPECT_TRUE(view.MustLead());  // its own pair lies there
  Record(view, {2, {}, {}});
  EXPECT_EQ(view.tableOwner, 1);
  view.seat = 2;
  EXPECT_EQ(view.ToBeat().count, 2);
}

}  // namespace
}  // namespace quarn::bot
