// quarnd as a process, four loopback players, one whole game and the next deal.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <string>

#include "core/gbk.h"
#include "core/tpoker.h"
#include "protocol/packet_builder.h"
#include "tests/server_net/qt_wait.h"
#include "tests/server_net/quarnd_process.h"
#include "tests/server_net/test_player.h"

namespace quarn::test {
namespace {

using Players = std::array<std::unique_ptr<TestPlayer>, 4>;

// Pumps every player until all have seen `deals` deals; bounded by `ms`.
bool PlayUntilDeals(Players& players, int deals, int ms = 60000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    bool done = true;
    for (auto& player : players) {
      player->Pump(2);
      done = done && player->Deals() >= deals;
    }
    if (done) return true;
  }
  return false;
}

bool LogIn(TestPlayer& player, std::uint16_t port, std::uint8_t seat) {
  if (!player.Connect(port) || !player.SendLogin(seat)) return false;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (player.Seat() < 0 && std::chrono::steady_clock::now() < end) player.Pump(20);
  return player.Seat() >= 0;
}

// The saved files of one kind: a view that reaches 1000 lines is saved under
// a fresh stamp, so a long run leaves several.
std::vector<QByteArray> ReadFilesStartingWith(const QString& dir, const QString& prefix) {
  std::vector<QByteArray> contents;
  for (const QString& name : QDir(dir).entryList({prefix + "*.txt"}, QDir::Files, QDir::Name)) {
    QFile file(QDir(dir).filePath(name));
    if (file.open(QIODevice::ReadOnly)) contents.push_back(file.readAll());
  }
  return contents;
}

// Every line break of a saved file is CR LF.
bool AllLinesEndInCrLf(const QByteArray& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
  }
  return !text.isEmpty() && text.endsWith("\r\n");
}

QByteArray Gbk(const char* utf8) {
  return QByteArray::fromStdString(Utf8ToGbk(utf8));
}

class QuarndGameTest : public WithTestApp, public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QTemporaryDir dir_;
  QuarndProcess quarnd_;
};

