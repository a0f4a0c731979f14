// quarnd as a process over loopback: paced packets, a vanished log reader, and
// the ways it refuses to start.
#include <gtest/gtest.h>

#include <QDir>
#include <QTcpServer>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <string>

#include "core/gbk.h"
#include "protocol/packet_builder.h"
#include "server/password_hash.h"
#include "store/sqlite/sqlite_database.h"
#include "tests/support/child_process.h"
#include "tests/support/wire_client.h"

namespace quarn::test {
namespace {

using Clock = std::chrono::steady_clock;

class QuarndGameTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  std::string Dir() const { return dir_.path().toStdString(); }

  // quarnd with `args` and the test's folder for its files.
  void Start(std::vector<std::string> args) {
    args.insert(args.end(), {"--dir", Dir()});
    port_ = StartQuarnd(quarnd_, args);
    ASSERT_NE(port_, 0) << quarnd_.Output() << quarnd_.Errors();
  }

  QTemporaryDir dir_;
  ChildProcess quarnd_;
  std::uint16_t port_ = 0;
};

// With pacing on, every packet leaves before the pause that follows it, so a
// client that takes one read as one packet still sees them one by one.
TEST_F(QuarndGameTest, PacedPacketsLeaveOneByOne) {
  ASSERT_NO_FATAL_FAILURE(Start({"--delay-sync", "300", "--delay-deal", "300"}));
  std::array<WireClient, 4> clients;
  for (std::uint8_t seat = 0; seat < 4; ++seat) {
    WireClient& client = clients[seat];
    ASSERT_TRUE(client.Connect(port_));
    auto login = BuildPacket(MessageType::LoginRequest,
                             MakeLoginRequest("p" + std::to_string(seat), "", 1, 1, 1, seat));
    // Logins that arrive together are taken in any order: the last one waits
    // until the others are answered, so that it is the fourth.
    const auto answered = Clock::now() + std::chrono::seconds(10);
    for (std::uint8_t other = 0; seat == 3 && other < 3 && Clock::now() < answered;) {
      if (clients[other].ReadSizes().empty()) {
        clients[other].Read(50);
      } else {
        ++other;
      }
    }
    ASSERT_TRUE(login && client.Write(login->data()));
  }
  // The fourth player's reads: LoginReply, SeatList, DealCards, StartCardNotice, ...
  WireClient& last = clients[3];
  std::vector<MessageType> types;
  const auto end = Clock::now() + std::chrono::seconds(20);
  while (types.size() < 4 && Clock::now() < end) {
    quarnd_.Drain();
    for (const Packet& packet : last.Read(50))
      types.push_back(static_cast<MessageType>(packet.RawType()));
  }
  const std::vector<MessageType> expected = {MessageType::LoginReply, MessageType::SeatList,
                                             MessageType::DealCards, MessageType::StartCardNotice};
  ASSERT_GE(types.size(), 4u);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), types.begin()));
  std::vector<std::size_t> sizes = last.ReadSizes();
  sizes.resize(4);
  EXPECT_EQ(sizes, (std::vector<std::size_t>{180, 180, 76, 76}));
}

TEST_F(QuarndGameTest, AReaderThatGoesAwayDoesNotCostTheFiles) {
  // quarnd itself, its output read up to the port's line by a reader that then ends.
  const std::string quarnd = (ProgramFolder() / "quarnd").string();
  ASSERT_TRUE(quarnd_.Start(
      "/bin/bash", {"-c", "exec \"$0\" \"$@\" > >(sed '/listening on/q')", quarnd, "--port", "0",
                    "--bind", "127.0.0.1", "--no-delay", "--log", "packets", "--dir", Dir()}));
  port_ = ListeningPort(quarnd_);
  ASSERT_NE(port_, 0) << quarnd_.Errors();
  WireClient player;  // its login's log lines meet a broken pipe
  ASSERT_TRUE(player.Connect(port_));
  ASSERT_TRUE(player.Write(
      BuildPacket(MessageType::LoginRequest, MakeLoginRequest("p", "", 1, 1, 1, 0))->data()));
  ASSERT_FALSE(player.Read(5000).empty());
  EXPECT_EQ(quarnd_.Terminate(), 0);
  const QDir dir(dir_.path());
  const QStringList logs = dir.entryList({"Log*.txt"});
  ASSERT_EQ(logs.size(), 1);
  EXPECT_NE(ReadFile(dir.filePath(logs[0]).toStdString()).find(Utf8ToGbk("累计数据包[1]个。")),
            std::string::npos);
  EXPECT_EQ(dir.entryList({"Hero*.txt"}).size(), 1);
}

