// Recognition and comparison speed of the card core.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "core/combination.h"
#include "core/movegen.h"
#include "core/rn32.h"
#include "core/tselectpoker.h"

namespace {

using quarn::TSelectPoker;

// 256 selections of `size` cards each, drawn from shuffled two-deck packs.
std::vector<TSelectPoker> RandomSelections(int size) {
  std::mt19937_64 gen(static_cast<std::uint64_t>(size) * 7919);
  std::vector<TSelectPoker> sets(256);
  for (TSelectPoker& set : sets) {
    std::array<std::uint8_t, 108> deck{};
    quarn::Shuffle(108, deck, gen);
    std::array<std::uint8_t, 33> bytes{};
    std::copy_n(deck.begin(), size, bytes.begin());
    set.LoadBytes(bytes);
  }
  return sets;
}

void BM_ClassifyRandom(benchmark::State& state) {
  auto sets = RandomSelections(static_cast<int>(state.range(0)));
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(sets[i++ & 255].Classify());
  }
}
BENCHMARK(BM_ClassifyRandom)->Arg(1)->Arg(2)->Arg(5)->Arg(10)->Arg(20)->Arg(26)->Arg(33);

// A set that passes every step: eleven triples 3 to K (33 cards).
void BM_ClassifyLongestRun(benchmark::State& state) {
  std::array<std::uint8_t, 33> bytes{};
  for (int i = 0; i < 33; ++i) bytes[i] = static_cast<std::uint8_t>((i / 3) * 4 + 1 + i % 3);
  TSelectPoker set;
  set.LoadBytes(bytes);
  for (auto _ : state) {
    benchmark::DoNotOptimize(set.Classify());
  }
  state.SetLabel(std::string(set.Name()));
}
BENCHMARK(BM_ClassifyLongestRun);

void BM_Beats(benchmark::State& state) {
  std::vector<quarn::Combination> combos;
  for (int size : {1, 2, 3, 4, 5, 6, 8, 10, 26, 33}) {
    for (TSelectPoker& set : RandomSelections(size)) {
      if (set.Classify() != 0) combos.push_back(set.AsCombination());
    }
  }
  combos.push_back({quarn::CombinationType::Bomb, 5, 6});
  combos.push_back({quarn::CombinationType::KingBomb, 15, 4});
  std::size_t i = 0;
  const std::size_t n = combos.size();
  for (auto _ : state) {
    benchmark::DoNotOptimize(quarn::Beats(combos[i % n], combos[(i * 7 + 3) % n]));
    ++i;
  }
  state.SetLabel(std::to_string(n) + " combinations");
}
BENCHMARK(BM_Beats);

// 33-card hands: a landlord's hand from a shuffled pack, and a hand of eleven
// triples, the richest in planes.
std::vector<std::vector<std::uint8_t>> LandlordHands() {
  std::mt19937_64 gen(33);
  std::vector<std::vector<std::uint8_t>> hands(64);
  for (auto& hand : hands) {
    std::array<std::uint8_t, 108> deck{};
    quarn::Shuffle(108, deck, gen);
    hand.assign(deck.begin(), deck.begin() + 33);
  }
  return hands;
}

void BM_LegalMovesLandlordHand(benchmark::State& state) {
  const auto hands = LandlordHands();
  std::size_t i = 0;
  std::size_t moves = 0;
  for (auto _ : state) {
    const auto result = quarn::LegalMoves(hands[i++ & 63]);
    moves += result.size();
    benchmark::DoNotOptimize(result.data());
  }
  state.counters["moves"] = static_cast<double>(moves) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_LegalMovesLandlordHand);

void BM_LegalMovesElevenTriples(benchmark::State& state) {
  std::vector<std::uint8_t> hand;
  for (int i = 0; i < 33; ++i) hand.push_back(static_cast<std::uint8_t>((i / 3) * 4 + 1 + i % 3));
  std::size_t moves = 0;
  for (auto _ : state) {
    const auto result = quarn::LegalMoves(hand);
    moves = result.size();
    benchmark::DoNotOptimize(result.data());
  }
  state.counters["moves"] = static_cast<double>(moves);
}
BENCHMARK(BM_LegalMovesElevenTriples);

void BM_BeatingMovesOverAPair(benchmark::State& state) {
  const auto hands = LandlordHands();
  const quarn::Combination table{quarn::CombinationType::Rocket, 6, 2};
  std::size_t i = 0;
  for (auto _ : state) {
    const auto result = quarn::BeatingMoves(hands[i++ & 63], table);
    benchmark::DoNotOptimize(result.data());
  }
}
BENCHMARK(BM_BeatingMovesOverAPair);

}  // namespace

BENCHMARK_MAIN();
