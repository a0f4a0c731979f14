#include "core/gbk.h"

#include <gtest/gtest.h>

#include <array>

namespace quarn {
namespace {

TEST(Gbk, ConvertsBothWaysAndReplacesWhatItCannot) {
  EXPECT_EQ(Utf8ToGbk("a东北b"),
            "a\xB6\xAB\xB1\xB1"
            "b");
  EXPECT_EQ(GbkToUtf8("\xB6\xAB\xB1\xB1"), "东北");
  EXPECT_EQ(Utf8ToGbk(""), "");
  EXPECT_EQ(Utf8ToGbk("x\xF0\x9F\x98\x80y"), "x?y");  // an emoji has no GBK form
  EXPECT_EQ(Utf8ToGbk("x\x80y"), "x?y");              // a stray continuation byte
  EXPECT_EQ(GbkToUtf8("ab\xB6"), "ab\xEF\xBF\xBD");   // a lead byte with nothing after
  const std::string longText(1000, 'z');
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk(longText)), longText);
}

TEST(Gbk, CutsOnlyAtCharacterBoundaries) {
  const std::string name = Utf8ToGbk("地主张三李四王五赵六");  // 20 bytes
  EXPECT_EQ(GbkToUtf8(GbkCut(name, 15)), "地主张三李四王");    // never half a character
  const std::vector<std::tuple<std::string, std::size_t, std::size_t>> cases = {
      {"ab\xB6\xAB"
       "c",
       3, 2},
      {"ab\xB6\xAB"
       "c",
       4, 4},
      {"abc", 10, 3},
      {"abc", 0, 0},
      {"\x80\x80\x80", 2, 2},  // a stray high byte is one character
  };
  for (const auto& [text, limit, cut] : cases) EXPECT_EQ(GbkCutLength(text, limit), cut) << limit;
}

TEST(Gbk, FixedFieldsAreCutTerminatedAndZeroFilled) {
  std::array<std::uint8_t, 16> field;
  field.fill(0xEE);
  const std::string name = Utf8ToGbk("一二三四五六七八九");  // 18 bytes
  WriteGbkField(field, name);
  EXPECT_EQ(ReadGbkField(field), name.substr(0, 14));
  EXPECT_EQ(field[14], 0);
  EXPECT_EQ(field[15], 0);
  WriteGbkField(field, "ab");
  EXPECT_EQ(ReadGbkField(field), "ab");
  EXPECT_TRUE(std::all_of(field.begin() + 2, field.end(), [](auto b) { return b == 0; }));
  std::array<std::uint8_t, 4> full{'a', 'b', 'c', 'd'};  // no NUL inside
  EXPECT_EQ(ReadGbkField(full), "abcd");
}

}  // namespace
}  // namespace quarn
