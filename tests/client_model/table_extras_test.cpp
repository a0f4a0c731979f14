// What the window shows beside the game (each seat's last move this round,
// the card counter) and what its keys and drags do to the own hand.
#include <gtest/gtest.h>

#include "client/model/client_sending.h"
#include "client/model/hand_keys.h"
#include "client/model/message_handling.h"
#include "client/model/table_tally.h"
#include "tests/support/client_model/fakes.h"

namespace quarn::client {
namespace {

using testing::Harness;

// By seat: "" nothing yet this round, "-" a pass, else the number of cards laid.
std::string Acts(const TClientTable& table) {
  std::string text;
  for (const SeatAct& act : RoundActs(table)) {
    text += !act.acted ? "." : act.IsPass() ? "-" : std::to_string(act.cards.size());
  }
  return text;
}

TEST(TableExtras, RoundActsAndCounterFollowTheGame) {
  Harness h;
  h.StartPlay(0, 1);  // the 3s to the 8s four each, one 9
  RankTally unseen = UnseenCards(h.table);
  EXPECT_EQ(unseen[1], 4);   // 3: eight less our four
  EXPECT_EQ(unseen[7], 7);   // 9
  EXPECT_EQ(unseen[13], 8);  // 2
  EXPECT_EQ(unseen[15], 2);  // big joker: one per deck
  struct Step {
    int seat;
    std::vector<std::uint8_t> cards;
    const char* acts;
  };
  const Step steps[] = {
      {1, {29, 83}, ".2.."},  // a pair of 10s leads
      {2, {}, ".2-."},        //
      {3, {33, 87}, ".2-2"},  // J J
      {0, {}, "-2-2"},        //
      {1, {}, "---2"},        //
      {2, {}, "---2"},        // three passes: seat 3 leads again
      {3, {55}, "...1"},      // a new round: a 3 of the second deck
      {0, {25}, "1..1"},      // our 9
  };
  for (const Step& step : steps) {
    if (step.seat == 0 && !step.cards.empty()) {  // the window takes our cards out first
      h.table.Me.ToggleCard(24);
      h.table.Me.RemovePlayed();
    }
    h.Feed(testing::PlayNotice(step.seat, step.cards));
    EXPECT_EQ(Acts(h.table), step.acts) << "after seat " << step.seat;
  }
  unseen = UnseenCards(h.table);
  EXPECT_EQ(unseen[8], 6);  // 10s: two laid
  EXPECT_EQ(unseen[1], 3);  // 3s: four held, one laid
  EXPECT_EQ(unseen[7], 7);  // our 9, laid: counted once
  // A play sent and not yet told back is seen too.
  h.Feed(testing::PlayTurn(0));
  h.table.Me.ToggleCard(0);  // a 3
  ASSERT_TRUE(PlaySelection(h.table));
  EXPECT_EQ(UnseenCards(h.table)[1], 3);
  h.Feed(testing::GameEnd(3, {10000, 10000, 10000, 10000}));
  EXPECT_EQ(Acts(h.table), "....");  // the game's end forgets it
}

TEST(TableExtras, KeysMoveTheCursorAndToggleCards) {
  Harness h;
  h.StartPlay(0, 0);
  THandCursor cursor;
  TClientTable& t = h.table;
  EXPECT_EQ(cursor.Press(t, TableKey::Pass), TableButton::Pass);  // PressPass refuses a lead
  EXPECT_EQ(cursor.Slot(), -1);
  struct Step {
    TableKey key;
    int slot;
    bool selected;
  };
  const Step steps[] = {
      {TableKey::Right, 0, false},  // the first cursor key shows the cursor where it was
      {TableKey::Right, 1, false}, {TableKey::Toggle, 1, true}, {TableKey::Raise, 1, true},
      {TableKey::Left, 0, false},  {TableKey::Left, 0, false},  {TableKey::Raise, 0, true},
      {TableKey::Lower, 0, false},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(cursor.Press(t, step.key), TableButton::None);
    EXPECT_EQ(cursor.Slot(), step.slot);
    EXPECT_EQ(h.views[0].raised[step.slot], step.selected);
    EXPECT_EQ(t.Me.Hand.IsSelected(step.slot), step.selected);
  }
  // A drag from slot 5 selects 5..9; back to 7 gives 8 and 9 back.
  cursor.BeginDrag(t.Me, 5);
  cursor.DragOver(t.Me, 9);
  cursor.DragOver(t.Me, 7);
  cursor.EndDrag();
  std::string marks;
  for (int slot = 0; slot < 12; ++slot) marks += t.Me.Hand.IsSelected(slot) ? 'x' : '.';
  EXPECT_EQ(marks, ".x...xxx....");
  // Starting on a selected card clears the range instead.
  cursor.BeginDrag(t.Me, 7);
  cursor.DragOver(t.Me, 0);
  marks.clear();
  for (int slot = 0; slot < 12; ++slot) marks += t.Me.Hand.IsSelected(slot) ? 'x' : '.';
  EXPECT_EQ(marks, "............");
  // Not our turn: the play key presses nothing, and after the game no cursor moves.
  t.CurrentSeat = 2;
  EXPECT_EQ(cursor.Press(t, TableKey::Play), TableButton::None);
  t.SetGameState(TGameState::AwaitDeal);
  EXPECT_EQ(cursor.Press(t, TableKey::Toggle), TableButton::None);
  EXPECT_FALSE(t.Me.Hand.IsSelected(0));
}

}  // namespace
}  // namespace quarn::client
