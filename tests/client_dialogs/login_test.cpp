#include "client/ui/frmlogin.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "client/ui/artwork.h"
#include "client/ui/frmdlghead.h"
#include "client/ui/frmdlgservice.h"
#include "core/gbk.h"
#include "tests/client_dialogs/qt_fixture.h"

namespace quarn::client {
namespace {

// The table window's side of the login: records what the window asks of it.
struct FakeLink : ILoginLink {
  int OpenConnection(const std::string& host, std::uint16_t port) override {
    opened.emplace_back(host, port);
    return openResult;
  }
  int SendPacket(const quarn::Packet& packet) override {
    sent.push_back(packet);
    return sendResult;
  }
  std::vector<std::pair<std::string, std::uint16_t>> opened;
  std::vector<quarn::Packet> sent;
  int openResult = 0;
  int sendResult = 0;
};

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string Gbk(const char* utf8) {
  return Utf8ToGbk(utf8);
}

std::int32_t WireI32(const quarn::Packet& p, std::size_t at) {
  return static_cast<std::int32_t>(std::uint32_t{p.bytes[at]} << 24 |
                                   std::uint32_t{p.bytes[at + 1]} << 16 |
                                   std::uint32_t{p.bytes[at + 2]} << 8 | p.bytes[at + 3]);
}

// A login window over a settings file in a scratch folder, with pickers whose
// modal run is replaced: `pick` selects that icon (0: none) and the runner
// confirms, or cancels when `cancel` is set.
struct LoginFixture {
  explicit LoginFixture(const std::string& iniText = {}) {
    if (!iniText.empty()) WriteFile(ini, iniText);
    form.SetSettingsPath(ini);
    form.SetLink(&link);
    form.SetDialogRunner([this](QDialog& dialog) {
      auto& picker = static_cast<TDlgIconPicker&>(dialog);
      picker.FormShow();
      if (cancel) {
        picker.reject();
        return static_cast<int>(QDialog::Rejected);
      }
      if (pick > 0) picker.List()->item(pick - 1)->setSelected(true);
      picker.OKBtnClick();
      return picker.result();
    });
    form.FormShow();
  }
  void ChooseName(int index) {
    form.ComboBoxName()->setCurrentIndex(index);
    emit form.ComboBoxName()->activated(index);
  }
  void TypeName(const QString& name) {
    form.ComboBoxName()->setEditText(name);
    emit form.ComboBoxName()->lineEdit()->textEdited(name);
  }
  void TypeAddress(const QString& address) {
    form.ComboBoxAddress()->setEditText(address);
    emit form.ComboBoxAddress()->lineEdit()->textEdited(address);
  }

