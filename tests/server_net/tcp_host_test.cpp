#include "server/net/tcp_host.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "server/net/socket_options.h"
#include "server/web/web_host.h"

namespace quarn::server {
namespace {

// Records every event; a test may add a reaction to received bytes.
struct Recorder : IHostEvents {
  std::vector<ConnectionId> opened;
  std::vector<ConnectionId> closed;
  int ticks = 0;
  QElapsedTimer clock;
  std::vector<std::pair<TimerId, qint64>> timers;  // due, with the ms on `clock`
  std::function<void(ConnectionId)> onBytes;
  std::string bytes;  // all received, in order

  void ConnectionOpened(ConnectionId id) override { opened.push_back(id); }
  void BytesReceived(ConnectionId id, std::span<const std::uint8_t> data) override {
    bytes.append(data.begin(), data.end());
    if (onBytes) onBytes(id);
  }
  void ConnectionClosed(ConnectionId id) override { closed.push_back(id); }
  void SocketError(ConnectionId, ErrorKind, int) override {}
  void Tick() override { ++ticks; }
  void TimerDue(TimerId id) override { timers.emplace_back(id, clock.elapsed()); }
};

class TcpHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.Attach(&events_);
    host_.SetListenAddress(QHostAddress::LocalHost);
    ASSERT_TRUE(host_.Listen(0));
    ASSERT_NE(host_.ListeningPort(), 0);
  }
  void TearDown() override { host_.Attach(nullptr); }

  // A client connected and announced to the recorder; its id is the last opened.
  std::unique_ptr<QTcpSocket> Connect() {
    auto client = std::make_unique<QTcpSocket>();
    const std::size_t before = events_.opened.size();
    client->connectToHost(QHostAddress::LocalHost, host_.ListeningPort());
    EXPECT_TRUE(QTest::qWaitFor([&] { return events_.opened.size() > before; }));
    return client;
  }

  Recorder events_;
  TcpServerHost host_;
};

// 64 KiB buffers asked for (Linux reports twice what was set) and no delayed small packets.
TEST_F(TcpHostTest, AcceptedConnectionsGetTheirSocketOptions) {
  auto client = Connect();
  const auto fd = static_cast<int>(host_.Descriptor(events_.opened.back()));
  for (const auto& [level, name, least] : {std::tuple{SOL_SOCKET, SO_RCVBUF, kSocketBufferSize},
                                           std::tuple{SOL_SOCKET, SO_SNDBUF, kSocketBufferSize},
                                           std::tuple{int(IPPROTO_TCP), TCP_NODELAY, 1}}) {
    int value = 0;
    socklen_t size = sizeof value;
    ASSERT_EQ(::getsockopt(fd, level, name, &value, &size), 0);
    EXPECT_GE(value, least) << name;
  }
}

TEST_F(TcpHostTest, CloseIsReportedLaterAndOnce) {
  auto client = Connect();
  const ConnectionId id = events_.opened.back();
  bool closedInsideHandler = false;
  events_.onBytes = [&](ConnectionId from) {
    host_.Close(from);
    host_.Close(from);  // a second request changes nothing
    closedInsideHandler = !events_.closed.empty();
    EXPECT_EQ(host_.Send(from, std::vector<std::uint8_t>(4)), -1);
  };
  client->write("bye");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !events_.closed.empty(); }));
  EXPECT_FALSE(closedInsideHandler);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return client->state() == QAbstractSocket::UnconnectedState; }));
  QTest::qWait(50);
  EXPECT_EQ(events_.closed, std::vector<ConnectionId>{id});
  EXPECT_EQ(host_.ConnectionCount(), 0u);
  host_.Close(id);  // a gone connection: nothing happens
  QTest::qWait(20);
  EXPECT_EQ(events_.closed.size(), 1u);
}

