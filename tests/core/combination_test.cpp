#include "core/combination.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/gbk.h"
#include "core/name_grid.h"
#include "core/tselectpoker.h"
#include "tests/support/card_helpers.h"

namespace quarn {
namespace {

using T = CombinationType;
using testing::CapturedReports;
using testing::Cards;
using testing::SelectionOf;

// Sets and what Classify makes of them, "|" between cases: the ranks (as
// testing::Cards reads them), then "ok" (accepted, no report), "-" (refused
// without a report) or the reported error code, then the type and key left in
// the set, then for an accepted set its name. The refusals come in the order
// of the upward scan, so the code names the first card that does not fit. The
// last sets no deal can hold, as a forged packet may carry them: a run closed
// by the end of the ranks, a bomb of jokers, a bomb of 33 (which has no name).
constexpr std::string_view kCases = R"(
1 ok Single 1 单张 | d ok Single 13 单张 | k ok Single 15 单张 | jk 1 Unknown 0
jj ok Rocket 14 一对 | kk ok Rocket 15 一对 | jjkk ok KingBomb 15 天炸 | 1122 - Rocket 2
112233 ok Rocket 3 三姊妹 | bbccdd ok Rocket 13 三姊妹 | 11223344 ok Rocket 4 小火箭
33445566778899 ok Rocket 9 超级火箭 | 112233445566778899aabbccdd ok Rocket 13 无敌大火箭
ddjj 9 Unknown 14 | ccddjj 9 Unknown 14 | ccddjjkk 9 Unknown 15 | 1133 5 Unknown 1
ccjj 5 Unknown 12 | ddkk 5 Unknown 13 | 112255 5 Unknown 2 | 555 ok Missle 5 一组
111222 ok Missle 2 双三 | 111222333444 ok Missle 4 大导弹 | 111333 6 Unknown 1
111222333444555666777888999aaabbb ok Missle 11 无敌大导弹 | 11133 ok Plane 1 单飞
33111 ok Plane 1 单飞 | ddd11 ok Plane 13 单飞 | 1112225577 ok Plane 2 双飞
111222333444555666778899aabbcc ok Plane 6 天飞 | 111jj 8 Unknown 0 | 111kk 8 Unknown 0
11122233 7 Unknown 0 | 111222jj 7 Unknown 0 | 1113335566 6 Unknown 1 | 1111 ok Bomb 1 炸弹 | 77777 ok Bomb 7 炸弹
dddddddd ok Bomb 13 炸弹 | 11112 - BombTail 1 | 211111111 - BombTail 1 | 111122 2 Unknown 0
1111222 3 Unknown 0 | 111123 1 Unknown 0 | 112222 - Unknown 0 | 1112222 - Unknown 0
11112222 - Unknown 0 | 12 1 Unknown 0 | 122 2 Unknown 0 | 112 1 Unknown 0 | 1222 3 Unknown 0
1112 1 Unknown 0 | 113335 1 Unknown 0
kkk ok Missle 15 一组 | jjjj ok Bomb 14 炸弹 | ddjjkk 9 Unknown 15
111111111111111111111111111111111 - Bomb 1
)";

TEST(Classify, EveryFormWithItsNameAndEveryRefusalWithItsCode) {
  std::string all(kCases);
  std::ranges::replace(all, '\n', '|');
  std::istringstream lines(all);
  std::string text;
  int cases = 0;
  while (std::getline(lines, text, '|')) {
    std::istringstream fields(text);
    std::string ranks, verdict, type, name;
    int key = 0;
    if (!(fields >> ranks >> verdict >> type >> key)) continue;
    fields >> name;
    SCOPED_TRACE(ranks);
    CapturedReports reports;
    TSelectPoker set = SelectionOf(Cards(ranks));
    EXPECT_EQ(set.Classify(), verdict == "ok" ? static_cast<int>(ranks.size()) : 0);
    EXPECT_EQ(CombinationTypeName(set.Type()), type);
    EXPECT_EQ(set.Key(), key);
    EXPECT_EQ(set.Name(), name);
    const bool reported = verdict != "ok" && verdict != "-";
    EXPECT_EQ(reports.texts, reported ? std::vector{CardErrorText(std::stoi(verdict))}
                                      : std::vector<std::string>{});
    ++cases;
  }
  EXPECT_EQ(cases, 56);
  // An empty set is no form; a failure keeps the name the set had.
  CapturedReports reports;
  TSelectPoker set = SelectionOf(Cards("999"));
  ASSERT_EQ(set.Classify(), 3);
  set.ClearCards();
  EXPECT_EQ(set.Classify(), 0);
  EXPECT_EQ(set.Name(), "一组");
  EXPECT_EQ(reports.texts, std::vector{CardErrorText(11)});
}

TEST(Beats, BombsOverEverythingOtherwiseSameTypeCountAndHigherKey) {
  struct Row {
    Combination self, other;
    bool beats;
  };
  for (const Row& r : std::vector<Row>{
           {{T::Single, 13, 1}, {T::Single, 12, 1}, true},
           {{T::Single, 12, 1}, {T::Single, 12, 1}, false},
           {{T::Rocket, 13, 2}, {T::Rocket, 3, 6}, false},
           {{T::Rocket, 13, 6}, {T::Rocket, 3, 2}, false},
           {{T::Missle, 5, 6}, {T::Rocket, 3, 6}, false},
           {{T::Plane, 5, 10}, {T::Plane, 3, 10}, true},
           {{T::Plane, 13, 5}, {T::Plane, 3, 10}, false},
           {{T::KingBomb, 15, 4}, {T::KingBomb, 15, 4}, false},
           {{T::Bomb, 1, 4}, {T::Rocket, 13, 26}, true},
           {{T::Bomb, 1, 5}, {T::Bomb, 13, 4}, true},
           {{T::Bomb, 13, 4}, {T::Bomb, 1, 5}, false},
           {{T::Bomb, 13, 4}, {T::Bomb, 12, 4}, true},
           {{T::Bomb, 12, 4}, {T::Bomb, 12, 4}, false},
           {{T::KingBomb, 15, 4}, {T::Bomb, 13, 8}, true},
           {{T::Bomb, 13, 8}, {T::KingBomb, 15, 4}, false},
           {{T::Single, 1, 1}, {}, true},
           {{}, {T::Single, 1, 1}, false},
           {{}, {}, false},
       }) {
    EXPECT_EQ(Beats(r.self, r.other), r.beats)
        << int(r.self.type) << "/" << int{r.self.key} << "/" << r.self.count << " vs "
        << int(r.other.type) << "/" << int{r.other.key} << "/" << r.other.count;
  }
  // Through the selections, as the table checks a play.
  CapturedReports quiet;
  TSelectPoker two = SelectionOf(Cards("d"));
  TSelectPoker ace = SelectionOf(Cards("c"));
  two.Classify();
  ace.Classify();
  EXPECT_TRUE(two.Beats(ace) && ace.Beats(TSelectPoker{}));
  EXPECT_FALSE(ace.Beats(two) || TSelectPoker{}.Beats(TSelectPoker{}));
}

TEST(NameGrid, AdmitsExactlyTheListedCountsAndItsNamesFitTheirFields) {
  const auto counts = [](T type) {
    std::vector<int> out;
    for (int n = -1; n <= 34; ++n) {
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
  EXPECT_FALSE(LookupName(4, T::Rocket, typeName, name) ||
               LookupName(34, T::Single, typeName, name));
  EXPECT_EQ(std::string(typeName) + std::string(name), "untoucheduntouched");
  ASSERT_TRUE(LookupName(6, T::Missle, typeName, name));
  EXPECT_EQ(std::string(typeName) + std::string(name), "Missle双三");
  // Every name fits its 16-byte GBK field with its terminator.
  for (const NameRow& row : NameGrid()) {
    for (const NameCell& cell : row.cells) EXPECT_LE(Utf8ToGbk(cell.name).size(), 15u);
  }
}

}  // namespace
}  // namespace quarn