  bool appReady = (QtApp(), true);  // before the first widget member
  test::TempDir dir;
  std::string ini = (dir.path() / "quarn.ini").string();
  FakeLink link;
  TDlgHead dlgHead;
  TDlgService dlgService;
  TFormLogin form{&dlgHead, &dlgService};
  MessageRecorder boxes;
  int pick = 0;
  bool cancel = false;
};

bool ShowsIcon(const QLabel* image, const std::string& name) {
  return Pixels(image->pixmap()) == Pixels(ResourceBitmap(name, image->devicePixelRatioF()));
}

TEST(LoginWindow, LoadsRememberedListsFromTheSettingsFile) {
  LoginFixture f("[POKER_PLAYERS]\r\nNAME0=" + Gbk("张三") + "\r\nNAME1=\r\nNAME2=" + Gbk("王五") +
                 "\r\nNAME3=x\r\n[PLAYER_ICON]\r\nICON0=7\r\n"
                 "[POKER_SERVERS]\r\nSERVER0=10.1.1.1\r\nSERVER1=\r\n");
  // The empty NAME1 is dropped; the missing icons become "1".
  EXPECT_EQ(f.form.Lists().names, (std::vector<std::string>{"张三", "王五", "x"}));
  EXPECT_EQ(f.form.Lists().icons, (std::vector<std::string>{"7", "1", "1"}));
  EXPECT_EQ(f.form.Lists().addresses, (std::vector<std::string>{"10.1.1.1"}));
  EXPECT_EQ(f.form.ComboBoxName()->count(), 3);
  // The newest name comes chosen, with its icon, and the newest address.
  EXPECT_EQ(f.form.ComboBoxName()->currentText(), QStringLiteral("张三"));
  EXPECT_EQ(f.form.IconNo(), 7);
  EXPECT_TRUE(ShowsIcon(f.form.ImageHead(), "BITMAP_7"));
  EXPECT_EQ(f.form.ComboBoxAddress()->currentText(), QStringLiteral("10.1.1.1"));
  EXPECT_EQ(f.form.ServiceNo(), 1);
  EXPECT_TRUE(ShowsIcon(f.form.ImageService(), "SERVICE_1"));

  // Choosing 王五 brings its icon 1; a later showing changes nothing.
  f.ChooseName(1);
  EXPECT_EQ(f.form.IconNo(), 1);
  EXPECT_TRUE(ShowsIcon(f.form.ImageHead(), "BITMAP_1"));
  f.form.FormShow();
  EXPECT_EQ(f.form.IconNo(), 1);
  EXPECT_EQ(f.form.ComboBoxName()->currentText(), QStringLiteral("王五"));
}

TEST(LoginWindow, AReturningPlayerLogsInWithOneClick) {
  const std::string remembered = "[POKER_PLAYERS]\r\nNAME0=" + Gbk("张三") +
                                 "\r\n[PLAYER_ICON]\r\nICON0=7\r\n"
                                 "[POKER_SERVERS]\r\nSERVER0=10.1.1.1:4000\r\n";
  LoginFixture f(remembered);
  f.form.BitBtnLoginClick();
  ASSERT_EQ(f.link.sent.size(), 1U);
  EXPECT_EQ(f.link.opened[0], (std::pair<std::string, std::uint16_t>{"10.1.1.1", 4000}));
  EXPECT_EQ(WireI32(f.link.sent[0], 128), 7);
  EXPECT_EQ(test::ReadFile(f.ini), remembered);  // nothing remembered twice

  // A name and an address given before the first showing (Quarn's --name and
  // --server): the address stays; the name only when none is remembered.
  auto showWithGiven = [&f] {
    auto form = std::make_unique<TFormLogin>(&f.dlgHead, &f.dlgService);
    form->SetSettingsPath(f.ini);
    form->ComboBoxName()->setEditText(QStringLiteral("玩家"));
    form->ComboBoxAddress()->setEditText("127.0.0.1:5000");
    form->FormShow();
    return form;
  };
  auto given = showWithGiven();
  EXPECT_EQ(given->PlayerName(), QStringLiteral("张三"));
  EXPECT_EQ(given->ComboBoxAddress()->currentText(), "127.0.0.1:5000");
  std::filesystem::remove(f.ini);
  given = showWithGiven();
  EXPECT_EQ(given->PlayerName(), QStringLiteral("玩家"));
}

TEST(LoginWindow, DamagedOrMissingSettingsGiveEmptyListsAndKeepTheIcon) {
  LoginFixture missing;
  EXPECT_TRUE(missing.form.Lists().names.empty());
  EXPECT_TRUE(missing.form.Lists().addresses.empty());

  LoginFixture damaged(
      "\xFF\xFE garbage\r\n[PLAYER_ICON]\r\nICON0=abc\r\nICON1=99\r\n"
      "[POKER_PLAYERS]\r\nNAME0=a\r\nNAME1=b\r\nNAME2=c\r\n");
  damaged.ChooseName(0);  // icon "abc" is no number
  EXPECT_EQ(damaged.form.IconNo(), 1);
  damaged.ChooseName(1);  // icon 99 has no picture
  EXPECT_EQ(damaged.form.IconNo(), 1);
  EXPECT_TRUE(damaged.boxes.messages.empty());
}

TEST(LoginWindow, IconPickersChangeTheIconOnlyWhenConfirmed) {
  LoginFixture f(
      "[POKER_PLAYERS]\r\nNAME0=a\r\nNAME1=b\r\n[PLAYER_ICON]\r\nICON0=3\r\nICON1=4\r\n");
  f.ChooseName(1);
  ASSERT_EQ(f.form.IconNo(), 4);
  f.cancel = true;
  f.form.ImageHeadDblClick();
  EXPECT_EQ(f.form.IconNo(), 4);
  EXPECT_TRUE(ShowsIcon(f.form.ImageHead(), "BITMAP_4"));
  EXPECT_EQ(f.form.Lists().icons, (std::vector<std::string>{"3", "4"}));

  f.cancel = false;
  f.pick = 12;
  f.form.ImageHeadDblClick();
  EXPECT_EQ(f.form.IconNo(), 12);
  EXPECT_TRUE(ShowsIcon(f.form.ImageHead(), "BITMAP_12"));
  EXPECT_EQ(f.form.Lists().icons, (std::vector<std::string>{"3", "12"}));

  f.pick = 5;
  f.form.ImageServiceDblClick();
  EXPECT_EQ(f.form.ServiceNo(), 5);
  EXPECT_TRUE(ShowsIcon(f.form.ImageService(), "SERVICE_5"));
}

TEST(LoginWindow, RefusesAnEmptyNameAndABadAddressBeforeConnecting) {
  LoginFixture f;
  f.TypeName(QStringLiteral(" \u3000 "));  // blanks only: no name
  f.TypeAddress("127.0.0.1");
  f.form.BitBtnLoginClick();
  ASSERT_EQ(f.boxes.messages.size(), 1U);
  ExpectBox(f.boxes.messages[0], QStringLiteral("玩家名字必须输入!"), QStringLiteral("提示"),
            MsgIcon::Information);
  EXPECT_TRUE(f.link.opened.empty());
  EXPECT_FALSE(std::filesystem::exists(f.ini));

  f.TypeName("Tom");
  for (const char* bad : {"", "bad host", "host:0", "host:70000", "host:", "[::1"}) {
    f.boxes.messages.clear();
    f.TypeAddress(bad);
    f.form.BitBtnLoginClick();
    ASSERT_EQ(f.boxes.messages.size(), 1U) << bad;
    ExpectBox(f.boxes.messages[0], QStringLiteral("请检查服务器网络地址设置。"),
              QStringLiteral("错误"), MsgIcon::Error);
  }
  f.link.openResult = 1;  // the socket refuses at once
  f.boxes.messages.clear();
  f.TypeAddress("10.0.0.1");
  f.form.BitBtnLoginClick();
  ASSERT_EQ(f.boxes.messages.size(), 1U);
  EXPECT_EQ(f.boxes.messages[0].caption, QStringLiteral("错误"));
  EXPECT_TRUE(f.link.sent.empty());
  EXPECT_FALSE(std::filesystem::exists(f.ini));
  EXPECT_NE(f.form.result(), QDialog::Accepted);
}

TEST(LoginWindow, LoginWritesTheSettingsAndSendsTheRequest) {
  LoginFixture f("[POKER_PLAYERS]\r\nNAME0=" + Gbk("张三") + "\r\nNAME1=" + Gbk("王五") +
                 "\r\n[PLAYER_ICON]\r\nICON0=7\r\nICON1=2\r\n[OTHER]\r\nKEEP=me\r\n");
  f.TypeName(QStringLiteral(" 李四\u3000"));  // a held space key once left blanks
  f.pick = 9;
  f.form.ImageHeadDblClick();
  f.pick = 2;
  f.form.ImageServiceDblClick();
  f.TypeAddress("game.example.org:4000");
  f.form.EditTable()->setText("abc");
  f.form.ComboBoxSeat()->setCurrentIndex(2);
  f.form.BitBtnLoginClick();

  ASSERT_EQ(f.link.opened.size(), 1U);
  EXPECT_EQ(f.link.opened[0], (std::pair<std::string, std::uint16_t>{"game.example.org", 4000}));
  ASSERT_EQ(f.boxes.messages.size(), 1U);
  EXPECT_EQ(f.boxes.messages[0].text, QStringLiteral("确定要向此服务器登录吗？"));
  EXPECT_EQ(f.boxes.messages[0].icon, MsgIcon::Question);
  EXPECT_EQ(f.form.result(), QDialog::Accepted);
  EXPECT_EQ(f.form.PlayerName(), QStringLiteral("李四"));  // as sent and remembered below

  EXPECT_EQ(test::ReadFile(f.ini), "[POKER_PLAYERS]\r\nNAME0=" + Gbk("李四") +
                                       "\r\nNAME1=" + Gbk("张三") + "\r\nNAME2=" + Gbk("王五") +
                                       "\r\n[PLAYER_ICON]\r\nICON0=9\r\nICON1=7\r\nICON2=2\r\n"
                                       "[OTHER]\r\nKEEP=me\r\n[POKER_SERVERS]\r\n"
                                       "SERVER0=game.example.org:4000\r\n");

  ASSERT_EQ(f.link.sent.size(), 1U);
  const quarn::Packet& p = f.link.sent[0];
  EXPECT_EQ(p.length, 180U);
  EXPECT_EQ(WireI32(p, 32), 4);  // 李四 in GBK
  EXPECT_EQ(Gbk("李四"), std::string(reinterpret_cast<const char*>(&p.bytes[48]), 4));
  EXPECT_EQ(p.bytes[52], 0);
  EXPECT_EQ(WireI32(p, 112), 2);  // service icon
  EXPECT_EQ(WireI32(p, 128), 9);  // head icon as shown
  EXPECT_EQ(WireI32(p, 164), 1);  // "abc" asks for table 1
  EXPECT_EQ(p.bytes[168], 2);     // 西
}

TEST(LoginWindow, RequestNameCutAtACharacterBoundaryAndThePassword) {
  // Fifteen Chinese characters are 30 bytes: 7 whole characters fit the field.
  LoginFixture g;
  g.TypeName(QStringLiteral("一二三四五六七八九十甲乙丙丁戊"));
  g.TypeAddress("localhost");
  g.form.EditPassword()->setText("secret");
  g.form.BitBtnLoginClick();
  ASSERT_EQ(g.link.sent.size(), 1U);
  EXPECT_EQ(g.link.opened[0].second, 1073);
  const quarn::Packet& q = g.link.sent[0];
  EXPECT_EQ(WireI32(q, 32), 30);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&q.bytes[48]), 14), Gbk("一二三四五六七"));
  EXPECT_EQ(q.bytes[62], 0);
  EXPECT_EQ(WireI32(q, 144), 6);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&q.bytes[148]), 6), "secret");
}

