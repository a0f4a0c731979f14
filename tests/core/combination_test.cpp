#include "core/combination.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/name_grid.h"
#include "core/tselectpoker.h"
#include "tests/core/card_helpers.h"

namespace quarn {
namespace {

using T = CombinationType;
using testing::CapturedReports;
using testing::SelectionOfRanks;

struct Outcome {
  int result = 0;
  T type = T::Unknown;
  int key = 0;
  std::string name;
  std::vector<std::string> reports;
};

Outcome ClassifyRanks(std::initializer_list<int> ranks) {
  CapturedReports captured;
  TSelectPoker set = SelectionOfRanks(ranks);
  Outcome out;
  out.result = set.Classify();
  out.type = set.Type();
  out.key = set.Key();
  out.name = std::string(set.Name());
  out.reports = captured.texts;
  return out;
}

void ExpectNamed(std::initializer_list<int> ranks, T type, int key, const std::string& name) {
  const Outcome out = ClassifyRanks(ranks);
  EXPECT_EQ(out.result, static_cast<int>(ranks.size()));
  EXPECT_EQ(out.type, type);
  EXPECT_EQ(out.key, key);
  EXPECT_EQ(out.name, name);
  EXPECT_TRUE(out.reports.empty());
}

// Refused with exactly one report of `code`.
void ExpectError(std::initializer_list<int> ranks, int code) {
  const Outcome out = ClassifyRanks(ranks);
  EXPECT_EQ(out.result, 0);
  EXPECT_EQ(out.type, T::Unknown);
  EXPECT_EQ(out.name, "");
  ASSERT_EQ(out.reports.size(), 1u);
  EXPECT_EQ(out.reports[0], CardErrorText(code));
}

// Refused without any report.
void ExpectSilent(std::initializer_list<int> ranks, T type, int key) {
  const Outcome out = ClassifyRanks(ranks);
  EXPECT_EQ(out.result, 0);
  EXPECT_EQ(out.type, type);
  EXPECT_EQ(out.key, key);
  EXPECT_EQ(out.name, "");
  EXPECT_TRUE(out.reports.empty());
}

constexpr int J = 14;  // small joker
constexpr int K = 15;  // big joker

TEST(Classify, SinglesPairsAndJokers) {
  ExpectNamed({1}, T::Single, 1, "单张");
  ExpectNamed({13}, T::Single, 13, "单张");
  ExpectNamed({K}, T::Single, 15, "单张");
  ExpectNamed({J, J}, T::Rocket, 14, "一对");
  ExpectNamed({K, K}, T::Rocket, 15, "一对");
  ExpectNamed({12, 12}, T::Rocket, 12, "一对");
  ExpectError({J, K}, 1);
  ExpectNamed({J, J, K, K}, T::KingBomb, 15, "天炸");
}

TEST(Classify, RunsOfPairs) {
  ExpectSilent({1, 1, 2, 2}, T::Rocket, 2);  // two pairs have no name
  ExpectNamed({1, 1, 2, 2, 3, 3}, T::Rocket, 3, "三姊妹");
  ExpectNamed({11, 11, 12, 12, 13, 13}, T::Rocket, 13, "三姊妹");
  ExpectNamed({1, 1, 2, 2, 3, 3, 4, 4}, T::Rocket, 4, "小火箭");
  ExpectError({13, 13, J, J}, 9);
  ExpectError({12, 12, 13, 13, J, J}, 9);
  ExpectError({1, 1, 3, 3}, 5);
  ExpectError({12, 12, J, J}, 5);
  ExpectError({13, 13, K, K}, 5);
  ExpectError({12, 12, 13, 13, J, J, K, K}, 9);  // not the four jokers
  ExpectNamed(
      {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13},
      T::Rocket, 13, "无敌大火箭");
  ExpectNamed({3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9}, T::Rocket, 9, "超级火箭");
}

TEST(Classify, TriplesAndPlanes) {
  ExpectNamed({5, 5, 5}, T::Missle, 5, "一组");
  ExpectNamed({1, 1, 1, 2, 2, 2}, T::Missle, 2, "双三");
  ExpectError({1, 1, 1, 3, 3, 3}, 6);
  ExpectNamed({1, 1, 1, 3, 3}, T::Plane, 1, "单飞");
  ExpectNamed({3, 3, 1, 1, 1}, T::Plane, 1, "单飞");  // the pair may stand below
  ExpectNamed({1, 1, 1, 2, 2, 2, 5, 5, 7, 7}, T::Plane, 2, "双飞");
  ExpectNamed({13, 13, 13, 1, 1}, T::Plane, 13, "单飞");
  ExpectError({1, 1, 1, J, J}, 8);
  ExpectError({1, 1, 1, K, K}, 8);
  ExpectError({1, 1, 1, 2, 2, 2, 3, 3}, 7);
  ExpectError({1, 1, 1, 3, 3, 3, 5, 5, 6, 6}, 6);
  ExpectNamed({1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4,  4,  5,  5,  5,  6, 6,
               6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11},
              T::Missle, 11, "无敌大导弹");
  ExpectNamed({1, 1, 1, 2, 2, 2, 3, 3, 3, 4,  4,  4,  5,  5,  5,
               6, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12},
              T::Plane, 6, "天飞");
  ExpectNamed({1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}, T::Missle, 4, "大导弹");
  ExpectNamed(
      {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10},
      T::Missle, 10, "超级大导弹");
}

TEST(Classify, Bombs) {
  ExpectNamed({1, 1, 1, 1}, T::Bomb, 1, "炸弹");
  ExpectNamed({13, 13, 13, 13, 13, 13, 13, 13}, T::Bomb, 13, "炸弹");
  ExpectNamed({7, 7, 7, 7, 7}, T::Bomb, 7, "炸弹");
  ExpectSilent({1, 1, 1, 1, 2}, T::BombTail, 1);
  ExpectSilent({2, 1, 1, 1, 1, 1, 1, 1, 1}, T::BombTail, 1);  // the single below the bomb
  ExpectError({1, 1, 1, 1, 2, 2}, 2);
  ExpectError({1, 1, 1, 1, 2, 2, 2}, 3);
  ExpectSilent({1, 1, 2, 2, 2, 2}, T::Unknown, 0);
  ExpectSilent({1, 1, 1, 2, 2, 2, 2}, T::Unknown, 0);
  ExpectSilent({1, 1, 1, 1, 2, 2, 2, 2}, T::Unknown, 0);
  ExpectError({1, 1, 1, 1, 2, 3}, 1);
}

TEST(Classify, ScanOrderDecidesTheCode) {
  ExpectError({}, 11);
  ExpectError({1, 2}, 1);
  ExpectError({1, 2, 2}, 2);
  ExpectError({1, 1, 2}, 1);
  ExpectError({1, 2, 2, 2}, 3);
  ExpectError({1, 1, 1, 2}, 1);
  ExpectError({1, 1, 3, 3, 3, 5}, 1);
}

// Sets no real deal can hold, as a forged packet may carry them.
TEST(Classify, ImpossibleSetsGetAClearVerdict) {
  CapturedReports quiet;
  TSelectPoker threeBig = testing::SelectionOf({54, 108, 54});
  EXPECT_EQ(threeBig.Classify(), 3);  // a run closed by the end of the ranks
  EXPECT_EQ(threeBig.Type(), T::Missle);
  EXPECT_EQ(threeBig.Key(), 15);
  TSelectPoker fourSmall = testing::SelectionOf({53, 53, 107, 107});
  EXPECT_EQ(fourSmall.Classify(), 4);
  EXPECT_EQ(fourSmall.Type(), T::Bomb);
  EXPECT_EQ(fourSmall.Key(), 14);
  TSelectPoker tooMany = testing::SelectionOf(std::vector<std::uint8_t>(33, 1));
  EXPECT_EQ(tooMany.Count(), 33);
  EXPECT_EQ(tooMany.Classify(), 0);  // a bomb of 33 has no name
  EXPECT_EQ(tooMany.Type(), T::Bomb);
  TSelectPoker pairsToTheTop = testing::SelectionOf({49, 50, 53, 53, 54, 54});
  EXPECT_EQ(pairsToTheTop.Classify(), 0);
  EXPECT_EQ(quiet.texts.back(), CardErrorText(9));
  EXPECT_EQ(pairsToTheTop.Key(), 15);
}

TEST(Classify, FailureKeepsTheOldNameAndTheRecognizedKey) {
  CapturedReports quiet;
  TSelectPoker set = SelectionOfRanks({4, 4});
  ASSERT_EQ(set.Classify(), 2);
  TSelectPoker other = SelectionOfRanks({1, 1, 2, 2});
  set.Clear();
  set.Assign(other);
  EXPECT_EQ(set.Classify(), 0);
  EXPECT_EQ(set.Key(), 2);
  EXPECT_EQ(set.Name(), "");  // Assign copied the other's (empty) name
  TSelectPoker again = SelectionOfRanks({9, 9, 9});
  ASSERT_EQ(again.Classify(), 3);
  again.ClearCards();
  for (const int n : {1, 2, 3, 4, 5}) {
    TPoker card;
    card.SetCard(n);
    again.SetCardAt(n, card);
  }
  EXPECT_EQ(again.Classify(), 0);  // a bomb with a tail
  EXPECT_EQ(again.Type(), T::BombTail);
  EXPECT_EQ(again.Name(), "一组");
  // A failed run scan leaves the last run rank it reached.
  TSelectPoker gap = SelectionOfRanks({1, 1, 2, 2, 5, 5});
  EXPECT_EQ(gap.Classify(), 0);
  EXPECT_EQ(gap.Key(), 2);
  EXPECT_EQ(gap.Type(), T::Unknown);
}

Combination C(T type, int key, int count) {
  return {type, static_cast<std::uint8_t>(key), count};
}

TEST(Beats, SameTypeNeedsSameCountAndHigherKey) {
  EXPECT_TRUE(Beats(C(T::Single, 13, 1), C(T::Single, 12, 1)));
  EXPECT_FALSE(Beats(C(T::Single, 12, 1), C(T::Single, 12, 1)));
  EXPECT_FALSE(Beats(C(T::Single, 11, 1), C(T::Single, 12, 1)));
  EXPECT_TRUE(Beats(C(T::Rocket, 15, 2), C(T::Rocket, 14, 2)));
  EXPECT_FALSE(Beats(C(T::Rocket, 13, 2), C(T::Rocket, 3, 6)));
  EXPECT_FALSE(Beats(C(T::Rocket, 13, 6), C(T::Rocket, 3, 2)));
  EXPECT_FALSE(Beats(C(T::Missle, 5, 6), C(T::Rocket, 3, 6)));
  EXPECT_FALSE(Beats(C(T::Rocket, 5, 6), C(T::Missle, 3, 6)));
  EXPECT_TRUE(Beats(C(T::Plane, 5, 10), C(T::Plane, 3, 10)));
  EXPECT_FALSE(Beats(C(T::Plane, 13, 5), C(T::Plane, 3, 10)));
  EXPECT_FALSE(Beats(C(T::Plane, 13, 10), C(T::Plane, 3, 5)));
  EXPECT_FALSE(Beats(C(T::KingBomb, 15, 4), C(T::KingBomb, 15, 4)));
}

TEST(Beats, BombsAndEmptySets) {
  EXPECT_TRUE(Beats(C(T::Bomb, 1, 4), C(T::Rocket, 13, 26)));
  EXPECT_TRUE(Beats(C(T::Bomb, 1, 4), C(T::Missle, 11, 33)));
  EXPECT_TRUE(Beats(C(T::Bomb, 1, 5), C(T::Bomb, 13, 4)));
  EXPECT_FALSE(Beats(C(T::Bomb, 13, 4), C(T::Bomb, 1, 5)));
  EXPECT_TRUE(Beats(C(T::Bomb, 13, 4), C(T::Bomb, 12, 4)));
  EXPECT_FALSE(Beats(C(T::Bomb, 12, 4), C(T::Bomb, 12, 4)));
  EXPECT_TRUE(Beats(C(T::KingBomb, 15, 4), C(T::Bomb, 13, 8)));
  EXPECT_FALSE(Beats(C(T::Bomb, 13, 8), C(T::KingBomb, 15, 4)));
  EXPECT_FALSE(Beats(C(T::Rocket, 13, 26), C(T::Bomb, 1, 4)));
  EXPECT_TRUE(Beats(C(T::Single, 1, 1), Combination{}));
  EXPECT_FALSE(Beats(Combination{}, C(T::Single, 1, 1)));
  EXPECT_FALSE(Beats(Combination{}, Combination{}));
  // Through the selections, as the table checks a play.
  CapturedReports quiet;
  TSelectPoker two = SelectionOfRanks({13});
  TSelectPoker ace = SelectionOfRanks({12});
  TSelectPoker empty;
  two.Classify();
  ace.Classify();
  EXPECT_TRUE(two.Beats(ace));
  EXPECT_FALSE(ace.Beats(two));
  EXPECT_TRUE(ace.Beats(empty));
  EXPECT_FALSE(empty.Beats(empty));
}

TEST(NameGrid, AdmitsExactlyTheListedCounts) {
  const auto counts = [](T type) {
    std::vector<int> out;
    for (int n = 0; n <= 33; ++n) {
      if (IsNamed(n, type)) out.push_back(n);
    }
    return out;
  };
  EXPECT_EQ(counts(T::Single), (std::vector<int>{1}));
  EXPECT_EQ(counts(T::Rocket), (std::vector<int>{2, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26}));
  EXPECT_EQ(counts(T::Missle), (std::vector<int>{3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 33}));
  EXPECT_EQ(counts(T::Plane), (std::vector<int>{5, 10, 15, 20, 25, 30}));
  EXPECT_EQ(counts(T::Bomb), (std::vector<int>{4, 5, 6, 7, 8}));
  EXPECT_EQ(counts(T::KingBomb), (std::vector<int>{4}));
  EXPECT_TRUE(counts(T::BombTail).empty());
  EXPECT_TRUE(counts(T::Unknown).empty());

  std::string_view typeName = "untouched";
  std::string_view name = "untouched";
  EXPECT_FALSE(LookupName(4, T::Rocket, typeName, name));
  EXPECT_FALSE(LookupName(-1, T::Single, typeName, name));
  EXPECT_FALSE(LookupName(34, T::Single, typeName, name));
  EXPECT_FALSE(LookupName(4, T::Unknown, typeName, name));
  EXPECT_FALSE(LookupName(11, T::Plane, typeName, name));
  EXPECT_FALSE(LookupName(5, T::BombTail, typeName, name));
  EXPECT_EQ(typeName, "untouched");
  EXPECT_EQ(name, "untouched");
  ASSERT_TRUE(LookupName(6, T::Missle, typeName, name));
  EXPECT_EQ(typeName, "Missle");
  EXPECT_EQ(name, "双三");

  const auto& grid = NameGrid();
  EXPECT_EQ(grid[4].cells[0].name, "两对");
  EXPECT_EQ(grid[4].cells[0].type, T::Unknown);
  for (const int row : {5, 6, 7, 8, 9}) {
    int tails = 0;
    for (const NameCell& cell : grid[row].cells) tails += cell.name == "炸弹带花";
    EXPECT_EQ(tails, 1) << row;
  }
  EXPECT_EQ(grid[11].cells[3].name, "非法牌型");
  EXPECT_FALSE(grid[0].valid);
  EXPECT_TRUE(grid[33].valid);
}

}  // namespace
}  // namespace quarn