// One seat writes whole packets, one dribbles every packet a byte at a time
// (after a run of garbage), one puts a chat into the write of every packet.
// All must see the very same table, byte for byte.
TEST_F(QuarndGameTest, FourPlayersBidPlayAWholeGameAndGetTheNextDeal) {
  ASSERT_TRUE(quarnd_.Start({"--no-delay", "--bid", "--dir", dir_.path()}))
      << quarnd_.Output().toStdString();
  Players players = {
      std::make_unique<TestPlayer>(Utf8ToGbk("东方甲"), SendStyle::Whole),
      std::make_unique<TestPlayer>(Utf8ToGbk("北乙"), SendStyle::ByteByByte),
      std::make_unique<TestPlayer>("west", SendStyle::Whole),
      std::make_unique<TestPlayer>(Utf8ToGbk("南方丁丁"), SendStyle::WithChat),
  };
  const std::uint16_t port = quarnd_.Port();
  ASSERT_TRUE(LogIn(*players[0], port, 0));
  ASSERT_TRUE(players[1]->Connect(port));
  const std::vector<std::uint8_t> garbage(300, 'x');
  ASSERT_TRUE(players[1]->SendRaw(garbage));
  ASSERT_TRUE(players[1]->SendLogin(1));
  for (int i = 0; i < 500 && players[1]->Seat() < 0; ++i) players[1]->Pump(20);
  ASSERT_EQ(players[1]->Seat(), 1);
  ASSERT_TRUE(LogIn(*players[2], port, 2));
  ASSERT_TRUE(LogIn(*players[3], port, 3));  // the fourth login deals
  ASSERT_TRUE(PlayUntilDeals(players, 2)) << quarnd_.Output().toStdString();

  for (int seat = 0; seat < 4; ++seat) {
    const TestPlayer& p = *players[static_cast<std::size_t>(seat)];
    EXPECT_EQ(p.Seat(), seat);
    EXPECT_TRUE(p.Faults().empty()) << p.Faults().front();
  }
  // The first bidder offered 5 and the others passed: it is landlord for 5
  // points, leads all its 33 cards and wins 3 x 5 from the three others.
  const int landlord = players[0]->FirstLandlord();
  ASSERT_GE(landlord, 0);
  EXPECT_EQ(players[0]->FirstPoints(), 5);
  ASSERT_TRUE(players[0]->FirstGameEnd());
  const GameEndRecord& end = *players[0]->FirstGameEnd();
  EXPECT_EQ(end.winner, landlord);
  for (int seat = 0; seat < 4; ++seat) {
    const auto s = static_cast<std::size_t>(seat);
    EXPECT_EQ(end.rounds[s], 1);
    EXPECT_EQ(end.score[s], seat == landlord ? 15 : -5);
    EXPECT_EQ(end.name[s], players[s]->Name());
  }

  // The deal: 25 cards a seat and 8 for the landlord, every card of both decks once.
  std::array<int, 109> seen{};
  for (const auto& player : players) {
    EXPECT_EQ(player->FirstDeal().size(), 25u);
    for (std::uint8_t card : player->FirstDeal()) ++seen[card];
    for (std::uint8_t card : player->FirstExtras()) ++seen[card];
  }
  EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), 1), 108);

  // The same table for everyone, whatever the way their bytes travelled.
  const auto& window = players[0]->Window();
  EXPECT_GT(window.size(), 33u * 8u);
  for (const auto& player : players) EXPECT_TRUE(player->Window() == window);
  const auto chats = std::count_if(window.begin(), window.end(), [](const auto& bytes) {
    return bytes[16] == 0xAB && bytes[17] == 0xAB && bytes[18] == 0x01 && bytes[19] == 0x71;
  });
  EXPECT_EQ(chats, players[3]->ChatsSentInWindow());
  EXPECT_GT(chats, 1);

  // SIGTERM: both files saved, GBK with CR LF; the run log also went to stdout.
  EXPECT_EQ(quarnd_.Terminate(), 0);
  const auto logs = ReadFilesStartingWith(dir_.path(), "Log");
  const auto heroes = ReadFilesStartingWith(dir_.path(), "Hero");
  ASSERT_FALSE(logs.empty());
  ASSERT_EQ(heroes.size(), 1u);
  for (const QByteArray& log : logs) EXPECT_TRUE(AllLinesEndInCrLf(log));
  const QByteArray& hero = heroes[0];
  EXPECT_TRUE(AllLinesEndInCrLf(hero));
  EXPECT_TRUE(logs[0].contains(Gbk("启动服务器")));
  EXPECT_TRUE(hero.contains("****[Table=1]"));
  EXPECT_TRUE(hero.contains(Gbk("[东方甲][坐东][总轮次=1]")));
  EXPECT_TRUE(hero.contains(Gbk("[南方丁丁][坐南][总轮次=1]")));
  EXPECT_TRUE(quarnd_.Output().contains(QString::fromUtf8("启动服务器")));
}

