// The player model: names, counts, icons, the landlord mark, the own hand.
#include <gtest/gtest.h>

#include "client/model/current_player.h"
#include "client/model/table_state.h"
#include "core/gbk.h"
#include "fakes.h"

namespace quarn::client {
namespace {

using testing::RecordingView;
using testing::ReportedErrors;

TEST(ClientPlayer, NameCountIconAndMarkFollowTheirRules) {
  RecordingView view;
  TClientPlayer player;
  player.BindView(&view);

  player.SetName("abcdefghijklmnopqrst");  // 20 bytes
  EXPECT_EQ(view.shownName, "abcdefghijklmno");
  // Eight Chinese characters are 16 GBK bytes: the cut keeps seven whole ones.
  player.SetName("一二三四五六七八");
  EXPECT_EQ(player.Name(), "一二三四五六七");
  player.SetName("");
  EXPECT_EQ(view.shownName, "");  // an empty name is shown too

  player.SetCardCount(7);
  player.SetCardCount(-1);
  EXPECT_EQ(player.CardCount(), 7);
  EXPECT_EQ(view.shownCount, 7);

  EXPECT_EQ(player.HeadIcon(), 1);  // the value at creation
  player.SetIcon(41);
  EXPECT_EQ(view.shownIcon, 0);
  player.SetIcon(-3);
  EXPECT_EQ(player.HeadIcon(), 0);

  player.SetLandlord(true);
  player.SetLandlord(true);   // already the landlord: the mark stays put
  player.SetLandlord(false);  // lowering the flag moves nothing
  EXPECT_FALSE(player.IsLord());
  EXPECT_EQ(view.markMoves, 1);

  TClientPlayer unbound;  // a computer player binds nothing
  unbound.SetName("x");
  unbound.SetLandlord(true);
  EXPECT_TRUE(unbound.IsLord());
}

class OwnHand : public ::testing::Test {
 protected:
  void SetUp() override {
    me.BindView(&view);
    me.TakeCards(testing::FirstCards());
  }
  RecordingView view;
  TCurrentPlayer me;
};

TEST_F(OwnHand, SelectingRaisesCancelAndClearLowerEverything) {
  EXPECT_EQ(view.shownCount, 25);
  EXPECT_EQ(view.cards[24], 25);
  EXPECT_EQ(view.cards[25], 0);
  EXPECT_EQ(TCurrentPlayer{}.TakeCards({}), 1);

  EXPECT_EQ(me.ToggleCard(3), 0);
  EXPECT_TRUE(view.raised[3]);
  EXPECT_EQ(me.Selection.Card(3).Number(), 4);
  EXPECT_EQ(me.ToggleCard(3), 0);
  EXPECT_FALSE(view.raised[3]);
  EXPECT_EQ(me.Selection.Count(), 0);

  for (int slot : {0, 5, 9}) me.ToggleCard(slot);
  me.CancelSelection();
  EXPECT_EQ(me.Hand.SelectedCount(), 0);
  EXPECT_EQ(me.Selection.Count(), 0);
  EXPECT_EQ(view.raised, (std::array<bool, 33>{}));

  EXPECT_EQ(me.ToggleCard(30), 1);  // an empty slot has no image to raise
  {
    ReportedErrors errors;
    EXPECT_EQ(me.ToggleCard(33), 1);
    EXPECT_EQ(me.ToggleCard(-1), 1);
    EXPECT_EQ(errors.last, "扑克图形索引出现错误。[15]");
  }
  EXPECT_EQ(me.Selection.Count(), 0);

  me.ToggleCard(2);
  me.ClearHand();
  EXPECT_EQ(view.shownCount, 0);
  EXPECT_EQ(me.Selection.Count(), 0);
  EXPECT_FALSE(view.raised[2]);
  // The next hand's card at slot 2 is the one that gets selected.
  const std::uint8_t nextHand[] = {40, 41, 42, 43};
  me.TakeCards(nextHand);
  me.ToggleCard(2);
  EXPECT_EQ(me.Selection.Card(2).Number(), 42);
  EXPECT_EQ(me.Selection.Count(), 1);
}

TEST_F(OwnHand, CanPlayBeatsTheTableAndRemovePlayedKeepsTheOtherSlots) {
  TSelectPoker table;
  const std::uint8_t pairOfFives[33] = {9, 10};
  table.LoadBytes(pairOfFives);
  ASSERT_EQ(table.Classify(), 2);
  me.ToggleCard(0);
  me.ToggleCard(1);  // the pair of 3s
  EXPECT_TRUE(me.CanPlay(nullptr));
  EXPECT_FALSE(me.CanPlay(&table));  // too low: refused
  me.CancelSelection();
  {
    ReportedErrors errors;
    EXPECT_FALSE(me.CanPlay(nullptr));
    EXPECT_EQ(errors.last, "未知的一把牌，不给出。[11]");
  }

  for (int slot : {4, 5, 6, 7}) me.ToggleCard(slot);  // the four 4s
  ASSERT_TRUE(me.CanPlay(&table));
  EXPECT_EQ(me.Selection.Type(), CombinationType::Bomb);
  me.RemovePlayed();
  EXPECT_EQ(me.Hand.Count(), 21);
  EXPECT_EQ(view.shownCount, 21);
  EXPECT_EQ(me.Selection.Count(), 0);
  for (int slot : {4, 5, 6, 7}) {
    EXPECT_EQ(view.cards[slot], 0) << slot;
    EXPECT_FALSE(view.raised[slot]) << slot;
  }
  EXPECT_EQ(view.cards[8], 9);  // not moved up
}

TEST(TableSeats, ArrangementAndLandlordMark) {
  testing::Harness h;
  h.table.OwnSeat = 2;  // 西
  h.table.ArrangeSeats();
  EXPECT_EQ(h.table.Seats[3].Player, &h.table.RightView);  // 南
  EXPECT_EQ(h.table.Seats[0].Player, &h.table.TopView);    // 东
  EXPECT_EQ(h.table.Seats[1].Player, &h.table.LeftView);   // 北
  EXPECT_EQ(h.table.PlayerAt(2), &h.table.Me);
  EXPECT_EQ(h.table.PlayerAt(4), nullptr);
  EXPECT_EQ(SeatName(2), "西");
  EXPECT_EQ(SeatName(4), "");

  h.table.MarkLandlord(3);
  h.table.MarkLandlord(3);  // already there: stays
  EXPECT_EQ(h.views[3].markMoves, 1);
  h.table.MarkLandlord(2);
  EXPECT_TRUE(h.table.Me.IsLord());
  EXPECT_FALSE(h.table.RightView.IsLord());
}

}  // namespace
}  // namespace quarn::client
