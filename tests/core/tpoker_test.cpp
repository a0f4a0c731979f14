#include "core/tpoker.h"

#include <gtest/gtest.h>

#include "core/gbk.h"

namespace quarn {
namespace {

TEST(TPoker, SecondDeckFoldsOntoTheFirst) {
  TPoker a;
  TPoker b;
  a.SetCard(1);
  b.SetCard(55);
  EXPECT_EQ(a, b);
  EXPECT_EQ(b.Number(), 1);
  EXPECT_EQ(b.Rank(), 1);
  EXPECT_EQ(b.Suit(), 0);
  EXPECT_EQ(b.Name(), "方块3");
  EXPECT_EQ(b.ResName(), "CARD_2");

  for (const int n : {53, 107}) {
    TPoker joker;
    joker.SetCard(n);
    EXPECT_EQ(joker.Number(), 53);
    EXPECT_EQ(joker.Rank(), 14);
    EXPECT_EQ(joker.Suit(), 4);
    EXPECT_EQ(joker.Name(), "小王");
    EXPECT_EQ(joker.ResName(), "CARD_54");
  }
  for (const int n : {54, 108}) {
    TPoker joker;
    joker.SetCard(n);
    EXPECT_EQ(joker.Number(), 54);
    EXPECT_EQ(joker.Rank(), 15);
    EXPECT_EQ(joker.Name(), "大王");
    EXPECT_EQ(joker.ResName(), "CARD_55");
  }
  TPoker spadeTen;
  spadeTen.SetCard(32);
  EXPECT_EQ(spadeTen.Name(), "黑桃10");
  EXPECT_EQ(spadeTen.Rank(), 8);
}

TEST(TPoker, InvalidNumbersLeaveTheRecordAlone) {
  TPoker empty;
  EXPECT_FALSE(empty.IsPresent());
  EXPECT_EQ(empty.Suit(), 5);
  for (const int n : {0, 109, -1, 255, 1000}) {
    TPoker card;
    card.SetCard(n);
    EXPECT_EQ(card, empty) << n;
    card.SetCard(20);
    card.SetCard(n);
    EXPECT_EQ(card.Number(), 20) << n;
    EXPECT_EQ(card.Name(), "黑桃7");
  }
  TPoker card;
  card.SetCard(20);
  card.Clear();
  EXPECT_EQ(card, empty);
  EXPECT_EQ(card.Name(), "");
  EXPECT_EQ(card.ResName(), "");
}

TEST(TPoker, FaceRulesHoldForEveryNumber) {
  for (int n = -3; n <= 300; ++n) {
    const int rank = RankOf(n);
    const int suit = SuitOf(n);
    if (!IsValidCard(n)) {
      EXPECT_EQ(rank, 0) << n;
      EXPECT_EQ(suit, 5) << n;
      EXPECT_EQ(CardResName(n), "CARD_1") << n;
      continue;
    }
    const int m = n > 54 ? n - 54 : n;
    EXPECT_EQ(rank, RankOf(m)) << n;
    EXPECT_EQ(suit, SuitOf(m)) << n;
    EXPECT_EQ(CardResName(n), "CARD_" + std::to_string(m + 1)) << n;
    TPoker card;
    card.SetCard(n);
    // The names fit the fixed GBK fields of the wire and the files.
    EXPECT_LE(Utf8ToGbk(card.Name()).size(), 7u) << n;
    EXPECT_LE(Utf8ToGbk(card.ResName()).size(), 23u) << n;
  }
  // The 2s stand above every ace and below both jokers.
  for (int n = 49; n <= 52; ++n) {
    EXPECT_EQ(RankOf(n), 13);
    EXPECT_GT(RankOf(n), RankOf(48));
    EXPECT_LT(RankOf(n), RankOf(53));
  }
  EXPECT_EQ(RankOf(4), 1);
  EXPECT_EQ(SuitOf(4), 3);
  EXPECT_EQ(RankOf(5), 2);
  EXPECT_EQ(SuitOf(58), 3);
  EXPECT_EQ(RankName(0), "?");
  EXPECT_EQ(RankName(16), "?");
  EXPECT_EQ(SuitName(4), "");
  EXPECT_EQ(SuitName(5), "");
}

TEST(TPoker, CopiesAreIndependent) {
  TPoker a;
  TPoker b;
  a.SetCard(45);
  b.Assign(a);
  a.SetCard(2);
  EXPECT_EQ(b.Name(), "方块A");
  a.Clear();
  EXPECT_EQ(b.Name(), "方块A");
  EXPECT_EQ(b.ResName(), "CARD_46");
}

}  // namespace
}  // namespace quarn
