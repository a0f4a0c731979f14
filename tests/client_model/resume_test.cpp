// A table restored from the server's account of the game in play, the seats
// the computer plays, the turn's clock, and the own hand kept in step when
// the computer moved for this seat.
#include <gtest/gtest.h>

#include "client/model/client_sending.h"
#include "tests/support/client_model/fakes.h"
#include "tests/support/sample_table_state.h"

namespace quarn::client {
namespace {

using testing::Harness;
using S = TGameState;

std::vector<int> HandFaces(const TClientTable& table) {
  std::vector<int> faces;
  for (const TPoker& card : table.Me.Hand.Cards()) {
    if (card.IsPresent()) faces.push_back(card.Number());
  }
  return faces;
}

TEST(Resume, TheStateRestoresTheTableAndTheClockRunsForTheSeatToMove) {
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
  EXPECT_EQ(h.table.LeftView.CardCount(), 20);  // 东 sits left of 北
  EXPECT_EQ(h.table.RightView.CardCount(), 25);
  EXPECT_EQ(h.table.TopView.CardCount(), 14);
  EXPECT_TRUE(h.table.TopView.IsLord());
  EXPECT_EQ(h.table.BidPoints, 10);
  EXPECT_TRUE(h.table.OwnTurn());
  EXPECT_EQ(h.table.LeadSeat, 0);
  EXPECT_EQ(h.table.TableCards.Count(), 2);
  EXPECT_EQ(h.table.PlayedBeforeHistory[3], 3);  // three 5s laid
  EXPECT_EQ(h.table.Seats[3].Score, -30);
  EXPECT_TRUE(h.display.Saw("lordcard 17"));

  // The computer plays 西; the clock runs for the seat to move, and only for it.
  AutoPlayRecord controls{1, 2, SeatControl::PlayerGone};
  controls.seats[2] = SeatControl::PlayerGone;
  h.Feed(BuildPacket(MessageType::AutoPlayNotice, controls));
  EXPECT_TRUE(h.table.ComputerPlays(2));
  EXPECT_FALSE(h.table.ComputerPlays(1));
  h.Feed(BuildPacket(MessageType::TurnClock, TurnClockRecord{1, 0, 30000, 9000}));
  EXPECT_EQ(h.table.ClockSeat, -1);
  h.Feed(BuildPacket(MessageType::TurnClock, TurnClockRecord{1, 1, 30000, 9000}));
  EXPECT_EQ(h.table.ClockSeat, 1);
  EXPECT_EQ(h.table.ClockLeftMs, 9000);
  h.Feed(testing::PlayTurn(2));
  EXPECT_EQ(h.table.ClockSeat, -1);  // a new turn stops the old clock

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
  h.Feed(testing::PlayNotice(0, {3, 4}));
  EXPECT_EQ(HandFaces(h.table).size(), 23u);
  EXPECT_EQ(HandFaces(h.table).front(), 1);  // what was sent is back
  EXPECT_EQ(h.table.Me.CardCount(), 23);

  // The usual case: the notice names what was sent, and the rest keep their slots.
  h.table.Me.ToggleCard(2);
  CommitPlay(h.table);
  const int lastSlotCard = h.table.Me.Hand.Card(22).Number();
  h.Feed(testing::PlayNotice(0, {5}));
  EXPECT_FALSE(h.table.Me.Hand.Card(2).IsPresent());
  EXPECT_EQ(h.table.Me.Hand.Card(22).Number(), lastSlotCard);

  // 托管 asked for the own seat.
  EXPECT_TRUE(SendAutoPlay(h.table, true));
  AutoPlayRecord asked;
  ASSERT_EQ(DecodeAutoPlayRequest(asked, PacketFromBytes(h.writer.written.back())), 0);
  EXPECT_EQ(asked.control, SeatControl::OnRequest);
  EXPECT_EQ(asked.seat, 0);
}

}  // namespace
}  // namespace quarn::client
