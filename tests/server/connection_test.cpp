// Connection handling: read events, stream assembly, strangers, stop and
// start, lost connections and socket errors.
#include "server/connections.h"
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

std::vector<std::uint8_t> Bytes(const Packet& packet) {
  return {packet.data().begin(), packet.data().end()};
}

// What one client sends in a row: a login, a chat line and an icon change.
std::vector<std::uint8_t> Conversation() {
  std::vector<std::uint8_t> stream;
  for (const auto& bytes :
       {Bytes(*BuildPacket(MessageType::LoginRequest, MakeLoginRequest("Ann", "", 2, 3, 1, 1))),
        Bytes(*BuildPacket(MessageType::ChatSay, ChatRecord{1, 1, "hi"})),
        Bytes(*BuildPacket(MessageType::IconChange, IconRecord{1, 4, 4, 1}))}) {
    stream.insert(stream.end(), bytes.begin(), bytes.end());
  }
  return stream;
}

TEST(Connections, ByteByByteOrAllAtOnceServedAlike) {
  const std::vector<std::uint8_t> stream = Conversation();
  Harness bytewise("bytewise");
  bytewise.Open(1);
  for (std::uint8_t byte : stream) bytewise.app.BytesReceived(1, std::span(&byte, 1));
  Harness whole("whole");
  whole.Open(1);
  whole.app.BytesReceived(1, stream);

  const auto a = bytewise.host.TakeSent();
  const auto b = whole.host.TakeSent();
  ASSERT_EQ(Kinds(a), (std::vector{MessageType::LoginReply, MessageType::SeatList,
                                   MessageType::ChatNotice, MessageType::IconNotice}));
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].bytes, b[i].bytes);
  EXPECT_EQ(bytewise.app.PacketCount(), 3);
  EXPECT_EQ(whole.app.PacketCount(), 3);
  EXPECT_EQ(bytewise.view.log, whole.view.log);
}

TEST(Connections, ReadEventsAreCountedAndLogged) {
  Harness h("read_events");
  h.Open(1);
  // Garbage is dropped by the assembler; a packet of a server type is counted, then dropped.
  const std::vector<std::uint8_t> garbage(50, 0x55);
  h.app.BytesReceived(1, garbage);
  h.Receive(1, *BuildPacket(MessageType::BidResult, BidRecord{1, 0, 5}));
  EXPECT_EQ(h.app.PacketCount(), 1);
  EXPECT_EQ(h.view.log.back(), "14:40:34累计数据包[1]个。");
  h.Login(1, "Ann");
  EXPECT_EQ(h.app.PacketCount(), 2);
  // The reply's send line: "[发送数据包]" and the length.
  EXPECT_NE(std::find(h.view.log.begin(), h.view.log.end(), "14:40:34[发送数据包]180"),
            h.view.log.end());
  // Bytes for a connection never opened, or already closed, reach nothing.
  h.app.BytesReceived(
      77, Bytes(*BuildPacket(MessageType::LoginRequest, MakeLoginRequest("Eve", "", 1, 1, 1, 0))));
  EXPECT_EQ(h.app.PacketCount(), 2);
  EXPECT_EQ(h.table().Count, 1u);
}

TEST(Connections, SendsAreRetriedOnce) {
  Harness h("send_retry");
  h.Open(1);
  h.host.failSends = 1;
  h.Login(1, "Ann");
  EXPECT_EQ(h.host.failedSends, 1);
  EXPECT_EQ(Kinds(h.host.TakeSent()),
            (std::vector{MessageType::LoginReply, MessageType::SeatList}));
  h.host.failSends = 2;  // both attempts fail: given up, the game goes on
  h.Send(1, MessageType::ChatSay, ChatRecord{1, 0, "x"});
  EXPECT_EQ(h.host.failedSends, 3);
  EXPECT_TRUE(h.host.TakeSent().empty());
}

TEST(Connections, StrangersAreBoundedAndTimedOut) {
  Harness h("strangers");
  h.Open(1);
  h.Login(1, "Ann");
  for (ConnectionId id = 2; id < 2 + kMaxStrangers; ++id) h.Open(id);
  EXPECT_TRUE(h.host.closed.empty());
  h.Open(100);  // one stranger too many
  EXPECT_EQ(h.host.closed, std::vector<ConnectionId>{100});
  EXPECT_EQ(h.app.OpenConnections(), 1 + kMaxStrangers);

  // A stranger's requests other than a login do not reach the game.
  h.host.TakeSent();
  h.Send(2, MessageType::ChatSay, ChatRecord{1, 0, "spam"});
  EXPECT_TRUE(h.host.TakeSent().empty());

  h.host.closed.clear();
  h.host.Advance(std::chrono::seconds(59));
  h.app.Tick();
  EXPECT_TRUE(h.host.closed.empty());
  h.Login(2, "Bob");  // logs in in time: no longer a stranger
  h.host.Advance(std::chrono::seconds(1));
  h.app.Tick();
  EXPECT_EQ(h.host.closed.size(), kMaxStrangers - 1);
  EXPECT_EQ(std::count(h.host.closed.begin(), h.host.closed.end(), 1u), 0);
  EXPECT_EQ(std::count(h.host.closed.begin(), h.host.closed.end(), 2u), 0);
  EXPECT_EQ(h.app.OpenConnections(), 2u);
  // Their later close reports change nothing.
  h.host.TakeSent();
  h.app.ConnectionClosed(3);
  EXPECT_TRUE(h.host.TakeSent().empty());
  EXPECT_EQ(h.table().Count, 2u);
}

