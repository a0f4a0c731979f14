#include "core/rn32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace quarn {
namespace {

TEST(Shuffle, OnlyWholeDecksIntoRoomyBuffersAndPinnedForASeed) {
  std::array<std::uint8_t, 120> out{};
  out.fill(0xAA);
  for (const int n : {0, -1, 1, 53, 55, 107, 109, 1000}) EXPECT_EQ(Shuffle(n, out), 0) << n;
  EXPECT_TRUE(std::ranges::all_of(out, [](auto b) { return b == 0xAA; }));
  std::array<std::uint8_t, 107> tooShort{};
  EXPECT_EQ(Shuffle(108, tooShort), 0);
  EXPECT_TRUE(std::ranges::all_of(tooShort, [](auto b) { return b == 0; }));

  Seed();
  for (const int n : {54, 108}) {
    ASSERT_EQ(Shuffle(n, out), n);
    std::vector<int> sorted(out.begin(), out.begin() + n);
    std::ranges::sort(sorted);
    for (int i = 0; i < n; ++i) EXPECT_EQ(sorted[i], i + 1);  // a permutation of 1..n
    EXPECT_EQ(out[108], 0xAA);                                // nothing past n
  }
  for (const int n : {1, 0, -5}) EXPECT_EQ(Random(n), 0) << n;  // no range
  // A seeded deal is repeatable; this one is pinned, so a change of the shuffle shows.
  std::array<std::uint8_t, 108> deck{};
  std::array<std::uint8_t, 108> same{};
  SeedWith(2026);
  ASSERT_EQ(Shuffle(108, deck), 108);
  std::mt19937_64 gen(2026);
  ASSERT_EQ(Shuffle(108, same, gen), 108);
  EXPECT_EQ(deck, same);
  EXPECT_TRUE(std::ranges::equal(std::span(deck).first(8),
                                 std::array<std::uint8_t, 8>{9, 21, 84, 18, 33, 64, 100, 108}));
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

}  // namespace
}  // namespace quarn
