#include "core/combination.h"

#include <gtest/gtest.h>

#include <algorithm>
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

constexpr int kNamed = -1;
constexpr int kSilent = 0;

// One set, its ranks written one character each ('1'..'9', then 'a'..'d' for
// 10..13, 'j' and 'k' for the small and big joker), and what Classify must
// make of it: kNamed (accepted, no report), kSilent (refused without a
// report) or the reported error code.
struct Case {
  std::string_view ranks;
  int verdict;
  T type = T::Unknown;
  int key = 0;
  std::string_view name = "";
};

void Check(const Case& c) {
  SCOPED_TRACE(c.ranks);
  std::vector<int> ranks;
  for (const char ch : c.ranks) {
    ranks.push_back(ch <= '9' ? ch - '0' : ch == 'j' ? 14 : ch == 'k' ? 15 : ch - 'a' + 10);
  }
  CapturedReports reports;
  TSelectPoker set = testing::SelectionOf(testing::NumbersOfRanks(ranks));
  EXPECT_EQ(set.Classify(), c.verdict == kNamed ? static_cast<int>(ranks.size()) : 0);
  EXPECT_EQ(set.Type(), c.type);
  EXPECT_EQ(set.Key(), c.key);
  EXPECT_EQ(set.Name(), c.name);
  EXPECT_EQ(reports.texts, c.verdict <= kSilent ? std::vector<std::string>{}
                                                : std::vector{CardErrorText(c.verdict)});
}

TEST(Classify, EveryFormWithItsNameAndEveryRefusalWithItsCode) {
  for (const Case& c : std::vector<Case>{
           {"1", kNamed, T::Single, 1, "单张"},
           {"d", kNamed, T::Single, 13, "单张"},
           {"k", kNamed, T::Single, 15, "单张"},
           {"jj", kNamed, T::Rocket, 14, "一对"},
           {"kk", kNamed, T::Rocket, 15, "一对"},
           {"jk", 1},
           {"jjkk", kNamed, T::KingBomb, 15, "天炸"},
           {"1122", kSilent, T::Rocket, 2},  // two pairs have no name
           {"112233", kNamed, T::Rocket, 3, "三姊妹"},
           {"bbccdd", kNamed, T::Rocket, 13, "三姊妹"},
           {"11223344", kNamed, T::Rocket, 4, "小火箭"},
           {"33445566778899", kNamed, T::Rocket, 9, "超级火箭"},
           {"112233445566778899aabbccdd", kNamed, T::Rocket, 13, "无敌大火箭"},
           {"ddjj", 9, T::Unknown, 14},
           {"ccddjj", 9, T::Unknown, 14},
           {"ccddjjkk", 9, T::Unknown, 15},  // not the four jokers
           {"1133", 5, T::Unknown, 1},
           {"ccjj", 5, T::Unknown, 12},
           {"ddkk", 5, T::Unknown, 13},
           {"112255", 5, T::Unknown, 2},
           // Triples, planes and bombs.
           {"555", kNamed, T::Missle, 5, "一组"},
           {"111222", kNamed, T::Missle, 2, "双三"},
           {"111222333444", kNamed, T::Missle, 4, "大导弹"},
           {"111222333444555666777888999aaabbb", kNamed, T::Missle, 11, "无敌大导弹"},
           {"111333", 6, T::Unknown, 1},
           {"11133", kNamed, T::Plane, 1, "单飞"},
           {"33111", kNamed, T::Plane, 1, "单飞"},
           {"ddd11", kNamed, T::Plane, 13, "单飞"},  // the pair may stand below
           {"1112225577", kNamed, T::Plane, 2, "双飞"},
           {"111222333444555666778899aabbcc", kNamed, T::Plane, 6, "天飞"},
           {"111jj", 8},
           {"111kk", 8},
           {"11122233", 7},
           {"1113335566", 6, T::Unknown, 1},
           {"1111", kNamed, T::Bomb, 1, "炸弹"},
           {"77777", kNamed, T::Bomb, 7, "炸弹"},
           {"dddddddd", kNamed, T::Bomb, 13, "炸弹"},
           {"11112", kSilent, T::BombTail, 1},
           {"211111111", kSilent, T::BombTail, 1},  // the single below
           // Mixed sets, refused in the order of the scan.
           {"111122", 2},
           {"1111222", 3},
           {"111123", 1},
           {"112222", kSilent},
           {"1112222", kSilent},
           {"11112222", kSilent},
           {"", 11},
           {"12", 1},
           {"122", 2},
           {"112", 1},
           {"1222", 3},
           {"1112", 1},
           {"113335", 1},
       }) {
    Check(c);
  }
}

// Sets no real deal can hold, as a forged packet may carry them.
TEST(Classify, ImpossibleSetsGetAClearVerdict) {
  CapturedReports quiet;
  struct Odd {
    std::vector<std::uint8_t> cards;
    int result;
    T type;
    int key;
  };
  for (const Odd& odd : {
           Odd{{54, 108, 54}, 3, T::Missle, 15},  // a run closed by the end of the ranks
           Odd{{53, 53, 107, 107}, 4, T::Bomb, 14},
           Odd{std::vector<std::uint8_t>(33, 1), 0, T::Bomb, 1},  // a bomb of 33 has no name
           Odd{{49, 50, 53, 53, 54, 54}, 0, T::Unknown, 15},
       }) {
    TSelectPoker set = testing::SelectionOf(odd.cards);
    EXPECT_EQ(set.Classify(), odd.result) << odd.cards.size();
    EXPECT_EQ(set.Type(), odd.type);
    EXPECT_EQ(set.Key(), odd.key);
  }
  EXPECT_EQ(quiet.texts.back(), CardErrorText(9));
}

