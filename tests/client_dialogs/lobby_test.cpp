// The login window's table list against a real quarnd: two windows pick the
// table a player sits at from the list and sit there with it; against a
// server that does not answer, the window is today's at once and stays so.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <list>

#include "client/ui/frmdlghead.h"
#include "client/ui/frmdlgservice.h"
#include "client/ui/frmlogin.h"
#include "client/ui/lobby_probe.h"
#include "protocol/packet_builder.h"
#include "tests/support/child_process.h"
#include "tests/support/widgets/qt_fixture.h"
#include "tests/support/wire_client.h"

namespace quarn::client {
namespace {

// The table window's connection, as a plain client of the test's.
struct WireLink : ILoginLink {
  int OpenConnection(const std::string&, std::uint16_t port) override {
    return wire.Connect(port) ? 0 : 1;
  }
  int SendPacket(const Packet& packet) override { return wire.Write(packet.data()) ? 0 : 1; }
  // The table and seat the server granted, or none.
  std::optional<std::pair<std::int32_t, int>> Granted() {
    for (int wait = 0; wait < 50; ++wait) {
      for (const Packet& packet : wire.Read(100)) {
        LoginRecord reply;
        if (packet.RawType() == static_cast<std::uint32_t>(MessageType::LoginReply) &&
            DecodeLoginReply(reply, packet) == 0) {
          return std::pair{reply.tableNumber, int{reply.seat}};
        }
      }
    }
    return std::nullopt;
  }
  test::WireClient wire;
};

struct LobbyWindow {
  LobbyWindow(const test::TempDir& dir, const std::string& name, std::uint16_t port) {
    form.SetSettingsPath((dir.path() / (name + ".ini")).string());
    form.SetLink(&link);
    form.show();
    form.ComboBoxName()->setEditText(QString::fromStdString(name));
    form.ComboBoxAddress()->setEditText("127.0.0.1:" + QString::number(port));
    emit form.ComboBoxAddress()->lineEdit()->editingFinished();
  }
  // The row of table `number` once the list shows it; -1 when it never does.
  int RowOf(int number) {
    int row = -1;
    static_cast<void>(QTest::qWaitFor(
        [&] {
          for (int i = 0; i < form.ListTables()->count(); ++i) {
            if (form.ListTables()->item(i)->data(Qt::UserRole).toInt() == number) row = i;
          }
          return row >= 0;
        },
        5000));
    return row;
  }

  TDlgHead dlgHead;
  TDlgService dlgService;
  WireLink link;
  TFormLogin form{&dlgHead, &dlgService};
};

TEST(LoginWindow, TwoWindowsPickATableFromTheListAndSitTogetherOrKeepTheirFields) {
  test::ChildProcess server;
  const std::uint16_t port =
      test::StartQuarnd(server, {"--tables", "5", "--no-delay", "--spectators", "2"});
  ASSERT_NE(port, 0) << server.Output();
  test::WireClient ann;
  ASSERT_TRUE(ann.Connect(port));
  ASSERT_TRUE(ann.Write(
      BuildPacket(MessageType::LoginRequest, MakeLoginRequest("ann", "", 1, 1, 3, 0))->data()));
  test::TempDir dir;
  MessageRecorder boxes;
  std::vector<std::pair<std::int32_t, int>> seated;
  std::list<LobbyWindow> windows;  // their connections stay open, and so do their seats
  for (const char* name : {"bo", "cy"}) {
    LobbyWindow& window = windows.emplace_back(dir, name, port);
    const int row = window.RowOf(3);
    ASSERT_GT(row, 0);  // row 0 is "any table"
    EXPECT_TRUE(window.form.ListTables()->isVisible());
    EXPECT_EQ(window.form.ListTables()->item(0)->data(Qt::UserRole).toInt(), 0);
    window.form.ListTables()->setCurrentRow(row);
    EXPECT_EQ(window.form.EditTable()->text(), "3");
    EXPECT_GE(window.form.ComboBoxSeat()->currentIndex(), 1);  // a free seat beside ann
    if (std::string_view(name) == "cy") Shot(window.form, "lobby.png");
    window.form.BitBtnLoginClick();
    const auto granted = window.link.Granted();
    ASSERT_TRUE(granted) << name;
    seated.push_back(*granted);
  }
  EXPECT_EQ(seated, (std::vector<std::pair<std::int32_t, int>>{{3, 1}, {3, 2}}));

  // A server that does not answer: the fields of today, usable at once, and no list after a
  // refresh.
  test::ChildProcess silent;
  const std::uint16_t silentPort = test::StartQuarnd(silent, {"--no-lobby"});
  ASSERT_NE(silentPort, 0) << silent.Output();
  LobbyWindow window(dir, "dan", silentPort);
  window.form.BitBtnLoginClick();
  EXPECT_EQ(window.link.Granted(), (std::pair<std::int32_t, int>{1, 0}));
  QTest::qWait(TLobbyProbe::kRefreshMs + 500);
  EXPECT_FALSE(window.form.ListTables()->isVisible());
  EXPECT_EQ(window.form.size(), QSize(332, 248));
}

}  // namespace
}  // namespace quarn::client