// quarnd on a plain pipe whose read end the test can really close (QProcess
// keeps its own end open).
struct PipedQuarnd {
  pid_t pid = -1;
  int out = -1;
  ~PipedQuarnd() {
    if (out >= 0) ::close(out);
    if (pid > 0 && ::waitpid(pid, nullptr, WNOHANG) == 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  }
  bool Start(const QString& dir) {
    int fds[2];
    if (::pipe(fds) != 0) return false;
    const std::string path = QuarndPath().toStdString();
    const std::string folder = dir.toStdString();
    const char* argv[] = {path.c_str(), "--port",       "0",    "--bind", "127.0.0.1", "--no-delay",
                          "--dir",      folder.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const int error =
        posix_spawn(&pid, path.c_str(), &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out = fds[0];
    return error == 0;
  }
  // Reads (bounded) until the "listening on port N" line; N or 0.
  std::uint16_t ReadPort() {
    std::string text;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
      pollfd watch{out, POLLIN, 0};
      if (::poll(&watch, 1, 100) <= 0) continue;
      char buffer[256];
      const ssize_t got = ::read(out, buffer, sizeof buffer);
      if (got <= 0) return 0;
      text.append(buffer, static_cast<std::size_t>(got));
      const auto at = text.find("listening on port ");
      if (at != std::string::npos && text.find('\n', at) != std::string::npos) {
        return static_cast<std::uint16_t>(std::stoi(text.substr(at + 18)));
      }
    }
    return 0;
  }
  // SIGTERM, then the exit code (bounded wait); -1 for a death by a signal or no exit.
  int Terminate() {
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 1000; ++i) {
      int status = 0;
      if (::waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      ::usleep(10000);
    }
    return -1;
  }
};

TEST_F(QuarndGameTest, AReaderThatGoesAwayDoesNotCostTheFiles) {
  PipedQuarnd quarnd;
  ASSERT_TRUE(quarnd.Start(dir_.path()));
  const std::uint16_t port = quarnd.ReadPort();
  ASSERT_NE(port, 0);
  ::close(quarnd.out);
  quarnd.out = -1;
  TestPlayer player(Utf8ToGbk("孤客"), SendStyle::Whole);
  ASSERT_TRUE(LogIn(player, port, 0));  // its log lines meet a broken pipe
  EXPECT_EQ(quarnd.Terminate(), 0);
  const auto logs = ReadFilesStartingWith(dir_.path(), "Log");
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_TRUE(logs[0].contains(Gbk("累计数据包[1]个。")));
  EXPECT_EQ(ReadFilesStartingWith(dir_.path(), "Hero").size(), 1u);
}

// With pacing on, every packet leaves before the pause that follows it, so a
// client that takes one read as one packet still sees them one by one.
TEST_F(QuarndGameTest, PacedPacketsLeaveOneByOne) {
  ASSERT_TRUE(quarnd_.Start({"--delay-sync", "300", "--delay-deal", "300", "--dir", dir_.path()}));
  std::array<WireClient, 4> clients;
  for (std::uint8_t seat = 0; seat < 4; ++seat) {
    WireClient& client = clients[seat];
    ASSERT_TRUE(client.Connect(quarnd_.Port()));
    auto login = BuildPacket(MessageType::LoginRequest,
                             MakeLoginRequest("p" + std::to_string(seat), "", 1, 1, 1, seat));
    ASSERT_TRUE(login && client.Write(login->data()));
  }
  // The fourth player's reads: LoginReply, SeatList, DealCards, StartCardNotice,
  // then ExtraCards and BidResult (back to back) or BidResult alone.
  WireClient& last = clients[3];
  std::vector<MessageType> types;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (types.size() < 5 && std::chrono::steady_clock::now() < end) {
    for (const Packet& packet : last.Read(50))
      types.push_back(static_cast<MessageType>(packet.RawType()));
  }
  ASSERT_GE(types.size(), 5u);
  EXPECT_EQ(types[0], MessageType::LoginReply);
  EXPECT_EQ(types[1], MessageType::SeatList);
  EXPECT_EQ(types[2], MessageType::DealCards);
  EXPECT_EQ(types[3], MessageType::StartCardNotice);
  const auto& sizes = last.ReadSizes();
  ASSERT_GE(sizes.size(), 4u);
  EXPECT_EQ(sizes[0], 180u);
  EXPECT_EQ(sizes[1], 180u);
  EXPECT_EQ(sizes[2], 76u);
  EXPECT_EQ(sizes[3], 76u);
}

TEST(QuarndExitTest, TakenPortBadOptionsAndHelp) {
  TestApp();
  QTcpServer taken;
  ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
  const QString port = QString::number(taken.serverPort());
  QTemporaryDir dir;
  QString out;
  QString error;
  EXPECT_EQ(RunQuarnd({"--port", port, "--bind", "127.0.0.1", "--dir", dir.path()}, &out, &error),
            1);
  EXPECT_TRUE(error.contains("cannot listen on port " + port)) << error.toStdString();

  for (const QStringList& args :
       {QStringList{"--points", "ten"}, QStringList{"--port", "70000"}, QStringList{"--what"},
        QStringList{"--delay-sync"}, QStringList{"--bind", "not-an-address", "--port", "0"},
        QStringList{"--port", "0", "--bind", "127.0.0.1", "--dir", "/proc/quarn-no-such"}}) {
    error.clear();
    EXPECT_EQ(RunQuarnd(args, &out, &error), 1) << args.join(' ').toStdString();
    EXPECT_TRUE(error.startsWith("quarnd: ")) << error.toStdString();
  }

  EXPECT_EQ(RunQuarnd({"--help"}, &out, &error), 0);
  EXPECT_TRUE(out.contains("--delay-deal"));
}

}  // namespace
}  // namespace quarn::test
