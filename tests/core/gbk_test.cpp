#include "core/gbk.h"

#include <gtest/gtest.h>

#include <array>

namespace quarn {
namespace {

// "东北" in GBK: B6 AB B1 B1.
const std::string kDongBei = "\xB6\xAB\xB1\xB1";

TEST(Gbk, ConvertsBothWaysAndReplacesWhatItCannot) {
  EXPECT_EQ(Utf8ToGbk("东北"), kDongBei);
  EXPECT_EQ(GbkToUtf8(kDongBei), "东北");
  EXPECT_EQ(Utf8ToGbk("a东b"), "a\xB6\xAB" "b");
  EXPECT_EQ(Utf8ToGbk(""), "");
  // An emoji has no GBK form; a stray continuation byte is malformed.
  EXPECT_EQ(Utf8ToGbk("x\xF0\x9F\x98\x80y"), "x?y");
  EXPECT_EQ(Utf8ToGbk("x\x80y"), "x?y");
  // A lead byte with nothing after it.
  EXPECT_EQ(GbkToUtf8("ab\xB6"), "ab\xEF\xBF\xBD");
  const std::string longText(1000, 'z');
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk(longText)), longText);
}

TEST(Gbk, CutsOnlyAtCharacterBoundaries) {
  const std::string name = Utf8ToGbk("地主张三李四王五赵六");  // 10 characters, 20 bytes
  ASSERT_EQ(name.size(), 20u);
  EXPECT_EQ(GbkCutLength(name, 15), 14u);  // never half a character
  EXPECT_EQ(GbkToUtf8(GbkCut(name, 15)), "地主张三李四王");
  EXPECT_EQ(GbkCutLength("ab\xB6\xAB" "c", 3), 2u);
  EXPECT_EQ(GbkCutLength("ab\xB6\xAB" "c", 4), 4u);
  EXPECT_EQ(GbkCutLength("abc", 10), 3u);
  EXPECT_EQ(GbkCutLength("abc", 0), 0u);
  // A stray high byte counts as one character.
  EXPECT_EQ(GbkCutLength("\x80\x80\x80", 2), 2u);
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
  for (std::size_t i = 2; i < field.size(); ++i) EXPECT_EQ(field[i], 0) << i;

  std::array<std::uint8_t, 4> full{'a', 'b', 'c', 'd'};  // no NUL inside
  EXPECT_EQ(ReadGbkField(full), "abcd");
}

}  // namespace
}  // namespace quarn
