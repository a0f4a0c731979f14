// Card faces, card error texts and GBK text.
#include <gtest/gtest.h>

#include <thread>

#include "core/card_error.h"
#include "core/gbk.h"
#include "core/tpoker.h"
#include "tests/support/card_helpers.h"

namespace quarn {
namespace {

using testing::CardOf;

TEST(TPoker, EveryNumberFoldsOntoItsFaceAndInvalidOnesChangeNothing) {
  struct Face {
    int number, folded, rank, suit;
    const char* name;
  };
  for (const Face& f :
       {Face{55, 1, 1, 0, "方块3"}, Face{32, 32, 8, 3, "黑桃10"}, Face{48, 48, 12, 3, "黑桃A"},
        Face{103, 49, 13, 0, "方块2"}, Face{107, 53, 14, 4, "小王"}, Face{54, 54, 15, 4, "大王"}}) {
    const TPoker card = CardOf(f.number);
    EXPECT_EQ(card.Number(), f.folded) << f.number;
    EXPECT_EQ(card.Rank(), f.rank) << f.number;
    EXPECT_EQ(card.Suit(), f.suit) << f.number;
    EXPECT_EQ(card.Name(), f.name);
  }
  std::array<int, 16> perRank{};
  for (int n = -3; n <= 300; ++n) {
    TPoker card = CardOf(20);
    card.SetCard(n);
    if (!IsValidCard(n)) {
      EXPECT_EQ(card.Name(), "黑桃7") << n;
      EXPECT_EQ(RankOf(n) * 10 + SuitOf(n), 5) << n;
      EXPECT_EQ(CardResName(n), "CARD_1") << n;
      continue;
    }
    const int m = n > 54 ? n - 54 : n;
    EXPECT_EQ(card, CardOf(m)) << n;
    EXPECT_EQ(card.ResName(), "CARD_" + std::to_string(m + 1)) << n;
    ++perRank[card.Rank()];
    // The names fit the fixed GBK fields of the wire and the files.
    EXPECT_LE(Utf8ToGbk(card.Name()).size(), 7u) << n;
  }
  EXPECT_EQ(perRank, (std::array<int, 16>{0, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 2, 2}));
  TPoker card = CardOf(20);
  card.Clear();
  EXPECT_EQ(card, TPoker{});
  EXPECT_EQ(card.Name(), "");
  EXPECT_EQ(std::string(RankName(16)) + std::string(SuitName(5)) + std::string(SuitName(-1)), "?");
}

TEST(CardError, TextsAreFormedExactlyAndGoToTheInstalledSink) {
  for (const auto& [code, text] : std::vector<std::pair<int, std::string>>{
           {13, "手上牌太多啦。[13]"},
           {0, "未知错误。[0]"},
           {16, "非法的空地址调用。[16]"},
           {10, "这是错误的一把牌，不能出哦。[10]"},
           {17, "选牌错误或者操作发生错误：[17]"},
           {-2147483647 - 1, "选牌错误或者操作发生错误：[-2147483648]"}}) {
    EXPECT_EQ(CardErrorText(code), text);
  }
  for (int code = 0; code < kCardErrorCount; ++code) {
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk(CardErrorMessage(code))), CardErrorMessage(code)) << code;
    EXPECT_FALSE(CardErrorMessage(code).empty()) << code;
  }
  EXPECT_TRUE(CardErrorMessage(17).empty() && CardErrorMessage(-1).empty());

  EXPECT_EQ(ReportCardError(3), 0);  // the default sink drops it without harm
  {
    testing::CapturedReports reports;
    {
      testing::CapturedReports inner;
      ReportCardError(7);
      EXPECT_EQ(inner.texts, std::vector<std::string>{"非法的飞牌。[7]"});
    }
    ReportCardError(-1);  // the outer sink is back
    {
      const SilencedCardErrors silenced;
      ReportCardError(2);
      std::thread([] { ReportCardError(4); }).join();  // silenced on this thread only
    }
    EXPECT_EQ(reports.texts,
              (std::vector<std::string>{"选牌错误或者操作发生错误：[-1]", "炸弹牌错误。[4]"}));
  }
  // A sink that replaces itself while running does not pull the rug from under the report.
  int calls = 0;
  SetCardErrorSink([&calls](std::string_view) {
    ++calls;
    SetCardErrorSink({});
  });
  ReportCardError(1);
  ReportCardError(1);
  EXPECT_EQ(calls, 1);
}

TEST(Gbk, ConvertsBothWaysReplacesWhatItCannotAndCutsAtCharacters) {
  EXPECT_EQ(Utf8ToGbk("a东北b"), "a\xB6\xAB\xB1\xB1\x62");
  EXPECT_EQ(GbkToUtf8("\xB6\xAB\xB1\xB1"), "东北");
  EXPECT_EQ(Utf8ToGbk("x\xF0\x9F\x98\x80y"), "x?y");  // an emoji has no GBK form
  EXPECT_EQ(Utf8ToGbk("x\x80y"), "x?y");              // a stray continuation byte
  EXPECT_EQ(Utf8ToGbk("\xE4\xB8x\xE4"), "?x?");       // sequences cut short, by ASCII or the end
  EXPECT_EQ(GbkToUtf8("ab\xB6"), "ab\xEF\xBF\xBD");   // a lead byte with nothing after
  const std::string longText(1000, 'z');
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk(longText)), longText);

  const std::string name = Utf8ToGbk("地主张三李四王五赵六");  // 20 bytes
  EXPECT_EQ(GbkToUtf8(GbkCut(name, 15)), "地主张三李四王");    // never half a character
  for (const auto& [text, limit, cut] : std::vector<std::tuple<std::string, std::size_t, int>>{
           {"ab\xB6\xAB\x63", 3, 2},
           {"ab\xB6\xAB\x63", 4, 4},
           {"abc", 10, 3},
           {"abc", 0, 0},
           {"\x80\x80\x80", 2, 2}}) {  // a stray high byte is one character
    EXPECT_EQ(GbkCutLength(text, limit), static_cast<std::size_t>(cut)) << text << limit;
  }

  std::array<std::uint8_t, 16> field;
  field.fill(0xEE);
  const std::string nine = Utf8ToGbk("一二三四五六七八九");  // 18 bytes
  WriteGbkField(field, nine);
  EXPECT_EQ(ReadGbkField(field), nine.substr(0, 14));
  EXPECT_EQ(field[14] + field[15], 0);
  WriteGbkField(field, std::string("ab\0cd", 5));  // text ends at a NUL
  EXPECT_EQ(ReadGbkField(field), "ab");
  EXPECT_TRUE(std::all_of(field.begin() + 2, field.end(), [](auto b) { return b == 0; }));
  std::array<std::uint8_t, 4> full{'a', 'b', 'c', 'd'};  // no NUL inside
  EXPECT_EQ(ReadGbkField(full), "abcd");
}

}  // namespace
}  // namespace quarn
