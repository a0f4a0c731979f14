// The real table window logs in to a real quarnd beside three scripted
// players, is dealt its cards and lays a play that the others see. Every wait
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

// The own card to lay: the lowest when leading, else the highest.
int ChooseSlot(const TClientTable& table) {
  const bool leading = table.LeadSeat == table.OwnSeat;
  int chosen = -1;
  for (int slot = 0; slot < kHandSlots; ++slot) {
    if (!table.Me.Hand.Card(slot).IsPresent()) continue;
    if (leading) return slot;
    chosen = slot;
  }
  return chosen;
}

// True when `player` was relayed a play by `seat` holding `card` (folded).
bool SawPlay(const test::TestPlayer& player, int seat, int card) {
  for (const std::vector<std::uint8_t>& bytes : player.Window()) {
    PlayRecord play;
    if (static_cast<MessageType>(PacketFromBytes(bytes).RawType()) != MessageType::PlayNotice ||
        DecodeBody(MessageType::PlayNotice, play, PacketFromBytes(bytes)) != 0 || play.seat != seat)
      continue;
    for (int i = 0; i < play.count; ++i) {
      const int n = play.cards[static_cast<std::size_t>(i)];
      if ((n > 54 ? n - 54 : n) == card) return true;
    }
  }
  return false;
}

TEST(TableWindowWithServer, LogsInIsDealtAndLaysAPlayTheOthersSee) {
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
  const int slot = ChooseSlot(form.Table());
  ASSERT_GE(slot, 0);
  const int card = form.Table().Me.Hand.Card(slot).Number();
  const int before = form.Table().Me.Hand.Count();
  QTest::mouseClick(form.HandImage(slot), Qt::LeftButton);
  QTest::mouseClick(form.BtnSend(), Qt::LeftButton);
  EXPECT_EQ(form.Table().Me.Hand.Count(), before - 1);

  ASSERT_TRUE(waitWithOthers([&] {
    return std::all_of(others.begin(), others.end(), [&](const test::TestPlayer& other) {
      return SawPlay(other, ownSeat, card);
    });
  })) << "the other players never saw the play";
  // Our own play comes back onto our table, and the turn moves on.
  ASSERT_TRUE(waitWithOthers([&] { return !form.TableImage(0)->isHidden(); }));
  SaveShot(form, QStringLiteral("table_with_quarnd.png"));
  // The login window's question was the only message on the way.
  ASSERT_EQ(t.messages.size(), 1u) << t.messages.back().text.toStdString();
  EXPECT_EQ(t.messages[0].text, QStringLiteral("确定要向此服务器登录吗？"));
}

}  // namespace
}  // namespace quarn::client::testing
