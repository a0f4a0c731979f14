// Buttons and status texts per state, and the requests the client sends.
#include <gtest/gtest.h>

#include "client/model/card_texts.h"
#include "client/model/client_sending.h"
#include "client/model/screen_texts.h"
#include "core/card_error.h"
#include "core/gbk.h"
#include "core/name_grid.h"
#include "protocol/any_message.h"
#include "tests/support/client_model/fakes.h"

namespace quarn::client {
namespace {

using testing::Harness;
using S = TGameState;

TEST(Screen, ButtonsFollowStateAndTurn) {
  Harness h;
  h.table.OwnSeat = 1;
  // States 0..7 with the own turn, then MyBid and InPlay without it; one
  // letter per button: send, bid, pass, cancel, login, speak, waiter, hint and 托管.
  const char* rows[] = {"000010000", "000001100", "000001101", "000000001", "011001101",
                        "000001101", "101101111", "000101101", "000001101", "000101101"};
  for (int row = 0; row < 10; ++row) {
    h.table.GameState = static_cast<S>(row < 8 ? row : row == 8 ? 4 : 6);
    h.table.CurrentSeat = row < 8 ? 1 : 2;
    const ButtonStates b = ButtonsFor(h.table);
    std::string shown;
    for (const bool on :
         {b.send, b.bid, b.pass, b.cancel, b.login, b.speak, b.waiter, b.hint, b.autoPlay})
      shown += on ? '1' : '0';
    EXPECT_EQ(shown, rows[row]) << "row " << row;
    EXPECT_TRUE(b.quit && b.shutup && b.hero);
    EXPECT_EQ(SeatLabelVisible(h.table.GameState), row >= 2) << "row " << row;
  }
}

TEST(Screen, StatusTextsPerState) {
  Harness h;
  h.SeatFour(0);  // we are "甲乙"; seat 1 "北家"
  const std::string mail{kSupportMail};
  auto status = [&](S state, int current) {
    h.table.GameState = state;
    h.table.CurrentSeat = current;
    const StatusTexts texts = StatusFor(h.table);
    return texts.panel0 + "|" + texts.panel1.value_or("-");
  };
  EXPECT_EQ(status(S::Offline, 0), "我是小Lumo，让我们斗呀斗呀Vardel...|" + mail);
  EXPECT_EQ(status(S::LoggingIn, 0), "已经向服务器注册，等待应答...|mailto:" + mail);
  const char* seated[] = {"Vardel吧，来来来——就两把！", "呵呵，一缺三，喂——有人玩吗？（回音...）",
                          "一桌哥俩好嘞，哥们，二缺二，怎么样？", "三缺一啦，三缺一啦...",
                          "Vardel吧，来来来——就两把！"};
  for (int count = 0; count <= 4; ++count) {
    h.table.PlayerCount = count;
    EXPECT_EQ(status(S::Seated, 0), seated[count] + ("|" + mail)) << count;
  }
  EXPECT_EQ(status(S::AwaitDeal, 0), "等待发牌，您歇会儿先...|" + mail);
  h.table.BidPoints = 30;
  EXPECT_EQ(status(S::MyBid, 0), "别烦，轮到咱家了...|竞价：30");
  EXPECT_EQ(status(S::OtherBid, 0), "叫牌，叫牌，叫牌，烦什么烦？！|竞价：30");
  EXPECT_EQ(status(S::InPlay, 0), "嘿嘿，甲乙，请出牌吧...|-");
  EXPECT_EQ(status(S::PlaySent, 1), "等待北家出牌...|-");
  EXPECT_EQ(status(static_cast<S>(9), 0), "程序状态出错了，请写信告诉我们：" + mail + "|-");

  h.table.LeadSeat = 1;
  const std::uint8_t pair[33] = {1, 2};
  h.table.TableCards.LoadBytes(pair);
  h.table.TableCards.Classify();
  EXPECT_EQ(TableCardsCaption(h.table), "北家出的一手\"一对\"");
  // Through a lookup every text the window shows is translated, names and numbers kept.
  SetTextLookup([](const char*, const char* source) { return "<" + std::string(source) + ">"; });
  EXPECT_EQ(TableCardsCaption(h.table), "<北家出的一手\"<一对>\">");
  h.table.Me.SetName("%2");  // a name that looks like a mark stays a name
  EXPECT_EQ(status(S::InPlay, 0), "<嘿嘿，%2，请出牌吧...>|-");
  EXPECT_EQ(ShownCardError(CardErrorText(5)), "<对牌必须连续。>[5]");
  EXPECT_EQ(ShownCardError(CardErrorText(-3)), "<选牌错误或者操作发生错误：>[-3]");
  EXPECT_EQ(ShownCardError("no code"), "no code");
  EXPECT_EQ(ShownCards({1, 53, 54, 0}), "<方块>3 <小王> <大王> ?");
  SetTextLookup(nullptr);
  h.table.TableCards.Clear();
  EXPECT_EQ(TableCardsCaption(h.table), "");
}

// The client's own tables of the core's texts keep step with the core.
TEST(Screen, TheCardTablesMatchTheCore) {
  for (int code = 0; code < kCardErrorCount; ++code)
    EXPECT_EQ(kCardErrorTexts.at(static_cast<std::size_t>(code)), CardErrorMessage(code));
  for (const NameRow& row : NameGrid()) {
    for (const NameCell& cell : row.cells) {
      EXPECT_EQ(ShownCombination(cell.name), cell.name);
      EXPECT_NE(std::find(kCombinationNames.begin(), kCombinationNames.end(), cell.name),
                kCombinationNames.end())
          << cell.name;
    }
  }
}

// The body of the n-th packet written.
MessageBody Sent(const Harness& h, std::size_t n) {
  const auto decoded = DecodeMessage(PacketFromBytes(h.writer.written.at(n)));
  return decoded ? decoded->body : MessageBody{};
}

TEST(Sending, RequestsCarryTheTableStateAndTextCutAtACharacter) {
  Harness h;
  h.SeatFour(2);
  h.table.BidPoints = 48;
  ASSERT_EQ(SendBid(h.table), 0);
  h.table.BidPoints = 300;  // one byte on the wire
  ASSERT_EQ(SendBidPass(h.table) + SendPlayPass(h.table), 0);
  ASSERT_EQ(SendTalk(h.table, std::string(70, 'x')), 0);
  std::string chinese;
  for (int i = 0; i < 30; ++i) chinese += "牌";  // 60 GBK bytes
  ASSERT_EQ(SendTalk(h.table, "x" + chinese), 0);
  ASSERT_TRUE(SendIconChange(h.table, 3, 17));
  EXPECT_TRUE(Sent(h, 0) == MessageBody(BidRecord{1, 2, 48}));
  EXPECT_EQ(h.writer.written[1][19], 0xFB);
  EXPECT_TRUE(Sent(h, 1) == MessageBody(BidRecord{1, 2, 44}));
  EXPECT_TRUE(Sent(h, 2) == MessageBody(SeatRecord{1, 2}));
  EXPECT_TRUE(Sent(h, 3) == MessageBody(ChatRecord{1, 2, std::string(58, 'x')}));
  const ChatRecord cut{1, 2, Utf8ToGbk("x" + chinese.substr(0, 28 * 3))};
  EXPECT_TRUE(Sent(h, 4) == MessageBody(cut));
  EXPECT_TRUE(Sent(h, 5) == MessageBody(IconRecord{1, 3, 17, 2}));

  // Seats that the wire cannot carry are not sent.
  EXPECT_FALSE(BuildLoginRequest("abc", "", 1, 1, 1, 4));
  EXPECT_FALSE(BuildBidOffer(1, 260, 3));  // would wrap into seat 4
}

TEST(Sending, AWriteFailureIsTriedFourTimesAndNothingIsWrittenBeforeSetUp) {
  Harness h;
  h.SeatFour(0);
  h.writer.fail = true;
  EXPECT_EQ(SendPlayPass(h.table), 1);
  EXPECT_EQ(h.writer.attempts, 4);

  TClientTable bare;
  testing::FakeWriter writer;
  testing::RecordingDisplay display;
  bare.SetWriter(&writer);
  bare.SetDisplay(&display);
  EXPECT_EQ(SendBid(bare), 1);
  EXPECT_EQ(writer.attempts, 0);
  // Shown once, not once per attempt.
  EXPECT_EQ(display.events, std::vector<std::string>{"message 3 错误 系统初始化尚未完成！"});
}

TEST(Sending, APlayLeavesTheHandOnlyOnceWrittenAndOnlyOnTheOwnTurn) {
  Harness h;
  h.StartPlay(0, 0);
  h.table.Me.ToggleCard(0);
  h.table.Me.ToggleCard(1);  // the pair of 3s
  h.writer.fail = true;
  EXPECT_FALSE(PlaySelection(h.table));
  EXPECT_EQ(h.table.Me.Hand.Count() * 10 + h.table.Me.Selection.Count(), 252);
  EXPECT_TRUE(h.views[0].raised[0]);
  EXPECT_EQ(h.table.GameState, S::InPlay);

  h.writer.fail = false;
  EXPECT_TRUE(PlaySelection(h.table));
  EXPECT_EQ(h.table.GameState, S::PlaySent);
  PlayRecord pair{.tableNumber = 1, .seat = 0, .count = 2, .cards = {1, 2}, .comboType = 2};
  pair.keyRank = 1;
  EXPECT_TRUE(Sent(h, h.writer.written.size() - 1) == MessageBody(pair));
  h.table.Me.ToggleCard(2);
  EXPECT_FALSE(PlaySelection(h.table));  // a card chosen, but nothing more until our next turn
  h.table.GameState = S::InPlay;
  h.table.CurrentSeat = 1;
  EXPECT_FALSE(PlaySelection(h.table));  // nor on another seat's turn
}

}  // namespace
}  // namespace quarn::client
