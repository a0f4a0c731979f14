#include "client/ui/frmlogin.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <fstream>

#include "client/ui/artwork.h"
#include "client/ui/frmdlghead.h"
#include "client/ui/frmdlgservice.h"
#include "core/gbk.h"
#include "protocol/pcplogin.h"
#include "tests/support/widgets/qt_fixture.h"

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

std::string Gbk(const char* utf8) {
  return Utf8ToGbk(utf8);
}

// A login window over a settings file in a scratch folder, with pickers whose
// modal run is replaced: `pick` selects that icon (0: none) and the runner
// confirms, or cancels when `cancel` is set.
struct LoginFixture {
  explicit LoginFixture(const std::string& iniText = {}) {
    if (!iniText.empty()) std::ofstream(ini, std::ios::binary) << iniText;
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
  void Type(QComboBox* box, const QString& text) {
    box->setEditText(text);
    emit box->lineEdit()->textEdited(text);
  }
  bool ShowsHead(int icon) const {
    const QLabel* image = form.ImageHead();
    return Pixels(image->pixmap()) ==
           Pixels(ResourceBitmap("BITMAP_" + std::to_string(icon), image->devicePixelRatioF()));
  }
  LoginRecord Request(std::size_t n) const {
    LoginRecord request;
    EXPECT_EQ(DecodeLoginRequest(request, link.sent.at(n)), 0);
    return request;
  }

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

// Settings files and what the window makes of them: the lists with their empty
// entries dropped and an icon for every name, the newest name chosen with its
// icon, and the icon after choosing the second name. Damaged icons change nothing.
std::string Joined(const std::vector<std::string>& list) {
  std::string text;
  for (const std::string& item : list) text += (text.empty() ? "" : ",") + item;
  return text;
}

TEST(LoginWindow, ReadsTheRememberedListsAndChoosesTheNewest) {
  const struct {
    std::string text;
    const char *names, *icons, *addresses;
    int icon, secondIcon;
  } files[] = {
      {"[POKER_PLAYERS]\r\nNAME0=" + Gbk("张三") + "\r\nNAME1=\r\nNAME2=" + Gbk("王五") +
           "\r\nNAME3=x\r\n[PLAYER_ICON]\r\nICON0=7\r\n[POKER_SERVERS]\r\nSERVER0=10.1.1.1\r\n"
           "SERVER1=\r\n",
       "张三,王五,x", "7,1,1", "10.1.1.1", 7, 1},
      {"\xFF\xFE garbage\r\n[PLAYER_ICON]\r\nICON0=abc\r\nICON1=41\r\n"
       "[POKER_PLAYERS]\r\nNAME0=a\r\nNAME1=b\r\n",
       "a,b", "abc,41", "", 1, 1},
      {"", "", "", "", 1, 1},
  };
  for (const auto& file : files) {
    LoginFixture f(file.text);
    SCOPED_TRACE(file.text);
    const LoginLists& lists = f.form.Lists();
    EXPECT_EQ(Joined(lists.names) + "|" + Joined(lists.icons) + "|" + Joined(lists.addresses),
              std::string(file.names) + "|" + file.icons + "|" + file.addresses);
    EXPECT_EQ(f.form.PlayerName().toStdString(), lists.names.empty() ? "" : lists.names[0]);
    EXPECT_EQ(f.form.ComboBoxAddress()->currentText().toStdString(),
              lists.addresses.empty() ? "" : lists.addresses[0]);
    EXPECT_TRUE(f.form.IconNo() == file.icon && f.ShowsHead(file.icon));
    if (lists.names.size() > 1) f.ChooseName(1);
    EXPECT_TRUE(f.form.IconNo() == file.secondIcon && f.ShowsHead(file.secondIcon));
    f.form.FormShow();  // a later showing changes nothing
    EXPECT_EQ(f.form.IconNo(), file.secondIcon);
    EXPECT_TRUE(f.boxes.messages.empty());
  }
}

TEST(LoginWindow, PickersChangeTheIconOnlyWhenConfirmedAndTheRequestCarriesIt) {
  LoginFixture f("[POKER_PLAYERS]\r\nNAME0=" + Gbk("张三") + "\r\nNAME1=" + Gbk("王五") +
                 "\r\n[PLAYER_ICON]\r\nICON0=7\r\nICON1=2\r\n[OTHER]\r\nKEEP=me\r\n");
  f.ChooseName(1);
  f.cancel = true;
  f.form.ImageHeadDblClick();
  EXPECT_EQ(f.form.Lists().icons, (std::vector<std::string>{"7", "2"}));
  EXPECT_TRUE(f.ShowsHead(2));
  f.cancel = false;
  f.pick = 12;
  f.form.ImageHeadDblClick();  // the chosen name takes the new icon
  EXPECT_EQ(f.form.Lists().icons, (std::vector<std::string>{"7", "12"}));
  EXPECT_TRUE(f.ShowsHead(12));

  // A new name typed over it (a held space key once left blanks around it), the
  // service picker, a host with a port, table "abc", seat 西.
  f.Type(f.form.ComboBoxName(), QStringLiteral(" 李四\u3000"));
  f.pick = 9;
  f.form.ImageHeadDblClick();
  f.pick = 2;
  f.form.ImageServiceDblClick();
  EXPECT_EQ(f.form.ServiceNo(), 2);
  f.Type(f.form.ComboBoxAddress(), "game.example.org:4000");
  f.form.EditTable()->setText("abc");
  f.form.ComboBoxSeat()->setCurrentIndex(2);
  Shot(f.form, "login.png");
  f.form.BitBtnLoginClick();
  EXPECT_EQ(f.link.opened, (decltype(f.link.opened){{"game.example.org", 4000}}));
  ASSERT_EQ(f.boxes.messages.size(), 1U);
  ExpectBox(f.boxes.messages[0], QStringLiteral("确定要向此服务器登录吗？"), QStringLiteral("提示"),
            MsgIcon::Question);
  EXPECT_EQ(f.form.result(), QDialog::Accepted);
  EXPECT_EQ(f.form.PlayerName(), QStringLiteral("李四"));  // as sent and remembered below
  EXPECT_EQ(test::ReadFile(f.ini), "[POKER_PLAYERS]\r\nNAME0=" + Gbk("李四") +
                                       "\r\nNAME1=" + Gbk("张三") + "\r\nNAME2=" + Gbk("王五") +
                                       "\r\n[PLAYER_ICON]\r\nICON0=9\r\nICON1=7\r\nICON2=12\r\n"
                                       "[OTHER]\r\nKEEP=me\r\n[POKER_SERVERS]\r\n"
                                       "SERVER0=game.example.org:4000\r\n");
  EXPECT_EQ(f.Request(0), MakeLoginRequest(Gbk("李四"), "", 2, 9, 1, 2));
}

TEST(LoginWindow, RefusesAnEmptyNameAndABadAddressBeforeConnecting) {
  LoginFixture f;
  f.Type(f.form.ComboBoxName(), QStringLiteral(" \u3000 "));  // blanks only: no name
  f.Type(f.form.ComboBoxAddress(), "127.0.0.1");
  f.form.BitBtnLoginClick();
  ASSERT_EQ(f.boxes.messages.size(), 1U);
  ExpectBox(f.boxes.messages[0], QStringLiteral("玩家名字必须输入!"), QStringLiteral("提示"),
            MsgIcon::Information);
  EXPECT_TRUE(f.link.opened.empty());

  f.Type(f.form.ComboBoxName(), "Tom");
  for (const char* bad : {"", "bad host", "host:0", "host:70000", "host:", "[::1"}) {
    f.Type(f.form.ComboBoxAddress(), bad);
    f.form.BitBtnLoginClick();
    ExpectBox(f.boxes.messages.back(), QStringLiteral("请检查服务器网络地址设置。"),
              QStringLiteral("错误"), MsgIcon::Error);
  }
  EXPECT_EQ(f.boxes.messages.size(), 7U);
  f.link.openResult = 1;  // the socket refuses at once
  f.Type(f.form.ComboBoxAddress(), "10.0.0.1");
  f.form.BitBtnLoginClick();
  EXPECT_EQ(f.boxes.messages.back().caption, QStringLiteral("错误"));
  EXPECT_TRUE(f.link.sent.empty());
  EXPECT_FALSE(std::filesystem::exists(f.ini));
  EXPECT_NE(f.form.result(), QDialog::Accepted);
}

TEST(LoginWindow, AFailedSendStaysOpenAndTryingAgainRemembersNothingTwice) {
  LoginFixture f;
  f.link.sendResult = 1;
  f.Type(f.form.ComboBoxName(), QStringLiteral("一二三四五六七八九十甲乙丙丁戊"));
  f.Type(f.form.ComboBoxAddress(), "localhost");
  f.form.EditPassword()->setText("secret");
  f.form.BitBtnLoginClick();
  EXPECT_NE(f.form.result(), QDialog::Accepted);
  EXPECT_EQ(f.boxes.messages.size(), 1U);  // only the question
  EXPECT_EQ(f.link.opened[0].second, 1073);
  // The name goes whole to the request, which says 30 bytes were typed (the cut is its own).
  EXPECT_EQ(f.Request(0).nameLength[0], 30);
  EXPECT_EQ(f.Request(0).password, "secret");
  f.link.sendResult = 0;
  f.form.BitBtnLoginClick();
  EXPECT_EQ(f.form.result(), QDialog::Accepted);
  EXPECT_EQ(f.form.Lists().names.size() + f.form.Lists().addresses.size(), 2U);

  // A remembered name and address chosen from the lists are not added again, and
  // the given address (Quarn's --server) stays while the newest name is chosen.
  const std::string remembered = test::ReadFile(f.ini);
  TFormLogin again(&f.dlgHead, &f.dlgService);
  again.SetSettingsPath(f.ini);
  again.SetLink(&f.link);
  again.ComboBoxName()->setEditText(QStringLiteral("玩家"));
  again.ComboBoxAddress()->setEditText("127.0.0.1:5000");
  again.FormShow();
  EXPECT_EQ(again.PlayerName(), QStringLiteral("一二三四五六七八九十甲乙丙丁戊"));
  EXPECT_EQ(again.ComboBoxAddress()->currentText(), "127.0.0.1:5000");
  again.ComboBoxAddress()->setCurrentIndex(0);
  emit again.ComboBoxAddress()->activated(0);
  again.BitBtnLoginClick();
  EXPECT_EQ(test::ReadFile(f.ini), remembered);
  // Without remembered names the given name stays.
  std::filesystem::remove(f.ini);
  TFormLogin fresh(&f.dlgHead, &f.dlgService);
  fresh.SetSettingsPath(f.ini);
  fresh.ComboBoxName()->setEditText(QStringLiteral("玩家"));
  fresh.FormShow();
  EXPECT_EQ(fresh.PlayerName(), QStringLiteral("玩家"));
}

TEST(LoginWindow, EnterLogsInEscapeCancelsAndAGapInTheNamesIsClosed) {
  LoginFixture f("[POKER_PLAYERS]\r\nNAME0=\r\nNAME1=a\r\n[PLAYER_ICON]\r\nICON0=4\r\n");
  f.form.show();
  f.Type(f.form.ComboBoxAddress(), "127.0.0.1");
  QTest::keyClick(f.form.ComboBoxName()->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(f.form.result(), QDialog::Accepted);
  EXPECT_EQ(f.Request(0).headIcon[0], 4);
  EXPECT_EQ(TIniFile(f.ini).ReadSection("POKER_PLAYERS"),
            (std::vector<TIniFile::Entry>{{"NAME0", "a"}}));
  f.form.show();
  f.form.setResult(0);
  QTest::keyClick(&f.form, Qt::Key_Escape);
  EXPECT_EQ(f.form.result(), QDialog::Rejected);
  EXPECT_EQ(f.link.sent.size(), 1U);
}

TEST(LoginSettings, AddressAndTableEntries) {
  for (const auto& [text, host, port] : std::vector<std::tuple<const char*, const char*, int>>{
           {" 192.168.0.5 ", "192.168.0.5", 1073},
           {"[::1]:5000", "::1", 5000},
           {"::1", "::1", 1073}}) {
    const auto address = ParseServerAddress(text);
    ASSERT_TRUE(address) << text;
    EXPECT_EQ(address->host + ":" + std::to_string(address->port),
              host + (":" + std::to_string(port)));
  }
  for (const char* bad : {"h:-1", "h:+5", "h: 5", "[::1]x", "h/x", "h:65536", "\xE4\xB8\x80"}) {
    EXPECT_FALSE(ParseServerAddress(bad)) << bad;
  }
  EXPECT_EQ(ParseTableNumber("7") * 10 + ParseTableNumber(" -2 "), 68);
  for (const char* bad : {"abc", "", "12x", "99999999999"}) EXPECT_EQ(ParseTableNumber(bad), 1);
}

}  // namespace
}  // namespace quarn::client
