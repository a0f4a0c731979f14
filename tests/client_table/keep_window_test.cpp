// After a lost connection the window offers to reconnect with the login it
// sent; the server's account of the game in play restores the table, marks
// the seats the computer plays and shows the seconds left; T asks for 托管.
#include <gtest/gtest.h>
#include <QTest>

#include "client/model/client_sending.h"
#include "table_fixture.h"
#include "tests/support/sample_table_state.h"

namespace quarn::client::testing {
namespace {

TEST(TableWindowReturn, ReconnectsRestoresMarksAndTimesTheTurn) {
  TableFixture t;
  t.names = {"张三", "李四小朋友", "王五", "赵六"};
  TMainForm& f = t.form;
  t.StartPlay(1, 3);
  f.SendPacket(*BuildLoginRequest("李四小朋友", "pw", 2, 7, 1, 1));  // what the login window sends
  f.ClientSocketMainDisconnect();
  ASSERT_TRUE(f.BtnReconnect()->isVisible());
  Shot(f, "table_reconnect_offer.png");
  t.written.clear();
  QTest::mouseClick(f.BtnReconnect(), Qt::LeftButton);
  ASSERT_EQ(t.Written(MessageType::LoginRequest).size(), 1U);
  EXPECT_FALSE(f.BtnReconnect()->isVisible());

  // The worked example: 北 (us) to beat 东's pair of 5s, 南 the landlord.
  t.Feed(LoginReply(1));
  t.Feed(SeatList(t.names));
  t.Feed(Must(BuildPacket(MessageType::TableState, test::SampleTableState())));
  AutoPlayRecord controls{1, 3, SeatControl::PlayerGone};
  controls.seats[3] = SeatControl::PlayerGone;
  t.Feed(Must(BuildPacket(MessageType::AutoPlayNotice, controls)));
  t.Feed(Must(BuildPacket(MessageType::TurnClock, TurnClockRecord{1, 1, 30000, 21500})));

  EXPECT_TRUE(f.BtnSend()->isEnabled());  // our turn again
  EXPECT_TRUE(f.HandImage(4)->isVisible());
  EXPECT_FALSE(f.HandImage(5)->isVisible());
  EXPECT_EQ(f.LabelCount(1)->text(), QStringLiteral("20"));  // 东 sits left of 北
  EXPECT_TRUE(f.ImageLord()->isVisible());
  EXPECT_TRUE(f.TableImage(1)->isVisible());
  EXPECT_TRUE(f.AutoPlayMark(2)->isVisible());  // 南, opposite, played by the computer
  EXPECT_FALSE(f.AutoPlayMark(0)->isVisible());
  EXPECT_TRUE(f.ClockLabel(0)->isVisible());
  EXPECT_EQ(f.ClockLabel(0)->text(), QStringLiteral("22"));
  Shot(f, "table_reconnected.png");

  // T asks the server for 托管; the button follows the server's answer.
  QTest::keyClick(&f, Qt::Key_T);
  const auto asked = t.Written(MessageType::AutoPlayRequest);
  ASSERT_EQ(asked.size(), 1U);
  EXPECT_EQ(asked[0].bytes[36], 1);  // our own seat
  EXPECT_EQ(asked[0].bytes[37], 1);  // for the computer to play
  EXPECT_FALSE(f.BtnAutoPlay()->isChecked());
  controls.seat = 1;
  controls.control = controls.seats[1] = SeatControl::OnRequest;
  t.Feed(Must(BuildPacket(MessageType::AutoPlayNotice, controls)));
  EXPECT_TRUE(f.BtnAutoPlay()->isChecked());
  EXPECT_TRUE(f.AutoPlayMark(0)->isVisible());
  t.Feed(PlayTurn(2));
  EXPECT_FALSE(f.ClockLabel(0)->isVisible());  // the turn moved on, its clock with it
  Shot(f, "table_autoplay.png");
}

}  // namespace
}  // namespace quarn::client::testing