TEST(LoginWindow, AFailedSendKeepsTheWindowOpenWithTheSettingsWritten) {
  LoginFixture f;
  f.link.sendResult = 1;
  f.TypeName("Ann");
  f.TypeAddress("127.0.0.1");
  f.form.BitBtnLoginClick();
  EXPECT_NE(f.form.result(), QDialog::Accepted);
  EXPECT_EQ(f.boxes.messages.size(), 1U);  // only the question
  EXPECT_EQ(TIniFile(f.ini).ReadString("POKER_PLAYERS", "NAME0"), "Ann");
  // Trying again does not remember the same name and address twice.
  f.link.sendResult = 0;
  f.form.BitBtnLoginClick();
  EXPECT_EQ(f.form.result(), QDialog::Accepted);
  EXPECT_EQ(f.form.Lists().names, (std::vector<std::string>{"Ann"}));
  EXPECT_EQ(f.form.Lists().addresses, (std::vector<std::string>{"127.0.0.1"}));
  // A remembered name chosen from the list is not added again.
  LoginFixture again(test::ReadFile(f.ini));
  again.ChooseName(0);
  again.form.ComboBoxAddress()->setCurrentIndex(0);
  emit again.form.ComboBoxAddress()->activated(0);
  again.form.BitBtnLoginClick();
  EXPECT_EQ(again.form.Lists().names.size(), 1U);
  EXPECT_EQ(again.form.Lists().addresses.size(), 1U);
}

