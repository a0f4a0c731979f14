// The run log, the hero board, their files and stamps, the settings, the
// diagnostics dump and the card error lines.
#include <fstream>
#include <sstream>

#include "core/card_error.h"
#include "core/gbk.h"
#include "server/clock_text.h"
#include "server/console_log.h"
#include "server/server_settings.h"
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

// A whole game with a refused play, a card error and a leave, at each run log
// level: the lines each keeps. The console's level has no line it never had.
TEST(RunLogLevels, AWholeGameAtEachLevel) {
  for (const LogLevel level : {LogLevel::Packets, LogLevel::Game, LogLevel::Quiet}) {
    Harness h(false, 1, level);
    h.SeatFour();
    const std::uint32_t landlord = h.table().Landlord;
    h.PlayLowest(NextSeat(landlord));  // out of turn: refused
    ReportCardError(5);
    for (int move = 0; move < 200 && h.table().Players[0].Rounds == 0; ++move) h.LandlordLeads();
    h.app.ConnectionClosed(2);
    h.app.SaveFiles();  // the whole run log, in the files, without the times
    std::string log = "\n";
    for (const auto& file : std::filesystem::directory_iterator(h.dir.path())) {
      if (!file.path().filename().string().starts_with("Log")) continue;
      std::istringstream lines(GbkToUtf8(ReadFile(file)));
      for (std::string line; std::getline(lines, line);)
        log += line.substr(8, line.size() - 9) + "\n";
    }
    const auto has = [&log](const std::string& line) {
      return log.find("\n" + line + "\n") != std::string::npos;
    };
    const bool packets = level == LogLevel::Packets, game = level == LogLevel::Game;
    EXPECT_EQ(has("累计数据包[1]个。"), packets) << log;
    EXPECT_EQ(has("[发送数据包]180"), packets);
    EXPECT_EQ(has("启动服务器"), level != LogLevel::Quiet);
    const auto tag = [](std::uint32_t seat) {  // seats 0..3 hold A..D
      return "[" + std::to_string(seat) + ":" + SeatNames[seat] + "]" +
             std::string(1, static_cast<char>('A' + seat));
    };
    const std::string lord = tag(landlord);
    for (const std::string& line :
         {std::string("[1][0:东]A入座"), "[1]发牌，首家" + lord, "[1]地主" + lord + "，10分",
          "[1]" + tag(NextSeat(landlord)) + "的出牌被拒绝",
          "[1]牌局结束，" + lord + "出完，地主胜，总分[A=30][B=-10][C=-10][D=-10]",
          std::string("[1][1:北]B离座")}) {
      EXPECT_EQ(has(line), game) << line;
    }
    const std::string error = "[错误]对牌必须连续。[5]";
    EXPECT_TRUE(has(error));
    if (level == LogLevel::Quiet) {
      EXPECT_EQ(log, "\n" + error + "\n");
    }
  }
}

TEST(Settings, ParsedAndRefused) {
  // The limits are tested where settings are typed: the daemon's options, the console's fields.
  EXPECT_EQ(ParseInteger(" +42 "), 42);
  for (const char* bad : {"", "abc", "10x", "1.5", "+-5", "99999999999999999999"}) {
    EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
  }
  EXPECT_TRUE(InLimits(ServerSettings{}));
  for (auto field :
       {&ServerSettings::defaultPoints, &ServerSettings::delaySyncMs, &ServerSettings::delayDealMs,
        &ServerSettings::tables, &ServerSettings::turnTimeS}) {
    ServerSettings settings;
    settings.*field = field == &ServerSettings::tables ? 0 : 99'999'999;
    EXPECT_FALSE(InLimits(settings));
  }
}

}  // namespace
}  // namespace quarn::server::testing
