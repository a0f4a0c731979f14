// The real table window logs in to a real quarnd beside three scripted
// players, is dealt its cards and lays a play the server relays. Every wait
// is bounded; the server is stopped whatever happens.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "client/ui/frmdlghead.h"
#include "client/ui/frmdlgservice.h"
#include "client/ui/frmlogin.h"
#include "core/gbk.h"
#include "protocol/packet_builder.h"
#include "table_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/qt_wait.h"
#include "tests/support/test_player.h"

namespace quarn::client::testing {
namespace {

constexpr int kStepMs = 15000;

TEST(TableWindowWithServer, LogsInIsDealtAndLaysAPlay) {
  TableFixture t;
  TMainForm& form = t.form;
  form.ClientSocketMain().SetWriteOverride({});  // the real connection this time
  QTemporaryDir dir;
  test::ChildProcess quarnd;
  const std::uint16_t port =
      test::StartQuarnd(quarnd, {"--no-delay", "--dir", dir.path().toStdString()},
                        QDir(dir.path()).filePath(QStringLiteral("quarnd.out")).toStdString());
  ASSERT_NE(port, 0) << "quarnd did not start";

  TDlgHead dlgHead(&form);
  TDlgService dlgService(&form);
  TFormLogin login(&dlgHead, &dlgService, &form);
  login.SetLink(&form);
  login.SetSettingsPath(QDir(dir.path()).filePath(QStringLiteral("quarn.ini")).toStdString());
  TableWindows windows;
  windows.login = [&]() -> std::optional<LoginOutcome> {
    QTimer::singleShot(0, &login, [&] {
      login.ComboBoxName()->setEditText(QStringLiteral("东家"));
      login.ComboBoxAddress()->setEditText(QStringLiteral("127.0.0.1:%1").arg(port));
      login.BitBtnLoginClick();
    });
    QTimer::singleShot(kStepMs, &login, [&] { login.reject(); });  // never wait for ever
    if (login.exec() != QDialog::Accepted) return std::nullopt;
    return LoginOutcome{login.PlayerName(), login.ServiceNo(), login.IconNo()};
  };
  form.SetWindows(std::move(windows));

  QTest::mouseClick(form.BtnLogin(), Qt::LeftButton);
  ASSERT_EQ(form.Table().GameState, TGameState::LoggingIn);
  ASSERT_TRUE(test::WaitFor([&] { return form.Table().GameState == TGameState::Seated; }, kStepMs));
  const int ownSeat = form.Table().OwnSeat;

  std::array<test::TestPlayer, 3> others{
      test::TestPlayer(Utf8ToGbk("乙家"), test::SendStyle::Whole),
      test::TestPlayer(Utf8ToGbk("丙家"), test::SendStyle::Whole),
      test::TestPlayer(Utf8ToGbk("丁家"), test::SendStyle::Whole)};
  // The scripted players answer between the window's events.
  auto waitWithOthers = [&](auto done) {
    return test::WaitFor(
        [&] {
          for (test::TestPlayer& other : others) other.Pump(1);
          return done();
        },
        kStepMs);
  };
  for (test::TestPlayer& other : others) {
    ASSERT_TRUE(other.Connect(port));
    ASSERT_TRUE(other.SendLogin(0));
    ASSERT_TRUE(waitWithOthers([&] { return other.Seat() >= 0; }));
  }
  ASSERT_TRUE(waitWithOthers([&] { return form.Table().Me.Hand.Count() >= 25; }));
  EXPECT_EQ(form.Table().PlayerCount, 4);
  EXPECT_EQ(form.LabelPlayer(3)->text(), QStringLiteral("乙家"));  // the seat after ours
  EXPECT_FALSE(form.HandImage(0)->isHidden());

  ASSERT_TRUE(waitWithOthers([&] {
    const TClientTable& table = form.Table();
    return table.GameState == TGameState::InPlay && table.CurrentSeat == ownSeat;
  }));
  // H picks the computer's suggestion, Enter lays it; the server relays it back.
  QTest::keyClick(&form, Qt::Key_H);
  QTest::keyClick(&form, Qt::Key_Return);
  EXPECT_EQ(form.Table().GameState, TGameState::PlaySent);
  ASSERT_TRUE(waitWithOthers([&] { return !form.TableImage(0)->isHidden(); }));
  SaveShot(form, QStringLiteral("table_with_quarnd.png"));
  // The login window's question was the only message on the way.
  ASSERT_EQ(t.messages.size(), 1u) << t.messages.back().text.toStdString();
  EXPECT_EQ(t.messages[0].text, QStringLiteral("确定要向此服务器登录吗？"));
}

}  // namespace
}  // namespace quarn::client::testing