// Behind a balancer the header's address stands for the peer's;
// without a valid one, or none in time, a connection is closed and logged.
TEST_F(TcpHostTest, BehindABalancerAProxyHeaderNamesThePeer) {
  std::vector<std::string> refused;
  host_.ExpectProxyHeader([&](const std::string& line) { refused.push_back(line); });
  auto good = Connect();
  good->write("PROXY TCP4 203.0.113.7 127.0.0.1 51000 1073\r\nlogin");
  ASSERT_TRUE(QTest::qWaitFor([&] { return events_.bytes == "login"; }));
  EXPECT_EQ(host_.PeerAddress(events_.opened.front()), "203.0.113.7");
  auto bad = Connect();
  bad->write("\xCE\xF1\xCE\xF1 a login without a header");
  ASSERT_TRUE(QTest::qWaitFor([&] { return events_.closed.size() == 1; }));
  auto silent = Connect();
  host_.Close(events_.opened.back());
  EXPECT_EQ(events_.bytes, "login");
  ASSERT_EQ(refused.size(), 2u);
  EXPECT_NE(refused[0].find("不是有效的PROXY头"), std::string::npos) << refused[0];
  EXPECT_NE(refused[1].find("未送来PROXY头"), std::string::npos) << refused[1];
}

// The web port behind a router in HTTP mode: the address the router appended
// to X-Forwarded-For when told to trust it, the socket's otherwise.
TEST(WebHostTest, TakesTheRoutersForwardedForOnlyWhenTold) {
  for (const bool trust : {false, true}) {
    Recorder events;
    WebHost web(".");  // no page is asked for
    web.Attach(&events);
    web.SetListenAddress(QHostAddress::LocalHost);
    web.TrustForwardedFor(trust);
    ASSERT_TRUE(web.Listen(0));
    QNetworkRequest request(QUrl(QString("ws://127.0.0.1:%1/ws").arg(web.ListeningPort())));
    request.setRawHeader("X-Forwarded-For", "192.0.2.1, 198.51.100.9");
    QWebSocket client;
    client.open(request);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events.opened.empty(); }));
    EXPECT_EQ(web.PeerAddress(events.opened.back()), trust ? "198.51.100.9" : "127.0.0.1");
  }
}

// Both ways of sending keep the same bound on what a peer may leave unread.
TEST_F(TcpHostTest, PeerThatReadsNothingIsCutOffInsteadOfBufferedForever) {
  for (const bool later : {false, true}) {
    auto client = Connect();
    client->setReadBufferSize(1);  // take next to nothing from the kernel
    const ConnectionId id = events_.opened.back();
    const std::vector<std::uint8_t> packet(200, 0x5A);
    int accepted = 0;
    bool refused = false;
    for (int i = 0; i < 20000 && !refused; ++i) {
      if ((later ? host_.SendLater(id, packet) : host_.Send(id, packet)) == 200) {
        ++accepted;
      } else {
        refused = true;
      }
    }
    EXPECT_TRUE(refused) << later;
    EXPECT_GT(accepted, 0) << later;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events_.closed.empty(); }, 10000)) << later;
    EXPECT_EQ(events_.closed.back(), id) << later;
    events_.closed.clear();
  }
}

// What has come to a client so far: in its socket's buffer, then in the kernel.
std::string Arrived(QTcpSocket& client) {
  std::string bytes = client.readAll().toStdString();
  std::string rest(64, '\0');
  const ssize_t got =
      ::recv(static_cast<int>(client.socketDescriptor()), rest.data(), rest.size(), MSG_DONTWAIT);
  return bytes + rest.substr(0, got > 0 ? static_cast<std::size_t>(got) : 0);
}

// Packets for later are not written inside the call but a moment after, unless
// a Send or a Close comes first; either way a connection's bytes keep their order.
TEST_F(TcpHostTest, PacketsForLaterWaitAMomentAndKeepTheirOrder) {
  auto first = Connect();
  const ConnectionId one = events_.opened.back();
  auto second = Connect();
  const ConnectionId two = events_.opened.back();
  const auto bytes = [](std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
  };
  ASSERT_EQ(host_.SendLater(one, bytes("ab")), 2);
  ASSERT_EQ(host_.SendLater(two, bytes("x")), 1);
  ASSERT_EQ(host_.SendLater(one, bytes("c")), 1);
  EXPECT_EQ(Arrived(*first), "");
  EXPECT_EQ(Arrived(*second), "");
  ASSERT_EQ(host_.Send(two, bytes("y")), 1);
  EXPECT_EQ(Arrived(*second), "xy");
  ASSERT_EQ(host_.SendLater(two, bytes("z")), 1);
  host_.Close(two);
  EXPECT_EQ(Arrived(*second), "z");
  EXPECT_EQ(host_.SendLater(two, bytes("!")), -1);
  std::string later;
  ASSERT_TRUE(QTest::qWaitFor([&] { return (later += Arrived(*first)).size() >= 3; }));
  EXPECT_EQ(later, "abc");
}

