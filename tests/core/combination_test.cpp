#include "core/combination.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gbk.h"
#include "core/name_grid.h"
#include "core/tselectpoker.h"
#include "tests/core/card_helpers.h"

namespace quarn {
namespace {

using T = CombinationType;
using testing::CapturedReports;
using testing::SelectionOfRanks;

constexpr int J = 14;  // small joker
constexpr int K = 15;  // big joker
constexpr int kNamed = -1;
constexpr int kSilent = 0;

// One set by rank values and what Classify must make of it: kNamed (accepted,
// no report), kSilent (refused without a report) or the reported error code.
struct Case {
  Case(std::vector<int> r, int v, T t = T::Unknown, int k = 0, std::string n = {})
      : ranks(std::move(r)), verdict(v), type(t), key(k), name(std::move(n)) {}
  std::vector<int> ranks;
  int verdict;
  T type;
  int key;
  std::string name;
};

void Check(const Case& c) {
  CapturedReports reports;
  TSelectPoker set = testing::SelectionOf(testing::NumbersOfRanks(c.ranks));
  const int result = set.Classify();
  SCOPED_TRACE(::testing::PrintToString(c.ranks));
  EXPECT_EQ(result, c.verdict == kNamed ? static_cast<int>(c.ranks.size()) : 0);
  EXPECT_EQ(set.Type(), c.type);
  if (c.verdict >= kSilent) {
    EXPECT_EQ(set.Name(), "");
    EXPECT_EQ(reports.texts, c.verdict == kSilent ? std::vector<std::string>{}
                                                  : std::vector{CardErrorText(c.verdict)});
  } else {
    EXPECT_EQ(set.Name(), c.name);
    EXPECT_TRUE(reports.texts.empty());
  }
  EXPECT_EQ(set.Key(), c.key);
}

TEST(Classify, SinglesPairsAndJokers) {
  for (const Case& c : std::vector<Case>{
           {{1}, kNamed, T::Single, 1, "单张"},
           {{13}, kNamed, T::Single, 13, "单张"},
           {{K}, kNamed, T::Single, 15, "单张"},
           {{J, J}, kNamed, T::Rocket, 14, "一对"},
           {{K, K}, kNamed, T::Rocket, 15, "一对"},
           {{J, K}, 1},
           {{J, J, K, K}, kNamed, T::KingBomb, 15, "天炸"},
       }) {
    Check(c);
  }
}

TEST(Classify, RunsOfPairs) {
  for (const Case& c : std::vector<Case>{
           {{1, 1, 2, 2}, kSilent, T::Rocket, 2},  // two pairs have no name
           {{1, 1, 2, 2, 3, 3}, kNamed, T::Rocket, 3, "三姊妹"},
           {{11, 11, 12, 12, 13, 13}, kNamed, T::Rocket, 13, "三姊妹"},
           {{1, 1, 2, 2, 3, 3, 4, 4}, kNamed, T::Rocket, 4, "小火箭"},
           {{3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9}, kNamed, T::Rocket, 9, "超级火箭"},
           {{1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13},
            kNamed,
            T::Rocket,
            13,
            "无敌大火箭"},
           {{13, 13, J, J}, 9, T::Unknown, 14},
           {{12, 12, 13, 13, J, J}, 9, T::Unknown, 14},
           {{12, 12, 13, 13, J, J, K, K}, 9, T::Unknown, 15},  // not the four jokers
           {{1, 1, 3, 3}, 5, T::Unknown, 1},
           {{12, 12, J, J}, 5, T::Unknown, 12},
           {{13, 13, K, K}, 5, T::Unknown, 13},
           {{1, 1, 2, 2, 5, 5}, 5, T::Unknown, 2},
       }) {
    Check(c);
  }
}

TEST(Classify, TriplesAndPlanes) {
  for (const Case& c : std::vector<Case>{
           {{5, 5, 5}, kNamed, T::Missle, 5, "一组"},
           {{1, 1, 1, 2, 2, 2}, kNamed, T::Missle, 2, "双三"},
           {{1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}, kNamed, T::Missle, 4, "大导弹"},
           {{1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4,  4,  5,  5,  5,  6, 6,
             6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11},
            kNamed,
            T::Missle,
            11,
            "无敌大导弹"},
           {{1, 1, 1, 3, 3, 3}, 6, T::Unknown, 1},
           {{1, 1, 1, 3, 3}, kNamed, T::Plane, 1, "单飞"},
           {{3, 3, 1, 1, 1}, kNamed, T::Plane, 1, "单飞"},
           {{13, 13, 13, 1, 1}, kNamed, T::Plane, 13, "单飞"},  // the pair may stand below
           {{1, 1, 1, 2, 2, 2, 5, 5, 7, 7}, kNamed, T::Plane, 2, "双飞"},
           {{1, 1, 1, 2, 2, 2, 3, 3, 3, 4,  4,  4,  5,  5,  5,
             6, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12},
            kNamed,
            T::Plane,
            6,
            "天飞"},
           {{1, 1, 1, J, J}, 8},
           {{1, 1, 1, K, K}, 8},
           {{1, 1, 1, 2, 2, 2, 3, 3}, 7},
           {{1, 1, 1, 3, 3, 3, 5, 5, 6, 6}, 6, T::Unknown, 1},
       }) {
    Check(c);
  }
}

TEST(Classify, BombsAndTheOrderOfTheScan) {
  for (const Case& c : std::vector<Case>{
           {{1, 1, 1, 1}, kNamed, T::Bomb, 1, "炸弹"},
           {{7, 7, 7, 7, 7}, kNamed, T::Bomb, 7, "炸弹"},
           {{13, 13, 13, 13, 13, 13, 13, 13}, kNamed, T::Bomb, 13, "炸弹"},
           {{1, 1, 1, 1, 2}, kSilent, T::BombTail, 1},
           {{2, 1, 1, 1, 1, 1, 1, 1, 1}, kSilent, T::BombTail, 1},  // the single below
           {{1, 1, 1, 1, 2, 2}, 2},
           {{1, 1, 1, 1, 2, 2, 2}, 3},
           {{1, 1, 1, 1, 2, 3}, 1},
           {{1, 1, 2, 2, 2, 2}, kSilent},
           {{1, 1, 1, 2, 2, 2, 2}, kSilent},
           {{1, 1, 1, 1, 2, 2, 2, 2}, kSilent},
           {{}, 11},
           {{1, 2}, 1},
           {{1, 2, 2}, 2},
           {{1, 1, 2}, 1},
           {{1, 2, 2, 2}, 3},
           {{1, 1, 1, 2}, 1},
           {{1, 1, 3, 3, 3, 5}, 1},
       }) {
    Check(c);
  }
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
  for (const NameRow& row : grid) {
    for (const NameCell& cell : row.cells) EXPECT_LE(Utf8ToGbk(cell.name).size(), 15u);
  }
  EXPECT_FALSE(grid[0].valid);
  EXPECT_TRUE(grid[33].valid);
}

}  // namespace
}  // namespace quarn
