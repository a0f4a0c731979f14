// A table restored from the server's account of the game in play, a turn's
// clock out of step, and the own hand kept in step when the computer moved
// for this seat; a watcher's table, restored and followed from the same
// account as a seated player's.
#include <gtest/gtest.h>

#include "client/model/client_sending.h"
#include "client/model/screen_texts.h"
#include "protocol/pcpchat.h"
#include "tests/support/client_model/fakes.h"
#include "tests/support/sample_table_state.h"

namespace quarn::client {
namespace {

using testing::Bid;
using testing::Deal;
using testing::GameEnd;
using testing::Harness;
using testing::LowCards;
using testing::Must;
using testing::PlayNotice;
using testing::PlayTurn;
using testing::SeatList;
using S = TGameState;

std::vector<int> HandFaces(const TClientTable& table) {
  std::vector<int> faces;
  for (const TPoker& card : table.Me.Hand.Cards()) {
    if (card.IsPresent()) faces.push_back(card.Number());
  }
  return faces;
}

TEST(Resume, TheStateRestoresTheTableAndAClockOutOfStepIsNotRun) {
  Harness h;
  h.SeatFour(1);
  TableStateRecord state = test::SampleTableState();
  for (auto [table, seat] : {std::pair{2, 1}, std::pair{1, 2}}) {  // another table, another seat
    state.tableNumber = table;
    state.seat = static_cast<std::uint8_t>(seat);
    state.cardCount[static_cast<std::size_t>(seat)] = state.handCount;  // as that seat is told
    h.Feed(BuildPacket(MessageType::TableState, state));
    EXPECT_EQ(h.table.GameState, S::AwaitDeal);
  }
  h.Feed(BuildPacket(MessageType::TableState, test::SampleTableState()));
  EXPECT_EQ(h.table.GameState, S::InPlay);
  EXPECT_EQ(HandFaces(h.table), (std::vector<int>{3, 20, 41, 53, 54}));
  EXPECT_EQ(h.table.RightView.CardCount(), 25);
  EXPECT_EQ(h.table.TopView.CardCount(), 14);
  EXPECT_TRUE(h.table.TopView.IsLord());
  EXPECT_EQ(h.table.BidPoints, 10);
  EXPECT_EQ(h.table.LeadSeat, 0);
  EXPECT_EQ(h.table.PlayedBeforeHistory[3], 3);  // three 5s laid
  EXPECT_EQ(h.table.Seats[3].Score, -30);
  EXPECT_TRUE(h.display.Saw("lordcard 17"));

  // A clock for a seat whose turn it is not is out of step: not run.
  h.Feed(BuildPacket(MessageType::TurnClock, TurnClockRecord{1, 0, 30000, 9000}));
  EXPECT_EQ(h.table.ClockSeat, -1);

  // While bidding, the own turn to bid comes back.
  state = test::SampleTableState();
  state.phase = TablePhase::Bidding;
  state.tableCount = 0;
  h.Feed(BuildPacket(MessageType::TableState, state));
  EXPECT_EQ(h.table.GameState, S::MyBid);
  EXPECT_EQ(h.table.TableCards.Count(), 0);
  EXPECT_EQ(h.table.LeadSeat, 1);  // nothing on the table: the seat to move leads
}

TEST(Resume, TheHandLosesWhatTheServerSaysTheOwnSeatLaid) {
  Harness h;
  h.StartPlay(0, 0);
  h.Feed(BuildPacket(MessageType::TurnClock, TurnClockRecord{1, 0, 30000, 30000}));
  // Sent the 3s numbered 1 and 2, but the time ran out and the computer laid
  // the 3s numbered 3 and 4 for this seat first.
  for (int slot : {0, 1}) h.table.Me.ToggleCard(slot);
  ASSERT_TRUE(PlaySelection(h.table));
  h.Feed(PlayNotice(0, {3, 4}));
  EXPECT_EQ(HandFaces(h.table).size(), 23u);
  EXPECT_EQ(HandFaces(h.table).front(), 1);  // what was sent is back
  EXPECT_EQ(h.table.Me.CardCount(), 23);

  // The usual case: the notice names what was sent, and the rest keep their slots.
  h.table.Me.ToggleCard(2);
  CommitPlay(h.table);
  const int lastSlotCard = h.table.Me.Hand.Card(22).Number();
  h.Feed(PlayNotice(0, {5}));
  EXPECT_FALSE(h.table.Me.Hand.Card(2).IsPresent());
  EXPECT_EQ(h.table.Me.Hand.Card(22).Number(), lastSlotCard);
}

// What every seat may know of the table: names, counts, landlord, scores,
// the cards on the table, every play, turns, bids, 托管 and the clock.
std::vector<std::string> PublicView(const TClientTable& table) {
  std::vector<std::string> seen;
  for (int seat = 0; seat < kSeatCount; ++seat) {
    const TClientPlayer* player = table.PlayerAt(seat);
    const TSeatInfo& info = table.Seats[static_cast<std::size_t>(seat)];
    seen.push_back(player->Name() + " " + std::to_string(player->CardCount()) +
                   (player->IsLord() ? " lord " : " ") + std::to_string(info.Score) + " " +
                   std::to_string(info.Games));
  }
  std::string laid;
  for (const TPlayedCards& play : table.History) {
    laid += std::to_string(play.Seat) + ":" + std::to_string(play.Count) + " ";
  }
  seen.push_back(laid);
  std::string onTable;
  for (int slot = 0; slot < table.TableCards.Count(); ++slot) {
    onTable += std::to_string(table.TableCards.Card(slot).Number()) + " ";
  }
  seen.push_back(onTable);
  for (const int number :
       {static_cast<int>(table.GameState), table.CurrentSeat, table.LeadSeat, table.LordSeat,
        table.BidPoints, table.ClockSeat, static_cast<int>(table.SeatControls[2])}) {
    seen.push_back(std::to_string(number));
  }
  return seen;
}

TEST(Watch, AWatcherHoldsWhatASeatedPlayerSeesInPublicAndNeverAHandOrAMove) {
  Harness player;
  player.SeatFour(1);
  player.table.Me.SetName("北家");
  player.Feed(BuildPacket(MessageType::TableState, test::SampleTableState()));

  Harness watcher;
  // Not asked for, or for another table: no answer of ours.
  watcher.Feed(
      BuildPacket(MessageType::WatchReply, WatchReplyRecord{1, WatchResult::Watching, 1, 2}));
  EXPECT_FALSE(watcher.table.Watching);
  ASSERT_EQ(SendPacket(watcher.table,
                       Must(BuildPacket(MessageType::WatchRequest, WatchRequestRecord{1, "bo"}))),
            0);
  watcher.Feed(
      BuildPacket(MessageType::WatchReply, WatchReplyRecord{2, WatchResult::Watching, 1, 2}));
  EXPECT_FALSE(watcher.table.Watching);
  watcher.Feed(BuildPacket(MessageType::WatchReply,
                           WatchReplyRecord{1, WatchResult::Watching, 1, 2, /*mayChat=*/true}));
  EXPECT_TRUE(watcher.display.Saw("watch 0"));
  watcher.Feed(SeatList({"东家", "北家", "西家", "南家"}));
  TableStateRecord state = test::SampleTableState();
  state.seat = kWatcherSeat;
  state.handCount = 0;
  state.hand = {};
  watcher.Feed(BuildPacket(MessageType::WatchState, state));
  EXPECT_EQ(PublicView(watcher.table), PublicView(player.table));

  AutoPlayRecord controls{1, 2, SeatControl::PlayerGone};
  controls.seats[2] = SeatControl::PlayerGone;
  const std::vector<Packet> stream = {
      Must(BuildPacket(MessageType::AutoPlayNotice, controls)),
      Must(BuildPacket(MessageType::TurnClock, TurnClockRecord{1, 1, 30000, 9000})),
      PlayNotice(1, {54, 107}),
      PlayTurn(2),
      PlayNotice(2, {}),
      PlayTurn(3),
      PlayNotice(3, {}),
      PlayTurn(0),
      PlayNotice(0, {60, 61}),
      PlayTurn(1),
      PlayNotice(1, {3}),
      PlayTurn(2),
      Must(BuildPacket(MessageType::ChatNotice, ChatRecord{1, 0, WatcherChatText({"bo", "hi"})})),
      GameEnd(1, {30, -10, 10, -30}, 1, {"东家", "北家", "西家", "南家"}),
  };
  for (const Packet& packet : stream) {
    player.Feed(packet);
    watcher.Feed(packet);
    EXPECT_EQ(PublicView(watcher.table), PublicView(player.table)) << MessageName(packet.RawType());
    EXPECT_EQ(ButtonsFor(watcher.table), (ButtonStates{.speak = ButtonsFor(player.table).speak,
                                                       .waiter = ButtonsFor(player.table).waiter}));
  }
  EXPECT_TRUE(watcher.display.Saw("talk 0 bo（观众）：hi"));
  // A server that refuses watchers' chat says so: that watcher gets no chat button.
  Harness mute;
  ASSERT_EQ(SendPacket(mute.table,
                       Must(BuildPacket(MessageType::WatchRequest, WatchRequestRecord{1, "cy"}))),
            0);
  mute.Feed(BuildPacket(MessageType::WatchReply, WatchReplyRecord{1, WatchResult::Watching, 2, 2}));
  mute.Feed(SeatList({"东家", "北家", "西家", "南家"}));
  EXPECT_EQ(ButtonsFor(mute.table), ButtonStates{});
  EXPECT_TRUE(player.display.Saw("talk 0 bo（观众）：hi"));
  EXPECT_TRUE(watcher.display.Saw("winner 1 赢家是北家，哎，让这个臭皮蛋赚了..."));
  // A hand never enters a watcher's table, and the bidding never waits on it.
  watcher.Feed(Deal(MessageType::DealCards, 0, LowCards()));
  watcher.Feed(Deal(MessageType::StartCardNotice, 2, {17}));  // all dealt: 25 each
  EXPECT_EQ(std::pair(watcher.table.Me.CardCount(), watcher.table.LeftView.CardCount()),
            std::pair(25, 25));
  watcher.Feed(BuildPacket(MessageType::TableState, test::SampleTableState()));
  watcher.Feed(Bid(MessageType::BidStart, 0, 0));
  EXPECT_EQ(watcher.table.Me.Hand.Count(), 0);
  EXPECT_EQ(watcher.table.GameState, S::OtherBid);
  EXPECT_EQ(StatusFor(watcher.table).panel0, "观看第1桌：东家正在叫牌");
}

}  // namespace
}  // namespace quarn::client
