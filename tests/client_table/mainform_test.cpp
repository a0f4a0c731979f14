// The table window under the offscreen platform: what it enables, what it
// writes into the status bar, and what a click does to the hand and the wire.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

#include "client/model/screen_texts.h"
#include "table_fixture.h"
#include "tests/support/widgets/qt_fixture.h"

namespace quarn::client::testing {
namespace {

QString Q(const char* utf8) {
  return QString::fromUtf8(utf8);
}

TEST(TableWindow, ButtonsFollowTheModelAndNeverTakeTheKeys) {
  TableFixture t;
  t.SeatFour(1);
  TMainForm& f = t.form;
  for (int value = 0; value <= 7; ++value) {
    for (bool ownTurn : {true, false}) {
      f.Table().CurrentSeat = ownTurn ? 1 : 2;
      f.Table().SetGameState(static_cast<TGameState>(value));
      SCOPED_TRACE(::testing::Message() << "state " << value << " own turn " << ownTurn);
      const ButtonStates shown{
          f.BtnSend()->isEnabled(),    f.BtnBid()->isEnabled(),   f.BtnPass()->isEnabled(),
          f.BtnCancel()->isEnabled(),  f.BtnLogin()->isEnabled(), f.SBtnSpeak()->isEnabled(),
          f.SBtnWaiter()->isEnabled(), f.BtnQuit()->isEnabled(),  f.SBtnShutup()->isEnabled(),
          f.SBtnHero()->isEnabled(),   f.BtnHint()->isEnabled(),  f.BtnAutoPlay()->isEnabled()};
      EXPECT_EQ(shown, ButtonsFor(f.Table()));
    }
  }
  // A key typed at the table (a held Space, Enter) never presses a button.
  for (QAbstractButton* b : f.findChildren<QAbstractButton*>())
    EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << b->objectName().toStdString();
  // Whenever talking is switched off the talk window goes too.
  const int hidden = t.talkHidden;
  t.form.Table().SetGameState(TGameState::AwaitDeal);
  EXPECT_EQ(t.talkHidden, hidden + 1);
}

TEST(TableWindow, ALoginSeatsDealsAndPlaysByClicks) {
  TableFixture t;
  TMainForm& f = t.form;
  EXPECT_EQ(f.windowTitle(), Q("LumoVardel"));
  t.Login(Q("李四"));
  EXPECT_EQ(f.windowTitle() + f.LabelPlayer(0)->text(), Q("李四Vardel李四"));
  EXPECT_TRUE(f.LabelSeat()->isHidden());
  t.Feed(LoginReply(1));
  EXPECT_EQ(f.LabelSeat()->isHidden() ? Q("-") : f.LabelSeat()->text(), Q("北"));
  t.Feed(SeatList(t.names));
  // Seat 2 sits right of seat 1, seat 3 opposite, seat 0 left.
  EXPECT_EQ(f.LabelPlayer(3)->text() + f.LabelPlayer(2)->text() + f.LabelPlayer(1)->text(),
            Q("王五赵六张三"));
  EXPECT_FALSE(f.ImageHead(1)->isHidden());

  t.Feed(Deal(MessageType::DealCards, 1, LowCards()));
  TImagePoker* first = f.HandImage(0);
  const int lowered = first->y();
  QTest::mouseClick(first, Qt::LeftButton);  // before the play phase a click raises nothing
  EXPECT_FALSE(first->Moved());
  t.Feed(Bid(MessageType::BidStart, 2, 31));
  EXPECT_EQ(f.StatusText(0) + f.StatusText(1), Q("嘘——，王五正在叫牌呢...竞价：31"));
  t.Feed(Bid(MessageType::BidResult, 1, 31));
  t.Feed(Deal(MessageType::ExtraCards, 1, LowCards(60, 8)));
  EXPECT_EQ(f.LabelCount(0)->text(), Q("33"));
  EXPECT_FALSE(f.HandImage(32)->isHidden());
  QTest::mouseClick(first, Qt::LeftButton);
  EXPECT_EQ(first->y(), lowered - TImagePoker::DeltaY);
  QTest::mouseClick(first, Qt::LeftButton);
  EXPECT_EQ(first->y(), lowered);

  // The pair of 3s, numbered 1 and 2, goes out in the play packet and leaves the hand.
  QTest::mouseClick(f.HandImage(0), Qt::LeftButton);
  QTest::mouseClick(f.HandImage(1), Qt::LeftButton);
  QTest::mouseClick(f.BtnSend(), Qt::LeftButton);
  const auto plays = t.Written(MessageType::PlayCards);
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(std::vector<int>(plays[0].bytes.begin() + 38, plays[0].bytes.begin() + 41),
            (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(f.LabelCount(0)->text(), Q("31"));
  EXPECT_TRUE(f.HandImage(0)->isHidden() && f.HandImage(1)->isHidden());
  EXPECT_FALSE(f.HandImage(0)->Moved());
  // Cards can still be picked while the others play, and unpicked at once.
  QTest::mouseClick(f.HandImage(5), Qt::LeftButton);
  EXPECT_TRUE(f.HandImage(5)->Moved());
  QTest::mouseClick(f.BtnCancel(), Qt::LeftButton);
  EXPECT_FALSE(f.HandImage(5)->Moved());

  t.Feed(PlayNotice(1, {1, 2}));  // the server's notice puts the pair on the table
  EXPECT_FALSE(f.TableImage(1)->isHidden());
  EXPECT_TRUE(f.TableImage(2)->isHidden());
  EXPECT_TRUE(f.StatusPanelTip(1).startsWith(Q("李四出的一手\"")));
  t.Feed(PlayTurn(2));
  EXPECT_EQ(f.StatusText(0), Q("等待王五出牌..."));
  t.Feed(PlayNotice(2, {9, 10}));  // another seat's play lowers its count
  EXPECT_EQ(f.LabelCount(3)->text(), Q("23"));
}

TEST(TableWindow, RefusedMovesTheBidWindowAndTheLandlordMark) {
  TableFixture t;
  TMainForm& f = t.form;
  t.StartPlay(0, 0);
  f.BtnPassClick();  // the leader may not pass
  f.BtnSendClick();  // nothing selected is no combination
  ASSERT_EQ(t.messages.size(), 2u);
  ExpectBox(t.messages[0], "你不可以PASS自己耶，宝贝。", "提示", MsgIcon::Warning);
  EXPECT_TRUE(t.messages[1].text.contains(Q("未知的一把牌，不给出。")));
  EXPECT_EQ(t.messages[1].icon, MsgIcon::Error);
  // A 3 does not beat a 2 on the table: refused without a word, still picked.
  t.Feed(PlayNotice(1, {49}));
  t.Feed(PlayTurn(0));
  QTest::mouseClick(f.HandImage(0), Qt::LeftButton);
  f.BtnSendClick();
  EXPECT_EQ(t.messages.size(), 2u);
  EXPECT_TRUE(t.Written(MessageType::PlayCards).empty());
  EXPECT_TRUE(f.HandImage(0)->Moved());
  f.BtnPassClick();
  EXPECT_EQ(t.Written(MessageType::PlayPass).size(), 1u);
  EXPECT_EQ(f.ImageLord()->pos(), QPoint(468, 240));  // beside the own head

  // The next deal: 南 (left of 东) is the landlord after a bid through the bid window.
  t.Feed(GameEnd(3, {}, 1, t.names));
  EXPECT_TRUE(f.ImageLord()->isHidden());
  t.Feed(Deal(MessageType::DealCards, 0, LowCards()));
  t.Feed(Bid(MessageType::BidStart, 0, 30));
  QTest::mouseClick(f.BtnBid(), Qt::LeftButton);
  EXPECT_EQ(t.bidWindows, (std::vector<std::pair<int, int>>{{30, 31}}));
  f.Table().BidPoints = 31;
  EXPECT_EQ(f.SendBid(), 0);
  QTest::mouseClick(f.BtnPass(), Qt::LeftButton);
  ASSERT_EQ(t.Written(MessageType::BidOffer).size() + t.Written(MessageType::BidPass).size(), 2u);
  BidRecord offer;
  ASSERT_EQ(DecodeBody(MessageType::BidOffer, offer, t.Written(MessageType::BidOffer)[0]), 0);
  EXPECT_EQ(offer.seat * 1000 + offer.points, 31);
  t.Feed(Bid(MessageType::BidResult, 3, 31));
  EXPECT_EQ(f.ImageLord()->pos(), QPoint(4, 72));
}

TEST(TableWindow, ChatTheWinnerAndAPlayerLeaving) {
  TableFixture t;
  TMainForm& f = t.form;
  t.SeatFour(0);
  t.Feed(Deal(MessageType::DealCards, 0, LowCards()));
  t.Feed(Deal(MessageType::StartCardNotice, 1, {5}));
  EXPECT_FALSE(f.ImageLordCard()->isHidden());
  t.Feed(Bid(MessageType::BidResult, 1, 10));
  t.Feed(Chat(2, "你好"));
  EXPECT_TRUE(f.MemoTalking()->toPlainText().endsWith(Q("王五：你好")));
  t.Feed(GameEnd(2, {-30, 90, -30, -30}, 1, t.names));
  EXPECT_TRUE(f.ImageLordCard()->isHidden() && f.ImageLord()->isHidden());
  // The winner stays readable through the reset that follows.
  EXPECT_TRUE(f.StatusPanelTip(1).startsWith(Q("赢家是王五")));
  EXPECT_TRUE(f.MemoTalking()->toPlainText().contains(Q("赢家是王五")));
  const int resets = t.heroReset;
  t.Feed(PlayerLeave(3));
  EXPECT_EQ(f.LabelPlayer(1)->text(), Q(""));  // seat 3 sits left of seat 0
  EXPECT_TRUE(f.ImageHead(1)->isHidden());
  EXPECT_EQ(f.LabelPlayer(3)->text(), Q("李四"));
  EXPECT_EQ(t.heroReset, resets + 1);
}

TEST(TableWindow, LoginsLostConnectionsAndQuitting) {
  TableFixture t;
  TMainForm& f = t.form;
  EXPECT_EQ(f.SendTalk(Q("x")), 1);  // a send before the set-up is refused with its message
  f.SBtnSpeakClick();                // the side buttons ask for a login first
  ASSERT_EQ(t.messages.size(), 2u);
  ExpectBox(t.messages[0], "系统初始化尚未完成！", "错误", MsgIcon::Error);
  ExpectBox(t.messages[1], "嘿！先登录到服务器上再说啊。", "提示", MsgIcon::Information);
  t.loginAccepts = false;  // a cancelled login window still sets the table up
  f.BtnLoginClick();
  EXPECT_EQ(f.Table().GameState, TGameState::Offline);
  f.SBtnHeroClick();
  EXPECT_EQ(t.heroShown, 1);
  t.messages.clear();

  t.loginAccepts = true;
  t.StartPlay(0, 1);
  t.Feed(Chat(1, "再来"));
  f.ClientSocketMainDisconnect();
  ASSERT_EQ(t.messages.size(), 1u);
  ExpectBox(t.messages[0], "对不起，网络断线啦！", "警告", MsgIcon::Warning);
  EXPECT_TRUE(f.BtnLogin()->isEnabled());  // offline again
  EXPECT_EQ(f.LabelPlayer(1)->text() + f.LabelPlayer(2)->text() + f.LabelPlayer(3)->text(), "");
  EXPECT_TRUE(f.HandImage(0)->isHidden());
  EXPECT_EQ(f.LabelPlayer(0)->text(), Q("张三"));
  EXPECT_TRUE(f.MemoTalking()->toPlainText().contains(Q("再来")));
  // A refused login: the warning, and the login button back.
  t.Login(Q("张三"));
  t.Feed(LoginReply(255, -1));
  ASSERT_EQ(t.messages.size(), 2u);
  ExpectBox(t.messages[1], "服务器拒绝了登录：这一桌的座位已满，或这个名字的密码不对。", "警告",
            MsgIcon::Warning);
  EXPECT_TRUE(f.BtnLogin()->isEnabled());
  // Back in at another seat: the letter and the places follow the new seat.
  t.Login(Q("张三"));
  t.Feed(LoginReply(2));
  EXPECT_EQ(f.LabelSeat()->text(), Q("西"));
  t.Feed(SeatList({"", "", "张三", "钱七"}));
  EXPECT_EQ(f.LabelPlayer(3)->text(), Q("钱七"));  // seat 3 follows seat 2
  t.messages.clear();
  f.ClientSocketMain().Close(true);

  // A connection that cannot be made: the error, and the login button back.
  QTcpServer closed;
  ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
  const quint16 deadPort = closed.serverPort();
  closed.close();
  ASSERT_EQ(f.OpenConnection("127.0.0.1", deadPort), 0);
  f.Table().SetGameState(TGameState::LoggingIn);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !t.messages.empty(); }));
  ExpectBox(t.messages[0], "通信模块发现错误！", "错误", MsgIcon::Error);
  EXPECT_EQ(f.Table().GameState, TGameState::Offline);
  EXPECT_EQ(f.OpenConnection("", 1073), 1);

  // Quitting a standing connection is no lost connection.
  TableFixture q;
  q.Login();
  ASSERT_TRUE(QTest::qWaitFor([&] { return q.form.ClientSocketMain().IsConnected(); }));
  QSignalSpy closedSpy(&q.form, &TMainForm::closed);
  q.form.BtnQuitClick();
  QTest::qWait(50);
  EXPECT_TRUE(q.messages.empty());
  EXPECT_EQ(closedSpy.count(), 1);
  EXPECT_FALSE(q.form.isVisible());
}

}  // namespace
}  // namespace quarn::client::testing
