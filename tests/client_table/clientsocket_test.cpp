// The table window's connection over loopback: packets that TCP joins or
// splits come out whole and in order, noise between them is dropped, and a
// packet written while the connection is still being made goes out.
#include <gtest/gtest.h>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "client/ui/clientsocket.h"
#include "table_fixture.h"

namespace quarn::client::testing {
namespace {

QByteArray Bytes(const Packet& packet) {
  return QByteArray(reinterpret_cast<const char*>(packet.bytes.data()),
                    static_cast<qsizetype>(packet.length));
}

TEST(ClientSocket, JoinedAndSplitPacketsComeOutWholeAndInOrder) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  TClientSocket socket;
  std::vector<std::uint32_t> types;
  socket.SetPacketHandler([&](const Packet& packet) { types.push_back(packet.RawType()); });
  socket.SetAddress(QStringLiteral("127.0.0.1"));
  socket.SetPort(server.serverPort());
  ASSERT_TRUE(socket.Open());
  // Written before the connection stands: it waits and goes out.
  const Packet pass = PlayTurn(2);
  EXPECT_TRUE(socket.WritePacket(pass.data()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }));
  QTcpSocket* peer = server.nextPendingConnection();
  ASSERT_TRUE(QTest::qWaitFor([&] { return peer->bytesAvailable() >= 96; }));
  EXPECT_EQ(peer->readAll(), Bytes(pass));
  EXPECT_TRUE(socket.IsConnected());

  const QByteArray deal = Bytes(Deal(MessageType::DealCards, 0, LowCards()));
  const QByteArray chat = Bytes(Chat(1, "你好"));
  const QByteArray turn = Bytes(PlayTurn(3));
  peer->write(deal + QByteArray("noise") + chat + turn.left(10));
  peer->flush();
  ASSERT_TRUE(QTest::qWaitFor([&] { return types.size() >= 2; }));
  peer->write(turn.mid(10));
  ASSERT_TRUE(QTest::qWaitFor([&] { return types.size() >= 3; }));
  EXPECT_EQ(types, (std::vector<std::uint32_t>{0xABAB01EC, 0xABAB0171, 0xABAB01AE}));

  // The server going away is a lost connection, reported once.
  int lost = 0;
  int errors = 0;
  QObject::connect(&socket, &TClientSocket::disconnected, [&] { ++lost; });
  QObject::connect(&socket, &TClientSocket::socketError, [&] { ++errors; });
  peer->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return lost == 1; }));
  QTest::qWait(20);
  EXPECT_EQ(lost, 1);
  EXPECT_EQ(errors, 0);
  EXPECT_FALSE(socket.WritePacket(pass.data()));
}

}  // namespace
}  // namespace quarn::client::testing