// Any mix of sends to one connection and to many, small and past what a
// block or the kernel takes at once, with the event loop let run now and then: every connection
// gets its own bytes whole and in order, though those for later are kept once for all in blocks
// that are shared, filled, given up and used again.
TEST_F(TcpHostTest, MixedSendsReachEveryConnectionWholeAndInOrder) {
  std::vector<std::unique_ptr<QTcpSocket>> clients;
  std::vector<ConnectionId> ids;
  for (int i = 0; i < 3; ++i) {
    clients.push_back(Connect());
    ids.push_back(events_.opened.back());
    // Small buffers, so that a large write is taken in part and the rest waits in Qt's buffer.
    clients.back()->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 65536);
    const int room = 4096;
    ::setsockopt(int(host_.Descriptor(ids.back())), SOL_SOCKET, SO_SNDBUF, &room, sizeof room);
  }
  std::vector<std::string> expected(3), arrived(3);
  const auto allArrived = [&] {
    return QTest::qWaitFor(
        [&] {
          bool all = true;
          for (std::size_t i = 0; i < 3; ++i) {
            arrived[i] += clients[i]->readAll().toStdString();
            all = all && arrived[i].size() >= expected[i].size();
          }
          return all;
        },
        10000);
  };
  std::mt19937 random(21);
  for (int step = 0; step < 400; ++step) {
    const int most = step % 40 == 0 ? 150000 : 300;
    std::string text(std::uniform_int_distribution(1, most)(random), ' ');
    for (char& each : text) each = char('a' + random() % 26);
    const std::vector<std::uint8_t> packet(text.begin(), text.end());
    const auto to = random() % 3;
    switch (random() % 3) {
      case 0:
        ASSERT_EQ(host_.Send(ids[to], packet), int(text.size()));
        expected[to] += text;
        break;
      case 1:
        ASSERT_EQ(host_.SendLater(ids[to], packet), int(text.size()));
        expected[to] += text;
        break;
      default:
        host_.SendLaterToEach(ids, packet);
        for (std::string& each : expected) each += text;
    }
    if (step % 10 == 0) QTest::qWait(1 + int(random() % 15));
    if (step % 40 == 39) {
      ASSERT_TRUE(allArrived());  // within the bound for the next large one
    }
  }
  ASSERT_TRUE(allArrived());
  for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(arrived[i] == expected[i]) << "connection " << i;
  EXPECT_TRUE(events_.closed.empty());
}

TEST_F(TcpHostTest, TicksAndTimersArriveInOrder) {
  events_.clock.start();
  host_.StartTimer(2, std::chrono::milliseconds(60));
  host_.StartTimer(1, std::chrono::milliseconds(30));
  host_.StartTimer(3, std::chrono::milliseconds(30));
  EXPECT_TRUE(events_.timers.empty());  // never from inside the call
  ASSERT_TRUE(QTest::qWaitFor([&] { return events_.timers.size() == 3; }));
  EXPECT_EQ(events_.timers[0].first, 1u);  // equal times come in the order started
  EXPECT_EQ(events_.timers[1].first, 3u);
  EXPECT_EQ(events_.timers[2].first, 2u);
  EXPECT_GE(events_.timers[0].second, 30);
  EXPECT_GE(events_.timers[2].second, 60);
  ASSERT_TRUE(QTest::qWaitFor([&] { return events_.ticks >= 1; }, 3000));
}

}  // namespace
}  // namespace quarn::server
