#include "ai/decide.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "ai/candidates.h"
#include "ai/players.h"
#include "ai/referee.h"
#include "core/movegen.h"
#include "tests/support/hand_text.h"

namespace quarn::ai {
namespace {

using test::RandomHand;

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

// Record keeps the view in step with the game: cards, counts and who leads;
// the referee takes only a play named as what it is; the landlord plays
// after the seat before it.
TEST(Decide, RecordRefereeAndSituation) {
  SeatView view;
  view.seat = 1;
  view.landlord = 2;
  view.hand = test::Hand("3 3 5");
  view.cardsLeft = {10, 3, 10, 10};
  const RankCounts pair = test::Hand("3 3");
  EXPECT_FALSE(Legal(view, PlannedPlay{pair, {CombinationType::Single, 1, 2}}));
  EXPECT_TRUE(Legal(view, PlannedPlay{pair, ClassifyCounts(pair, 2)}));
  EXPECT_TRUE(SituationOf(view).landlordPlaysNext);
  Record(view, {1, pair, ClassifyCounts(pair, 2)});
  EXPECT_EQ(view.hand, test::Hand("5"));
  EXPECT_EQ(view.cardsLeft[1], 1);
  EXPECT_EQ(view.played, pair);
  EXPECT_TRUE(view.MustLead());  // its own pair lies there
  Record(view, {2, {}, {}});
  EXPECT_EQ(view.tableOwner, 1);
  view.seat = 2;
  EXPECT_EQ(view.ToBeat().count, 2);
  EXPECT_FALSE(SituationOf(view).landlordPlaysNext);
}

// Bids a fixed amount and plays as the heuristic player.
class Bidder final : public Player {
 public:
  explicit Bidder(int bid) : bid_(bid) {}
  int Bid(const RankCounts&, int) override { return bid_; }
  std::optional<PlannedPlay> Play(const SeatView& view) override { return basic_.Play(view); }

 private:
  int bid_;
  BasicPlayer basic_;
};

// Each seat bids once from the starting seat on and an equal bid does not
// count; the landlord wins or loses three times the points, the others once.
TEST(Decide, TheRefereesBiddingAndScores) {
  for (std::uint64_t seed : {1, 2, 3, 4}) {
    const int start = DealCards(seed).startSeat;
    std::array<int, kSeats> bids{};
    bids[static_cast<std::size_t>((start + 1) % kSeats)] = 20;
    bids[static_cast<std::size_t>((start + 2) % kSeats)] = seed == 4 ? 0 : 20;
    if (seed == 3) bids = {};
    std::array<Bidder, kSeats> players{Bidder(bids[0]), Bidder(bids[1]), Bidder(bids[2]),
                                       Bidder(bids[3])};
    const GameResult result =
        PlayGame({&players[0], &players[1], &players[2], &players[3]}, {seed, true});
    EXPECT_EQ(result.landlord, seed == 3 ? start : (start + 1) % kSeats) << seed;
    EXPECT_EQ(result.points, seed == 3 ? 10 : 20);
    EXPECT_EQ(result.refusals, 0);
    const int lord = result.score[static_cast<std::size_t>(result.landlord)];
    EXPECT_EQ(std::abs(lord), 3 * result.points);
    int sum = 0;
    for (int score : result.score) sum += score;
    EXPECT_EQ(sum, 0);
  }
}

}  // namespace
}  // namespace quarn::ai
