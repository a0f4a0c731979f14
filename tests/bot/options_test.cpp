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

// The fields of the options in one line, for comparing whole results.
std::string Fields(const BotOptions& o) {
  return o.host + " " + std::to_string(o.port) + " " + o.name + " " + std::to_string(o.table) +
         " " + std::to_string(o.seat) + " " + std::to_string(o.games) + " " +
         std::to_string(o.thinkMs) + " " + o.password + (o.reconnect ? " reconnect" : "") +
         (o.level == ai::Level::Basic ? " basic" : " strong");
}

TEST(BotOptions, DefaultsAndEveryFlagInBothSpellings) {
  ParseResult none = Parse({});
  ASSERT_TRUE(none.ok);
  EXPECT_EQ(Fields(none.options), "127.0.0.1 1073  1 0 0 200  strong");
  ParseResult all = Parse({"--host", "10.0.0.2", "--port=4000", "--name", "小明", "--seat", "3",
                           "--games=50", "--reconnect", "--think", "0", "--password=pw", "--table",
                           "1000999", "--level=basic", "--narrate", "--watch"});
  ASSERT_TRUE(all.ok) << all.error;
  EXPECT_EQ(Fields(all.options), "10.0.0.2 4000 小明 1000999 3 50 0 pw reconnect basic");
  EXPECT_TRUE(all.options.narrate && !none.options.narrate);
  EXPECT_TRUE(all.options.watch && !none.options.watch);
  EXPECT_TRUE(Parse({"--help"}).helpAsked);
}

TEST(BotOptions, BadValuesAreRefusedWithAReason) {
  for (std::vector<std::string_view> bad :
       std::vector<std::vector<std::string_view>>{{"--port", "0"},
                                                  {"--port", "65536"},
                                                  {"--port", "12ab"},
                                                  {"--seat", "4"},
                                                  {"--seat", "-1"},
                                                  {"--table", "0"},
                                                  {"--table", "1001000"},
                                                  {"--games", "-3"},
                                                  {"--think", ""},
                                                  {"--level", "expert"},
                                                  {"--host", ""},
                                                  {"--seat"},
                                                  {"--colour", "red"}}) {
    const ParseResult result = Parse(bad);
    EXPECT_FALSE(result.ok || result.error.empty()) << bad[0];
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
