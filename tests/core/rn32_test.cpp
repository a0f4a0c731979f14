#include "core/rn32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "core/thandpoker.h"

namespace quarn {
namespace {

bool IsPermutation(std::span<const std::uint8_t> cards) {
  std::vector<int> seen(cards.size() + 1, 0);
  for (const std::uint8_t c : cards) {
    if (c < 1 || c > cards.size() || seen[c]++ != 0) return false;
  }
  return true;
}

TEST(Shuffle, OnlyWholeDecksIntoRoomyBuffers) {
  std::array<std::uint8_t, 120> out{};
  out.fill(0xAA);
  for (const int n : {0, -1, 1, 53, 55, 107, 109, 1000}) EXPECT_EQ(Shuffle(n, out), 0) << n;
  EXPECT_TRUE(std::ranges::all_of(out, [](auto b) { return b == 0xAA; }));
  std::array<std::uint8_t, 107> tooShort{};
  EXPECT_EQ(Shuffle(108, tooShort), 0);
  EXPECT_TRUE(std::ranges::all_of(tooShort, [](auto b) { return b == 0; }));

  Seed();
  ASSERT_EQ(Shuffle(108, out), 108);
  EXPECT_TRUE(IsPermutation(std::span(out).first(108)));
  EXPECT_EQ(out[108], 0xAA);  // nothing past n
  ASSERT_EQ(Shuffle(54, out), 54);
  EXPECT_TRUE(IsPermutation(std::span(out).first(54)));
}

// Pinned: a change of the shuffle or of the deal shows up here.
TEST(Shuffle, SeededDealGivesExactHands) {
  std::array<std::uint8_t, 108> deck{};
  SeedWith(2026);
  ASSERT_EQ(Shuffle(108, deck), 108);
  std::array<std::uint8_t, 108> same{};
  std::mt19937_64 gen(2026);
  ASSERT_EQ(Shuffle(108, same, gen), 108);
  EXPECT_EQ(deck, same);
  EXPECT_TRUE(std::ranges::equal(std::span(deck).first(8),
                                 std::array<std::uint8_t, 8>{9, 21, 84, 18, 33, 64, 100, 108}));
  // Deck position p goes to seat p mod 4 for the first 100 cards.
  std::array<THandPoker, 4> hands;
  for (int p = 0; p < 100; ++p) hands[p % 4].AddCards(std::span(deck).subspan(p, 1));
  const auto numbers = [](const THandPoker& hand) {
    std::vector<int> out;
    for (int i = 0; i < hand.Count(); ++i) out.push_back(hand.Card(i).Number());
    return out;
  };
  EXPECT_EQ(numbers(hands[0]), (std::vector<int>{2,  4,  9,  11, 12, 15, 16, 17, 18, 20, 23, 24, 25,
                                                 26, 27, 30, 31, 33, 34, 38, 43, 44, 47, 49, 50}));
  EXPECT_EQ(numbers(hands[3]), (std::vector<int>{1,  3,  4,  6,  7,  7,  8,  11, 18, 19, 22, 28, 29,
                                                 32, 34, 36, 37, 38, 40, 41, 42, 44, 52, 53, 54}));
  for (const THandPoker& hand : hands) EXPECT_EQ(hand.Count(), 25);
  SeedWith(2027);
  Shuffle(108, same);
  EXPECT_NE(deck, same);
}

TEST(Shuffle, EveryCardReachesEveryPlaceEvenly) {
  // 54 cards, 27000 deals: each (card, place) pair is expected 500 times.
  std::mt19937_64 gen(7);
  std::vector<int> hits(54 * 54, 0);
  std::array<std::uint8_t, 54> deck{};
  for (int deal = 0; deal < 27000; ++deal) {
    Shuffle(54, deck, gen);
    for (int place = 0; place < 54; ++place) ++hits[(deck[place] - 1) * 54 + place];
  }
  const auto [low, high] = std::minmax_element(hits.begin(), hits.end());
  EXPECT_GT(*low, 380);
  EXPECT_LT(*high, 620);
}

TEST(Random, StaysInRangeAndRefusesNothingBadly) {
  SeedWith(1);
  std::array<int, 7> counts{};
  for (int i = 0; i < 7000; ++i) {
    const int r = Random(7);
    ASSERT_TRUE(r >= 0 && r < 7) << r;
    ++counts[r];
  }
  for (const int c : counts) EXPECT_GT(c, 850);
  for (const int n : {1, 0, -5}) EXPECT_EQ(Random(n), 0) << n;
  std::mt19937_64 gen(3);
  EXPECT_EQ(UniformBelow(gen, 0), 0u);
  EXPECT_LT(UniformBelow(gen, std::uint64_t{1} << 63 | 1), std::uint64_t{1} << 63 | 1);
}

}  // namespace
}  // namespace quarn
