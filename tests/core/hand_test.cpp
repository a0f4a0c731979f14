#include "core/thandpoker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/tselectpoker.h"
#include "tests/support/card_helpers.h"

namespace quarn {
namespace {

using testing::CapturedReports;
using testing::CardOf;
using testing::SelectionOf;

// The card number of every slot up to the last held one (0 for an empty slot).
std::vector<int> Numbers(const THandPoker& hand) {
  std::vector<int> out;
  for (const TPoker& card : hand.Cards()) out.push_back(card.Number());
  while (!out.empty() && out.back() == 0) out.pop_back();
  return out;
}

THandPoker HandOf(const std::vector<std::uint8_t>& cards) {
  THandPoker hand;
  hand.AddCards(cards);
  return hand;
}

TEST(THandPoker, InsertSortsAfterTwinsAndRefusesWhatIsNoCardOrDoesNotFit) {
  CapturedReports reports;
  THandPoker hand;
  for (const auto& [card, place] : std::vector<std::pair<int, int>>{
           {53, 0}, {1, 0}, {54, 2}, {5, 1}, {55, 1}}) {  // 55 goes after the 1 already held
    EXPECT_EQ(hand.Insert(CardOf(card)), place) << card;
  }
  EXPECT_EQ(Numbers(hand), (std::vector<int>{1, 1, 5, 53, 54}));
  EXPECT_EQ(hand.Insert(TPoker{}), -1);
  EXPECT_FALSE(hand.AddCards({}));
  EXPECT_EQ(Numbers(HandOf({0, 108, 7, 200, 61, 255})), (std::vector<int>{7, 7, 54}));
  EXPECT_TRUE(reports.texts.empty());

  std::vector<std::uint8_t> deal;
  for (int n = 108; n > 75; --n) deal.push_back(static_cast<std::uint8_t>(n));
  THandPoker full = HandOf(deal);
  const auto before = Numbers(full);
  ASSERT_EQ(full.Count(), 33);
  EXPECT_TRUE(std::is_sorted(before.begin(), before.end()));
  EXPECT_EQ(full.Insert(CardOf(1)), -1);
  EXPECT_TRUE(full.AddCards(std::vector<std::uint8_t>{2, 3}));  // each refused card reported
  EXPECT_EQ(Numbers(full), before);
  EXPECT_EQ(reports.texts, std::vector<std::string>(3, "手上牌太多啦。[13]"));
}

TEST(THandPoker, MarksStayOnHeldSlotsAndRemovingLeavesTheOthersInPlace) {
  THandPoker hand = HandOf({1, 2, 3, 4, 5});
  EXPECT_TRUE(hand.Select(0));
  for (const int refused : {5, -1, 33}) EXPECT_FALSE(hand.Select(refused)) << refused;
  EXPECT_FALSE(hand.Card(-1).IsPresent() || hand.Card(33).IsPresent());
  EXPECT_TRUE(hand.Unselect(0));
  EXPECT_TRUE(hand.Select(1));
  EXPECT_FALSE(hand.Select(1));
  EXPECT_FALSE(hand.Unselect(2) || hand.Unselect(40) || hand.Unselect(-1));
  EXPECT_TRUE(hand.Select(4));
  hand.RemoveSelected();
  EXPECT_EQ(Numbers(hand), (std::vector<int>{1, 0, 3, 4}));
  EXPECT_EQ(hand.Count() * 10 + hand.SelectedCount(), 30);
  hand.Select(2);
  hand.Clear();
  EXPECT_EQ(hand.Count() + hand.SelectedCount() + Numbers(hand).size(), 0u);

  // An insert moves the marks with the cards it shifts.
  THandPoker marked = HandOf({10, 20});
  marked.Select(1);  // the 20
  EXPECT_EQ(marked.Insert(CardOf(5)), 0);
  EXPECT_EQ(marked.IsSelected(2) * 10 + marked.SelectedCount(), 11);

  // Both spade aces are face 48; a play is matched by face, not by deck, and one
  // the hand cannot cover leaves no half-made selection behind.
  THandPoker aces = HandOf({48, 102, 1, 9});
  aces.Select(0);
  EXPECT_EQ(aces.SelectMatching(SelectionOf({1, 48, 48, 48})), 0);
  EXPECT_EQ(aces.SelectedCount(), 0);
  EXPECT_EQ(aces.SelectMatching(SelectionOf({55, 48})), 2);
  aces.RemoveSelected();
  EXPECT_EQ(Numbers(aces), (std::vector<int>{0, 9, 0, 48}));
}

TEST(TSelectPoker, SlotsBytesAndTheKeptVerdict) {
  TSelectPoker set;
  EXPECT_TRUE(set.SetCardAt(4, CardOf(20)));
  for (const auto& [slot, card] :
       std::vector<std::pair<int, int>>{{4, 21}, {5, 0}, {33, 1}, {-1, 1}})
    EXPECT_FALSE(set.SetCardAt(slot, CardOf(card))) << slot;
  EXPECT_FALSE(set.RemoveAt(3) || set.RemoveAt(99) || set.Card(-5).IsPresent());
  EXPECT_EQ(set.Count(), 1);
  EXPECT_TRUE(set.RemoveAt(4));
  EXPECT_EQ(set.Count(), 0);

  std::array<std::uint8_t, 33> in{};
  in[3] = 60;  // the second deck's 60 is face 6
  in[7] = 54;
  in[9] = 109;
  ASSERT_TRUE(set.LoadBytes(in));
  EXPECT_EQ(set.Card(3).Number(), 6);
  std::array<std::uint8_t, 33> out;
  out.fill(0xEE);
  ASSERT_TRUE(set.SaveBytes(out));
  EXPECT_EQ(out, (std::array<std::uint8_t, 33>{6, 54}));  // packed to the front
  std::array<std::uint8_t, 32> shortOut{};
  EXPECT_FALSE(set.SaveBytes(shortOut));
  EXPECT_FALSE(set.LoadBytes({}));
  EXPECT_EQ(set.Count(), 2);                                     // a refused load changes nothing
  ASSERT_TRUE(set.LoadBytes(std::vector<std::uint8_t>(40, 1)));  // places past 33 are ignored
  EXPECT_EQ(set.Count(), 33);

  CapturedReports quiet;
  set = SelectionOf(testing::Cards("333"));
  ASSERT_EQ(set.Classify(), 3);
  TSelectPoker copy;
  copy.Assign(set);
  set.ClearCards();  // keeps the verdict
  EXPECT_EQ(set.AsCombination(), (Combination{CombinationType::Missle, 3, 0}));
  set.Clear();  // keeps only the name
  EXPECT_EQ(set.AsCombination(), Combination{});
  EXPECT_EQ(set.Name(), "一组");
  EXPECT_EQ(copy.Count() * 100 + copy.Key(), 303);
  EXPECT_EQ(copy.Card(2).Rank(), 3);
}

}  // namespace
}  // namespace quarn
