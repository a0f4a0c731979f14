#include "core/tpoker.h"

#include <gtest/gtest.h>

#include "core/gbk.h"
#include "tests/core/card_helpers.h"

namespace quarn {
namespace {

using testing::CardOf;

TEST(TPoker, SecondDeckFoldsOntoTheFirst) {
  struct Face {
    int number, folded, rank, suit;
    const char* name;
    const char* resName;
  };
  for (const Face& f :
       {Face{55, 1, 1, 0, "方块3", "CARD_2"}, Face{32, 32, 8, 3, "黑桃10", "CARD_33"},
        Face{53, 53, 14, 4, "小王", "CARD_54"}, Face{107, 53, 14, 4, "小王", "CARD_54"},
        Face{54, 54, 15, 4, "大王", "CARD_55"}, Face{108, 54, 15, 4, "大王", "CARD_55"}}) {
    const TPoker card = CardOf(f.number);
    EXPECT_EQ(card, CardOf(f.folded)) << f.number;
    EXPECT_EQ(card.Number(), f.folded);
    EXPECT_EQ(card.Rank(), f.rank);
    EXPECT_EQ(card.Suit(), f.suit);
    EXPECT_EQ(card.Name(), f.name);
    EXPECT_EQ(card.ResName(), f.resName);
  }
}

TEST(TPoker, InvalidNumbersLeaveTheRecordAlone) {
  const TPoker empty;
  EXPECT_FALSE(empty.IsPresent());
  EXPECT_EQ(empty.Suit(), 5);
  for (const int n : {0, 109, -1, 255, 1000}) {
    EXPECT_EQ(CardOf(n), empty) << n;
    TPoker card = CardOf(20);
    card.SetCard(n);
    EXPECT_EQ(card.Name(), "黑桃7") << n;
  }
  TPoker card = CardOf(20);
  card.Clear();
  EXPECT_EQ(card, empty);
  EXPECT_EQ(card.Name(), "");
  EXPECT_EQ(card.ResName(), "");
  // Copies are independent of their source.
  TPoker a = CardOf(45);
  TPoker b;
  b.Assign(a);
  a.Clear();
  EXPECT_EQ(b.Name(), "方块A");
  EXPECT_EQ(b.ResName(), "CARD_46");
}

TEST(TPoker, FaceRulesHoldForEveryNumber) {
  for (int n = -3; n <= 300; ++n) {
    if (!IsValidCard(n)) {
      EXPECT_EQ(RankOf(n), 0) << n;
      EXPECT_EQ(SuitOf(n), 5) << n;
      EXPECT_EQ(CardResName(n), "CARD_1") << n;
      continue;
    }
    const int m = n > 54 ? n - 54 : n;
    EXPECT_EQ(RankOf(n), RankOf(m)) << n;
    EXPECT_EQ(SuitOf(n), SuitOf(m)) << n;
    EXPECT_EQ(CardResName(n), "CARD_" + std::to_string(m + 1)) << n;
    // The names fit the fixed GBK fields of the wire and the files.
    EXPECT_LE(Utf8ToGbk(CardOf(n).Name()).size(), 7u) << n;
    EXPECT_LE(Utf8ToGbk(CardOf(n).ResName()).size(), 23u) << n;
  }
  // The 2s stand above every ace and below both jokers.
  for (int n = 49; n <= 52; ++n) EXPECT_EQ(RankOf(n), 13);
  EXPECT_EQ(RankOf(48), 12);
  EXPECT_EQ(RankOf(4), 1);
  EXPECT_EQ(SuitOf(4), 3);
  EXPECT_EQ(RankOf(5), 2);
  EXPECT_EQ(SuitOf(58), 3);
  EXPECT_EQ(RankName(0), "?");
  EXPECT_EQ(RankName(16), "?");
  EXPECT_EQ(SuitName(4), "");
  EXPECT_EQ(SuitName(5), "");
}

}  // namespace
}  // namespace quarn
