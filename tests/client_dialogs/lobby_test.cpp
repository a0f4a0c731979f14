// The login window's table list against a real quarnd: two windows pick the
// table a player sits at from the list and sit there with it; against a
// server that does not answer, the window is today's at once and stays so;
// a table window watches four computer players from the list.
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
#include "client/ui/mainform.h"
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

// The row of table `number` once the list shows it; -1 when it never does.
int RowOf(const TFormLogin& form, int number) {
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

struct LobbyWindow {
  LobbyWindow(const test::TempDir& dir, const std::string& name, std::uint16_t port) {
    form.SetSettingsPath((dir.path() / (name + ".ini")).string());
    form.SetLink(&link);
    form.show();
    form.ComboBoxName()->setEditText(QString::fromStdString(name));
    form.ComboBoxAddress()->setEditText("127.0.0.1:" + QString::number(port));
    emit form.ComboBoxAddress()->lineEdit()->editingFinished();
  }
  int RowOf(int number) const { return client::RowOf(form, number); }

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

// Cards held, laid this game and laid before the window came: both decks.
int CardsAccounted(const TClientTable& table) {
  int cards = 0;
  for (int seat = 0; seat < kSeatCount; ++seat) cards += table.PlayerAt(seat)->CardCount();
  for (const TPlayedCards& play : table.History) cards += play.Count;
  for (const int laid : table.PlayedBeforeHistory) cards += laid;
  return cards;
}

TEST(LoginWindow, ATableWindowWatchesFourComputerPlayersFromTheList) {
  test::ChildProcess server;
  const std::uint16_t port = test::StartQuarnd(server, {"--spectators", "2", "--spectator-chat"});
  ASSERT_NE(port, 0) << server.Output();
  test::TempDir dir;
  std::array<test::ChildProcess, 4> bots;
  for (std::size_t seat = 0; seat < bots.size(); ++seat) {
    const std::string name = std::array{"Ann", "Bo", "Cy", "Dee"}[seat];
    ASSERT_TRUE(bots[seat].Start(test::ProgramFolder() / "quarn-bot",
                                 {"--port", std::to_string(port), "--name", name, "--seat",
                                  std::to_string(seat), "--games", "50", "--think", "150"},
                                 dir.path() / (name + ".txt")));
  }
  MessageRecorder boxes;
  // The table window and its login window wired as the program wires them,
  // the login window asking to watch table 1 of the list.
  struct Watcher {
    Watcher(const test::TempDir& dir, std::uint16_t port, const QString& name) {
      table.InitTable();
      TableWindows windows;
      windows.watchAnswered = [this](WatchResult result) { login.WatchAnswered(result); };
      table.SetWindows(std::move(windows));
      login.SetSettingsPath((dir.path() / "watcher.ini").string());
      login.SetLink(&table);
      login.show();
      login.ComboBoxName()->setEditText(name);
      login.ComboBoxAddress()->setEditText("127.0.0.1:" + QString::number(port));
      emit login.ComboBoxAddress()->lineEdit()->editingFinished();
      login.ListTables()->setCurrentRow(RowOf(login, 1));
    }
    TMainForm table;
    TDlgHead dlgHead;
    TDlgService dlgService;
    TFormLogin login{&dlgHead, &dlgService};
  };
  for (const Language language : {Language::Chinese, Language::English}) {
    const ShownLanguage shown(language);
    const bool english = language == Language::English;
    Watcher watcher(dir, port, english ? "Onlooker" : "看客");
    TMainForm& table = watcher.table;
    TFormLogin& login = watcher.login;
    ASSERT_TRUE(login.BtnWatch()->isEnabled());
    Shot(login, english ? "watch_lobby_en.png" : "watch_lobby.png");
    login.BtnWatch()->click();
    const TClientTable& model = table.Table();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.Watching; }, 5000));
    EXPECT_FALSE(login.isVisible());
    // Mid-play, with a line of the watcher's own in the chat.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return model.GameState == TGameState::InPlay && model.History.size() >= 12; },
        60000));
    table.SendTalk(english ? "Nice play!" : "好牌！");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return table.MemoTalking()->toPlainText().contains(english ? "Nice" : "好牌"); },
        5000));
    EXPECT_EQ(CardsAccounted(model), 108);
    EXPECT_EQ(model.Me.Hand.Count(), 0);
    for (const QPushButton* button : {table.BtnSend(), table.BtnPass(), table.BtnBid(),
                                      table.BtnHint(), table.BtnAutoPlay(), table.BtnLogin()}) {
      EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    }
    EXPECT_TRUE(table.windowTitle().contains("1"));
    for (const int scale : {1, 2}) {
      table.resize(632 * scale, 453 * scale);
      table.show();
      QApplication::processEvents();
      ExpectTextsShown(table);
      Shot(table,
           (std::string("watch_") + (english ? "en_" : "zh_") + std::to_string(scale) + ".png")
               .c_str());
    }
  }
  EXPECT_TRUE(boxes.messages.empty());

  // The windows closed, their watching ended: two others take both places,
  // and the login window says why a third may not watch, and stays.
  std::array<test::WireClient, 2> others;
  for (test::WireClient& other : others) {
    ASSERT_TRUE(other.Connect(port));
    ASSERT_TRUE(
        other.Write(BuildPacket(MessageType::WatchRequest, WatchRequestRecord{1, "w"})->data()));
    WatchReplyRecord reply;
    ASSERT_EQ(DecodeWatchReply(reply, other.Read(2000).at(0)), 0);
    EXPECT_EQ(reply.result, WatchResult::Watching);
  }
  Watcher third(dir, port, "三号");
  third.login.BtnWatch()->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.messages.empty(); }, 5000));
  EXPECT_EQ(boxes.messages[0].text, "这张桌子的观众已经满了，请换一张桌子。");
  EXPECT_TRUE(third.login.isVisible());
  EXPECT_FALSE(third.table.Table().Watching);
}

}  // namespace
}  // namespace quarn::client
