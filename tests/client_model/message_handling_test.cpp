// Server messages through ReadPacket: state checks, effects and what is shown.
#include <gtest/gtest.h>

#include "client/model/client_service.h"
#include "core/card_error.h"
#include "core/gbk.h"
#include "fakes.h"
#include "protocol/stream_assembler.h"

namespace quarn::client {
namespace {

using testing::BidPacket;
using testing::DealPacket;
using testing::FirstCards;
using testing::Harness;
using testing::SeatPacket;
using S = TGameState;

TEST(Login, ReplySeatsUsAndTheListFillsTheOthers) {
  Harness h;
  EXPECT_EQ(h.table.GameState, S::Offline);
  // Nothing is taken before the login was sent.
  h.Feed(testing::LoginReplyPacket(1, 2));
  EXPECT_EQ(h.table.GameState, S::Offline);

  h.table.SetGameState(S::LoggingIn);
  // A seat list before the answer is lost.
  h.Feed(testing::SeatListPacket(1, {"a", "b", "", ""}));
  EXPECT_EQ(h.table.PlayerCount, 0);
  // The refusal (table -1, seat 255) keeps waiting.
  h.Feed(testing::LoginReplyPacket(-1, 255));
  EXPECT_EQ(h.table.GameState, S::LoggingIn);

  h.Feed(testing::LoginReplyPacket(1, 2));
  EXPECT_EQ(h.table.GameState, S::Seated);
  EXPECT_EQ(h.table.OwnSeat, 2);
  EXPECT_EQ(h.table.Seats[2].IsSelf, 1);
  EXPECT_EQ(h.table.Seats[2].Current, &h.table.Me);
  EXPECT_EQ(h.table.Seats[3].Player, &h.table.RightView);

  // Only the own seat and seat 0: two players, still seated.
  h.Feed(testing::SeatListPacket(1, {"老张", "", "me", ""}));
  EXPECT_EQ(h.table.PlayerCount, 2);
  EXPECT_EQ(h.table.GameState, S::Seated);
  EXPECT_EQ(h.table.TopView.Name(), "老张");
  EXPECT_EQ(h.table.TopView.HeadIcon(), 10);
  EXPECT_EQ(h.table.TopView.ServiceIcon(), 2);
  EXPECT_EQ(h.table.LeftView.HeadIcon(), 0);  // empty seat: no icon

  // Another table's list is ignored.
  h.Feed(testing::SeatListPacket(7, {"x", "y", "z", "w"}));
  EXPECT_EQ(h.table.PlayerCount, 2);

  h.Feed(testing::SeatListPacket(1, {"老张", "小李", "me", "王五"}));
  EXPECT_EQ(h.table.PlayerCount, 4);
  EXPECT_EQ(h.table.GameState, S::AwaitDeal);
  EXPECT_EQ(h.table.LeftView.Name(), "小李");
  EXPECT_EQ(h.table.RightView.Name(), "王五");
  EXPECT_EQ(h.display.events.back(), "state 3");
}

TEST(Login, AReconnectionAtAnotherSeatForgetsTheOldOwnSeat) {
  Harness h;
  h.SeatFour(0);
  h.table.ConnectionLost();
  EXPECT_EQ(h.table.GameState, S::Offline);
  EXPECT_TRUE(h.display.Saw("message 1 警告 对不起，网络断线啦！"));
  EXPECT_EQ(h.table.TopView.Name(), "");  // the others were cleared

  h.table.SetGameState(S::LoggingIn);
  h.Feed(testing::LoginReplyPacket(1, 2));
  h.Feed(testing::SeatListPacket(1, {"新东", "新北", "me", "新南"}));
  EXPECT_EQ(h.table.Seats[0].IsSelf, 0);
  EXPECT_EQ(h.table.PlayerCount, 4);
  EXPECT_EQ(h.table.TopView.Name(), "新东");  // seat 0 is shown, not taken for us
}

TEST(Deal, OnlyOurOwnTwentyFiveCardsAreTaken) {
  Harness h;
  h.SeatFour(1);
  std::array<std::uint8_t, 24> short24{};
  std::copy_n(FirstCards().begin(), 24, short24.begin());
  h.Feed(DealPacket(MessageType::DealCards, 1, 2, FirstCards()));  // another seat's
  h.Feed(DealPacket(MessageType::DealCards, 1, 1, short24));
  h.Feed(DealPacket(MessageType::DealCards, 2, 1, FirstCards()));  // another table
  EXPECT_EQ(h.table.Me.Hand.Count(), 0);
  EXPECT_EQ(h.table.LeftView.CardCount(), 0);

  h.Feed(DealPacket(MessageType::DealCards, 1, 1, FirstCards()));
  EXPECT_EQ(h.table.Me.Hand.Count(), 25);
  EXPECT_EQ(h.views[0].shownCount, 25);
  for (TClientPlayer* view : {&h.table.LeftView, &h.table.TopView, &h.table.RightView})
    EXPECT_EQ(view->CardCount(), 25);
  // The same deal again replaces the hand rather than overfilling it.
  h.Feed(DealPacket(MessageType::DealCards, 1, 1, FirstCards()));
  EXPECT_EQ(h.table.Me.Hand.Count(), 25);

  const std::uint8_t start[] = {30};
  h.Feed(DealPacket(MessageType::StartCardNotice, 1, 3, start));
  EXPECT_EQ(h.table.LordSeat, 3);
  EXPECT_TRUE(h.display.Saw("lordcard 30"));
  EXPECT_TRUE(h.table.PlayerAt(3)->IsLord());
}

// Seated at `ownSeat`, dealt FirstCards(), the start card at `startSeat`.
void Dealt(Harness& h, int ownSeat, int startSeat) {
  const std::uint8_t start[] = {3};
  h.SeatFour(ownSeat);
  h.Feed(DealPacket(MessageType::DealCards, 1, ownSeat, FirstCards()));
  h.Feed(DealPacket(MessageType::StartCardNotice, 1, startSeat, start));
}

TEST(Deal, ExtraCardsBeforeAndAfterTheBidResult) {
  const std::uint8_t bottom[] = {101, 102, 103, 104, 105, 106, 107, 108};
  {  // bidding off: the bottom cards come first, then the result
    Harness h;
    Dealt(h, 0, 0);
    h.Feed(DealPacket(MessageType::ExtraCards, 1, 0, bottom));
    EXPECT_EQ(h.table.Me.Hand.Count(), 33);
    h.Feed(BidPacket(MessageType::BidResult, 1, 0, 10));
    EXPECT_EQ(h.table.GameState, S::InPlay);
    EXPECT_EQ(h.table.Me.Hand.Count(), 33);
    // A second copy would not fit: ignored.
    EXPECT_EQ(h.Feed(DealPacket(MessageType::ExtraCards, 1, 0, bottom)), 0);
    EXPECT_EQ(h.table.Me.Hand.Count(), 33);
  }
  {  // bidding on: the result first, then the bottom cards in play
    Harness h;
    Dealt(h, 2, 0);
    // Not the landlord yet (the start seat is 0): refused.
    h.Feed(DealPacket(MessageType::ExtraCards, 1, 2, bottom));
    EXPECT_EQ(h.table.Me.Hand.Count(), 25);
    h.Feed(BidPacket(MessageType::BidStart, 1, 0, 1));
    h.Feed(BidPacket(MessageType::BidResult, 1, 2, 40));
    EXPECT_EQ(h.table.LordSeat, 2);
    EXPECT_EQ(h.table.BidPoints, 40);
    h.Feed(DealPacket(MessageType::ExtraCards, 1, 2, bottom));
    EXPECT_EQ(h.table.Me.Hand.Count(), 33);
    EXPECT_EQ(h.table.Me.Hand.Card(25).Number(), 47);  // 101 folds to 47
  }
  {  // a landlord elsewhere is shown with 33 cards
    Harness h;
    h.StartPlay(0, 1, FirstCards());
    EXPECT_EQ(h.table.PlayerAt(1)->CardCount(), 33);
    EXPECT_EQ(h.table.PlayerAt(2)->CardCount(), 25);
  }
}

TEST(Bidding, TurnsMoveBetweenMyBidAndOtherBid) {
  Harness h;
  h.SeatFour(1);
  h.Feed(BidPacket(MessageType::BidTurn, 1, 1, 5));  // no bidding yet: lost
  EXPECT_EQ(h.table.GameState, S::AwaitDeal);
  h.Feed(BidPacket(MessageType::BidStart, 1, 0, 1));
  EXPECT_EQ(h.table.GameState, S::OtherBid);
  EXPECT_EQ(h.table.CurrentSeat, 0);
  EXPECT_EQ(h.table.BidPoints, 1);
  h.Feed(BidPacket(MessageType::BidStart, 1, 1, 1));  // only while awaiting the deal
  EXPECT_EQ(h.table.CurrentSeat, 0);
  h.Feed(BidPacket(MessageType::BidTurn, 1, 1, 20));
  EXPECT_EQ(h.table.GameState, S::MyBid);
  EXPECT_EQ(h.table.BidPoints, 20);
  h.Feed(BidPacket(MessageType::BidTurn, 1, 2, 20));
  EXPECT_EQ(h.table.GameState, S::OtherBid);
  h.Feed(BidPacket(MessageType::BidTurn, 1, 4, 20));  // no such seat
  EXPECT_EQ(h.table.CurrentSeat, 2);
  h.Feed(BidPacket(MessageType::BidResult, 1, 3, 30));
  EXPECT_EQ(h.table.GameState, S::InPlay);
  EXPECT_EQ(h.table.CurrentSeat, 3);
  EXPECT_TRUE(h.table.PlayerAt(3)->IsLord());
  h.Feed(BidPacket(MessageType::BidResult, 1, 0, 30));  // no second result in play
  EXPECT_EQ(h.table.LordSeat, 3);
}

TEST(Play, NoticesFillTheTableAndTurnsReturnToPlay) {
  Harness h;
  h.StartPlay(0, 1, FirstCards());
  ASSERT_EQ(h.table.GameState, S::InPlay);
  const std::uint8_t fourNines[] = {25, 26, 79, 80};  // a bomb, two of them second deck
  h.Feed(testing::PlayNoticePacket(1, 1, fourNines));
  EXPECT_EQ(h.table.LeadSeat, 1);
  EXPECT_EQ(h.table.TableCards.Count(), 4);
  EXPECT_EQ(h.table.TableCards.Type(), CombinationType::Bomb);
  EXPECT_EQ(h.table.PlayerAt(1)->CardCount(), 29);
  EXPECT_EQ(h.display.events.back(), "table");

  // A pass is not shown on the table.
  h.Feed(testing::PlayNoticePacket(1, 2, {}));
  EXPECT_EQ(h.table.LeadSeat, 1);
  EXPECT_EQ(h.table.TableCards.Count(), 4);
  EXPECT_EQ(h.display.events.back(), "pass 2");

  h.Feed(SeatPacket(MessageType::PlayTurn, 1, 0));
  EXPECT_EQ(h.table.CurrentSeat, 0);
  EXPECT_EQ(h.table.GameState, S::InPlay);

  // Our own play comes back without touching our count (the hand shrank when sent).
  h.table.SetGameState(S::PlaySent);
  const std::uint8_t pair[] = {1, 2};
  h.Feed(testing::PlayNoticePacket(1, 0, pair));
  EXPECT_EQ(h.table.Me.CardCount(), 25);
  EXPECT_EQ(h.table.LeadSeat, 0);
  EXPECT_EQ(h.display.events.back(), "table");
  h.Feed(SeatPacket(MessageType::PlayTurn, 1, 1));
  EXPECT_EQ(h.table.GameState, S::InPlay);

  // An unrecognisable relay is shown without troubling the player with a report.
  testing::ReportedErrors errors;
  const std::uint8_t junk[] = {1, 5};  // a 3 and a 4
  h.Feed(testing::PlayNoticePacket(1, 1, junk));
  EXPECT_EQ(errors.last, "");
  EXPECT_EQ(h.table.TableCards.Count(), 2);
}

TEST(GameEnd, ScoresLoseTheBiasAndTheRoundResets) {
  Harness h;
  h.StartPlay(3, 3, FirstCards());
  ASSERT_TRUE(h.table.Me.IsLord());
  h.Feed(SeatPacket(MessageType::PlayerLeave, 1, 3));  // own seat: ignored
  EXPECT_EQ(h.table.GameState, S::InPlay);
  EXPECT_EQ(h.table.Me.Hand.Count(), 25);

  h.Feed(testing::GameEndPacket(1, 3, {-30, 10, 10, 10}));
  EXPECT_EQ(h.table.Seats[0].Score, -30);
  EXPECT_EQ(h.table.Seats[3].Score, 10);
  EXPECT_TRUE(h.display.Saw("winner 3 赢家就是我甲乙，发啦，发啦！"));
  EXPECT_EQ(h.table.GameState, S::AwaitDeal);
  EXPECT_EQ(h.table.Me.Hand.Count(), 0);
  EXPECT_FALSE(h.table.Me.IsLord());
  EXPECT_EQ(h.table.LordSeat, 0);
  EXPECT_EQ(h.table.TableCards.Count(), 0);
  for (TClientPlayer* view : {&h.table.LeftView, &h.table.TopView, &h.table.RightView})
    EXPECT_EQ(view->CardCount(), 0);

  // The wire word itself: 9970 is a score of -30.
  std::optional<Packet> end = testing::GameEndPacket(1, 0, {0, 0, 0, 0});
  ASSERT_TRUE(end);
  end->bytes[132] = 0x00, end->bytes[133] = 0x00, end->bytes[134] = 0x26, end->bytes[135] = 0xF2;
  h.StartPlay(3, 3, FirstCards());
  h.Feed(end);
  EXPECT_EQ(h.table.Seats[0].Score, -30);
  EXPECT_TRUE(h.display.Saw("winner 0 赢家是东家，哎，让这个臭皮蛋赚了..."));
}

TEST(Departures, AnotherSeatIsClearedAndWeWaitAgain) {
  Harness h;
  h.StartPlay(0, 0, FirstCards());
  h.table.Seats[1].Score = 50;
  h.Feed(SeatPacket(MessageType::PlayerLeave, 1, 1));
  EXPECT_EQ(h.table.GameState, S::Seated);
  EXPECT_EQ(h.table.RightView.Name(), "");
  EXPECT_EQ(h.table.Seats[1].Score, 0);
  EXPECT_EQ(h.table.TopView.Name(), "西家");  // the others keep their names
  EXPECT_EQ(h.table.Me.Hand.Count(), 0);
  EXPECT_EQ(h.table.PlayerCount, 3);
  EXPECT_TRUE(h.display.Saw("clear 1"));
  EXPECT_EQ(h.display.events.back(), "state 2");

  Harness offline;
  EXPECT_EQ(offline.Feed(SeatPacket(MessageType::PlayerLeave, 0, 1)), 0);
  EXPECT_FALSE(offline.display.Saw("clear 1"));
}

TEST(ChatAndIcons, ShownAgainstTheSpeakersName) {
  Harness h;
  h.SeatFour(0);
  h.Feed(BuildPacket(MessageType::ChatNotice, ChatRecord{1, 2, Utf8ToGbk("你好")}));
  h.Feed(BuildPacket(MessageType::ChatNotice, ChatRecord{1, 0, "hi"}));
  h.Feed(BuildPacket(MessageType::ChatNotice, ChatRecord{9, 0, "lost"}));
  EXPECT_TRUE(h.display.Saw("talk 2 西家：你好"));
  EXPECT_TRUE(h.display.Saw("talk 0 甲乙：hi"));
  EXPECT_FALSE(h.display.Saw("talk 0 甲乙：lost"));

  h.Feed(BuildPacket(MessageType::IconNotice, IconRecord{1, 7, 33, 3}));
  EXPECT_EQ(h.table.LeftView.HeadIcon(), 33);
  EXPECT_EQ(h.table.LeftView.ServiceIcon(), 7);
  h.Feed(BuildPacket(MessageType::IconNoticeAlt, IconRecord{1, 8, 41, 0}));
  EXPECT_EQ(h.table.Me.HeadIcon(), 0);  // out of range: no icon
  EXPECT_EQ(h.table.Me.ServiceIcon(), 8);
}

TEST(ReadPacket, HeaderChecksTruncationAndUnhandledCodes) {
  Harness h;
  h.SeatFour(0);
  std::optional<Packet> start = BidPacket(MessageType::BidStart, 1, 0, 1);
  ASSERT_TRUE(start);

  Packet badVersion = *start;
  badVersion.bytes[15] = 1;
  EXPECT_EQ(ReadPacket(h.table, badVersion), 1);
  Packet badResult = *start;
  badResult.bytes[27] = 1;
  EXPECT_EQ(ReadPacket(h.table, badResult), 1);
  EXPECT_EQ(ReadPacket(h.table, start->data().first(40)), 1);  // cut short
  EXPECT_EQ(ReadPacket(h.table, std::span<const std::uint8_t>{}), 1);
  EXPECT_EQ(h.table.GameState, S::AwaitDeal);

  // A client's own message type, a reserved code and GameSpare do nothing.
  EXPECT_EQ(h.Feed(BidPacket(MessageType::BidOffer, 1, 0, 3)), 0);
  EXPECT_EQ(h.Feed(BuildEmptyPacket(MessageType::Reserved1EB)), 0);
  EXPECT_EQ(h.Feed(BuildEmptyPacket(MessageType::GameSpare)), 0);
  EXPECT_EQ(h.table.GameState, S::AwaitDeal);

  EXPECT_EQ(ReadPacket(h.table, *start), 0);
  EXPECT_EQ(h.table.GameState, S::MyBid);
}

TEST(ReadPacket, BytesInAnyChunksReachTheHandlers) {
  Harness h;
  h.SeatFour(1);
  std::vector<std::uint8_t> stream;
  for (const auto& packet :
       {DealPacket(MessageType::DealCards, 1, 1, FirstCards()),
        BidPacket(MessageType::BidStart, 1, 0, 1), BidPacket(MessageType::BidTurn, 1, 1, 1)}) {
    stream.insert(stream.end(), packet->data().begin(), packet->data().end());
  }
  stream.insert(stream.begin() + 76, {0xCE, 0x00, 0x17});  // garbage between packets
  StreamAssembler assembler;
  int dispatched = 0;
  for (std::size_t at = 0; at < stream.size(); at += 7) {
    const std::size_t n = std::min<std::size_t>(7, stream.size() - at);
    dispatched += FeedBytes(h.table, assembler, std::span(stream).subspan(at, n));
  }
  EXPECT_EQ(dispatched, 3);
  EXPECT_EQ(h.table.Me.Hand.Count(), 25);
  EXPECT_EQ(h.table.GameState, S::MyBid);
}

}  // namespace
}  // namespace quarn::client
