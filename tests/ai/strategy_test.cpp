#include "ai/strategy.h"

#include <gtest/gtest.h>

#include <random>

#include "ai/hand_plan.h"
#include "tests/support/hand_text.h"

namespace quarn::ai {
namespace {

using test::Hand;
using test::RandomHand;

Combination Table(const std::string& cards) {
  RankCounts counts = Hand(cards);
  return ClassifyCounts(counts, CardTotal(counts));
}

TEST(HandPlan, SplitsIntoLegalPlaysThatHoldTheWholeHand) {
  std::mt19937 random(7);
  for (int deal = 0; deal < 500; ++deal) {
    const RankCounts hand = RandomHand(random, deal % 2 ? 25 : 33);
    RankCounts sum{};
    for (const PlannedPlay& play : SplitHand(hand)) {
      EXPECT_NE(play.combo.type, CombinationType::Unknown) << "deal " << deal;
      EXPECT_EQ(play.combo, ClassifyCounts(play.cards, CardTotal(play.cards)));
      for (int r = 0; r <= kMaxRank; ++r)
        sum[r] = static_cast<std::uint8_t>(sum[r] + play.cards[r]);
    }
    EXPECT_EQ(sum, hand) << "deal " << deal;
  }
}

TEST(HandPlan, KeepsBombsAndBuildsRunsPlanesAndPairs) {
  // Four jokers, a bomb of five 9s, triples 3 4 with pairs 10 and K, a run of
  // pairs 5 6 7, and a lone A.
  const auto plan = SplitHand(Hand("s s B B 9 9 9 9 9 3 3 3 4 4 4 10 10 K K 5 5 6 6 7 7 A"));
  std::vector<Combination> combos;
  for (const PlannedPlay& play : plan) combos.push_back(play.combo);
  const std::vector<Combination> expected = {
      {CombinationType::KingBomb, 15, 4}, {CombinationType::Bomb, 7, 5},
      {CombinationType::Rocket, 5, 6},    {CombinationType::Plane, 2, 10},
      {CombinationType::Single, 12, 1},
  };
  EXPECT_EQ(combos, expected);
  // Without spare pairs the triples stay a run of triples; two pairs (no
  // legal run) stay two pairs.
  const auto bare = SplitHand(Hand("3 3 3 4 4 4 9"));
  ASSERT_EQ(bare.size(), 2u);
  EXPECT_EQ(bare[0].combo, (Combination{CombinationType::Missle, 2, 6}));
  EXPECT_EQ(SplitHand(Hand("9 9 10 10")).size(), 2u);
}

std::string Shown(const std::optional<PlannedPlay>& play) {
  if (!play) return "pass";
  return std::string(CombinationTypeName(play->combo.type)) + " " +
         std::to_string(play->combo.key) + " " + std::to_string(play->combo.count);
}

// Leads: the weakest first, bombs kept, out in one when the hand is one play,
// no singles before an opponent with one card, a partner close to going out
// fed. Follows: the cheapest play that keeps the hand whole, a partner's play
// left standing, a bomb only when it matters.
TEST(Strategy, ChoosesByTheRules) {
  const std::string bomb = "8 J 4 4 4 4 K 3 5 7 9 Q 10 10";
  const struct {
    std::string hand, table;
    int ownerCards, fewestEnemy, fewestPartner;
    bool partner, landlordNext;
    const char* expected;
  } cases[] = {
      {"3 5 5 K K K 2 2 2 2", "", 0, 20, 33, false, false, "Single 1 1"},
      {"3 3 4 4 5 5 9", "", 0, 20, 33, false, false, "Rocket 3 6"},
      {"s s B B 6 6 6 6 6 7 7 7 7", "", 0, 20, 33, false, false, "Bomb 5 4"},
      {"9 9 9 9 9", "", 0, 20, 33, false, false, "Bomb 7 5"},
      {"3 3 3 J J", "", 0, 20, 33, false, false, "Plane 1 5"},
      {"3 7 7 Q", "", 0, 1, 33, false, false, "Rocket 5 2"},
      {"3 7 Q", "", 0, 1, 33, false, false, "Single 10 1"},
      {"3 3 3 3 5 8 8 8 J J", "", 0, 10, 1, false, false, "Single 3 1"},
      {"5 8 8 8 J J", "", 0, 10, 2, false, false, "Rocket 6 2"},
      {"5 8 8 8 J J", "", 0, 1, 1, false, false, "Plane 6 5"},
      {"6 6 9 K", "5", 20, 20, 33, false, false, "Single 7 1"},
      {"4 4 8 8 J J A", "7 7", 20, 20, 33, false, false, "Rocket 6 2"},
      {"3 4 5 6", "9 9 9", 20, 20, 33, false, false, "pass"},
      {bomb, "7", 20, 20, 33, true, false, "pass"},
      {"Q", "7", 20, 20, 33, true, false, "Single 10 1"},
      {"3 4 4 8 K K 2 9", "5", 20, 20, 33, true, true, "Single 13 1"},
      {"3 4 4 8 K K", "5", 20, 20, 33, true, true, "pass"},
      {"3 4 4 8 K K 2 9", "J", 20, 20, 33, true, true, "pass"},
      {bomb, "A A", 20, 20, 33, false, false, "pass"},
      {bomb, "A A", 4, 20, 33, false, false, "Bomb 2 4"},
      {bomb, "9", 20, 20, 33, false, false, "Single 9 1"},
  };
  for (const auto& c : cases) {
    TableSituation s;
    s.table = Table(c.table);
    s.tableOwnerCards = c.ownerCards;
    s.fewestEnemyCards = c.fewestEnemy;
    s.fewestPartnerCards = c.fewestPartner;
    s.tableIsPartner = c.partner;
    s.landlordPlaysNext = c.landlordNext;
    EXPECT_EQ(Shown(ChoosePlay(Hand(c.hand), s)), c.expected) << c.hand << " on " << c.table;
  }
}

TEST(Strategy, EveryChoiceIsLegalAndBeatsTheTable) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 400; ++trial) {
    const RankCounts hand = RandomHand(random, 1 + trial % 33);
    const RankCounts other = RandomHand(random, 1 + (trial * 7) % 12);
    TableSituation s;
    s.table = ChooseLead(other, 20).combo;
    s.tableOwnerCards = trial % 10;
    s.fewestEnemyCards = trial % 6;
    for (bool lead : {true, false}) {
      TableSituation now = s;
      if (lead) now.table = {};
      std::optional<PlannedPlay> play = ChoosePlay(hand, now);
      if (lead) {
        ASSERT_TRUE(play) << "trial " << trial;
      }
      if (!play) continue;
      EXPECT_EQ(play->combo, ClassifyCounts(play->cards, CardTotal(play->cards)));
      EXPECT_NE(play->combo.type, CombinationType::Unknown);
      EXPECT_TRUE(Beats(play->combo, now.table)) << "trial " << trial;
      for (int r = 0; r <= kMaxRank; ++r) EXPECT_LE(play->cards[r], hand[r]);
    }
  }
}

TEST(Strategy, BidsFromTheStrengthOfTheHand) {
  const RankCounts strong = Hand("s B B 2 2 2 A A A 9 9 9 9 9 3 3 3 3 K K Q Q J J 10");
  const RankCounts weak = Hand("3 3 4 5 5 6 7 7 8 9 9 10 J J Q Q K 4 6 8 10 3 5 7 4");
  EXPECT_EQ(HandWorth(strong), 30);
  EXPECT_EQ(ChooseBid(strong, 1), 30);
  EXPECT_EQ(ChooseBid(strong, 30), 0);  // an equal bid would not count
  EXPECT_EQ(HandWorth(weak), 0);
  EXPECT_EQ(ChooseBid(weak, 1), 0);
}

}  // namespace
}  // namespace quarn::ai
