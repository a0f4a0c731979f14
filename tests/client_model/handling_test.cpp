// Server messages through ReadPacket: the states each is taken in, and what it does.
#include <gtest/gtest.h>

#include "client/model/client_sending.h"
#include "client/model/message_handling.h"
#include "core/card_error.h"
#include "tests/support/client_model/fakes.h"

namespace quarn::client {
namespace {

using enum MessageType;
using namespace testing;
using S = TGameState;

const CardBytes kBottom = {101, 102, 103, 104, 105, 106, 107, 108};

// What a handler that acts changes: the display, the own hand or an icon.
std::array<int, 3> Picture(const Harness& h) {
  int icons = 0;
  for (const auto& view : h.views) icons += view.shownIcon;
  return {static_cast<int>(h.display.events.size()), h.table.Me.Hand.Count(), icons};
}

// Each message, for table 1 and for table 2, in each state 0..7 after a login
// at seat 0 of table 1: acts exactly in the states marked 1, and never for
// another table (the login reply has no table to check).
TEST(Handlers, EachMessageActsOnlyInItsStatesAndOnlyForItsOwnTable) {
  // Each message for table t, with the states 0..7 it acts in.
  const auto messages =
      [](int t) -> std::vector<std::pair<std::optional<Packet>, std::string_view>> {
    return {{testing::LoginReply(0, t), "01000000"},
            {testing::SeatList({"a", "b", "c", "d"}, t), "00100000"},
            {Deal(DealCards, 0, LowCards(), t), "00010000"},
            {Deal(StartCardNotice, 2, {30}, t), "00010000"},
            {Deal(ExtraCards, 0, kBottom, t), "00010010"},
            {Bid(BidStart, 1, 1, t), "00010000"},
            {Bid(BidTurn, 1, 5, t), "00001100"},
            {Bid(BidResult, 1, 10, t), "00011100"},
            {testing::PlayNotice(1, {1, 2}, t), "00000011"},
            {SeatMessage(PlayTurn, 1, t), "00000011"},
            {testing::GameEnd(1, {1, 2, 3, -6}, t), "00000011"},
            {SeatMessage(PlayerLeave, 1, t), "01111111"},
            {BuildPacket(ChatNotice, ChatRecord{t, 1, "hi"}), "01111111"},
            {BuildPacket(IconNotice, IconRecord{t, 7, 33, 1}), "01111111"},
            {BuildPacket(IconNoticeAlt, IconRecord{t, 7, 33, 1}), "01111111"},
            {BuildEmptyPacket(GameSpare), "00000000"}};
  };
  for (std::size_t m = 0; m < messages(1).size(); ++m) {
    for (const int table : {1, 2}) {
      for (int state = 0; state < 8; ++state) {
        Harness h;
        h.SeatFour(0);
        h.table.GameState = static_cast<S>(state);
        const auto before = Picture(h);
        const auto [packet, states] = messages(table).at(m);
        ASSERT_TRUE(packet);
        EXPECT_EQ(ReadPacket(h.table, *packet), 0);
        const bool acted = Picture(h) != before;
        const bool expected = states[state] == '1' && (table == 1 || m == 0);
        EXPECT_EQ(acted, expected)
            << MessageName(packet->RawType()) << " table " << table << " state " << state;
      }
    }
  }
}

TEST(Handlers, AGameWithBiddingFromTheLoginToTheEnd) {
  CapturedReports reports;  // a game has nothing to report, even odd relays
  Harness h;
  h.table.Me.SetName("甲乙");
  h.table.SetGameState(S::LoggingIn);
  h.Feed(testing::SeatList({"a", "b", "", ""}));  // before the answer: lost
  h.Feed(testing::LoginReply(2));
  // Seat 1 still empty: three players, still seated.
  h.Feed(testing::SeatList({"老张", "", "me", "王五"}));
  EXPECT_EQ(h.table.PlayerCount, 3);
  EXPECT_EQ(h.table.GameState, S::Seated);
  EXPECT_EQ(h.table.TopView.Name() + std::to_string(h.table.TopView.HeadIcon()), "老张10");
  EXPECT_EQ(h.table.LeftView.HeadIcon(), 0);  // an empty seat has no icon
  h.Feed(testing::SeatList({"老张", "小李", "me", "王五"}));
  EXPECT_EQ(h.table.PlayerCount, 4);

  // Another seat's deal and one of 24 cards change nothing; a repeated deal replaces the hand.
  h.Feed(Deal(DealCards, 1, LowCards()));
  h.Feed(Deal(DealCards, 2, CardBytes(24, 1)));
  EXPECT_EQ(h.table.Me.Hand.Count(), 0);
  h.Feed(Deal(DealCards, 2, LowCards()));
  h.Feed(Deal(DealCards, 2, LowCards()));
  EXPECT_EQ(h.table.Me.Hand.Count(), 25);
  h.Feed(Deal(StartCardNotice, 0, {30}));
  EXPECT_TRUE(h.display.Saw("lordcard 30") && h.table.TopView.IsLord());
  // Not the landlord yet: the bottom cards are refused.
  h.Feed(Deal(ExtraCards, 2, kBottom));
  EXPECT_EQ(h.table.Me.Hand.Count(), 25);

  h.Feed(Bid(BidStart, 0, 1));
  h.Feed(Bid(BidTurn, 2, 20));
  EXPECT_EQ(h.table.GameState, S::MyBid);
  EXPECT_EQ(h.table.BidPoints, 20);
  h.Feed(Bid(BidTurn, 3, 20));
  EXPECT_EQ(h.table.GameState, S::OtherBid);
  h.Feed(Bid(BidResult, 2, 40));
  EXPECT_TRUE(h.table.Me.IsLord() && !h.table.TopView.IsLord());
  h.Feed(Deal(ExtraCards, 2, kBottom));
  EXPECT_EQ(h.table.Me.Hand.Count(), 33);
  EXPECT_EQ(h.table.Me.Hand.Card(25).Number(), 47);  // 101 folds to 47
  h.Feed(Deal(ExtraCards, 2, kBottom));              // a second copy would not fit
  EXPECT_EQ(h.table.Me.Hand.Count(), 33);

  h.Feed(testing::PlayNotice(3, {25, 26, 79, 80}));  // a bomb, two of it from the second deck
  EXPECT_EQ(h.table.LeadSeat, 3);
  EXPECT_EQ(h.table.TableCards.Type(), CombinationType::Bomb);
  EXPECT_EQ(h.table.RightView.CardCount(), 21);
  h.Feed(testing::PlayNotice(0, {}));  // a pass is not shown on the table
  EXPECT_EQ(h.table.LeadSeat * 10 + h.table.TableCards.Count(), 34);
  EXPECT_EQ(h.display.events.back(), "pass 0");
  h.table.SetGameState(S::PlaySent);
  h.Feed(testing::PlayNotice(2, {1, 2}));  // our own play comes back; the hand shrank when sent
  EXPECT_EQ(h.table.Me.CardCount() * 10 + h.table.LeadSeat, 332);
  h.Feed(testing::PlayTurn(3));
  h.Feed(testing::PlayNotice(3, {1, 5}));  // a 3 and a 4: shown, though no combination
  EXPECT_EQ(h.table.TableCards.Count(), 2);
  h.Feed(testing::PlayerLeave(2));  // the own seat: ignored
  EXPECT_EQ(h.table.GameState, S::InPlay);

  // The score words lose their bias (9970 is -30); the round starts over.
  Packet end = testing::GameEnd(2, {0, 10, 10, 10});
  end.bytes[134] = 0x26;
  end.bytes[135] = 0xF2;
  h.Feed(end);
  EXPECT_EQ(h.table.Seats[0].Score * 100 + h.table.Seats[3].Score, -2990);
  EXPECT_TRUE(h.display.Saw("winner 2 赢家就是我甲乙，发啦，发啦！"));
  EXPECT_EQ(h.table.Me.Hand.Count() + h.table.TableCards.Count() + h.table.LordSeat, 0);
  EXPECT_EQ(h.table.LeftView.CardCount() + h.table.TopView.CardCount(), 0);
  EXPECT_FALSE(h.table.Me.IsLord());

  // Another seat leaves: cleared, one player fewer, and we wait again.
  h.table.Seats[1].Score = 50;
  h.Feed(testing::PlayerLeave(1));
  EXPECT_EQ(h.table.GameState, S::Seated);
  h.Feed(testing::PlayerLeave(1));  // an empty seat: nobody fewer
  EXPECT_EQ(h.table.PlayerCount, 3);
  EXPECT_EQ(h.table.LeftView.Name() + std::to_string(h.table.Seats[1].Score), "0");
  EXPECT_EQ(h.table.TopView.Name(), "老张");
  EXPECT_TRUE(reports.texts.empty());
}

TEST(Handlers, ALeaveMidGameEmptiesTheTableAndALoginElsewhereMovesTheOwnSeat) {
  Harness h;
  h.StartPlay(0, 0);

  // An icon out of range is none.
  h.Feed(BuildPacket(IconNotice, IconRecord{1, 7, 41, 0}));
  EXPECT_EQ(h.table.Me.HeadIcon() * 10 + h.table.Me.ServiceIcon(), 7);
  // A player leaves mid-game and another sits down: the next game starts on an empty table.
  h.Feed(testing::PlayNotice(0, {1, 2}));
  h.Feed(testing::PlayerLeave(3));
  h.Feed(testing::SeatList({"东家", "北家", "西家", "新南"}));
  h.Feed(Deal(DealCards, 0, LowCards()));
  h.Feed(Bid(BidResult, 1, 10));
  EXPECT_EQ(h.table.TableCards.Count(), 0);

  // A standings request the drop left unanswered does not take the next answer.
  ASSERT_TRUE(SendStandingsRequest(h.table, StandingsAsk::Top, 10));
  h.table.ConnectionLost();
  EXPECT_EQ(h.table.GameState, S::Offline);
  h.table.SetGameState(S::LoggingIn);
  h.Feed(testing::LoginReply(2));
  h.Feed(testing::SeatList({"新东", "新北", "me", "新南"}));
  EXPECT_EQ(h.table.PlayerCount, 4);
  EXPECT_EQ(h.table.TopView.Name(), "新东");  // seat 0 is shown, not taken for us
  ASSERT_TRUE(SendStandingsRequest(h.table, StandingsAsk::Own));
  // table 1, own line, rank 3 of "me" with 1 game
  h.Feed(BuildPacket(StandingsLine, StandingsLineRecord{1, StandingsKind::Own, 1, 3, "me", 1}));
  EXPECT_EQ(h.table.OwnStanding.value_or(StandingsLineRecord{}).rank, 3);
}

TEST(ReadPacket, OnlyWholeSoundPacketsOfServerTypesAreHandled) {
  Harness h;
  h.SeatFour(0);
  const Packet start = Bid(BidStart, 0, 1);
  for (const auto& [at, value] : std::vector<std::pair<int, int>>{{15, 1}, {27, 1}, {3, 0}}) {
    Packet bad = start;
    bad.bytes[at] = static_cast<std::uint8_t>(value);
    EXPECT_EQ(ReadPacket(h.table, bad), 1) << at;
  }
  EXPECT_EQ(ReadPacket(h.table, start.data().first(40)), 1);  // cut short
  EXPECT_EQ(ReadPacket(h.table, std::span<const std::uint8_t>{}), 1);
  // A client's own message type and a reserved code do nothing.
  EXPECT_EQ(h.Feed(Bid(BidOffer, 0, 3)) + h.Feed(BuildEmptyPacket(Reserved1EB)), 0);
  EXPECT_EQ(h.table.GameState, S::AwaitDeal);
}

}  // namespace
}  // namespace quarn::client
