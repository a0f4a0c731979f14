#include "bot/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gbk.h"

namespace quarn::bot {
namespace {

ParseResult Parse(std::vector<std::string_view> args) {
  return ParseBotOptions(args);
}

TEST(BotOptions, DefaultsAndEveryFlagInBothSpellings) {
  ParseResult none = Parse({});
  ASSERT_TRUE(none.ok);
  EXPECT_EQ(none.options.host, "127.0.0.1");
  EXPECT_EQ(none.options.port, 1073);
  EXPECT_EQ(none.options.seat, 0);
  EXPECT_EQ(none.options.games, 0);

  ParseResult all = Parse({"--host", "10.0.0.2", "--port=4000", "--name", "小明", "--seat", "3",
                           "--games=50", "--think", "0"});
  ASSERT_TRUE(all.ok) << all.error;
  EXPECT_EQ(all.options.host, "10.0.0.2");
  EXPECT_EQ(all.options.port, 4000);
  EXPECT_EQ(all.options.name, "小明");
  EXPECT_EQ(all.options.seat, 3);
  EXPECT_EQ(all.options.games, 50);
  EXPECT_EQ(all.options.thinkMs, 0);

  EXPECT_TRUE(Parse({"--help"}).helpAsked);
}

TEST(BotOptions, BadValuesAreRefusedWithAReason) {
  for (std::vector<std::string_view> bad : std::vector<std::vector<std::string_view>>{
           {"--port", "0"},
           {"--port", "65536"},
           {"--port", "12ab"},
           {"--seat", "4"},
           {"--seat", "-1"},
           {"--games", "-3"},
           {"--think", ""},
           {"--host", ""},
           {"--seat"},
           {"--colour", "red"},
       }) {
    ParseResult result = Parse(bad);
    EXPECT_FALSE(result.ok) << bad[0];
    EXPECT_FALSE(result.error.empty()) << bad[0];
  }
}

TEST(BotOptions, LoginNameIsGbkCutAtACharacterBoundary) {
  BotOptions options;
  options.seat = 2;
  EXPECT_EQ(GbkToUtf8(LoginNameGbk(options)), "电脑3");
  options.name = "Robot";
  EXPECT_EQ(LoginNameGbk(options), "Robot");
  // Eight Chinese characters are 16 GBK bytes: the eighth does not fit.
  options.name = "一二三四五六七八";
  EXPECT_EQ(GbkToUtf8(LoginNameGbk(options)), "一二三四五六七");
  options.name = "abcdefghijklmnopqrst";
  EXPECT_EQ(LoginNameGbk(options), "abcdefghijklmno");
}

}  // namespace
}  // namespace quarn::bot
