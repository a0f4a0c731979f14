// The run log, the hero board, their files and stamps, the settings, the
// diagnostics dump and the card error lines.
#include <fstream>
#include <sstream>

#include "core/card_error.h"
#include "core/gbk.h"
#include "server/clock_text.h"
#include "server/console_log.h"
#include "server/table_settings.h"
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ClockText, LongTimeAndFileStamp) {
  FakeHost host;
  EXPECT_EQ(LongTimeText(host.LocalTime()), "14:40:34");
  EXPECT_EQ(FileStampText(host.LocalTime()), "261220_144034.txt");
  std::tm early{};
  early.tm_year = 100;
  early.tm_mon = 0;
  early.tm_mday = 2;
  early.tm_hour = 3;
  EXPECT_EQ(FileStampText(early), "000102_030000.txt");
  EXPECT_EQ(LongTimeText(early), "03:00:00");
}

TEST(ConsoleLog, RunLogRotatesAtAThousandLines) {
  FakeHost host;
  FakeView view;
  const auto dir = FreshDir("log_rotation");
  ConsoleLog log(host, view, dir);
  log.TakeStamp();
  const std::string first = log.Stamp();
  for (int line = 1; line <= 999; ++line) log.Line("行" + std::to_string(line));
  EXPECT_FALSE(std::filesystem::exists(dir / ("Log" + first)));
  EXPECT_EQ(view.log.size(), 999u);
  EXPECT_EQ(view.log[0], "14:40:34行1");

  log.Line("行1000");
  // Saved under the first stamp, GBK with CR LF, then emptied with a new stamp.
  const std::string saved = ReadFile(dir / ("Log" + first));
  EXPECT_EQ(saved.substr(0, 13), "14:40:34" + Utf8ToGbk("行1") + "\r\n");
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 1000);
  EXPECT_EQ(view.logCleared, 1);
  EXPECT_TRUE(log.Log().Lines().empty());
  EXPECT_NE(log.Stamp(), first);  // same second on the clock, still a new stamp

  // The next file of either board uses the new stamp; the close saves both.
  log.Line("after");
  log.HeroBlock(std::vector<std::string>{"英雄"});
  ASSERT_TRUE(log.SaveBoth());
  EXPECT_EQ(ReadFile(dir / ("Log" + log.Stamp())), "14:40:34after\r\n");
  EXPECT_EQ(ReadFile(dir / ("Hero" + log.Stamp())), Utf8ToGbk("英雄") + "\r\n");
  EXPECT_EQ(ReadFile(dir / ("Log" + first)), saved);  // never overwritten
}

TEST(ConsoleLog, HeroBoardRotatesAfterWholeBlocks) {
  FakeHost host;
  FakeView view;
  const auto dir = FreshDir("hero_rotation");
  ConsoleLog log(host, view, dir);
  log.TakeStamp();
  const std::string first = log.Stamp();
  const std::vector<std::string> block(5, "x");
  for (int game = 0; game < 199; ++game) log.HeroBlock(block);
  EXPECT_EQ(view.heroCleared, 0);
  host.Advance(std::chrono::seconds(5));
  log.HeroBlock(block);  // line 1000
  EXPECT_EQ(view.heroCleared, 1);
  EXPECT_EQ(ReadFile(dir / ("Hero" + first)).size(), 1000u * 3u);
  EXPECT_EQ(log.Stamp(), "261220_144039.txt");
  EXPECT_TRUE(log.Hero().Lines().empty());
}

TEST(ConsoleLog, UnwritableDirectoryKeepsTheLines) {
  FakeHost host;
  FakeView view;
  ConsoleLog log(host, view, "/nonexistent/quarn/dir");
  log.TakeStamp();
  for (int line = 0; line < 1500; ++line) log.Line("x");
  EXPECT_EQ(view.logCleared, 0);
  EXPECT_EQ(log.Log().Lines().size(), 1500u);
  EXPECT_FALSE(log.SaveBoth());
}

TEST(Settings, ParsedAndRefused) {
  EXPECT_EQ(ParseInteger(" 42 "), 42);
  EXPECT_EQ(ParseInteger("+7"), 7);
  EXPECT_EQ(ParseInteger("-3"), -3);
  for (const char* bad : {"", " ", "abc", "10x", "1.5", "+-5", "99999999999999999999"}) {
    EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
  }
  ConsoleSettings console;
  console.allowBid = true;
  console.defaultPoints = "300";
  console.allowDelay = false;
  console.delaySync = "0";
  const auto parsed = ParseSettings(console);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_TRUE(parsed->allowBid);
  EXPECT_EQ(parsed->defaultPoints, 300u);
  EXPECT_FALSE(parsed->allowDelay);
  EXPECT_EQ(parsed->delayDealMs, 500u);
  // A negative pause would freeze the server for weeks once made unsigned.
  for (auto field : {&ConsoleSettings::defaultPoints, &ConsoleSettings::delaySync,
                     &ConsoleSettings::delayDeal}) {
    ConsoleSettings bad;
    bad.*field = "-1";
    EXPECT_FALSE(ParseSettings(bad).has_value());
    bad.*field = "ten";
    EXPECT_FALSE(ParseSettings(bad).has_value());
  }
}

TEST(Console, DiagnosticsCardErrorsAndStatus) {
  Harness h("diagnostics");
  EXPECT_EQ(h.view.status, "服务器正在运行中...");
  EXPECT_TRUE(h.view.listening);
  EXPECT_EQ(h.view.log.back(), "14:40:34启动服务器");
  h.app.DumpDiagnostics();
  const std::vector<std::string> dump(h.view.log.end() - 3, h.view.log.end());
  EXPECT_EQ(dump, (std::vector<std::string>{"14:40:34--------开始诊断--------",
                                            "14:40:34[Status=2][Count=0][Players=(0)(0)(0)(0)]",
                                            "14:40:34--------结束诊断--------"}));
  // The core's card errors go to the run log with their tag.
  ReportCardError(5);
  EXPECT_EQ(h.view.log.back(), "14:40:34[错误]对牌必须连续。[5]");
  h.Open(1);
  h.Login(1, "Ann", 2);
  h.app.DumpDiagnostics();
  EXPECT_EQ(h.view.log[h.view.log.size() - 2], "14:40:34[Status=2][Count=1][Players=(0)(0)(1)(0)]");
}

}  // namespace
}  // namespace quarn::server::testing
