// The player model: names, counts, icons, the landlord mark and the own hand.
#include <gtest/gtest.h>

#include "client/model/current_player.h"
#include "tests/support/client_model/fakes.h"

namespace quarn::client {
namespace {

using testing::CapturedReports;
using testing::RecordingView;

TEST(ClientPlayer, NameCountIconAndMarkFollowTheirRules) {
  RecordingView view;
  TClientPlayer player;
  player.BindView(&view);
  player.SetName("abcdefghijklmnopqrst");  // 20 bytes: 15 are kept
  EXPECT_EQ(view.shownName, "abcdefghijklmno");
  player.SetName("一二三四五六七八");  // 16 GBK bytes: seven whole characters are kept
  EXPECT_EQ(player.Name(), "一二三四五六七");
  player.SetCardCount(7);
  player.SetCardCount(-1);
  EXPECT_EQ(player.CardCount() * 10 + view.shownCount, 77);
  player.SetIcon(40);
  EXPECT_EQ(view.shownIcon, 40);
  for (const int icon : {41, 0, -3}) {
    player.SetIcon(icon);
    EXPECT_EQ(player.HeadIcon() + view.shownIcon, 0) << icon;
  }
  player.SetLandlord(true);
  player.SetLandlord(true);   // already the landlord: the mark stays put
  player.SetLandlord(false);  // lowering the flag moves nothing
  EXPECT_FALSE(player.IsLord());
  EXPECT_EQ(view.markMoves, 1);
}

TEST(OwnHand, SelectingRaisesAndCancellingClearingAndPlayingLowerEverything) {
  RecordingView view;
  TCurrentPlayer me;
  me.BindView(&view);
  EXPECT_EQ(me.TakeCards({}), 1);
  me.TakeCards(testing::LowCards());
  EXPECT_EQ(view.shownCount * 100 + view.cards[24], 2525);
  EXPECT_EQ(me.ToggleCard(3), 0);
  EXPECT_TRUE(view.raised[3]);
  EXPECT_EQ(me.Selection.Card(3).Number(), 4);
  EXPECT_EQ(me.ToggleCard(3), 0);
  EXPECT_FALSE(view.raised[3]);
  EXPECT_EQ(me.Selection.Count(), 0);  // the card leaves the selection too
  for (int slot : {0, 5, 9}) me.ToggleCard(slot);
  me.CancelSelection();
  EXPECT_EQ(me.Hand.SelectedCount() + me.Selection.Count(), 0);
  EXPECT_EQ(view.raised, (std::array<bool, 33>{}));
  EXPECT_EQ(me.ToggleCard(30), 1);  // an empty slot has no image to raise
  {
    CapturedReports errors;
    EXPECT_EQ(me.ToggleCard(33) + me.ToggleCard(-1), 2);
    EXPECT_EQ(errors.texts, std::vector<std::string>(2, "扑克图形索引出现错误。[15]"));
  }
  // A selection never outlives its hand: the next hand's card at slot 2 is the one selected.
  me.ToggleCard(2);
  me.ClearHand();
  EXPECT_EQ(view.shownCount + me.Selection.Count(), 0);
  EXPECT_FALSE(view.raised[2]);
  const std::uint8_t nextHand[] = {40, 41, 42, 43};
  me.TakeCards(nextHand);
  me.ToggleCard(2);
  EXPECT_EQ(me.Selection.Count() * 100 + me.Selection.Card(2).Number(), 142);
  // Cards added later push the selected one up a slot: selection and image go with it.
  const std::uint8_t bottom[] = {1};
  me.TakeCards(bottom);
  EXPECT_EQ(me.Selection.Card(3).Number() * 100 + me.Hand.Card(3).Number(), 4242);
  EXPECT_TRUE(me.Hand.IsSelected(3) && view.raised[3] && !view.raised[2]);
  EXPECT_EQ(me.Selection.Count(), 1);

  me.ClearHand();
  me.TakeCards(testing::LowCards());
  for (int slot : {4, 5, 6, 7}) me.ToggleCard(slot);  // the four 4s
  me.RemovePlayed();
  EXPECT_EQ(me.Hand.Count() * 100 + view.shownCount, 2121);
  EXPECT_EQ(me.Selection.Count(), 0);
  for (int slot : {4, 5, 6, 7}) EXPECT_EQ(view.cards[slot] + view.raised[slot], 0) << slot;
  EXPECT_EQ(view.cards[8], 9);  // the others keep their slots
}

}  // namespace
}  // namespace quarn::client
