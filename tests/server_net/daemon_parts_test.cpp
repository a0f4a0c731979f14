#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "server/daemon/options.h"
#include "server/daemon/shutdown_signals.h"
#include "server/daemon/stdout_view.h"
#include "tests/support/qt_wait.h"

namespace quarn::server {
namespace {

ParsedOptions Parse(std::vector<std::string_view> args) {
  return ParseDaemonOptions(args);
}

// Everything an option can change, in one comparable row.
auto Row(const DaemonOptions& o) {
  const ConsoleSettings& s = o.settings;
  return std::tuple(o.port, o.bind, o.dir, o.help, s.allowBid, s.defaultPoints, s.randEachGame,
                    s.allowDelay, s.delaySync, s.delayDeal, s.tables);
}

TEST(DaemonOptionsTest, DefaultsAreTheConsoleStartValuesAndEveryOptionReachesItsSetting) {
  const ParsedOptions defaults = Parse({});
  ASSERT_EQ(defaults.error, "");
  EXPECT_EQ(Row(defaults.options),
            std::tuple(1073, "0.0.0.0", ".", false, false, "10", false, true, "200", "500", "1"));

  const ParsedOptions parsed = Parse({"--port", "0", "--bid", "--points", "-25", "--rand-each-game",
                                      "--no-delay", "--delay-sync=0", "--delay-deal", "60000",
                                      "--dir", "/tmp/x", "--bind=127.0.0.1", "--tables", "1000"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(Row(parsed.options), std::tuple(0, "127.0.0.1", "/tmp/x", false, true, "-25", true,
                                            false, "0", "60000", "1000"));
  EXPECT_EQ(Parse({"--port=65535"}).options.port, 65535);
  EXPECT_TRUE(Parse({"--help"}).options.help);
  EXPECT_TRUE(Parse({"-h"}).options.help);
}

TEST(DaemonOptionsTest, BadCommandLinesAreRefusedWithAReason) {
  const std::vector<std::vector<std::string_view>> bad = {
      {"--port"},
      {"--port", "65536"},
      {"--port", "-1"},
      {"--port", "12ab"},
      {"--port", ""},
      {"--points", "ten"},
      {"--points", "1e3"},
      {"--points", "99999999999"},
      {"--delay-sync", "-5"},
      {"--delay-deal", "60001"},
      {"--tables", "0"},
      {"--tables", "1001"},
      {"--bid=yes"},
      {"--dir"},
      {"--dir", ""},
      {"--bind"},
      {"--frobnicate"},
      {"1073"},
      {"--no-delay=1"},
  };
  for (const auto& args : bad) {
    const ParsedOptions parsed = Parse(args);
    EXPECT_NE(parsed.error, "") << args[0] << (args.size() > 1 ? args[1] : "");
  }
  EXPECT_NE(Parse({"--frobnicate"}).error.find("--frobnicate"), std::string::npos);
  EXPECT_NE(Parse({"--port", "x"}).error.find("'x'"), std::string::npos);
  // Usage names every option.
  const std::string usage = DaemonUsage();
  for (const char* name :
       {"--port", "--bind", "--bid", "--points", "--rand-each-game", "--no-delay", "--delay-sync",
        "--delay-deal", "--dir", "--help", "listening on port"}) {
    EXPECT_NE(usage.find(name), std::string::npos) << name;
  }
}

TEST(StdoutViewTest, LogLinesGoOutOneALineAndOnlyThem) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  StdoutView view(file);
  view.LogLineAdded("12:00:00启动服务器");
  view.HeroLineAdded("not printed");
  view.StatusChanged("服务器正在运行中...", true);
  view.LogLineAdded("");
  std::rewind(file);
  std::string text(256, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  EXPECT_EQ(text, "12:00:00启动服务器\n\n");
}

TEST(ShutdownSignalsTest, SigtermAndSigintBecomeOneRequestEachOnTheEventLoop) {
  ShutdownSignals signals_;
  ASSERT_TRUE(signals_.Install());
  ASSERT_TRUE(signals_.Install());  // twice is harmless
  std::vector<int> requested;
  QObject::connect(&signals_, &ShutdownSignals::Requested,
                   [&](int signal) { requested.push_back(signal); });
  std::raise(SIGTERM);
  EXPECT_TRUE(requested.empty());  // nothing happens inside the handler
  ASSERT_TRUE(test::WaitFor([&] { return requested.size() == 1; }));
  EXPECT_EQ(requested[0], SIGTERM);
  std::raise(SIGINT);
  ASSERT_TRUE(test::WaitFor([&] { return requested.size() == 2; }));
  EXPECT_EQ(requested[1], SIGINT);
}

}  // namespace
}  // namespace quarn::server
