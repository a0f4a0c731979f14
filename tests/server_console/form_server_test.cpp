#include "server/console/form_server.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>
#include <vector>

#include "core/gbk.h"
#include "protocol/packet_builder.h"
#include "server/console/running_light.h"
#include "server/server_table.h"
#include "tests/support/server/fake_host.h"

namespace quarn::server {
namespace {

using testing::FakeHost;

struct WarningSeen {
  bool shown = false;
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Closes the next modal message box as soon as it shows, noting what it said;
// gives up after a while so that a missing box cannot hang the test.
void CatchNextBox(WarningSeen& seen) {
  auto* timer = new QTimer(qApp);
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, &seen] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      seen = {true, box->windowTitle(), box->text(), box->icon()};
      box->button(QMessageBox::Ok)->click();
    } else if (++*tries < 200) {
      return;
    }
    timer->stop();
    timer->deleteLater();
  });
  timer->start(10);
}

class FormServerTest : public ::testing::Test {
 protected:
  FormServerTest() {
    app_ = std::make_unique<ServerApp>(host_, form_, dir_.path().toStdString());
    form_.Attach(app_.get());
  }
  ~FormServerTest() override { form_.Attach(nullptr); }

  template <typename T>
  T* Find(const char* name) {
    T* child = form_.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  std::vector<QWidget*> SettingsControls() {
    return {Find<QCheckBox>("CheckBoxBid"),          Find<QLineEdit>("EditPoint"),
            Find<QCheckBox>("CheckBoxRand"),         Find<QCheckBox>("CheckBoxDelay"),
            Find<QLineEdit>("EditDelaySync"),        Find<QLineEdit>("EditDelayDeal"),
            Find<QLineEdit>("EditTables"),           Find<QCheckBox>("CheckBoxKeepSeats"),
            Find<QLineEdit>("EditTurnTime"),         Find<QLineEdit>("EditWebPort"),
            Find<QCheckBox>("CheckBoxSpectatorChat")};
  }
  bool SettingsEnabled() {
    bool all = true;
    bool none = true;
    for (QWidget* control : SettingsControls()) {
      all = all && control->isEnabled();
      none = none && !control->isEnabled();
    }
    EXPECT_TRUE(all || none) << "the settings are enabled together";
    return all;
  }
  QString Status() { return Find<QLabel>("StatusPanel0")->text(); }
  QColor Light() { return Find<RunningLight>("ShapeLight")->Fill(); }
  QString Log() { return Find<QPlainTextEdit>("MemoLog")->toPlainText(); }
  void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
  // A connection opens and asks for table 1.
  void LogIn(ConnectionId id, const std::string& utf8Name) {
    app_->ConnectionOpened(id);
    const auto login = BuildPacket(MessageType::LoginRequest,
                                   MakeLoginRequest(Utf8ToGbk(utf8Name), "", 1, 1, 1, 0));
    app_->BytesReceived(id, login->data());
  }

  QTemporaryDir dir_;
  FakeHost host_;
  TFormServer form_;
  std::unique_ptr<ServerApp> app_;
};

TEST_F(FormServerTest, ShowsTheConsoleAsDescribed) {
  form_.show();
  EXPECT_EQ(form_.windowTitle(), "“Vardel”服务器程序");
  // The texts of the controls, by object name.
  const std::vector<std::pair<const char*, const char*>> texts = {
      {"BtnStart", "启动(&S)"},          {"BtnStop", "停止(&T)"},
      {"CheckBoxBid", "允许卖地主"},     {"CheckBoxRand", "每局随机数更新"},
      {"CheckBoxDelay", "允许通讯时延"}, {"StatusPanel0", "服务器连接..."}};
  for (const auto& [name, text] : texts) {
    auto* control = Find<QWidget>(name);
    const QVariant shown = control ? control->property("text") : QVariant();
    EXPECT_EQ(shown.toString(), QString::fromUtf8(text)) << name;
  }
  EXPECT_EQ(Light(), QColor(255, 0, 0));

  auto* pages = Find<QTabWidget>("PageControl1");
  ASSERT_EQ(pages->count(), 4);
  EXPECT_EQ(
      QStringList({pages->tabText(0), pages->tabText(1), pages->tabText(2), pages->tabText(3)}),
      QStringList({"运行日志", "英雄榜", "系统配置", "桌子"}));
  const std::optional<ServerSettings> s = form_.Settings();
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(std::tie(s->allowBid, s->defaultPoints, s->randEachGame, s->allowDelay, s->delaySyncMs,
                     s->delayDealMs, s->tables),
            std::tuple(false, 10u, false, true, 200u, 500u, 1u));
  EXPECT_TRUE(SettingsEnabled());
}

TEST_F(FormServerTest, StartAndStopSwitchLightStatusAndSettings) {
  form_.show();
  Click("BtnStart");
  EXPECT_TRUE(host_.listening);
  EXPECT_EQ(Status(), "服务器正在运行中...");
  EXPECT_EQ(Light(), QColor(0, 255, 0));
  EXPECT_FALSE(SettingsEnabled());
  EXPECT_TRUE(Find<QPushButton>("BtnStart")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("BtnStop")->isEnabled());
  EXPECT_TRUE(Log().endsWith("启动服务器"));

  QTest::mouseDClick(&form_, Qt::LeftButton, {}, QPoint(150, 20));
  EXPECT_TRUE(Log().contains("[Status=2][Count=0][Players=(0)(0)(0)(0)]"));
  EXPECT_TRUE(Log().endsWith("--------结束诊断--------"));

  Click("BtnStop");  // its status and log line are the service's
  EXPECT_EQ(Light(), QColor(255, 0, 0));
  EXPECT_TRUE(SettingsEnabled());

  // A port that cannot be opened: the status says so and nothing else changes.
  host_.refuseListen = true;
  Click("BtnStart");
  EXPECT_EQ(Status(), "服务器启动失败...");
  EXPECT_EQ(Light(), QColor(255, 0, 0));
  EXPECT_TRUE(SettingsEnabled());

  // Closing saves both views into the server's folder.
  form_.close();
  const QStringList files = QDir(dir_.path()).entryList(QDir::Files, QDir::Name);
  ASSERT_EQ(files.size(), 2) << files.join(' ').toStdString();
  EXPECT_TRUE(files[0].startsWith("Hero"));
  EXPECT_TRUE(files[1].startsWith("Log"));
}

TEST_F(FormServerTest, ASettingThatIsNoIntegerRefusesTheStartWithAWarning) {
  form_.show();
  std::vector<std::uint16_t> webPorts;
  form_.OnStarting([&](std::uint16_t port) { webPorts.push_back(port); });
  for (const char* edit : {"EditPoint", "EditDelaySync", "EditDelayDeal", "EditTurnTime",
                           "EditWebPort", "EditSpectators"}) {
    auto* field = Find<QLineEdit>(edit);
    const QString before = field->text();
    field->setText("12a");
    WarningSeen seen;
    CatchNextBox(seen);
    Click("BtnStart");
    EXPECT_EQ(
        std::tie(seen.shown, seen.caption, seen.text, seen.icon),
        std::tuple(true, "警告", "请查看服务器系统配置项是否设置有误！", QMessageBox::Warning))
        << edit;
    EXPECT_FALSE(host_.listening);
    EXPECT_TRUE(SettingsEnabled());
    EXPECT_EQ(field->text(), "12a");  // the text is kept for the user to mend
    EXPECT_EQ(Status(), "服务器连接...");
    field->setText(before);
  }
  // Mended, the same click starts the server with the changed settings.
  Find<QCheckBox>("CheckBoxBid")->setChecked(true);
  Find<QLineEdit>("EditPoint")->setText("25");
  Find<QCheckBox>("CheckBoxKeepSeats")->setChecked(true);
  Find<QLineEdit>("EditTurnTime")->setText("30");
  Find<QCheckBox>("CheckBoxSpectatorChat")->setChecked(true);
  EXPECT_TRUE(form_.Settings()->spectatorChat);
  Find<QLineEdit>("EditWebPort")->setText("0");  // not a port
  WarningSeen seen;
  CatchNextBox(seen);
  Click("BtnStart");
  EXPECT_TRUE(seen.shown);
  EXPECT_FALSE(app_->Listening());
  EXPECT_TRUE(webPorts.empty());  // nothing was handed on before the settings were whole
  Find<QLineEdit>("EditWebPort")->setText(" 8080 ");
  // Names that belong to their players are kept in the game file: not without it.
  Find<QCheckBox>("CheckBoxAccounts")->setChecked(true);
  seen = {};
  CatchNextBox(seen);
  Click("BtnStart");
  EXPECT_EQ(seen.text, "名字归属需要保存牌局记录，请同时选中“保存牌局记录”。");
  EXPECT_FALSE(app_->Listening());
  Find<QCheckBox>("CheckBoxAccounts")->setChecked(false);
  Click("BtnStart");
  EXPECT_TRUE(app_->Listening());
  EXPECT_EQ(webPorts, std::vector<std::uint16_t>{8080});
  EXPECT_EQ(form_.WebPort(), 8080);
  Find<QLineEdit>("EditWebPort")->clear();
  EXPECT_EQ(form_.WebPort(), 0);  // empty: no web port
  EXPECT_EQ(app_->Table()->DefaultPoints, 25u);
  EXPECT_TRUE(app_->Table()->AllowBid);
  EXPECT_TRUE(app_->Table()->KeepSeats);
  EXPECT_EQ(app_->Table()->TurnTimeMs, 30000u);
}

// Each row: number, players, state, names.
std::vector<QStringList> Rows(QTreeWidget* tree) {
  std::vector<QStringList> rows;
  for (int row = 0; row < tree->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = tree->topLevelItem(row);
    rows.push_back({item->text(0), item->text(1), item->text(2), item->text(3)});
  }
  return rows;
}

TEST_F(FormServerTest, TheTablesTabListsTheTablesInUse) {
  host_.due = [this](TimerId id) { app_->TimerDue(id); };
  form_.show();
  Find<QLineEdit>("EditTables")->setText("3");
  Click("BtnStart");
  // Five players, all asking for table 1: four sit there, the fifth at table 2.
  const char* names[] = {"东方", "北乙", "west", "南丁", "Eve"};
  for (ConnectionId id = 1; id <= 5; ++id) LogIn(id, names[id - 1]);
  auto* tree = Find<QTreeWidget>("TreeTables");
  // The others wait for the first one's paced seat list.
  EXPECT_EQ(Rows(tree), std::vector<QStringList>{QStringList({"1", "1/4", "入座", "东方"})});
  host_.RunTimers();
  EXPECT_EQ(Rows(tree), (std::vector<QStringList>{{"1", "4/4", "出牌", "东方  北乙  west  南丁"},
                                                  {"2", "1/4", "等人", "Eve"}}));
  app_->ConnectionClosed(2);
  EXPECT_EQ(Rows(tree)[0], QStringList({"1", "3/4", "等人", "东方  west  南丁"}));
  Click("BtnStop");
  Find<QLineEdit>("EditTables")->setText("1");
  Click("BtnStart");
  EXPECT_EQ(Rows(tree), std::vector<QStringList>{QStringList({"1", "0/4", "等人", ""})});
}

}  // namespace
}  // namespace quarn::server
