// Server messages through ReadPacket: the states each is taken in, and what it does.
#include <gtest/gtest.h>

#include "client/model/client_service.h"
#include "core/card_error.h"
#include "core/gbk.h"
#include "fakes.h"
#include "protocol/stream_assembler.h"

namespace quarn::client {
namespace {

using enum MessageType;
using namespace testing;
using S = TGameState;

const std::uint8_t kBottom[] = {101, 102, 103, 104, 105, 106, 107, 108};

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
  const std::uint8_t start[] = {30};
  const std::uint8_t pair[] = {1, 2};
  const auto chat = [](int table) { return BuildPacket(ChatNotice, ChatRecord{table, 1, "hi"}); };
  const auto icon = [](MessageType type, int table) {
    return BuildPacket(type, IconRecord{table, 7, 33, 1});
  };
  const struct {
    std::function<std::optional<Packet>(int table)> packet;
    const char* states;
  } messages[] = {
      {[](int table) { return LoginReplyPacket(table, 0); }, "01000000"},
      {[](int t) {
         return SeatListPacket(t, {"a", "b", "c", "d"});
       },
       "00100000"},
      {[](int t) { return DealPacket(DealCards, t, 0, FirstCards()); }, "00010000"},
      {[&](int t) { return DealPacket(StartCardNotice, t, 2, start); }, "00010000"},
      {[](int t) { return DealPacket(ExtraCards, t, 0, kBottom); }, "00010010"},
      {[](int t) { return BidPacket(BidStart, t, 1, 1); }, "00010000"},
      {[](int t) { return BidPacket(BidTurn, t, 1, 5); }, "00001100"},
      {[](int t) { return BidPacket(BidResult, t, 1, 10); }, "00011100"},
      {[&](int t) { return PlayNoticePacket(t, 1, pair); }, "00000011"},
      {[](int t) { return SeatPacket(PlayTurn, t, 1); }, "00000011"},
      {[](int t) {
         return GameEndPacket(t, 1, {1, 2, 3, -6});
       },
       "00000011"},
      {[](int t) { return SeatPacket(PlayerLeave, t, 1); }, "01111111"},
      {chat, "01111111"},
      {[&](int t) { return icon(IconNotice, t); }, "01111111"},
      {[&](int t) { return icon(IconNoticeAlt, t); }, "01111111"},
      {[](int) { return BuildEmptyPacket(GameSpare); }, "00000000"},
  };
  for (const auto& message : messages) {
    for (const int table : {1, 2}) {
      for (int state = 0; state < 8; ++state) {
        Harness h;
        h.SeatFour(0);
        h.table.GameState = static_cast<S>(state);
        const auto before = Picture(h);
        const std::optional<Packet> packet = message.packet(table);
        ASSERT_TRUE(packet);
        EXPECT_EQ(ReadPacket(h.table, *packet), 0);
        const bool acted = Picture(h) != before;
        const bool expected = message.states[state] == '1' && (table == 1 || &message == messages);
        EXPECT_EQ(acted, expected)
            << MessageName(packet->RawType()) << " table " << table << " state " << state;
      }
    }
  }
}

TEST(Handlers, AGameWithBiddingFromTheLoginToTheEnd) {
  ReportedErrors reports;  // a game has nothing to report, even odd relays
  Harness h;
  h.table.Me.SetName("甲乙");
  h.table.SetGameState(S::LoggingIn);
  h.Feed(SeatListPacket(1, {"a", "b", "", ""}));  // before the answer: lost
  h.Feed(LoginReplyPacket(-1, 255));              // the refusal keeps waiting
  EXPECT_EQ(h.table.GameState, S::LoggingIn);
  h.Feed(LoginReplyPacket(1, 2));
  EXPECT_EQ(h.table.GameState, S::Seated);
  EXPECT_EQ(h.table.Seats[2].Current, &h.table.Me);
  EXPECT_EQ(h.table.Seats[3].Player, &h.table.RightView);
  // Seat 1 still empty: three players, still seated.
  h.Feed(SeatListPacket(1, {"老张", "", "me", "王五"}));
  EXPECT_EQ(h.table.PlayerCount, 3);
  EXPECT_EQ(h.table.GameState, S::Seated);
  EXPECT_EQ(h.table.TopView.Name() + std::to_string(h.table.TopView.HeadIcon()), "老张10");
  EXPECT_EQ(h.table.LeftView.HeadIcon(), 0);  // an empty seat has no icon
  h.Feed(SeatListPacket(1, {"老张", "小李", "me", "王五"}));
  EXPECT_EQ(h.table.PlayerCount, 4);
  EXPECT_EQ(h.table.GameState, S::AwaitDeal);
  EXPECT_EQ(h.table.LeftView.Name() + h.table.RightView.Name(), "小李王五");

  // Another seat's deal and one of 24 cards change nothing; a repeated deal replaces the hand.
  h.Feed(DealPacket(DealCards, 1, 1, FirstCards()));
  const auto cards = FirstCards();
  h.Feed(DealPacket(DealCards, 1, 2, std::span(cards).first(24)));
  EXPECT_EQ(h.table.Me.Hand.Count(), 0);
  h.Feed(DealPacket(DealCards, 1, 2, FirstCards()));
  h.Feed(DealPacket(DealCards, 1, 2, FirstCards()));
  EXPECT_EQ(h.table.Me.Hand.Count(), 25);
  EXPECT_EQ(h.table.LeftView.CardCount() + h.table.TopView.CardCount(), 50);
  const std::uint8_t start[] = {30};
  h.Feed(DealPacket(StartCardNotice, 1, 0, start));
  EXPECT_TRUE(h.display.Saw("lordcard 30") && h.table.TopView.IsLord());
  // Not the landlord yet: the bottom cards are refused.
  h.Feed(DealPacket(ExtraCards, 1, 2, kBottom));
  EXPECT_EQ(h.table.Me.Hand.Count(), 25);

  h.Feed(BidPacket(BidStart, 1, 0, 1));
  EXPECT_EQ(h.table.GameState, S::OtherBid);
  h.Feed(BidPacket(BidTurn, 1, 2, 20));
  EXPECT_EQ(h.table.GameState, S::MyBid);
  EXPECT_EQ(h.table.BidPoints, 20);
  h.Feed(BidPacket(BidTurn, 1, 3, 20));
  EXPECT_EQ(h.table.GameState, S::OtherBid);
  h.Feed(BidPacket(BidResult, 1, 2, 40));
  EXPECT_EQ(h.table.GameState, S::InPlay);
  EXPECT_TRUE(h.table.Me.IsLord() && !h.table.TopView.IsLord());
  h.Feed(DealPacket(ExtraCards, 1, 2, kBottom));
  EXPECT_EQ(h.table.Me.Hand.Count(), 33);
  EXPECT_EQ(h.table.Me.Hand.Card(25).Number(), 47);  // 101 folds to 47
  h.Feed(DealPacket(ExtraCards, 1, 2, kBottom));     // a second copy would not fit
  EXPECT_EQ(h.table.Me.Hand.Count(), 33);

  const std::uint8_t fourNines[] = {25, 26, 79, 80};  // a bomb, two of it from the second deck
  h.Feed(PlayNoticePacket(1, 3, fourNines));
  EXPECT_EQ(h.table.LeadSeat, 3);
  EXPECT_EQ(h.table.TableCards.Type(), CombinationType::Bomb);
  EXPECT_EQ(h.table.RightView.CardCount(), 21);
  h.Feed(PlayNoticePacket(1, 0, {}));  // a pass is not shown on the table
  EXPECT_EQ(h.table.LeadSeat * 10 + h.table.TableCards.Count(), 34);
  EXPECT_EQ(h.display.events.back(), "pass 0");
  h.table.SetGameState(S::PlaySent);
  const std::uint8_t pair[] = {1, 2};  // our own play comes back; the hand shrank when sent
  h.Feed(PlayNoticePacket(1, 2, pair));
  EXPECT_EQ(h.table.Me.CardCount() * 10 + h.table.LeadSeat, 332);
  h.Feed(SeatPacket(PlayTurn, 1, 3));
  EXPECT_EQ(h.table.GameState, S::InPlay);
  const std::uint8_t junk[] = {1, 5};  // a 3 and a 4: shown, though no combination
  h.Feed(PlayNoticePacket(1, 3, junk));
  EXPECT_EQ(h.table.TableCards.Count(), 2);
  h.Feed(SeatPacket(PlayerLeave, 1, 2));  // the own seat: ignored
  EXPECT_EQ(h.table.GameState, S::InPlay);

  // The score words lose their bias (9970 is -30); the round starts over.
  std::optional<Packet> end = GameEndPacket(1, 2, {0, 10, 10, 10});
  end->bytes[134] = 0x26;
  end->bytes[135] = 0xF2;
  h.Feed(end);
  EXPECT_EQ(h.table.Seats[0].Score * 100 + h.table.Seats[3].Score, -2990);
  EXPECT_TRUE(h.display.Saw("winner 2 赢家就是我甲乙，发啦，发啦！"));
  EXPECT_EQ(h.table.GameState, S::AwaitDeal);
  EXPECT_EQ(h.table.Me.Hand.Count() + h.table.TableCards.Count() + h.table.LordSeat, 0);
  EXPECT_EQ(h.table.LeftView.CardCount() + h.table.TopView.CardCount(), 0);
  EXPECT_FALSE(h.table.Me.IsLord());

  // Another seat leaves: cleared, one player fewer, and we wait again.
  h.table.Seats[1].Score = 50;
  h.Feed(SeatPacket(PlayerLeave, 1, 1));
  EXPECT_EQ(h.table.GameState, S::Seated);
  h.Feed(SeatPacket(PlayerLeave, 1, 1));  // an empty seat: nobody fewer
  EXPECT_EQ(h.table.PlayerCount, 3);
  EXPECT_EQ(h.table.LeftView.Name() + std::to_string(h.table.Seats[1].Score), "0");
  EXPECT_EQ(h.table.TopView.Name(), "老张");
  EXPECT_TRUE(reports.texts.empty());
}

TEST(Handlers, WithoutBiddingTheBottomCardsComeFirstAndALoginElsewhereMovesTheOwnSeat) {
  Harness h;
  h.SeatFour(0);
  h.Feed(DealPacket(DealCards, 1, 0, FirstCards()));
  const std::uint8_t start[] = {3};
  h.Feed(DealPacket(StartCardNotice, 1, 0, start));
  h.Feed(DealPacket(ExtraCards, 1, 0, kBottom));
  EXPECT_EQ(h.table.Me.Hand.Count(), 33);
  h.Feed(BidPacket(BidResult, 1, 0, 10));
  EXPECT_EQ(h.table.GameState, S::InPlay);
  EXPECT_EQ(h.table.Me.Hand.Count(), 33);

  // Chat and icons are shown against the speaker's seat; an icon out of range is none.
  h.Feed(BuildPacket(ChatNotice, ChatRecord{1, 2, Utf8ToGbk("你好")}));
  EXPECT_TRUE(h.display.Saw("talk 2 西家：你好"));
  h.Feed(BuildPacket(IconNotice, IconRecord{1, 7, 41, 0}));
  EXPECT_EQ(h.table.Me.HeadIcon() * 10 + h.table.Me.ServiceIcon(), 7);
  // A player leaves mid-game and another sits down: the next game starts on an empty table.
  const std::uint8_t pair[] = {1, 2};
  h.Feed(PlayNoticePacket(1, 0, pair));
  h.Feed(SeatPacket(PlayerLeave, 1, 3));
  h.Feed(SeatListPacket(1, {"东家", "北家", "西家", "新南"}));
  h.Feed(DealPacket(DealCards, 1, 0, FirstCards()));
  h.Feed(BidPacket(BidResult, 1, 1, 10));
  EXPECT_EQ(h.table.TableCards.Count(), 0);

  h.table.ConnectionLost();
  EXPECT_EQ(h.table.GameState, S::Offline);
  EXPECT_TRUE(h.display.Saw("message 1 警告 对不起，网络断线啦！"));
  EXPECT_EQ(h.table.TopView.Name() + std::to_string(h.table.Me.Hand.Count()), "0");
  h.table.SetGameState(S::LoggingIn);
  h.Feed(LoginReplyPacket(1, 2));
  h.Feed(SeatListPacket(1, {"新东", "新北", "me", "新南"}));
  EXPECT_EQ(h.table.Seats[0].IsSelf, 0);
  EXPECT_EQ(h.table.PlayerCount, 4);
  EXPECT_EQ(h.table.TopView.Name(), "新东");  // seat 0 is shown, not taken for us
}

TEST(ReadPacket, OnlyWholeSoundPacketsOfServerTypesAreHandled) {
  Harness h;
  h.SeatFour(0);
  const std::optional<Packet> start = BidPacket(BidStart, 1, 0, 1);
  for (const auto& [at, value] : std::vector<std::pair<int, int>>{{15, 1}, {27, 1}, {3, 0}}) {
    Packet bad = *start;
    bad.bytes[at] = static_cast<std::uint8_t>(value);
    EXPECT_EQ(ReadPacket(h.table, bad), 1) << at;
  }
  EXPECT_EQ(ReadPacket(h.table, start->data().first(40)), 1);  // cut short
  EXPECT_EQ(ReadPacket(h.table, std::span<const std::uint8_t>{}), 1);
  // A client's own message type and a reserved code do nothing.
  EXPECT_EQ(h.Feed(BidPacket(BidOffer, 1, 0, 3)) + h.Feed(BuildEmptyPacket(Reserved1EB)), 0);
  EXPECT_EQ(h.table.GameState, S::AwaitDeal);

  // Bytes in any chunks, with garbage between packets, reach the handlers.
  std::vector<std::uint8_t> stream;
  for (const auto& packet :
       {DealPacket(DealCards, 1, 0, FirstCards()), start, BidPacket(BidTurn, 1, 0, 1)}) {
    stream.insert(stream.end(), packet->data().begin(), packet->data().end());
  }
  stream.insert(stream.begin() + 76, {0xCE, 0x00, 0x17});
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
