// The table window under the offscreen platform: what it enables, what it
// writes into the status bar, and what a click does to the hand and the wire.
#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>

#include "client/model/client_service.h"
#include "client/model/screen_texts.h"
#include "core/gbk.h"
#include "table_fixture.h"
#include "tests/support/qt_wait.h"

namespace quarn::client::testing {
namespace {

QString Q(const char* utf8) {
  return QString::fromUtf8(utf8);
}

void ExpectMessage(const ShownMessage& shown, const QString& text, const QString& caption,
                   MsgIcon icon) {
  EXPECT_EQ(shown.text, text);
  EXPECT_EQ(shown.caption, caption);
  EXPECT_EQ(shown.icon, icon);
}

PlayRecord DecodePlay(const Packet& packet) {
  PlayRecord record;
  EXPECT_EQ(DecodeBody(MessageType::PlayCards, record, packet), 0);
  return record;
}

using test::WaitFor;

TEST(TableWindow, ButtonsFollowTheStateAndTheTurn) {
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
  // A key typed at the table never reaches the quit button.
  EXPECT_EQ(f.BtnQuit()->focusPolicy(), Qt::NoFocus);
  EXPECT_NE(f.focusWidget(), f.BtnQuit());
  // Whenever talking is switched off the talk window goes too.
  const int hidden = t.talkHidden;
  t.form.Table().SetGameState(TGameState::AwaitDeal);
  EXPECT_EQ(t.talkHidden, hidden + 1);
}

TEST(TableWindow, StatusTextsTitleAndSeatLetterAlongALogin) {
  TableFixture t;
  TMainForm& f = t.form;
  EXPECT_EQ(f.StatusText(0), Q("“某某”是地主，我们斗呀斗呀Vardel！"));
  EXPECT_TRUE(f.StatusText(1).contains('@'));
  EXPECT_EQ(f.windowTitle(), Q("LumoVardel"));

  t.Login(Q("李四"));
  EXPECT_EQ(f.StatusText(0), Q("已经向服务器注册，等待应答..."));
  EXPECT_EQ(f.windowTitle(), Q("李四Vardel"));
  EXPECT_TRUE(f.LabelSeat()->isHidden());
  EXPECT_EQ(f.LabelPlayer(0)->text(), Q("李四"));

  t.Feed(LoginReply(1));
  EXPECT_FALSE(f.LabelSeat()->isHidden());
  EXPECT_EQ(f.LabelSeat()->text(), Q("北"));
  t.Feed(SeatList({"张三", "李四", "", ""}));
  EXPECT_EQ(f.StatusText(0), Q("一桌哥俩好嘞，哥们，二缺二，怎么样？"));
  EXPECT_EQ(f.LabelPlayer(3)->text(), Q(""));  // seat 2, shown right, is empty
  t.Feed(SeatList(t.names));
  // Seat 2 sits right of seat 1, seat 3 opposite, seat 0 left.
  EXPECT_EQ(f.LabelPlayer(3)->text(), Q("王五"));
  EXPECT_EQ(f.LabelPlayer(2)->text(), Q("赵六"));
  EXPECT_EQ(f.LabelPlayer(1)->text(), Q("张三"));
  EXPECT_FALSE(f.ImageHead(1)->isHidden());

  t.Feed(Bid(MessageType::BidStart, 1, 30));
  EXPECT_EQ(f.StatusText(1), Q("竞价：30"));
  t.Feed(Bid(MessageType::BidTurn, 2, 31));
  EXPECT_EQ(f.StatusText(0), Q("嘘——，王五正在叫牌呢..."));
  t.Feed(Bid(MessageType::BidResult, 2, 31));
  EXPECT_EQ(f.StatusText(0), Q("等待王五出牌..."));
  EXPECT_EQ(f.LabelCount(3)->text(), Q("33"));
}

TEST(TableWindow, ClickingCardsAndPlayingThem) {
  TableFixture t;
  TMainForm& f = t.form;
  t.SeatFour(0);
  t.Feed(Deal(MessageType::DealCards, 0, LowCards(1, 25)));
  // Before the play phase a click raises nothing.
  TImagePoker* first = f.HandImage(0);
  const int lowered = first->y();
  QTest::mouseClick(first, Qt::LeftButton);
  EXPECT_FALSE(first->Moved());

  t.Feed(Bid(MessageType::BidResult, 0, 10));
  t.Feed(Deal(MessageType::ExtraCards, 0, LowCards(60, 8)));
  EXPECT_EQ(f.LabelCount(0)->text(), Q("33"));
  EXPECT_FALSE(f.HandImage(32)->isHidden());
  QTest::mouseClick(first, Qt::LeftButton);
  EXPECT_TRUE(first->Moved());
  EXPECT_EQ(first->y(), lowered - TImagePoker::DeltaY);
  QTest::mouseClick(first, Qt::LeftButton);
  EXPECT_FALSE(first->Moved());
  EXPECT_EQ(first->y(), lowered);

  // The pair of 3s, numbered 1 and 2, goes out in the play packet.
  QTest::mouseClick(f.HandImage(0), Qt::LeftButton);
  QTest::mouseClick(f.HandImage(1), Qt::LeftButton);
  QTest::mouseClick(f.BtnSend(), Qt::LeftButton);
  const auto plays = t.Written(MessageType::PlayCards);
  ASSERT_EQ(plays.size(), 1u);
  const PlayRecord play = DecodePlay(plays[0]);
  EXPECT_EQ(std::vector<int>(play.cards.begin(), play.cards.begin() + 3),
            (std::vector<int>{1, 2, 0}));

  EXPECT_EQ(f.Table().GameState, TGameState::PlaySent);
  EXPECT_EQ(f.LabelCount(0)->text(), Q("31"));
  EXPECT_TRUE(f.HandImage(0)->isHidden());
  EXPECT_TRUE(f.HandImage(1)->isHidden());
  EXPECT_FALSE(f.HandImage(0)->Moved());
  // Cards can still be picked while the others play, and unpicked at once.
  QTest::mouseClick(f.HandImage(5), Qt::LeftButton);
  EXPECT_TRUE(f.HandImage(5)->Moved());
  QTest::mouseClick(f.BtnCancel(), Qt::LeftButton);
  EXPECT_FALSE(f.HandImage(5)->Moved());

  // The server's notice puts the pair on the table.
  t.Feed(PlayNotice(0, {1, 2}));
  EXPECT_FALSE(f.TableImage(1)->isHidden());
  EXPECT_TRUE(f.TableImage(2)->isHidden());
  EXPECT_TRUE(f.StatusText(1).startsWith(Q("张三出的一手\"")) ||
              f.StatusPanelTip(1).startsWith(Q("张三出的一手\"")));
  t.Feed(PlayTurn(1));
  EXPECT_EQ(f.Table().GameState, TGameState::InPlay);
  // Another seat's play lowers its count.
  t.Feed(PlayNotice(1, {9, 10}));
  EXPECT_EQ(f.LabelCount(3)->text(), Q("23"));
}

TEST(TableWindow, PassesBidsAndRefusedPlays) {
  TableFixture t;
  TMainForm& f = t.form;
  t.StartPlay(0, 0);
  // The leader may not pass.
  f.BtnPassClick();
  ASSERT_EQ(t.messages.size(), 1u);
  ExpectMessage(t.messages[0], Q("你不可以PASS自己耶，宝贝。"), Q("提示"), MsgIcon::Warning);
  EXPECT_TRUE(t.Written(MessageType::PlayPass).empty());
  // Nothing selected is no combination.
  f.BtnSendClick();
  ASSERT_EQ(t.messages.size(), 2u);
  EXPECT_TRUE(t.messages[1].text.contains(Q("未知的一把牌，不给出。")));
  EXPECT_EQ(t.messages[1].caption, Q("错误"));
  EXPECT_EQ(t.messages[1].icon, MsgIcon::Error);
  EXPECT_TRUE(t.Written(MessageType::PlayCards).empty());

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
  EXPECT_EQ(f.Table().GameState, TGameState::InPlay);  // the server's answer moves it on
}

TEST(TableWindow, BiddingButtons) {
  TableFixture t;
  TMainForm& f = t.form;
  t.SeatFour(2);
  t.Feed(Deal(MessageType::DealCards, 2, LowCards(1, 25)));
  t.Feed(Bid(MessageType::BidStart, 2, 30));
  EXPECT_TRUE(f.BtnBid()->isEnabled());
  QTest::mouseClick(f.BtnBid(), Qt::LeftButton);
  ASSERT_EQ(t.bidWindows.size(), 1u);
  EXPECT_EQ(t.bidWindows[0], std::make_pair(30, 31));
  f.Table().BidPoints = 31;
  EXPECT_EQ(f.SendBid(), 0);
  QTest::mouseClick(f.BtnPass(), Qt::LeftButton);
  const auto offers = t.Written(MessageType::BidOffer);
  const auto passes = t.Written(MessageType::BidPass);
  ASSERT_EQ(offers.size(), 1u);
  ASSERT_EQ(passes.size(), 1u);
  BidRecord offer;
  ASSERT_EQ(DecodeBody(MessageType::BidOffer, offer, offers[0]), 0);
  EXPECT_EQ(offer.seat, 2);
  EXPECT_EQ(offer.points, 31);
}

TEST(TableWindow, ChatWinnerAndAPlayerLeaving) {
  TableFixture t;
  TMainForm& f = t.form;
  t.SeatFour(0);
  t.Feed(Deal(MessageType::DealCards, 0, LowCards(1, 25)));
  t.Feed(Deal(MessageType::StartCardNotice, 1, {5}));
  EXPECT_FALSE(f.ImageLordCard()->isHidden());
  t.Feed(Bid(MessageType::BidResult, 1, 10));
  t.Feed(Chat(2, "你好"));
  EXPECT_TRUE(f.MemoTalking()->toPlainText().endsWith(Q("王五：你好")));

  t.Feed(GameEnd(2, t.names, {-30, 90, -30, -30}));
  EXPECT_EQ(f.Table().GameState, TGameState::AwaitDeal);
  EXPECT_TRUE(f.ImageLordCard()->isHidden());
  EXPECT_TRUE(f.ImageLord()->isHidden());
  // The winner stays readable through the reset that follows.
  EXPECT_TRUE(f.StatusPanelTip(1).startsWith(Q("赢家是王五")));
  EXPECT_TRUE(f.MemoTalking()->toPlainText().contains(Q("赢家是王五")));
  t.Feed(Bid(MessageType::BidStart, 3, 1));
  EXPECT_EQ(f.StatusText(1), Q("竞价：1"));

  const int resets = t.heroReset;
  t.Feed(PlayerLeave(3));
  EXPECT_EQ(f.Table().GameState, TGameState::Seated);
  EXPECT_EQ(f.LabelPlayer(1)->text(), Q(""));  // seat 3 sits left of seat 0
  EXPECT_TRUE(f.ImageHead(1)->isHidden());
  EXPECT_EQ(f.LabelPlayer(3)->text(), Q("李四"));
  EXPECT_EQ(t.heroReset, resets + 1);
}

TEST(TableWindow, LandlordMarkSitsBesideTheLandlordsHead) {
  TableFixture t;
  TMainForm& f = t.form;
  t.StartPlay(0, 3);  // seat 3 is shown left of seat 0
  EXPECT_FALSE(f.ImageLord()->isHidden());
  EXPECT_EQ(f.ImageLord()->pos(), QPoint(4, 72));
  t.Feed(GameEnd(3, t.names, {0, 0, 0, 0}));
  t.Feed(Deal(MessageType::DealCards, 0, LowCards(1, 25)));
  t.Feed(Bid(MessageType::BidResult, 0, 10));
  EXPECT_FALSE(f.ImageLord()->isHidden());
  EXPECT_EQ(f.ImageLord()->pos(), QPoint(468, 240));
}

TEST(TableWindow, BeforeLoginTheSideButtonsAskForALogin) {
  TableFixture t;
  TMainForm& f = t.form;
  QTest::mouseClick(f.SBtnHero(), Qt::LeftButton);
  f.SBtnSpeakClick();
  ASSERT_EQ(t.messages.size(), 2u);
  for (const ShownMessage& m : t.messages)
    ExpectMessage(m, Q("嘿！先登录到服务器上再说啊。"), Q("提示"), MsgIcon::Information);
  EXPECT_EQ(t.heroShown, 0);
  // A cancelled login window still sets the table up.
  t.loginAccepts = false;
  f.BtnLoginClick();
  EXPECT_EQ(f.Table().GameState, TGameState::Offline);
  EXPECT_TRUE(f.BtnLogin()->isEnabled());
  f.SBtnHeroClick();
  EXPECT_EQ(t.heroShown, 1);
  EXPECT_EQ(t.messages.size(), 2u);
  // A send before the set-up would be refused with its own message.
  TableFixture fresh;
  EXPECT_EQ(fresh.form.SendTalk(Q("x")), 1);
  ASSERT_FALSE(fresh.messages.empty());
  ExpectMessage(fresh.messages[0], Q("系统初始化尚未完成！"), Q("错误"), MsgIcon::Error);
}

TEST(TableWindow, LostConnectionsErrorsAndQuitting) {
  TableFixture t;
  TMainForm& f = t.form;
  t.StartPlay(0, 1);
  t.Feed(Chat(1, "再来"));
  f.ClientSocketMainDisconnect();
  ASSERT_EQ(t.messages.size(), 1u);
  ExpectMessage(t.messages[0], Q("对不起，网络断线啦！"), Q("警告"), MsgIcon::Warning);
  EXPECT_EQ(f.Table().GameState, TGameState::Offline);
  EXPECT_TRUE(f.BtnLogin()->isEnabled());
  for (int position = 1; position <= 3; ++position) {
    EXPECT_EQ(f.LabelPlayer(position)->text(), Q(""));
  }
  EXPECT_TRUE(f.HandImage(0)->isHidden());
  EXPECT_EQ(f.LabelPlayer(0)->text(), Q("张三"));
  EXPECT_TRUE(f.MemoTalking()->toPlainText().contains(Q("再来")));
  EXPECT_GT(t.heroReset, 0);

  // Back in at another seat: the letter and the places follow the new seat.
  t.Login(Q("张三"));
  t.Feed(LoginReply(2));
  EXPECT_EQ(f.LabelSeat()->text(), Q("西"));
  t.Feed(SeatList({"", "", "张三", "钱七"}));
  EXPECT_EQ(f.Table().PlayerCount, 2);
  EXPECT_EQ(f.LabelPlayer(3)->text(), Q("钱七"));  // seat 3 follows seat 2
  EXPECT_EQ(f.StatusText(0), Q("一桌哥俩好嘞，哥们，二缺二，怎么样？"));
  t.messages.clear();
  f.ClientSocketMain().Close(true);

  // A connection that cannot be made: the error, and the login button back.
  QTcpServer closed;
  ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
  const quint16 deadPort = closed.serverPort();
  closed.close();
  ASSERT_EQ(f.OpenConnection("127.0.0.1", deadPort), 0);
  f.Table().SetGameState(TGameState::LoggingIn);
  ASSERT_TRUE(WaitFor([&] { return !t.messages.empty(); }));
  ExpectMessage(t.messages[0], Q("通信模块发现错误！"), Q("错误"), MsgIcon::Error);
  EXPECT_EQ(f.Table().GameState, TGameState::Offline);
  EXPECT_TRUE(f.BtnLogin()->isEnabled());
  EXPECT_EQ(f.OpenConnection("", 1073), 1);

  // Quitting a standing connection is no lost connection.
  TableFixture q;
  q.Login();
  ASSERT_TRUE(WaitFor([&] { return q.form.ClientSocketMain().IsConnected(); }));
  QSignalSpy closedSpy(&q.form, &TMainForm::closed);
  q.form.BtnQuitClick();
  QTest::qWait(50);
  EXPECT_TRUE(q.messages.empty());
  EXPECT_EQ(closedSpy.count(), 1);
  EXPECT_FALSE(q.form.isVisible());
}

}  // namespace
}  // namespace quarn::client::testing
