// Buttons and status texts per state, and the requests the client sends.
#include <gtest/gtest.h>

#include "client/model/client_sending.h"
#include "client/model/client_service.h"
#include "client/model/screen_texts.h"
#include "core/gbk.h"
#include "fakes.h"
#include "protocol/pcpchat.h"
#include "protocol/pcplogin.h"
#include "protocol/pcpplay.h"

namespace quarn::client {
namespace {

using testing::Harness;
using S = TGameState;

ButtonStates Buttons(bool send, bool bid, bool pass, bool cancel, bool login, bool talk) {
  ButtonStates b;
  b.send = send, b.bid = bid, b.pass = pass, b.cancel = cancel, b.login = login;
  b.speak = b.waiter = talk;
  b.hint = send;
  return b;
}

TEST(Screen, ButtonsFollowStateAndTurn) {
  Harness h;
  h.table.OwnSeat = 1;
  struct Row {
    S state;
    bool ownTurn;
    ButtonStates expected;
  };
  const Row rows[] = {
      {S::Offline, true, Buttons(false, false, false, false, true, false)},
      {S::LoggingIn, true, Buttons(false, false, false, false, false, true)},
      {S::Seated, true, Buttons(false, false, false, false, false, true)},
      {S::AwaitDeal, true, Buttons(false, false, false, false, false, false)},
      {S::MyBid, true, Buttons(false, true, true, false, false, true)},
      {S::MyBid, false, Buttons(false, false, false, false, false, true)},
      {S::OtherBid, true, Buttons(false, false, false, false, false, true)},
      {S::InPlay, true, Buttons(true, false, true, true, false, true)},
      {S::InPlay, false, Buttons(false, false, false, true, false, true)},
      {S::PlaySent, true, Buttons(false, false, false, true, false, true)},
  };
  for (const Row& row : rows) {
    h.table.GameState = row.state;
    h.table.CurrentSeat = row.ownTurn ? 1 : 2;
    EXPECT_EQ(ButtonsFor(h.table), row.expected)
        << static_cast<int>(row.state) << " own turn " << row.ownTurn;
  }
  EXPECT_FALSE(SeatLabelVisible(S::Offline));
  EXPECT_FALSE(SeatLabelVisible(S::LoggingIn));
  EXPECT_TRUE(SeatLabelVisible(S::Seated));
}

TEST(Screen, StatusTextsPerState) {
  Harness h;
  h.SeatFour(0);  // we are "甲乙"; seat 1 "北家"
  const std::string mail{kSupportMail};
  auto status = [&](S state, int current) {
    h.table.GameState = state;
    h.table.CurrentSeat = current;
    return StatusFor(h.table);
  };
  EXPECT_EQ(status(S::Offline, 0).panel0, "我是小Lumo，让我们斗呀斗呀Vardel...");
  EXPECT_EQ(status(S::Offline, 0).panel1, mail);
  EXPECT_EQ(status(S::LoggingIn, 0).panel0, "已经向服务器注册，等待应答...");
  EXPECT_EQ(status(S::LoggingIn, 0).panel1, "mailto:" + mail);
  const char* seated[] = {"Vardel吧，来来来——就两把！", "呵呵，一缺三，喂——有人玩吗？（回音...）",
                          "一桌哥俩好嘞，哥们，二缺二，怎么样？", "三缺一啦，三缺一啦...",
                          "Vardel吧，来来来——就两把！"};
  for (int count = 0; count <= 4; ++count) {
    h.table.PlayerCount = count;
    EXPECT_EQ(status(S::Seated, 0).panel0, seated[count]) << count;
  }
  EXPECT_EQ(status(S::AwaitDeal, 0).panel0, "等待发牌，您歇会儿先...");
  h.table.BidPoints = 30;
  EXPECT_EQ(status(S::MyBid, 0).panel0, "别烦，轮到咱家了...");
  EXPECT_EQ(status(S::MyBid, 0).panel1, "竞价：30");
  EXPECT_EQ(status(S::OtherBid, 1).panel0, "嘘——，北家正在叫牌呢...");
  EXPECT_EQ(status(S::OtherBid, 0).panel0, "叫牌，叫牌，叫牌，烦什么烦？！");
  EXPECT_EQ(status(S::InPlay, 0).panel0, "嘿嘿，甲乙，请出牌吧...");
  EXPECT_EQ(status(S::PlaySent, 1).panel0, "等待北家出牌...");
  EXPECT_FALSE(status(S::InPlay, 1).panel1.has_value());
  const StatusTexts broken = status(static_cast<S>(9), 0);
  EXPECT_NE(broken.panel0.find(mail), std::string::npos);
  EXPECT_FALSE(broken.panel1.has_value());

  EXPECT_EQ(WindowTitle("甲乙"), "甲乙Vardel");
  h.table.LeadSeat = 1;
  const std::uint8_t pair[33] = {1, 2};
  h.table.TableCards.LoadBytes(pair);
  h.table.TableCards.Classify();
  EXPECT_EQ(TableCardsCaption(h.table), "北家出的一手\"一对\"");
  h.table.TableCards.Clear();
  EXPECT_EQ(TableCardsCaption(h.table), "");
}

TEST(Sending, RequestsCarryTheTableStateByteForByte) {
  Harness h;
  h.SeatFour(2);
  h.table.BidPoints = 48;
  ASSERT_EQ(SendBid(h.table), 0);
  ASSERT_EQ(h.writer.written.size(), 1u);
  const std::vector<std::uint8_t> bid = {0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0x51, 0x4E,
                                         0x12, 0x03, 0x01, 0x00, 0x00, 0x00, 0xAB, 0xAB, 0x00, 0xFC,
                                         0x00, 0x00, 0x00, 0x30, 0,    0,    0,    0,    0,    0,
                                         0,    0,    0x00, 0x00, 0x00, 0x01, 0x02, 0x30, 0x00, 0x00,
                                         0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE};
  EXPECT_EQ(h.writer.written[0], bid);

  h.table.BidPoints = 300;  // one byte on the wire
  ASSERT_EQ(SendBidPass(h.table), 0);
  EXPECT_EQ(h.writer.written[1][19], 0xFB);
  EXPECT_EQ(h.writer.written[1][37], 44);

  ASSERT_EQ(SendPlayPass(h.table), 0);
  EXPECT_EQ(h.writer.written[2].size(), 96u);
  EXPECT_EQ(h.writer.written[2][36], 2);

  // A 70-byte line goes out as its first 58; a Chinese line is cut between characters.
  ASSERT_EQ(SendTalk(h.table, std::string(70, 'x')), 0);
  ChatRecord chat;
  ASSERT_EQ(DecodeChatSay(chat, PacketFromBytes(h.writer.written[3])), 0);
  EXPECT_EQ(chat.text, std::string(58, 'x'));
  std::string chinese;
  for (int i = 0; i < 30; ++i) chinese += "牌";  // 60 GBK bytes
  ASSERT_EQ(SendTalk(h.table, "x" + chinese), 0);
  ASSERT_EQ(DecodeChatSay(chat, PacketFromBytes(h.writer.written[4])), 0);
  EXPECT_EQ(chat.text.size(), 57u);
  EXPECT_EQ(GbkToUtf8(chat.text), "x" + chinese.substr(0, 28 * 3));

  // Requests that the wire cannot carry are not built.
  EXPECT_FALSE(BuildLoginRequest("", "", 1, 1, 1, 0));
  EXPECT_FALSE(BuildLoginRequest("abc", "", 1, 1, 1, 4));
  EXPECT_FALSE(BuildBidOffer(1, 260, 3));  // would wrap into seat 4

  std::optional<Packet> icons = BuildIconChange(1, 1, 3, 17);
  ASSERT_TRUE(icons);
  EXPECT_EQ(icons->bytes[19], 0x40);
  EXPECT_EQ(icons->bytes[43], 17);
  EXPECT_EQ(icons->bytes[44], 1);
}

TEST(Sending, AWriteFailureIsRetriedAndReported) {
  Harness h;
  h.SeatFour(0);
  h.writer.fail = true;
  EXPECT_EQ(SendPlayPass(h.table), 1);
  EXPECT_EQ(h.writer.attempts, 4);

  TClientTable bare;  // before InitTable nothing is written
  testing::FakeWriter writer;
  testing::RecordingDisplay display;
  bare.SetWriter(&writer);
  bare.SetDisplay(&display);
  EXPECT_EQ(SendBid(bare), 1);
  EXPECT_EQ(writer.attempts, 0);
  ASSERT_EQ(display.events.size(), 1u);  // shown once, not once per attempt
  EXPECT_EQ(display.events[0], "message 3 错误 系统初始化尚未完成！");
}

class Playing : public ::testing::Test {
 protected:
  void SetUp() override { h.StartPlay(0, 0, testing::FirstCards()); }
  Harness h;
};

TEST_F(Playing, APlayThatCannotBeWrittenKeepsItsCards) {
  h.table.Me.ToggleCard(0);
  h.table.Me.ToggleCard(1);
  h.writer.fail = true;
  EXPECT_EQ(PlaySelection(h.table), 1);
  EXPECT_EQ(h.table.Me.Hand.Count(), 25);
  EXPECT_EQ(h.table.Me.Selection.Count(), 2);
  EXPECT_TRUE(h.views[0].raised[0]);
  EXPECT_EQ(h.table.GameState, S::InPlay);

  h.writer.fail = false;
  EXPECT_EQ(PlaySelection(h.table), 0);
  EXPECT_EQ(h.table.Me.Hand.Count(), 23);
  EXPECT_EQ(h.table.Me.CardCount(), 23);
  EXPECT_EQ(h.table.GameState, S::PlaySent);
  const std::vector<std::uint8_t>& sent = h.writer.written.back();
  EXPECT_EQ(sent[19], 0xAA);
  EXPECT_EQ(sent[37], 2);
  EXPECT_EQ(sent[38], 1);
  EXPECT_EQ(sent[39], 2);
  EXPECT_EQ(sent[71], 2);                // a pair
  EXPECT_EQ(sent[72], 1);                // of 3s
  EXPECT_EQ(PlaySelection(h.table), 1);  // nothing more until our next turn
}

}  // namespace
}  // namespace quarn::client
