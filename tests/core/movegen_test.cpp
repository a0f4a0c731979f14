#include "core/movegen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "core/rn32.h"
#include "core/tselectpoker.h"
#include "tests/support/card_helpers.h"

namespace quarn {
namespace {

using T = CombinationType;
using testing::Cards;

RankCounts CountsOf(std::span<const std::uint8_t> cards) {
  RankCounts counts{};
  for (const std::uint8_t c : cards) ++counts[RankOf(c)];
  counts[0] = 0;
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

// The moves by their ranks, each offered once, in the order of type, count and key.
std::map<RankCounts, Combination> Checked(const std::vector<Move>& moves) {
  EXPECT_TRUE(std::is_sorted(moves.begin(), moves.end(), [](const Move& a, const Move& b) {
    return std::tuple(a.combo.type, a.combo.count, a.combo.key) <
           std::tuple(b.combo.type, b.combo.count, b.combo.key);
  }));
  std::map<RankCounts, Combination> out;
  for (const Move& move : moves) {
    EXPECT_TRUE(out.emplace(move.ranks, move.combo).second) << "a move offered twice";
  }
  return out;
}

// Hands with structure: a seeded deal's seats, and small hands drawn from a
// narrow band of ranks (with junk bytes) so that runs, planes and bombs are common.
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
    std::vector<std::uint8_t> hand{0, 109, 255};
    for (const std::uint8_t c : deck) {
      const int r = RankOf(c);
      if (hand.size() < size && ((r >= low && r < low + width) || r >= 14)) hand.push_back(c);
    }
    hands.push_back(hand);
  }
  hands.push_back(Cards("jjkkdddddddd1"));
  return hands;
}

// The generator offers each accepted sub-multiset of the hand once, and the
// beating moves are exactly those that beat the table; every move's cards come
// from the hand and classify as claimed.
TEST(MoveGen, MovesAreExactlyTheAcceptedAndTheBeatingSetsWithCardsOfTheHand) {
  testing::CapturedReports reports;
  const auto hands = TestHands();
  std::vector<Combination> tables = {Combination{}, {T::KingBomb, 15, 4}, {T::Bomb, 13, 8}};
  for (const Move& move : LegalRankMoves(CountsOf(hands[1]))) tables.push_back(move.combo);
  for (const Move& move : LegalRankMoves(CountsOf(hands[7]))) tables.push_back(move.combo);
  for (std::size_t h = 0; h < hands.size(); ++h) {
    const RankCounts counts = CountsOf(hands[h]);
    const auto legal = BruteForce(counts);
    ASSERT_EQ(Checked(LegalRankMoves(counts)), legal) << "hand " << h;
    for (const Move& move : LegalMoves(hands[h])) {
      std::vector<std::uint8_t> left = hands[h];
      for (const std::uint8_t card : move.Cards()) {
        const auto it = std::find(left.begin(), left.end(), card);
        ASSERT_TRUE(it != left.end() && IsValidCard(card)) << "a card the hand does not hold";
        left.erase(it);
      }
      TSelectPoker set = testing::SelectionOf({move.Cards().begin(), move.Cards().end()});
      ASSERT_EQ(set.Classify(), move.combo.count);
      EXPECT_EQ(set.AsCombination(), move.combo);
      EXPECT_EQ(CountRanks(set.Cards()), move.ranks);
    }
    if (h % 3 != 0) continue;
    for (const Combination& table : tables) {
      std::map<RankCounts, Combination> expected;
      for (const auto& [ranks, combo] : legal) {
        if (Beats(combo, table)) expected.emplace(ranks, combo);
      }
      ASSERT_EQ(Checked(BeatingRankMoves(counts, table)), expected)
          << "hand " << h << " table " << int(table.type) << "/" << int(table.key) << "/"
          << table.count;
    }
  }
  EXPECT_TRUE(reports.texts.empty());  // generating moves never reports
}

TEST(MoveGen, AMoveTakesTheFirstCardsOfItsRanksAndAFloodNeverOverflows) {
  // The cards of a move are the first of their rank in the hand, whatever the deck.
  const auto mixed = LegalMoves(std::vector<std::uint8_t>{0, 59, 200, 5});
  ASSERT_EQ(mixed.size(), 2u);
  EXPECT_EQ(mixed[1].combo, (Combination{T::Rocket, 2, 2}));
  EXPECT_EQ(std::vector<std::uint8_t>(mixed[1].Cards().begin(), mixed[1].Cards().end()),
            (std::vector<std::uint8_t>{59, 5}));
  // A flood of one card never overflows a move.
  for (const Move& move : LegalMoves(std::vector<std::uint8_t>(1000, 1)))
    EXPECT_LE(move.combo.count, 8);
}

}  // namespace
}  // namespace quarn
