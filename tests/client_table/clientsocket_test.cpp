// The table window's connection over loopback: the server going away is a lost
// connection, told once and not as a fault. Packets that TCP joins or splits,
// and a request written before the connection stands, are the lobby test's:
// its watching window follows a whole game of quarnd's over this connection.
#include <gtest/gtest.h>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "client/ui/clientsocket.h"
#include "table_fixture.h"

namespace quarn::client::testing {
namespace {

TEST(ClientSocket, TheServerGoingAwayIsALostConnectionToldOnce) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  TClientSocket socket;
  socket.SetAddress(QStringLiteral("127.0.0.1"));
  socket.SetPort(server.serverPort());
  ASSERT_TRUE(socket.Open());
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }));
  QTcpSocket* peer = server.nextPendingConnection();
  ASSERT_TRUE(QTest::qWaitFor([&] { return socket.IsConnected(); }));

  int lost = 0;
  int errors = 0;
  QObject::connect(&socket, &TClientSocket::disconnected, [&] { ++lost; });
  QObject::connect(&socket, &TClientSocket::socketError, [&] { ++errors; });
  peer->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return lost == 1; }));
  QTest::qWait(20);
  EXPECT_EQ(lost, 1);
  EXPECT_EQ(errors, 0);
  EXPECT_FALSE(socket.WritePacket(PlayTurn(2).data()));
}

}  // namespace
}  // namespace quarn::client::testing