TEST(Connections, StopFreesEverySeatAndStartAgain) {
  Harness h("stop_start", true);
  h.SeatFour();
  h.host.TakeSent();
  h.app.Stop();
  EXPECT_FALSE(h.host.listening);
  EXPECT_FALSE(h.app.Listening());
  EXPECT_EQ(h.host.closed, (std::vector<ConnectionId>{1, 2, 3, 4}));
  EXPECT_EQ(h.view.status, "服务器已停止...");
  EXPECT_EQ(h.view.log.back(), "14:40:34停止服务器");
  const TServerTable& t = h.table();
  EXPECT_EQ(t.Count, 0u);
  EXPECT_EQ(t.Status, TableWaiting);
  for (const TServerPlayer& player : t.Players) {
    EXPECT_EQ(player.Id, 0);
    EXPECT_EQ(player.Socket, kNoConnection);
  }
  // Each leaving seat was announced to those still connected, never to itself.
  const auto leaves = OfKind(h.host.TakeSent(), MessageType::PlayerLeave);
  EXPECT_EQ(leaves.size(), 3u + 2u + 1u);
  for (const SentPacket& leave : leaves) EXPECT_NE(leave.connection, 1u);
  // Late reports for the closed connections are no-ops.
  h.app.ConnectionClosed(2);
  h.app.BytesReceived(3, Bytes(*BuildPacket(MessageType::ChatSay, ChatRecord{1, 2, "late"})));
  EXPECT_TRUE(h.host.TakeSent().empty());
  // No connection is taken while stopped.
  h.Open(5);
  EXPECT_EQ(h.host.closed.back(), 5u);

  // Bad settings refuse the start; a taken port fails it; then it starts, once.
  ConsoleSettings bad;
  bad.delayDeal = "fast";
  EXPECT_EQ(h.app.Start(bad), StartResult::BadSettings);
  h.host.refuseListen = true;
  EXPECT_EQ(h.app.Start(ConsoleSettings{}), StartResult::ListenFailed);
  EXPECT_EQ(h.view.status, "服务器启动失败...");
  h.host.refuseListen = false;
  ConsoleSettings quiet;
  quiet.allowDelay = false;
  EXPECT_EQ(h.app.Start(quiet), StartResult::Started);
  const int listens = h.host.listenCalls;
  EXPECT_EQ(h.app.Start(ConsoleSettings{}), StartResult::AlreadyListening);
  EXPECT_EQ(h.host.listenCalls, listens);
  EXPECT_FALSE(t.AllowDelay);

  // The table fills again and deals, without pauses now.
  h.host.pauses.clear();
  for (ConnectionId id = 6; id <= 9; ++id) {
    h.Open(id);
    h.Login(id, "N" + std::to_string(id));
  }
  EXPECT_EQ(t.Players[0].Id, 5);  // ids go on counting
  EXPECT_EQ(t.Status, TablePlaying);
  EXPECT_TRUE(h.host.pauses.empty());
}

TEST(Connections, SocketErrorLines) {
  Harness h("socket_errors");
  h.Open(1);
  h.Login(1, "Ann", 2);
  h.app.SocketError(1, 2, 10054);
  EXPECT_EQ(h.view.log.back(), "14:40:34[1][2:西]数据接收错[10054]");
  h.app.SocketError(9, 5, 7);
  EXPECT_EQ(h.view.log.back(), "14:40:34未知通讯通道发生连接请求错误[7]");
  h.app.SocketError(9, 42, 1);
  EXPECT_EQ(h.view.log.back(), "14:40:34未知通讯通道发生未知类型错误[1]");
  // The error itself frees nothing.
  EXPECT_EQ(h.table().Count, 1u);
  // A disconnect of a connection without a seat changes and logs nothing.
  const std::size_t lines = h.view.log.size();
  h.Open(2);
  h.app.ConnectionClosed(2);
  EXPECT_EQ(h.view.log.size(), lines);
}

}  // namespace
}  // namespace quarn::server::testing