TEST(LoginWindow, EnterLogsInAndEscapeCancels) {
  LoginFixture f;
  f.form.show();
  f.TypeAddress("127.0.0.1");
  f.form.ComboBoxName()->setFocus();
  QTest::keyClicks(f.form.ComboBoxName()->lineEdit(), "Bo");
  QTest::keyClick(f.form.ComboBoxName()->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(f.link.sent.size(), 1U);
  EXPECT_EQ(f.form.result(), QDialog::Accepted);
  EXPECT_EQ(f.form.PlayerName(), "Bo");

  f.form.show();
  f.form.setResult(0);
  QTest::keyClick(&f.form, Qt::Key_Escape);
  EXPECT_EQ(f.form.result(), QDialog::Rejected);
  EXPECT_EQ(f.link.sent.size(), 1U);
}

TEST(LoginWindow, AGapInTheRememberedNamesDoesNotDoubleAName) {
  LoginFixture f("[POKER_PLAYERS]\r\nNAME0=\r\nNAME1=a\r\n[PLAYER_ICON]\r\nICON0=4\r\n");
  ASSERT_EQ(f.form.Lists().names, (std::vector<std::string>{"a"}));
  f.ChooseName(0);
  f.TypeAddress("127.0.0.1");
  f.form.BitBtnLoginClick();
  ASSERT_EQ(f.form.result(), QDialog::Accepted);
  EXPECT_EQ(TIniFile(f.ini).ReadSection("POKER_PLAYERS"),
            (std::vector<TIniFile::Entry>{{"NAME0", "a"}}));
  EXPECT_EQ(LoadLoginLists(TIniFile(f.ini)).names, (std::vector<std::string>{"a"}));
}

TEST(LoginSettings, AddressAndTableEntries) {
  auto address = ParseServerAddress(" 192.168.0.5 ");
  ASSERT_TRUE(address);
  EXPECT_EQ(address->host, "192.168.0.5");
  EXPECT_EQ(address->port, 1073);
  address = ParseServerAddress("[::1]:5000");
  ASSERT_TRUE(address);
  EXPECT_EQ(address->host, "::1");
  EXPECT_EQ(address->port, 5000);
  address = ParseServerAddress("::1");
  ASSERT_TRUE(address);
  EXPECT_EQ(address->port, 1073);
  for (const char* bad : {"h:-1", "h:+5", "h: 5", "[::1]x", "h/x", "\xE4\xB8\x80"}) {
    EXPECT_FALSE(ParseServerAddress(bad)) << bad;
  }
  EXPECT_EQ(ParseTableNumber("7"), 7);
  EXPECT_EQ(ParseTableNumber(" -2 "), -2);
  for (const char* bad : {"abc", "", "12x", "99999999999"}) EXPECT_EQ(ParseTableNumber(bad), 1);
}

// The test environment names the folder of the built programs (other tests
// start quarnd and quarn-bot from there); it is where this test was built too.
TEST(TestEnvironment, NamesTheFolderOfTheBuiltPrograms) {
  const char* bin = std::getenv("QUARN_BIN");
  ASSERT_NE(bin, nullptr);
  EXPECT_TRUE(std::filesystem::equivalent(bin, QtApp().applicationDirPath().toStdString()));
}

}  // namespace
}  // namespace quarn::client
