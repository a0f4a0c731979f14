#include "core/thandpoker.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/tselectpoker.h"
#include "tests/core/card_helpers.h"

namespace quarn {
namespace {

using testing::CapturedReports;
using testing::CardOf;
using testing::SelectionOf;

// The card numbers of every slot, with empty slots past `shown` left out.
std::vector<int> Numbers(const THandPoker& hand, int shown) {
  std::vector<int> out;
  for (int i = 0; i < THandPoker::kSlots; ++i) {
    if (i < shown) {
      out.push_back(hand.Card(i).Number());
    } else {
      EXPECT_FALSE(hand.Card(i).IsPresent()) << i;
    }
  }
  return out;
}

THandPoker HandOf(std::vector<std::uint8_t> cards) {
  THandPoker hand;
  hand.AddCards(cards);
  return hand;
}

TEST(THandPoker, InsertKeepsCardsSortedAndRefusesWhatIsNoCard) {
  THandPoker hand;
  for (const auto& [card, place] : std::vector<std::pair<int, int>>{
           {53, 0}, {1, 0}, {54, 2}, {5, 1}, {55, 1}}) {  // 55 goes after the 1 already held
    EXPECT_EQ(hand.Insert(CardOf(card)), place) << card;
  }
  EXPECT_EQ(Numbers(hand, 5), (std::vector<int>{1, 1, 5, 53, 54}));
  EXPECT_EQ(hand.Insert(TPoker{}), -1);
  EXPECT_EQ(hand.Count(), 5);
  EXPECT_FALSE(hand.Card(-1).IsPresent());

  EXPECT_FALSE(hand.AddCards({}));
  THandPoker junk;
  EXPECT_TRUE(junk.AddCards(std::vector<std::uint8_t>{0, 109, 200, 255}));
  EXPECT_EQ(junk.Count(), 0);
  EXPECT_EQ(Numbers(HandOf({0, 108, 7, 200, 61}), 3), (std::vector<int>{7, 7, 54}));
}

TEST(THandPoker, FullHandRefusesWithItsCode) {
  CapturedReports reports;
  std::vector<std::uint8_t> deal;
  for (int n = 108; n > 75; --n) deal.push_back(static_cast<std::uint8_t>(n));
  THandPoker hand = HandOf(deal);
  EXPECT_EQ(hand.Count(), 33);
  const auto before = Numbers(hand, 33);
  EXPECT_TRUE(std::is_sorted(before.begin(), before.end()));
  EXPECT_EQ(hand.Insert(CardOf(1)), -1);
  EXPECT_EQ(Numbers(hand, 33), before);
  EXPECT_EQ(reports.texts, std::vector<std::string>{"手上牌太多啦。[13]"});
  // AddCards reports each refused card and goes on.
  EXPECT_TRUE(hand.AddCards(std::vector<std::uint8_t>{2, 3}));
  EXPECT_EQ(reports.texts.size(), 3u);
}

TEST(THandPoker, SelectionMarksFollowTheSlots) {
  THandPoker hand = HandOf({1, 2, 3, 4, 5});
  for (const int refused : {5, -1, 33}) EXPECT_FALSE(hand.Select(refused)) << refused;
  EXPECT_TRUE(hand.Select(1));
  EXPECT_FALSE(hand.Select(1));
  EXPECT_FALSE(hand.Unselect(2));
  EXPECT_FALSE(hand.Unselect(40));
  EXPECT_TRUE(hand.Select(3));
  EXPECT_EQ(hand.SelectedCount(), 2);
  EXPECT_TRUE(hand.Unselect(3));
  EXPECT_TRUE(hand.Select(4));
  hand.RemoveSelected();  // the other cards keep their slots
  EXPECT_EQ(hand.Count(), 3);
  EXPECT_EQ(hand.SelectedCount(), 0);
  EXPECT_EQ(Numbers(hand, 5), (std::vector<int>{1, 0, 3, 4, 0}));
  for (int i = 0; i < THandPoker::kSlots; ++i) EXPECT_FALSE(hand.IsSelected(i));
  hand.Select(0);
  hand.ClearSelection();
  EXPECT_FALSE(hand.IsSelected(0));
  hand.Select(2);
  hand.Clear();
  EXPECT_EQ(hand.Count() + hand.SelectedCount(), 0);
  EXPECT_TRUE(Numbers(hand, 0).empty());  // and every slot is empty

  // An insert moves the marks with their cards.
  THandPoker marked = HandOf({10, 20});
  marked.Select(1);  // the 20
  EXPECT_EQ(marked.Insert(CardOf(5)), 0);
  EXPECT_TRUE(marked.IsSelected(2));
  EXPECT_EQ(marked.SelectedCount(), 1);
  marked.RemoveSelected();
  EXPECT_EQ(Numbers(marked, 2), (std::vector<int>{5, 10}));
}

TEST(THandPoker, SelectMatchingFindsFacesNotDecks) {
  THandPoker hand = HandOf({48, 102, 1, 9});  // both spade aces are stored as 48
  EXPECT_EQ(hand.SelectMatching(SelectionOf({48, 48})), 2);
  EXPECT_TRUE(hand.IsSelected(2) && hand.IsSelected(3));

  THandPoker one = HandOf({48, 1});
  one.Select(0);
  EXPECT_EQ(one.SelectMatching(SelectionOf({1, 48, 102})), 0);
  EXPECT_EQ(one.SelectedCount(), 0);  // no half-made selection is left
  EXPECT_EQ(one.SelectMatching(TSelectPoker{}), 0);
  // The matched cards are what a play removes.
  EXPECT_EQ(hand.SelectMatching(SelectionOf({55, 48})), 2);
  hand.RemoveSelected();
  EXPECT_EQ(Numbers(hand, 4), (std::vector<int>{0, 9, 0, 48}));
}

TEST(TSelectPoker, SlotsKeepTheirPlaces) {
  TSelectPoker set;
  EXPECT_TRUE(set.SetCardAt(4, CardOf(20)));
  EXPECT_FALSE(set.SetCardAt(4, CardOf(21)));
  EXPECT_FALSE(set.SetCardAt(5, TPoker{}));
  EXPECT_FALSE(set.SetCardAt(33, CardOf(1)));
  EXPECT_FALSE(set.SetCardAt(-1, CardOf(1)));
  EXPECT_EQ(set.Count(), 1);
  EXPECT_EQ(set.Card(4).Number(), 20);
  EXPECT_FALSE(set.RemoveAt(3));
  EXPECT_FALSE(set.RemoveAt(99));
  EXPECT_TRUE(set.RemoveAt(4));
  EXPECT_EQ(set.Count(), 0);
  EXPECT_FALSE(set.Card(33).IsPresent() || set.Card(-5).IsPresent());
}

TEST(TSelectPoker, LoadAndSaveBytes) {
  std::array<std::uint8_t, 33> in{};
  in[3] = 60;  // the second deck's 60 is face 6
  in[7] = 54;
  in[9] = 109;
  TSelectPoker set;
  ASSERT_TRUE(set.LoadBytes(in));
  EXPECT_EQ(set.Card(3).Number(), 6);
  EXPECT_EQ(set.Card(7).Number(), 54);
  std::array<std::uint8_t, 33> out;
  out.fill(0xEE);
  ASSERT_TRUE(set.SaveBytes(out));
  EXPECT_EQ(out, (std::array<std::uint8_t, 33>{6, 54}));  // packed to the front

  std::array<std::uint8_t, 32> shortOut{};
  EXPECT_FALSE(set.SaveBytes(shortOut));
  EXPECT_FALSE(set.LoadBytes({}));
  EXPECT_EQ(set.Count(), 2);  // a refused load changes nothing

  std::array<std::uint8_t, 33> full{};
  for (int i = 0; i < 33; ++i) full[i] = static_cast<std::uint8_t>(i + 70);
  ASSERT_TRUE(set.LoadBytes(full));
  ASSERT_TRUE(set.SaveBytes(out));
  for (int i = 0; i < 33; ++i) EXPECT_EQ(out[i], i + 16);
  // Bytes past the 33 places are ignored; fewer places load what is there.
  ASSERT_TRUE(set.LoadBytes(std::vector<std::uint8_t>(40, 1)));
  EXPECT_EQ(set.Count(), 33);
  ASSERT_TRUE(set.LoadBytes(std::vector<std::uint8_t>{5, 6}));
  EXPECT_EQ(set.Count(), 2);
}

TEST(TSelectPoker, ClearingAndCopying) {
  CapturedReports quiet;
  TSelectPoker set = testing::SelectionOfRanks({3, 3, 3});
  ASSERT_EQ(set.Classify(), 3);
  set.ClearCards();  // keeps the verdict
  EXPECT_EQ(set.Count(), 0);
  EXPECT_EQ(set.Type(), CombinationType::Missle);
  EXPECT_EQ(set.Key(), 3);
  set.Clear();  // keeps only the name
  EXPECT_EQ(set.Type(), CombinationType::Unknown);
  EXPECT_EQ(set.Key(), 0);
  EXPECT_EQ(set.Name(), "一组");

  TSelectPoker source = testing::SelectionOfRanks({9, 9});
  source.Classify();
  TSelectPoker copy;
  copy.Assign(source);
  source.Clear();
  source.LoadBytes(std::array<std::uint8_t, 33>{1});
  source.Classify();
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Key(), 9);
  EXPECT_EQ(copy.Name(), "一对");
  EXPECT_EQ(copy.Card(0).Rank(), 9);
}

}  // namespace
}  // namespace quarn
