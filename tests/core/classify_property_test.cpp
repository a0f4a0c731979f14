// Classify and Beats over many thousands of random selections, checked
// against an independent reading of the combination forms.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <tuple>
#include <vector>

#include "core/combination.h"
#include "core/name_grid.h"
#include "core/rn32.h"
#include "core/tselectpoker.h"
#include "tests/support/card_helpers.h"

namespace quarn {
namespace {

using T = CombinationType;

// The ranks holding exactly `n` cards, ascending.
std::vector<int> RanksWith(const RankCounts& counts, int n) {
  std::vector<int> out;
  for (int r = 1; r <= 15; ++r) {
    if (counts[r] == n) out.push_back(r);
  }
  return out;
}

bool Consecutive(const std::vector<int>& ranks) {
  for (std::size_t i = 1; i < ranks.size(); ++i) {
    if (ranks[i] != ranks[i - 1] + 1) return false;
  }
  return !ranks.empty();
}

// What a set with these counts must classify as, read straight from the forms
// and the admitted card counts.
Combination Expected(const RankCounts& counts, int cards) {
  int distinct = 0;
  int top = 0;
  for (int r = 1; r <= 15; ++r) {
    distinct += counts[r] > 0;
    if (counts[r] > 0) top = r;
  }
  const auto pairs = RanksWith(counts, 2);
  const auto triples = RanksWith(counts, 3);
  const auto named = [cards](T type, int key) {
    return IsNamed(cards, type) ? Combination{type, static_cast<std::uint8_t>(key), cards}
                                : Combination{};
  };
  if (cards == 1) return named(T::Single, top);
  if (distinct == 1 && cards >= 4) return named(T::Bomb, top);
  if (static_cast<int>(pairs.size()) == distinct) {
    if (pairs == std::vector<int>{14, 15}) return named(T::KingBomb, 15);
    if (!Consecutive(pairs) || (pairs.size() > 1 && pairs.back() > 13)) return {};
    return named(T::Rocket, pairs.back());
  }
  if (static_cast<int>(triples.size()) == distinct) {
    return Consecutive(triples) ? named(T::Missle, triples.back()) : Combination{};
  }
  if (triples.size() + pairs.size() == static_cast<std::size_t>(distinct) &&
      triples.size() == pairs.size() && Consecutive(triples) && pairs.back() <= 13) {
    return named(T::Plane, triples.back());
  }
  return {};
}

// Random selections: plain draws from a shuffled deck, and sets built from a
// random window of ranks so that long runs and planes come up too.
std::vector<std::uint8_t> RandomSelection(std::mt19937_64& gen) {
  std::array<std::uint8_t, 108> deck{};
  Shuffle(108, deck, gen);
  if (UniformBelow(gen, 2) == 0) {
    return {deck.begin(), deck.begin() + static_cast<std::ptrdiff_t>(1 + UniformBelow(gen, 33))};
  }
  std::array<int, 16> wanted{};
  const int low = 1 + static_cast<int>(UniformBelow(gen, 15));
  const int high = low + static_cast<int>(UniformBelow(gen, 16 - low));
  for (int r = low; r <= high; ++r) {
    constexpr std::array<int, 8> kMultiplicity = {0, 1, 2, 2, 3, 3, 4, 2};
    wanted[r] = kMultiplicity[UniformBelow(gen, kMultiplicity.size())];
  }
  std::vector<std::uint8_t> out;
  for (const std::uint8_t card : deck) {
    if (wanted[RankOf(card)]-- > 0 && out.size() < 33) out.push_back(card);
  }
  return out;
}

TEST(ClassifyProperty, RandomSelectionsMatchTheFormsAndBeatsIsAntisymmetric) {
  testing::CapturedReports reports;
  std::mt19937_64 gen(20261206);
  std::set<std::tuple<int, int, int>> seen;
  std::vector<Combination> classified;
  for (int round = 0; round < 30000; ++round) {
    TSelectPoker set = testing::SelectionOf(RandomSelection(gen));
    const std::size_t reportsBefore = reports.texts.size();
    const int result = set.Classify();
    const Combination expected = Expected(CountRanks(set.Cards()), set.Count());
    ASSERT_EQ(result, expected.count) << "round " << round;
    EXPECT_LE(reports.texts.size(), reportsBefore + (result == 0 ? 1 : 0));
    if (result == 0) continue;
    EXPECT_EQ(set.AsCombination(), expected);
    std::string_view typeName;
    std::string_view name;
    ASSERT_TRUE(LookupName(set.Count(), set.Type(), typeName, name));
    EXPECT_EQ(set.Name(), name);
    if (seen.emplace(static_cast<int>(set.Type()), set.Key(), set.Count()).second) {
      classified.push_back(set.AsCombination());
    }
  }
  EXPECT_GT(classified.size(), 100u);
  for (const Combination& a : classified) {
    EXPECT_FALSE(Beats(a, a));
    for (const Combination& b : classified) {
      ASSERT_FALSE(Beats(a, b) && Beats(b, a))
          << static_cast<int>(a.type) << "/" << int{a.key} << "/" << a.count << " vs "
          << static_cast<int>(b.type) << "/" << int{b.key} << "/" << b.count;
    }
  }
}

}  // namespace
}  // namespace quarn
