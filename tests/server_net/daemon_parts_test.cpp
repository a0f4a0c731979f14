#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <csignal>
#include <sstream>
#include <string>
#include <vector>

#include "server/daemon/line_buffer.h"
#include "server/daemon/options.h"
#include "server/daemon/shutdown_signals.h"

namespace quarn::server {
namespace {

ParsedOptions Parse(std::vector<std::string_view> args) {
  return ParseDaemonOptions(args);
}

// A command line of words split at blanks; '' is an empty word.
ParsedOptions ParseLine(std::string_view line) {
  std::vector<std::string_view> words;
  for (std::size_t at = 0; at <= line.size();) {
    const std::size_t end = std::min(line.find(' ', at), line.size());
    const std::string_view word = line.substr(at, end - at);
    words.push_back(word == "''" ? std::string_view() : word);
    at = end + 1;
  }
  return Parse(words);
}

// Everything an option can change, in one comparable row.
auto Row(const DaemonOptions& o) {
  const ServerSettings& s = o.settings;
  return std::tuple(o.port, o.bind, o.dir, o.help, s.allowBid, s.defaultPoints, s.randEachGame,
                    s.allowDelay, s.delaySyncMs, s.delayDealMs, s.tables, o.log.level,
                    o.log.keepLogs, s.keepSeats, s.turnTimeS, s.firstTable, s.spectators, s.lobby,
                    s.spectatorChat, o.proxyProtocol);
}

TEST(DaemonOptionsTest, DefaultsAreTheConsoleStartValuesAndEveryOptionReachesItsSetting) {
  const ParsedOptions defaults = Parse({});
  ASSERT_EQ(defaults.error, "");
  EXPECT_EQ(Row(defaults.options),
            std::tuple(1073, "0.0.0.0", ".", false, false, 10u, false, true, 200u, 500u, 1u,
                       LogLevel::Game, 0u, false, 0u, 0u, 0u, true, false, false));
  EXPECT_TRUE(defaults.options.log.numberedFiles);

  const ParsedOptions parsed = ParseLine(
      "--port 0 --bid --points 25 --rand-each-game --no-delay --delay-sync=0 --delay-deal 60000 "
      "--dir /tmp/x --bind=127.0.0.1 --tables 1000 --log packets --keep-logs=7 --keep-seats "
      "--turn-time=30 --first-table 1000000 --spectators 200 --no-lobby --spectator-chat "
      "--proxy-protocol");
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(Row(parsed.options),
            std::tuple(0, "127.0.0.1", "/tmp/x", false, true, 25u, true, false, 0u, 60000u, 1000u,
                       LogLevel::Packets, 7u, true, 30u, 1000000u, 200u, false, true, true));
  EXPECT_EQ(Parse({"--log=quiet"}).options.log.level, LogLevel::Quiet);
  EXPECT_EQ(Parse({"--port=65535"}).options.port, 65535);
  // The web port is off unless asked for.
  EXPECT_FALSE(defaults.options.webPort.has_value());
  const ParsedOptions web = ParseLine("--web 8080 --web-root /srv/page");
  EXPECT_EQ(web.options.webPort, 8080);
  EXPECT_EQ(web.options.webRoot, "/srv/page");
  EXPECT_FALSE(defaults.options.settings.accounts);
  EXPECT_TRUE(ParseLine("--accounts --db /tmp/g.db").options.settings.accounts);
  EXPECT_TRUE(Parse({"--help"}).options.help);
  EXPECT_TRUE(Parse({"-h"}).options.help);
}

TEST(DaemonOptionsTest, BadCommandLinesAreRefusedWithAReason) {
  std::istringstream lines(
      "--port|--port 65536|--port -1|--port 12ab|--port ''|--points ten|--points 1e3|"
      "--points 99999999999|--points -25|--points 1000001|--delay-sync -5|--delay-deal "
      "60001|--tables 0|--tables 1001|"
      "--bid=yes|--dir|--dir ''|--bind|--frobnicate|1073|--no-delay=1|--log loud|--log|"
      "--keep-logs -1|--turn-time 3601|--web|--web 65536|--web-root|--web-root ''|"
      "--accounts|--accounts=1 --db g.db|--first-table 0|--first-table 1000001|--first-table|"
      "--spectators 201|--no-lobby=1|--spectator-chat=1|--proxy-protocol=1");
  for (std::string line; std::getline(lines, line, '|');) {
    EXPECT_NE(ParseLine(line).error, "") << line;
  }
  EXPECT_NE(Parse({"--frobnicate"}).error.find("--frobnicate"), std::string::npos);
  EXPECT_NE(Parse({"--port", "x"}).error.find("'x'"), std::string::npos);
  // Usage names every option.
  const std::string usage = DaemonUsage();
  for (const char* name :
       {"--port",          "--bind",       "--bid",        "--points",   "--rand-each-game",
        "--no-delay",      "--delay-sync", "--delay-deal", "--dir",      "--log",
        "--first-table",   "--keep-logs",  "--web",        "--web-root", "--accounts",
        "reset-password",  "--remove",     "--version",    "--help",     "listening on port",
        "--proxy-protocol"}) {
    EXPECT_NE(usage.find(name), std::string::npos) << name;
  }
}

// A reader that takes `room` bytes per call and then nothing, until given more room.
TEST(LineBufferTest, AFullBufferDropsWholeLinesInOrderAndTellsHowManyLater) {
  LineBuffer buffer(200);
  std::string out;
  long room = 0;
  const LineBuffer::Writer reader = [&](std::span<const char> bytes) {
    const long taken = std::min<long>(room, static_cast<long>(bytes.size()));
    out.append(bytes.data(), static_cast<std::size_t>(taken));
    room -= taken;
    return taken;
  };
  std::string kept;
  for (int line = 1; line <= 40; ++line) {
    // Line 27 ("x" and its line break) would fill the buffer one byte past its size.
    buffer.Add(line == 27 ? "x" : "line " + std::to_string(line));
    if (line <= 26) kept += "line " + std::to_string(line) + "\n";  // 199 bytes fit in 200
  }
  EXPECT_FALSE(buffer.Flush(reader));  // no room: nothing written, nothing lost
  EXPECT_EQ(buffer.Dropped(), 14u);
  room = 10;
  EXPECT_FALSE(buffer.Flush(reader));  // a part of a line now, the rest later
  room = 1000;
  buffer.Add("late");  // still dropped: the count is told before any later line
  EXPECT_TRUE(buffer.Flush(reader));
  buffer.Add("after");
  EXPECT_TRUE(buffer.Flush(reader));
  EXPECT_EQ(out, kept +
                     "quarnd: 15 log lines dropped: standard output was not read fast enough\n"
                     "after\n");
  // A reader that is gone takes nothing more and stops nothing.
  buffer.Add("lost");
  EXPECT_TRUE(buffer.Flush([](std::span<const char>) { return -1L; }));
  buffer.Add("lost too");
  EXPECT_TRUE(buffer.Empty());
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
  ASSERT_TRUE(QTest::qWaitFor([&] { return requested.size() == 1; }));
  EXPECT_EQ(requested[0], SIGTERM);
  std::raise(SIGINT);
  ASSERT_TRUE(QTest::qWaitFor([&] { return requested.size() == 2; }));
  EXPECT_EQ(requested[1], SIGINT);
}

}  // namespace
}  // namespace quarn::server
