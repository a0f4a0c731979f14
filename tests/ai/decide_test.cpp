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
SeatKnowledge RandomKnowledge(std::mt19937& random) {
  SeatKnowledge known;
  known.seat = static_cast<int>(random() % kSeats);
  known.landlord = static_cast<int>(random() % kSeats);
  known.hand = RandomHand(random, 1 + static_cast<int>(random() % 33));
  for (int& left : known.cardsLeft) left = 1 + static_cast<int>(random() % 33);
  known.cardsLeft[static_cast<std::size_t>(known.seat)] = CardTotal(known.hand);
  if (random() % 4 != 0) {
    const std::vector<Move> moves = LegalRankMoves(RandomHand(random, 12));
    known.table = moves[random() % moves.size()].combo;
    known.tableOwner = static_cast<int>(random() % kSeats);
  }
  return known;
}

// Whatever the position, at every level, the decision is one the referee
// takes: cards held, a named combination that beats the table, and a play
// whenever one must lead.
TEST(Decide, EveryDecisionIsLegal) {
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    const SeatKnowledge known = RandomKnowledge(random);
    const Level level = round % 3 == 0 ? Level::Strong : Level::Basic;
    const std::optional<PlannedPlay> play = DecidePlay(known, level, {{}, 2, 1});
    if (!play) {
      EXPECT_FALSE(known.MustLead());
      continue;
    }
    for (int rank = 0; rank <= kMaxRank; ++rank) EXPECT_LE(play->cards[rank], known.hand[rank]);
    const Combination combo = ClassifyCounts(play->cards, CardTotal(play->cards));
    EXPECT_EQ(combo, play->combo);
    EXPECT_TRUE(Beats(combo, known.ToBeat())) << "round " << round;
  }
}

// Record keeps counts and who leads in step with the game (the search's deals
// check the cards); the referee takes only a play named as what it is; the
// landlord plays after the seat before it.
TEST(Decide, RecordRefereeAndSituation) {
  SeatKnowledge known;
  known.seat = 1;
  known.landlord = 2;
  known.hand = test::Hand("3 3 5");
  known.cardsLeft = {10, 3, 10, 10};
  const RankCounts pair = test::Hand("3 3");
  EXPECT_FALSE(Legal(known, PlannedPlay{pair, {CombinationType::Single, 1, 2}}));
  EXPECT_TRUE(Legal(known, PlannedPlay{pair, ClassifyCounts(pair, 2)}));
  EXPECT_TRUE(SituationOf(known).landlordPlaysNext);
  Record(known, {1, pair, ClassifyCounts(pair, 2)});
  EXPECT_EQ(known.cardsLeft[1], 1);
  EXPECT_TRUE(known.MustLead());  // its own pair lies there
  Record(known, {2, {}, {}});
  EXPECT_EQ(known.tableOwner, 1);
  known.seat = 2;
  EXPECT_EQ(known.ToBeat().count, 2);
  EXPECT_FALSE(SituationOf(known).landlordPlaysNext);
}

// Bids a fixed amount and plays as the heuristic player.
class Bidder final : public Player {
 public:
  explicit Bidder(int bid) : bid_(bid) {}
  int Bid(const RankCounts&, int) override { return bid_; }
  std::optional<PlannedPlay> Play(const SeatKnowledge& known) override {
    return basic_.Play(known);
  }

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
