#include "bot/play/strategy.h"

#include <gtest/gtest.h>

#include <random>

#include "bot/play/hand_plan.h"
#include "hand_text.h"

namespace quarn::bot {
namespace {

using testing::Hand;
using testing::RandomHand;

Combination Table(const std::string& cards) {
  RankCounts counts = Hand(cards);
  return ClassifyCounts(counts, CardTotal(counts));
}

TableSituation Against(const std::string& cards, int ownerCards = 20, bool partner = false) {
  TableSituation s;
  s.table = Table(cards);
  s.tableOwnerCards = ownerCards;
  s.tableIsPartner = partner;
  s.fewestEnemyCards = 20;
  return s;
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

TEST(Strategy, LeadsWeakestFirstKeepsBombsAndGoesOutInOne) {
  EXPECT_EQ(ChooseLead(Hand("3 5 5 K K K 2 2 2 2"), 20).combo,
            (Combination{CombinationType::Single, 1, 1}));
  // The run of pairs is weaker than the lone 9.
  EXPECT_EQ(ChooseLead(Hand("3 3 4 4 5 5 9"), 20).combo,
            (Combination{CombinationType::Rocket, 3, 6}));
  // Only bombs left: the cheaper one; four jokers last.
  EXPECT_EQ(ChooseLead(Hand("s s B B 6 6 6 6 6 7 7 7 7"), 20).combo,
            (Combination{CombinationType::Bomb, 5, 4}));
  // A hand that is one combination goes out at once, bomb or not.
  EXPECT_EQ(ChooseLead(Hand("9 9 9 9 9"), 20).combo.count, 5);
  EXPECT_EQ(ChooseLead(Hand("3 3 3 J J"), 20).combo.type, CombinationType::Plane);
  // An opponent with one card left: no singles while there is anything else,
  // then the strongest single.
  EXPECT_EQ(ChooseLead(Hand("3 7 7 Q"), 1).combo, (Combination{CombinationType::Rocket, 5, 2}));
  EXPECT_EQ(ChooseLead(Hand("3 7 Q"), 1).combo, (Combination{CombinationType::Single, 10, 1}));
  // A partner with one or two cards left is fed the lowest single or pair
  // (never from a bomb), unless an opponent is as close to going out.
  EXPECT_EQ(ChooseLead(Hand("3 3 3 3 5 8 8 8 J J"), 10, 1).combo,
            (Combination{CombinationType::Single, 3, 1}));
  EXPECT_EQ(ChooseLead(Hand("5 8 8 8 J J"), 10, 2).combo,
            (Combination{CombinationType::Rocket, 6, 2}));
  EXPECT_EQ(ChooseLead(Hand("5 8 8 8 J J"), 1, 1).combo.type, CombinationType::Plane);
}

TEST(Strategy, FollowsWithTheCheapestPlayThatKeepsTheHandWhole) {
  // A lone 9 beats the 5 without breaking the pair of 6s.
  auto play = ChooseFollow(Hand("6 6 9 K"), Against("5"));
  ASSERT_TRUE(play);
  EXPECT_EQ(play->combo, (Combination{CombinationType::Single, 7, 1}));
  // Pairs: the lowest pair that beats.
  play = ChooseFollow(Hand("4 4 8 8 J J A"), Against("7 7"));
  ASSERT_TRUE(play);
  EXPECT_EQ(play->combo, (Combination{CombinationType::Rocket, 6, 2}));
  // Nothing of the type, no bomb: pass.
  EXPECT_FALSE(ChooseFollow(Hand("3 4 5 6"), Against("9 9 9")));
}

TEST(Strategy, LeavesPartnersAloneAndBombsOnlyWhenItMatters) {
  const RankCounts hand = Hand("8 J 4 4 4 4 K 3 5 7 9 Q 10 10");
  // A partner's play stands.
  EXPECT_FALSE(ChooseFollow(hand, Against("7", 20, true)));
  // ... unless the bot goes out with it.
  auto out = ChooseFollow(Hand("Q"), Against("7", 20, true));
  ASSERT_TRUE(out);
  EXPECT_EQ(out->combo.key, 10);
  // A partner's low single with the landlord next: topped with the lone 2,
  // not with a K the hand needs for its pair; a partner's high single stands.
  TableSituation low = Against("5", 20, true);
  low.landlordPlaysNext = true;
  auto top = ChooseFollow(Hand("3 4 4 8 K K 2 9"), low);
  ASSERT_TRUE(top);
  EXPECT_EQ(top->combo, (Combination{CombinationType::Single, 13, 1}));
  EXPECT_FALSE(ChooseFollow(Hand("3 4 4 8 K K"), low));
  TableSituation high = Against("J", 20, true);
  high.landlordPlaysNext = true;
  EXPECT_FALSE(ChooseFollow(Hand("3 4 4 8 K K 2 9"), high));
  // An opponent's pair of aces with many cards left: keep the bomb.
  EXPECT_FALSE(ChooseFollow(hand, Against("A A", 20)));
  // The same pair from an opponent close to going out: bomb it.
  auto bomb = ChooseFollow(hand, Against("A A", 4));
  ASSERT_TRUE(bomb);
  EXPECT_EQ(bomb->combo, (Combination{CombinationType::Bomb, 2, 4}));
  // A single is beaten from the loose cards, never from the bomb.
  auto single = ChooseFollow(hand, Against("9"));
  ASSERT_TRUE(single);
  EXPECT_EQ(single->combo.key, 9);
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
}  // namespace quarn::bot