TEST(QuarndExitTest, TakenPortBadOptionsAndHelp) {
  QTcpServer taken;
  ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
  const std::string port = std::to_string(taken.serverPort());
  QTemporaryDir dir;
  const std::filesystem::path quarnd = ProgramFolder() / "quarnd";
  RunResult run = RunProgram(
      quarnd, {"--port", port, "--bind", "127.0.0.1", "--dir", dir.path().toStdString()});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("cannot listen on port " + port), std::string::npos) << run.err;

  // Refused by the options, then by what the options name.
  const std::vector<std::vector<std::string>> refused = {
      {"--what"},
      {"--bind", "not-an-address", "--port", "0"},
      {"--port", "0", "--bind", "127.0.0.1", "--dir", "/proc/quarn-no-such"}};
  for (const auto& args : refused) {
    run = RunProgram(quarnd, args);
    EXPECT_EQ(run.code, 1) << args[0];
    EXPECT_TRUE(run.err.starts_with("quarnd: ")) << run.err;
  }

  run = RunProgram(quarnd, {"--help"});
  EXPECT_EQ(run.code, 0);
  EXPECT_NE(run.out.find("--delay-deal"), std::string::npos);
}

// The operator's reset: refused while a server holds the file, then a new
// password (GBK on the file, as clients send it) and a freed name.
TEST_F(QuarndGameTest, ResetPasswordWorksOnAStoppedServersFile) {
  const std::string db = Dir() + "/games.db";
  ASSERT_NO_FATAL_FAILURE(Start({"--db", db, "--accounts"}));
  WireClient client;
  ASSERT_TRUE(client.Connect(port_));
  const std::string name = Utf8ToGbk("张三");
  const auto login =
      BuildPacket(MessageType::LoginRequest, MakeLoginRequest(name, "old", 1, 1, 1, 0));
  ASSERT_TRUE(login && client.Write(login->data()));
  LoginRecord reply;
  for (const auto end = Clock::now() + std::chrono::seconds(10);
       reply.tableNumber != 1 && Clock::now() < end;) {
    for (const Packet& packet : client.Read(5)) {
      if (packet.RawType() == static_cast<std::uint32_t>(MessageType::LoginReply)) {
        EXPECT_EQ(DecodeLoginReply(reply, packet), 0);  // registered and seated
      }
    }
  }
  ASSERT_EQ(reply.tableNumber, 1);
  const std::string reset = (ProgramFolder() / "quarnd").string() + " reset-password --db " + db;
  auto run = RunProgram("/bin/sh", {"-c", "echo new | " + reset + " 张三"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("in use by another server"), std::string::npos) << run.err;
  ASSERT_EQ(quarnd_.Terminate(), 0);

  run = RunProgram("/bin/sh", {"-c", "echo '新密码' | " + reset + " 张三"});
  ASSERT_EQ(run.code, 0) << run.err;
  {
    auto opened = store::SqliteDatabase::Open(db, store::SqliteDatabase::Mode::ReadOnly);
    ASSERT_TRUE(opened.database) << opened.error;
    const auto hash = opened.database->PasswordHash(name);
    ASSERT_TRUE(hash);
    EXPECT_TRUE(server::PasswordMatches(*hash, Utf8ToGbk("新密码")));
  }
  EXPECT_EQ(RunProgram("/bin/sh", {"-c", reset + " --remove 张三"}).code, 0);
  run = RunProgram("/bin/sh", {"-c", reset + " --remove 张三"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("has no password"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace quarn::test
