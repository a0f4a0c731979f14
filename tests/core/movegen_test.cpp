#include "core/movegen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "core/rn32.h"
#include "core/tselectpoker.h"
#include "tests/core/card_helpers.h"

namespace quarn {
namespace {

using T = CombinationType;

RankCounts CountsOf(std::span<const std::uint8_t> cards) {
  RankCounts counts{};
  for (const std::uint8_t c : cards) {
    if (RankOf(c) != 0) ++counts[RankOf(c)];
  }
  return counts;
}

// Every sub-multiset of the hand's ranks that Classify accepts, with its verdict.
std::map<RankCounts, Combination> BruteForce(const RankCounts& hand) {
  std::map<RankCounts, Combination> legal;
  RankCounts pick{};
  const auto walk = [&](auto&& self, int rank, int cards) -> void {
    if (rank > kMaxRank) {
      const Combination combo = ClassifyCounts(pick, cards);
      if (combo.count > 0) legal.emplace(pick, combo);
      return;
    }
    for (int n = 0; n <= hand[rank] && cards + n <= kMaxCards; ++n) {
      pick[rank] = static_cast<std::uint8_t>(n);
      self(self, rank + 1, cards + n);
    }
    pick[rank] = 0;
  };
  walk(walk, 1, 0);
  return legal;
}

std::map<RankCounts, Combination> AsMap(const std::vector<Move>& moves) {
  std::map<RankCounts, Combination> out;
  for (const Move& move : moves) {
    EXPECT_TRUE(out.emplace(move.ranks, move.combo).second) << "a move offered twice";
  }
  return out;
}

bool InOrder(const std::vector<Move>& moves) {
  return std::is_sorted(moves.begin(), moves.end(), [](const Move& a, const Move& b) {
    return std::tuple(a.combo.type, a.combo.count, a.combo.key) <
           std::tuple(b.combo.type, b.combo.count, b.combo.key);
  });
}

// Hands with structure: a seeded deal's seats, and small hands drawn from a
// narrow band of ranks so that runs, planes and bombs are common.
std::vector<std::vector<std::uint8_t>> TestHands() {
  std::vector<std::vector<std::uint8_t>> hands;
  std::mt19937_64 gen(99);
  std::array<std::uint8_t, 108> deck{};
  Shuffle(108, deck, gen);
  for (int seat = 0; seat < 4; ++seat) {
    std::vector<std::uint8_t> hand;
    for (int p = seat; p < 100; p += 4) hand.push_back(deck[p]);
    hands.push_back(hand);
  }
  for (int round = 0; round < 40; ++round) {
    Shuffle(108, deck, gen);
    const int low = 1 + static_cast<int>(UniformBelow(gen, 12));
    const int width = 2 + static_cast<int>(UniformBelow(gen, 5));
    const auto size = 6 + UniformBelow(gen, 10);
    std::vector<std::uint8_t> hand;
    for (const std::uint8_t c : deck) {
      const int r = RankOf(c);
      if (hand.size() < size && ((r >= low && r < low + width) || r >= 14)) hand.push_back(c);
    }
    hands.push_back(hand);
  }
  hands.push_back(testing::NumbersOfRanks({14, 14, 15, 15, 13, 13, 13, 13, 13, 13, 13, 13, 1}));
  return hands;
}

// Brute force over every sub-multiset of the hand: the generator offers
// each accepted one once, in order, and the beating ones are exactly those
// that beat the table.
TEST(MoveGen, MovesAreExactlyTheAcceptedAndTheBeatingSets) {
  const auto hands = TestHands();
  std::vector<Combination> tables = {Combination{}, {T::KingBomb, 15, 4}, {T::Bomb, 13, 8}};
  for (const Move& move : LegalRankMoves(CountsOf(hands[1]))) tables.push_back(move.combo);
  for (const Move& move : LegalRankMoves(CountsOf(hands[7]))) tables.push_back(move.combo);
  for (std::size_t h = 0; h < hands.size(); ++h) {
    const RankCounts counts = CountsOf(hands[h]);
    const auto legal = BruteForce(counts);
    const auto moves = LegalRankMoves(counts);
    EXPECT_TRUE(InOrder(moves));
    ASSERT_EQ(AsMap(moves), legal) << "hand " << h;
    if (h % 3 != 0) continue;
    for (const Combination& table : tables) {
      std::map<RankCounts, Combination> expected;
      for (const auto& [ranks, combo] : legal) {
        if (Beats(combo, table)) expected.emplace(ranks, combo);
      }
      const auto beating = BeatingRankMoves(counts, table);
      EXPECT_TRUE(InOrder(beating));
      ASSERT_EQ(AsMap(beating), expected) << "hand " << h << " table " << int(table.type) << "/"
                                          << int(table.key) << "/" << table.count;
    }
  }
}

TEST(MoveGen, MovesCarryCardsOfTheHandThatClassifyAsClaimed) {
  testing::CapturedReports reports;
  for (const auto& hand : TestHands()) {
    for (const Move& move : LegalMoves(hand)) {
      std::vector<std::uint8_t> left = hand;
      for (const std::uint8_t card : move.Cards()) {
        const auto it = std::find(left.begin(), left.end(), card);
        ASSERT_NE(it, left.end()) << "a card the hand does not hold";
        left.erase(it);
      }
      TSelectPoker set = testing::SelectionOf({move.Cards().begin(), move.Cards().end()});
      ASSERT_EQ(set.Classify(), move.combo.count);
      EXPECT_EQ(set.AsCombination(), move.combo);
      EXPECT_EQ(CountRanks(set.Cards()), move.ranks);
    }
  }
  EXPECT_TRUE(reports.texts.empty());  // generating moves never reports
}

TEST(MoveGen, KnownHandsHaveKnownMoveCounts) {
  // 333 444 55: singles 3, pairs 3, 334455, 333, 444, 333444, and four planes.
  const auto small = testing::NumbersOfRanks({1, 1, 1, 2, 2, 2, 3, 3});
  const auto moves = LegalMoves(small);
  EXPECT_EQ(moves.size(), 14u);
  EXPECT_EQ(std::count_if(moves.begin(), moves.end(),
                          [](const Move& m) { return m.combo.type == T::Plane; }),
            4);
  // Over a 单飞 of 3s only the planes of 4s are higher; nothing is over the 4s.
  EXPECT_EQ(BeatingMoves(small, {T::Plane, 1, 5}).size(), 2u);
  EXPECT_EQ(BeatingMoves(small, {T::Plane, 2, 5}).size(), 0u);
  EXPECT_EQ(BeatingMoves(small, {}).size(), 14u);

  const auto jokers = testing::NumbersOfRanks({14, 14, 15, 15});
  const auto jokerMoves = LegalMoves(jokers);
  ASSERT_EQ(jokerMoves.size(), 5u);  // two singles, two pairs, the four jokers
  EXPECT_EQ(jokerMoves.back().combo, (Combination{T::KingBomb, 15, 4}));
  EXPECT_EQ(BeatingMoves(jokers, {T::Bomb, 13, 8}).size(), 1u);

  // The seat of a seeded deal.
  std::array<std::uint8_t, 108> deck{};
  SeedWith(2026);
  Shuffle(108, deck);
  std::vector<std::uint8_t> east;
  for (int p = 0; p < 100; p += 4) east.push_back(deck[p]);
  EXPECT_EQ(LegalMoves(east).size(), 67u);

  // Junk bytes are no cards.
  EXPECT_TRUE(LegalMoves({}).empty());
  EXPECT_TRUE(LegalMoves(std::vector<std::uint8_t>{0, 109, 255, 0}).empty());
  const auto mixed = LegalMoves(std::vector<std::uint8_t>{0, 5, 200, 59});  // 4s of both decks
  ASSERT_EQ(mixed.size(), 2u);
  EXPECT_EQ(mixed[1].combo, (Combination{T::Rocket, 2, 2}));
  EXPECT_EQ(std::vector<std::uint8_t>(mixed[1].Cards().begin(), mixed[1].Cards().end()),
            (std::vector<std::uint8_t>{5, 59}));
  // A flood of one card never overflows a move.
  for (const Move& move : LegalMoves(std::vector<std::uint8_t>(1000, 1)))
    EXPECT_LE(move.combo.count, 8);
}

}  // namespace
}  // namespace quarn
