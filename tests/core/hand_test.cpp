#include "core/thandpoker.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/tselectpoker.h"
#include "tests/core/card_helpers.h"

namespace quarn {
namespace {

using testing::CapturedReports;

TPoker CardOf(int n) {
  TPoker card;
  card.SetCard(n);
  return card;
}

std::vector<int> Numbers(const THandPoker& hand) {
  std::vector<int> out;
  for (int i = 0; i < THandPoker::kSlots; ++i) out.push_back(hand.Card(i).Number());
  return out;
}

std::vector<int> Padded(std::vector<int> numbers) {
  numbers.resize(THandPoker::kSlots, 0);
  return numbers;
}

TEST(THandPoker, InsertKeepsCardsSortedWithTwinsAfterEachOther) {
  THandPoker hand;
  EXPECT_EQ(hand.Insert(CardOf(53)), 0);
  EXPECT_EQ(hand.Insert(CardOf(1)), 0);
  EXPECT_EQ(hand.Insert(CardOf(54)), 2);
  EXPECT_EQ(hand.Insert(CardOf(5)), 1);
  EXPECT_EQ(hand.Insert(CardOf(55)), 1);  // after the 1 already held
  EXPECT_EQ(Numbers(hand), Padded({1, 1, 5, 53, 54}));
  EXPECT_EQ(hand.Count(), 5);
  EXPECT_EQ(hand.Insert(TPoker{}), -1);  // an empty record is no card
  EXPECT_EQ(hand.Count(), 5);
}

TEST(THandPoker, FullHandRefusesWithItsCode) {
  CapturedReports reports;
  THandPoker hand;
  std::vector<std::uint8_t> deal;
  for (int n = 108; n > 75; --n) deal.push_back(static_cast<std::uint8_t>(n));
  EXPECT_TRUE(hand.AddCards(deal));
  EXPECT_EQ(hand.Count(), 33);
  for (int i = 1; i < 33; ++i) EXPECT_LE(hand.Card(i - 1).Number(), hand.Card(i).Number());
  const auto before = Numbers(hand);
  EXPECT_EQ(hand.Insert(CardOf(1)), -1);
  EXPECT_EQ(Numbers(hand), before);
  ASSERT_EQ(reports.texts.size(), 1u);
  EXPECT_EQ(reports.texts[0], "手上牌太多啦。[13]");
  // AddCards reports each refused card and goes on.
  const std::vector<std::uint8_t> more = {2, 3};
  EXPECT_TRUE(hand.AddCards(more));
  EXPECT_EQ(reports.texts.size(), 3u);
}

TEST(THandPoker, AddCardsSkipsWhatIsNoCard) {
  THandPoker hand;
  const std::vector<std::uint8_t> junk = {0, 109, 200, 255};
  EXPECT_TRUE(hand.AddCards(junk));
  EXPECT_EQ(hand.Count(), 0);
  EXPECT_FALSE(hand.AddCards({}));
  const std::vector<std::uint8_t> mixed = {0, 108, 7, 200, 61};
  EXPECT_TRUE(hand.AddCards(mixed));
  EXPECT_EQ(Numbers(hand), Padded({7, 7, 54}));
  EXPECT_FALSE(hand.Card(-1).IsPresent());
  EXPECT_FALSE(hand.Card(33).IsPresent());
}

TEST(THandPoker, SelectionMarksFollowTheSlots) {
  THandPoker hand;
  const std::vector<std::uint8_t> cards = {1, 2, 3, 4, 5};
  hand.AddCards(cards);
  EXPECT_FALSE(hand.Select(5));  // empty slot
  EXPECT_FALSE(hand.Select(-1));
  EXPECT_FALSE(hand.Select(33));
  EXPECT_TRUE(hand.Select(1));
  EXPECT_FALSE(hand.Select(1));
  EXPECT_FALSE(hand.Unselect(2));
  EXPECT_FALSE(hand.Unselect(40));
  EXPECT_TRUE(hand.Select(3));
  EXPECT_EQ(hand.SelectedCount(), 2);
  EXPECT_TRUE(hand.Unselect(3));
  EXPECT_TRUE(hand.Select(4));
  hand.RemoveSelected();
  EXPECT_EQ(hand.Count(), 3);
  EXPECT_EQ(hand.SelectedCount(), 0);
  EXPECT_EQ(Numbers(hand), Padded({1, 0, 3, 4, 0}));
  for (int i = 0; i < THandPoker::kSlots; ++i) EXPECT_FALSE(hand.IsSelected(i));
  hand.Select(0);
  hand.ClearSelection();
  EXPECT_EQ(hand.SelectedCount(), 0);
  EXPECT_FALSE(hand.IsSelected(0));
  hand.Select(2);
  hand.Clear();
  EXPECT_EQ(hand.Count(), 0);
  EXPECT_EQ(hand.SelectedCount(), 0);
  EXPECT_EQ(Numbers(hand), Padded({}));
}

TEST(THandPoker, InsertMovesMarksWithTheirCards) {
  THandPoker hand;
  const std::vector<std::uint8_t> cards = {10, 20};
  hand.AddCards(cards);
  hand.Select(1);  // the 20
  EXPECT_EQ(hand.Insert(CardOf(5)), 0);
  EXPECT_TRUE(hand.IsSelected(2));
  EXPECT_FALSE(hand.IsSelected(0));
  EXPECT_EQ(hand.SelectedCount(), 1);
  hand.RemoveSelected();
  EXPECT_EQ(Numbers(hand), Padded({5, 10}));
}

TEST(THandPoker, SelectMatchingFindsFacesNotDecks) {
  THandPoker hand;
  const std::vector<std::uint8_t> cards = {48, 102, 1, 9};
  hand.AddCards(cards);  // both spade aces are stored as 48
  TSelectPoker aces = testing::SelectionOf({48, 48});
  EXPECT_EQ(hand.SelectMatching(aces), 2);
  EXPECT_TRUE(hand.IsSelected(2));
  EXPECT_TRUE(hand.IsSelected(3));

  THandPoker one;
  const std::vector<std::uint8_t> single = {48, 1};
  one.AddCards(single);
  one.Select(0);
  EXPECT_EQ(one.SelectMatching(testing::SelectionOf({1, 48, 102})), 0);
  EXPECT_EQ(one.SelectedCount(), 0);  // no half-made selection is left
  for (int i = 0; i < THandPoker::kSlots; ++i) EXPECT_FALSE(one.IsSelected(i));
  EXPECT_EQ(one.SelectMatching(TSelectPoker{}), 0);
  // The matched cards are what a play removes.
  EXPECT_EQ(hand.SelectMatching(testing::SelectionOf({55, 48})), 2);
  hand.RemoveSelected();
  EXPECT_EQ(Numbers(hand), Padded({0, 9, 0, 48}));
  EXPECT_EQ(hand.Count(), 2);
}

TEST(TSelectPoker, SlotsKeepTheirPlaces) {
  TSelectPoker set;
  EXPECT_TRUE(set.SetCardAt(4, CardOf(20)));
  EXPECT_FALSE(set.SetCardAt(4, CardOf(21)));
  EXPECT_EQ(set.Count(), 1);
  EXPECT_EQ(set.Card(4).Number(), 20);
  EXPECT_FALSE(set.SetCardAt(5, TPoker{}));
  EXPECT_FALSE(set.SetCardAt(33, CardOf(1)));
  EXPECT_FALSE(set.SetCardAt(-1, CardOf(1)));
  EXPECT_FALSE(set.RemoveAt(3));
  EXPECT_FALSE(set.RemoveAt(99));
  EXPECT_TRUE(set.RemoveAt(4));
  EXPECT_EQ(set.Count(), 0);
  EXPECT_FALSE(set.Card(33).IsPresent());
  EXPECT_FALSE(set.Card(-5).IsPresent());
}

TEST(TSelectPoker, LoadAndSaveBytes) {
  std::array<std::uint8_t, 33> in{};
  in[3] = 60;  // the second deck's 60 is face 6
  in[7] = 54;
  in[9] = 109;
  in[10] = 0;
  TSelectPoker set;
  ASSERT_TRUE(set.LoadBytes(in));
  EXPECT_EQ(set.Count(), 2);
  EXPECT_EQ(set.Card(3).Number(), 6);
  EXPECT_EQ(set.Card(7).Number(), 54);
  std::array<std::uint8_t, 33> out;
  out.fill(0xEE);
  ASSERT_TRUE(set.SaveBytes(out));
  std::array<std::uint8_t, 33> expected{};
  expected[0] = 6;
  expected[1] = 54;
  EXPECT_EQ(out, expected);

  std::array<std::uint8_t, 32> shortOut{};
  EXPECT_FALSE(set.SaveBytes(shortOut));
  EXPECT_FALSE(set.LoadBytes({}));
  EXPECT_EQ(set.Count(), 2);  // a refused load changes nothing

  std::array<std::uint8_t, 33> full{};
  for (int i = 0; i < 33; ++i) full[i] = static_cast<std::uint8_t>(i + 70);
  ASSERT_TRUE(set.LoadBytes(full));
  EXPECT_EQ(set.Count(), 33);
  ASSERT_TRUE(set.SaveBytes(out));
  for (int i = 0; i < 33; ++i) EXPECT_EQ(out[i], i + 16);

  // Bytes past the 33 places are ignored; fewer places load what is there.
  std::vector<std::uint8_t> longer(40, 1);
  ASSERT_TRUE(set.LoadBytes(longer));
  EXPECT_EQ(set.Count(), 33);
  const std::vector<std::uint8_t> shorter = {5, 6};
  ASSERT_TRUE(set.LoadBytes(shorter));
  EXPECT_EQ(set.Count(), 2);
}

TEST(TSelectPoker, ClearingAndCopying) {
  CapturedReports quiet;
  TSelectPoker set = testing::SelectionOfRanks({3, 3, 3});
  ASSERT_EQ(set.Classify(), 3);
  set.ClearCards();
  EXPECT_EQ(set.Count(), 0);
  EXPECT_EQ(set.Type(), CombinationType::Missle);
  EXPECT_EQ(set.Key(), 3);
  EXPECT_EQ(set.Name(), "一组");
  set.Clear();
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
