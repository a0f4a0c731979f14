// The table window in the middle of a game, as a picture: every label filled,
// a hand with raised cards, a combination on the table. The picture is saved
// into $QUARN_SHOTS when that names a folder, for a person to look at.
#include <gtest/gtest.h>
#include <QTest>

#include "table_fixture.h"

namespace quarn::client::testing {
namespace {

TEST(TableWindowPicture, MidGameAndAfterTheGame) {
  TableFixture t;
  t.names = {"张三", "李四小朋友", "王五", "赵六六六六六六"};
  TMainForm& f = t.form;
  t.Login(QStringLiteral("张三"));
  SaveShot(f, QStringLiteral("table_logging_in.png"));
  t.Feed(LoginReply(0));
  t.Feed(SeatList(t.names));
  t.Feed(Deal(MessageType::DealCards, 0, {3,  7,  12, 15, 19, 24, 26, 30, 33, 35, 38,  41, 44,
                                          46, 50, 52, 53, 57, 61, 66, 70, 75, 88, 101, 108}));
  t.Feed(Deal(MessageType::StartCardNotice, 3, {17}));
  t.Feed(Bid(MessageType::BidResult, 3, 10));
  t.Feed(Chat(2, "快点出牌啊"));
  t.Feed(Chat(3, "别急，好牌在后头"));
  t.Feed(PlayNotice(3, {9, 10, 13, 14, 17, 18, 21, 22}));
  t.Feed(PlayTurn(0));
  t.Feed(PlayNotice(0, {}));
  for (int slot : {20, 21, 22}) f.ImagePoker1Click(f.HandImage(slot));
  EXPECT_TRUE(f.HandImage(21)->Moved());
  SaveShot(f, QStringLiteral("table_midgame.png"));

  t.Feed(GameEnd(3, t.names, {-30, -30, -30, 90}));
  SaveShot(f, QStringLiteral("table_winner.png"));
}

}  // namespace
}  // namespace quarn::client::testing
