// The run log, the hero board, their files and stamps, the settings, the
// diagnostics dump and the card error lines.
#include <fstream>

#include "core/card_error.h"
#include "core/gbk.h"
#include "server/clock_text.h"
#include "server/console_log.h"
#include "server/table_settings.h"
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

using test::ReadFile;

// A run log and hero board saving into a fresh folder, stamped at 14:40:34.
class ConsoleLogTest : public ::testing::Test {
 protected:
  void SetUp() override { log.TakeStamp(); }

  FakeHost host;
  FakeView view;
  const test::TempDir temp;
  const std::filesystem::path& dir = temp.path();
  ConsoleLog log{host, view, dir};
};

TEST_F(ConsoleLogTest, RunLogRotatesAtAThousandLines) {
  const std::string first = log.Stamp();
  EXPECT_EQ(first, "261220_144034.txt");
  for (int line = 1; line <= 999; ++line) log.Line(LineKind::Event, "行" + std::to_string(line));
  EXPECT_FALSE(std::filesystem::exists(dir / ("Log" + first)));
  EXPECT_EQ(view.log[0], "14:40:34行1");
  log.Line(LineKind::Event, "行1000");
  // Saved as GBK with CR LF under the first stamp, then emptied under a new one.
  const std::string saved = ReadFile(dir / ("Log" + first));
  EXPECT_EQ(saved.substr(0, 13), "14:40:34" + Utf8ToGbk("行1") + "\r\n");
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 1000);
  EXPECT_EQ(view.logCleared, 1);
  EXPECT_TRUE(log.Log().Lines().empty());
  // Within one second of the clock every save gets a number of its own, not a later stamp.
  for (int line = 0; line < 2000; ++line) log.Line(LineKind::Event, "x");
  EXPECT_EQ(ReadFile(dir / "Log261220_144034_001.txt").size(), 1000u * 11u);
  EXPECT_TRUE(std::filesystem::exists(dir / "Log261220_144034_002.txt"));
  EXPECT_EQ(log.Stamp(), "261220_144034_003.txt");
  // Both boards' next files share the new stamp; the first file is never overwritten.
  log.Line(LineKind::Event, "after");
  log.HeroBlock(std::vector<std::string>{"英雄"});
  ASSERT_TRUE(log.SaveBoth());
  EXPECT_EQ(ReadFile(dir / ("Log" + log.Stamp())), "14:40:34after\r\n");
  EXPECT_EQ(ReadFile(dir / ("Hero" + log.Stamp())), Utf8ToGbk("英雄") + "\r\n");
  EXPECT_EQ(ReadFile(dir / ("Log" + first)), saved);
}

// The daemon's files: numbered stamps that skip the names an earlier run left,
// and only the newest Log files kept (Hero files and other files stay).
TEST_F(ConsoleLogTest, NumberedFilesKeepTheNewestLogs) {
  for (const char* name : {"Log261220_144034_001.txt", "Log261219_100000.txt",
                           "Hero261219_100000.txt", "Log-notes.txt"}) {
    std::ofstream(dir / name) << "earlier";
  }
  ConsoleLog daemon(host, view, dir, {.numberedFiles = true, .keepLogs = 3});
  daemon.TakeStamp();
  EXPECT_EQ(daemon.Stamp(), "261220_144034_002.txt");
  for (int line = 0; line < 3000; ++line) daemon.Line(LineKind::Event, "x");
  host.elapsed = std::chrono::seconds(1);
  for (int line = 0; line < 1000; ++line) daemon.Line(LineKind::Event, "y");
  EXPECT_EQ(daemon.Stamp(), "261220_144035_001.txt");
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Hero261219_100000.txt", "Log-notes.txt",
                                             "Log261220_144034_003.txt", "Log261220_144034_004.txt",
                                             "Log261220_144034_005.txt"}));
  EXPECT_EQ(ReadFile(dir / "Log261220_144034_005.txt").substr(8, 1), "y");
}

TEST_F(ConsoleLogTest, HeroBoardRotatesAfterWholeBlocksAndFailedSavesKeepLines) {
  const std::vector<std::string> block(5, "x");
  for (int game = 0; game < 199; ++game) log.HeroBlock(block);
  EXPECT_EQ(view.heroCleared, 0);
  host.elapsed = std::chrono::seconds(5);
  log.HeroBlock(block);  // line 1000
  EXPECT_EQ(view.heroCleared, 1);
  EXPECT_EQ(ReadFile(dir / "Hero261220_144034.txt").size(), 1000u * 3u);
  EXPECT_EQ(log.Stamp(), "261220_144039.txt");

  ConsoleLog lost(host, view, "/nonexistent/quarn");
  for (int line = 0; line < 1500; ++line) lost.Line(LineKind::Event, "x");
  EXPECT_EQ(lost.Log().Lines().size(), 1500u);
  EXPECT_FALSE(lost.SaveBoth());
}

TEST(Settings, ParsedAndRefused) {
  EXPECT_EQ(ParseInteger(" +42 "), 42);
  for (const char* bad : {"", "abc", "10x", "1.5", "+-5", "99999999999999999999"}) {
    EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
  }
  ConsoleSettings console{.allowBid = true, .defaultPoints = "300", .delaySync = "0"};
  const auto parsed = ParseSettings(console);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(
      std::tie(parsed->allowBid, parsed->defaultPoints, parsed->delaySyncMs, parsed->delayDealMs),
      std::tuple(true, 300u, 0u, 500u));
  // A negative pause, made unsigned, would freeze the server for weeks.
  for (auto field : {&ConsoleSettings::defaultPoints, &ConsoleSettings::delaySync,
                     &ConsoleSettings::delayDeal}) {
    for (const char* bad : {"-1", "ten", "99999999"}) {
      ConsoleSettings settings;
      settings.*field = bad;
      EXPECT_FALSE(ParseSettings(settings).has_value()) << bad;
    }
  }
}

TEST(Console, DiagnosticsCardErrorsAndStatus) {
  Harness h;
  EXPECT_EQ(h.view.status, "服务器正在运行中...");
  EXPECT_EQ(h.view.log.back(), "14:40:34启动服务器");
  h.app.DumpDiagnostics();
  EXPECT_EQ(std::vector(h.view.log.end() - 3, h.view.log.end()),
            (std::vector<std::string>{"14:40:34--------开始诊断--------",
                                      "14:40:34[Status=2][Count=0][Players=(0)(0)(0)(0)]",
                                      "14:40:34--------结束诊断--------"}));
  ReportCardError(5);
  EXPECT_EQ(h.view.log.back(), "14:40:34[错误]对牌必须连续。[5]");
}

}  // namespace
}  // namespace quarn::server::testing
