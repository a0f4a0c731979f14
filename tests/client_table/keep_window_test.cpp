// After a lost connection the window offers to reconnect with the login it
// sent; the server's account of the game in play restores the table, marks
// the seats the computer plays and shows the seconds left; T asks for 托管.
#include <gtest/gtest.h>
#include <QTest>

#include "client/model/client_sending.h"
#include "table_fixture.h"

namespace quarn::client::testing {
namespace {

TEST(TableWindowReturn, ReconnectsRestoresMarksAndTimesTheTurn) {
  TableFixture t;
  t.names = {"张三", "李四小朋友", "王五", "赵六"};
  TMainForm& f = t.form;
  t.StartPlay(0, 3);
  f.SendPacket(*BuildLoginRequest("张三", "pw", 2, 7, 1, 0));  // what the login window sends
  f.ClientSocketMainDisconnect();
  EXPECT_EQ(f.Table().GameState, TGameState::Offline);
  ASSERT_TRUE(f.BtnReconnect()->isVisible());
  SaveShot(f, QStringLiteral("table_reconnect_offer.png"));
  t.written.clear();
  QTest::mouseClick(f.BtnReconnect(), Qt::LeftButton);
  ASSERT_EQ(t.Written(MessageType::LoginRequest).size(), 1U);
  EXPECT_FALSE(f.BtnReconnect()->isVisible());

  t.Feed(LoginReply(0));
  t.Feed(SeatList(t.names));
  TableStateRecord state{.tableNumber = 1,
                         .seat = 0,
                         .phase = TablePhase::Playing,
                         .turn = 0,
                         .landlord = 3,
                         .points = 10,
                         .cardCount = {12, 20, 18, 26},
                         .startCard = 17,
                         .handCount = 12,
                         .leadSeat = 3,
                         .tableCount = 3};
  const std::vector<std::uint8_t> hand = {3, 8, 15, 19, 24, 30, 33, 41, 46, 53, 101, 108};
  std::copy(hand.begin(), hand.end(), state.hand.begin());
  state.tableCards = {37, 38, 39};  // three Qs from 南, the landlord
  t.Feed(*BuildPacket(MessageType::TableState, state));
  AutoPlayRecord controls{1, 2, SeatControl::PlayerGone};
  controls.seats[2] = SeatControl::PlayerGone;
  t.Feed(*BuildPacket(MessageType::AutoPlayNotice, controls));
  t.Feed(*BuildPacket(MessageType::TurnClock, TurnClockRecord{1, 0, 30000, 21500}));

  EXPECT_EQ(f.Table().GameState, TGameState::InPlay);
  EXPECT_TRUE(f.BtnSend()->isEnabled());  // our turn again
  EXPECT_EQ(f.HandImage(11)->isVisible(), true);
  EXPECT_FALSE(f.HandImage(12)->isVisible());
  EXPECT_EQ(f.LabelCount(1)->text(), QStringLiteral("26"));  // 南 sits left of 东
  EXPECT_TRUE(f.ImageLord()->isVisible());
  EXPECT_TRUE(f.TableImage(2)->isVisible());
  EXPECT_TRUE(f.AutoPlayMark(2)->isVisible());  // 西, opposite, played by the computer
  EXPECT_FALSE(f.AutoPlayMark(0)->isVisible());
  EXPECT_TRUE(f.ClockLabel(0)->isVisible());
  EXPECT_EQ(f.ClockLabel(0)->text(), QStringLiteral("22"));
  SaveShot(f, QStringLiteral("table_reconnected.png"));

  // T asks the server for 托管; the button follows the server's answer.
  QTest::keyClick(&f, Qt::Key_T);
  const auto asked = t.Written(MessageType::AutoPlayRequest);
  ASSERT_EQ(asked.size(), 1U);
  EXPECT_EQ(asked[0].bytes[37], 1);
  EXPECT_FALSE(f.BtnAutoPlay()->isChecked());
  controls = {1, 0, SeatControl::OnRequest, {SeatControl::OnRequest, {}, SeatControl::PlayerGone}};
  t.Feed(*BuildPacket(MessageType::AutoPlayNotice, controls));
  EXPECT_TRUE(f.BtnAutoPlay()->isChecked());
  EXPECT_TRUE(f.AutoPlayMark(0)->isVisible());
  t.Feed(PlayTurn(1));
  EXPECT_FALSE(f.ClockLabel(0)->isVisible());  // the turn moved on, its clock with it
  SaveShot(f, QStringLiteral("table_autoplay.png"));
}

}  // namespace
}  // namespace quarn::client::testing