TEST(Classify, FailureKeepsTheOldNameAndTheRecognizedKey) {
  CapturedReports quiet;
  TSelectPoker set = SelectionOfRanks({4, 4});
  ASSERT_EQ(set.Classify(), 2);
  set.Clear();
  set.Assign(SelectionOfRanks({1, 1, 2, 2}));
  EXPECT_EQ(set.Classify(), 0);
  EXPECT_EQ(set.Key(), 2);
  EXPECT_EQ(set.Name(), "");  // Assign copied the other's (empty) name
  TSelectPoker again = SelectionOfRanks({9, 9, 9});
  ASSERT_EQ(again.Classify(), 3);
  again.ClearCards();
  for (const int n : {1, 2, 3, 4, 5}) again.SetCardAt(n, testing::CardOf(n));
  EXPECT_EQ(again.Classify(), 0);  // a bomb with a tail
  EXPECT_EQ(again.Type(), T::BombTail);
  EXPECT_EQ(again.Name(), "一组");
}

TEST(Beats, BombsOverEverythingOtherwiseSameTypeCountAndHigherKey) {
  using C = Combination;
  struct Row {
    C self, other;
    bool beats;
  };
  const C empty{};
  for (const Row& r : std::vector<Row>{
           {{T::Single, 13, 1}, {T::Single, 12, 1}, true},
           {{T::Single, 12, 1}, {T::Single, 12, 1}, false},
           {{T::Single, 11, 1}, {T::Single, 12, 1}, false},
           {{T::Rocket, 15, 2}, {T::Rocket, 14, 2}, true},
           {{T::Rocket, 13, 2}, {T::Rocket, 3, 6}, false},
           {{T::Rocket, 13, 6}, {T::Rocket, 3, 2}, false},
           {{T::Missle, 5, 6}, {T::Rocket, 3, 6}, false},
           {{T::Rocket, 5, 6}, {T::Missle, 3, 6}, false},
           {{T::Plane, 5, 10}, {T::Plane, 3, 10}, true},
           {{T::Plane, 13, 5}, {T::Plane, 3, 10}, false},
           {{T::Plane, 13, 10}, {T::Plane, 3, 5}, false},
           {{T::KingBomb, 15, 4}, {T::KingBomb, 15, 4}, false},
           {{T::Bomb, 1, 4}, {T::Rocket, 13, 26}, true},
           {{T::Bomb, 1, 4}, {T::Missle, 11, 33}, true},
           {{T::Bomb, 1, 5}, {T::Bomb, 13, 4}, true},
           {{T::Bomb, 13, 4}, {T::Bomb, 1, 5}, false},
           {{T::Bomb, 13, 4}, {T::Bomb, 12, 4}, true},
           {{T::Bomb, 12, 4}, {T::Bomb, 12, 4}, false},
           {{T::KingBomb, 15, 4}, {T::Bomb, 13, 8}, true},
           {{T::Bomb, 13, 8}, {T::KingBomb, 15, 4}, false},
           {{T::Rocket, 13, 26}, {T::Bomb, 1, 4}, false},
           {{T::Single, 1, 1}, empty, true},
           {empty, {T::Single, 1, 1}, false},
           {empty, empty, false},
       }) {
    EXPECT_EQ(Beats(r.self, r.other), r.beats)
        << int(r.self.type) << "/" << int{r.self.key} << "/" << r.self.count << " vs "
        << int(r.other.type) << "/" << int{r.other.key} << "/" << r.other.count;
  }
  // Through the selections, as the table checks a play.
  CapturedReports quiet;
  TSelectPoker two = SelectionOfRanks({13});
  TSelectPoker ace = SelectionOfRanks({12});
  two.Classify();
  ace.Classify();
  EXPECT_TRUE(two.Beats(ace));
  EXPECT_FALSE(ace.Beats(two));
  EXPECT_TRUE(ace.Beats(TSelectPoker{}));
  EXPECT_FALSE(TSelectPoker{}.Beats(TSelectPoker{}));
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
  EXPECT_TRUE(counts(T::BombTail).empty() && counts(T::Unknown).empty());

  std::string_view typeName = "untouched";
  std::string_view name = "untouched";
  for (const auto& [count, type] : std::vector<std::pair<int, T>>{{4, T::Rocket},
                                                                  {-1, T::Single},
                                                                  {34, T::Single},
                                                                  {4, T::Unknown},
                                                                  {11, T::Plane},
                                                                  {5, T::BombTail}}) {
    EXPECT_FALSE(LookupName(count, type, typeName, name)) << count;
  }
  EXPECT_EQ(typeName, "untouched");
  EXPECT_EQ(name, "untouched");
  ASSERT_TRUE(LookupName(6, T::Missle, typeName, name));
  EXPECT_EQ(typeName, "Missle");
  EXPECT_EQ(name, "双三");

  const auto& grid = NameGrid();
  EXPECT_EQ(grid[4].cells[0].name, "两对");
  EXPECT_EQ(grid[4].cells[0].type, T::Unknown);
  for (const int row : {5, 6, 7, 8, 9}) {
    EXPECT_EQ(std::ranges::count(grid[row].cells, "炸弹带花", &NameCell::name), 1) << row;
  }
  EXPECT_EQ(grid[11].cells[3].name, "非法牌型");
  // Every name fits its 16-byte GBK field with its terminator.
  for (const NameRow& row : grid) {
    for (const NameCell& cell : row.cells) EXPECT_LE(Utf8ToGbk(cell.name).size(), 15u);
  }
  EXPECT_FALSE(grid[0].valid);
  EXPECT_TRUE(grid[33].valid);
}

}  // namespace
}  // namespace quarn
